#pragma once

#include <QStatusBar>
#include <QVector>

class QLabel;

// A status bar of four panels: text, padlock, progress and zone. The first
// panel takes whatever width the other three leave.
class TQWStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    static constexpr int PanelCount = 4;
    static constexpr int PanelWidths[PanelCount] = {0, 22, 60, 180};

    explicit TQWStatusBar(QWidget* parent = nullptr);

    QString panelText(int index) const;
    // The first panel's text is its message: hints show over it for a while.
    void setPanelText(int index, const QString& text);
    void setPanelIcon(int index, const QIcon& icon);
    // A menu item's or button's hint shows in the first panel while the
    // pointer is on it; an empty hint brings back the panel's own text, so
    // moving the pointer never wipes a message.
    void showHint(const QString& hint);
    QLabel* panel(int index) const { return m_panels.value(index); }

    // What the first panel shows for a hint: its long part (after "|"),
    // and of that only the text after the first line break.
    static QString statusTextForHint(const QString& hint);

private:
    QVector<QLabel*> m_panels;
    QString m_message;
};
