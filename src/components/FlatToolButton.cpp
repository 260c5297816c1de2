#include "components/FlatToolButton.h"

#include "chrome/TLanguage.h"

#include <QToolButton>

QToolButton* FlatToolButton(QWidget* parent, const QString& name, const QIcon& icon,
                            const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setIcon(icon);
    button->setToolTip(TLanguage::ShortHint(hint));
    button->setStatusTip(TLanguage::LongHint(hint));
    return button;
}
