#include "core/window/TApplication.h"

#include <QMessageBox>

#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    Q_INIT_RESOURCE(quillwave);
    setWindowIcon(QIcon(QStringLiteral(":/quillwave/quillwave.svg")));
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try
    {
        return QApplication::notify(receiver, event);
    }
    catch (const std::exception& error)
    {
        showException(error);
    }
    return false;
}

void TApplication::showException(const std::exception& error)
{
    const QString text = QString::fromUtf8(error.what());
    qWarning("%s", qPrintable(text));
    QMessageBox::critical(nullptr, QStringLiteral("Quillwave"), text);
}
