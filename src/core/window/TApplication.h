#pragma once

#include <QApplication>

// The application object. A failure that escapes an event handler (a
// setting stored with the wrong type, say) is shown in a message box, as
// the user would expect, instead of ending the program.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    static void showException(const std::exception& error);
};
