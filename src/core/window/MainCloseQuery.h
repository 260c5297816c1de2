#pragma once

class QWidget;
class TQWOptions;
class WindowServices;

// Whether the main window may close: a question when downloads are still
// running, the shut-down question unless the user switched it off, and
// never a question when the desktop session ends or the program is told to
// stop.
class MainCloseQuery
{
public:
    // options and services must outlive the query.
    MainCloseQuery(TQWOptions* options, WindowServices* services);

    // Asks when it has to; true = close.
    bool canClose();
    // From now on CanClose() says yes without asking, and a question that is
    // open now is closed; window is then closed.
    void closeWithoutQuestions(QWidget* window);
    bool closingWithoutQuestions() const { return m_withoutQuestions; }

private:
    // Running downloads end with the program: the user is asked first.
    bool DownloadsMayEnd();

    TQWOptions* m_options;
    WindowServices* m_services;
    bool m_withoutQuestions = false;
};
