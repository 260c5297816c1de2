#pragma once

class QWidget;
class TQWOptions;

// Where the main window starts and what of its place is remembered: the
// stored rectangle brought onto a screen, or maximised; at the end the
// window's normal rectangle, unless it is maximised or full screen (then
// the rectangle the user last gave it stays stored).
class MainWindowPlacement
{
public:
    static void apply(QWidget* window, const TQWOptions& options, bool fullScreen);
    static void store(const QWidget* window, TQWOptions& options, bool fullScreen);
};
