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
    void setPanelText(int index, const QString& text);
    void setPanelIcon(int index, const QIcon& icon);
    QLabel* panel(int index) const { return m_panels.value(index); }

    // What the first panel shows for a hint: its long part (after "|"),
    // and of that only the text after the first line break.
    static QString statusTextForHint(const QString& hint);

private:
    QVector<QLabel*> m_panels;
};
