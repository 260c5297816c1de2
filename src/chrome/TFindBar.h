#pragma once

#include "core/engine/IBrowserControl.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

// The find bar under the pages: the text to find, next and previous, match
// case and how many matches the page has. It asks for a find whenever the
// text or the case changes (the page then highlights the first match) and
// for each step; Enter steps forward, Shift+Enter back, Esc closes. Its
// texts are placeholders of the window's language section.
class TFindBar : public QWidget
{
    Q_OBJECT
public:
    // countFormat holds "%1" (the current match) and "%2" (the number of
    // matches); noMatches is shown when there are none.
    explicit TFindBar(QWidget* parent = nullptr);

    void SetCountTexts(const QString& countFormat, const QString& noMatches);

    // Shows the bar with text (kept when empty) selected in its edit, which
    // takes the focus.
    void Open(const QString& text);
    // Hides the bar and asks for the highlight to go.
    void Close();

    QString Text() const;
    bool MatchCase() const;
    void ShowResult(const FindResult& result);
    // Forgets the count, when the page it was for is not shown any more.
    void ClearResult();
    bool HasFocus() const;

    QLineEdit* edtFind = nullptr;
    QToolButton* btnFindNext = nullptr;
    QToolButton* btnFindPrevious = nullptr;
    QCheckBox* chkMatchCase = nullptr;
    QLabel* lblFindCount = nullptr;
    QToolButton* btnFindClose = nullptr;

signals:
    // Empty text: clear the highlight.
    void find(const QString& text, bool backward, bool matchCase);
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void step(bool backward);

    QString m_countFormat;
    QString m_noMatches;
};
