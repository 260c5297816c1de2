#include "components/ThemeIcon.h"

#include <QApplication>

QIcon ThemeIcon(const QString& name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}
