#pragma once

#include "navigation/AddressAffixes.h"

#include <QComboBox>

class TSHAutoComplete;

// The address box: an editable drop-down of typed addresses.
//
// Enter submits the text, with the affixes of Ctrl/Shift+Enter applied and
// written back into the box; choosing an entry of the list submits it as it
// stands. Typing with completion style 1 completes inline from the list.
// The box decides nothing about what a submitted text opens: it only says
// what was submitted and whether the user typed it (Enter, a suggestion)
// or picked it from the list.
class TQWComboBox : public QComboBox
{
    Q_OBJECT
public:
    // historyRoot: the History folder the system-style completion reads.
    explicit TQWComboBox(const QString& historyRoot = QString(), QWidget* parent = nullptr);
    ~TQWComboBox() override;

    void SetAffixes(const AddressAffixes& affixes) { m_affixes = affixes; }
    const AddressAffixes& Affixes() const { return m_affixes; }

    // 0 none, 1 inline completion, 2 system-style (switched by its owner
    // through AutoComplete()).
    void SetCompletionStyle(int style) { m_completionStyle = style; }
    int CompletionStyle() const { return m_completionStyle; }

    TSHAutoComplete* AutoComplete() const { return m_autoComplete; }

    // The drop-down entries; the text being edited stays as it is.
    void SetItems(const QStringList& items);
    QStringList Items() const;

    // Enter as the key-down handler sees it (for the rules' users and tests).
    void HandleEnter(Qt::KeyboardModifiers modifiers);

signals:
    // text: the box's text at submission; addressTyped: from Enter or a
    // suggestion, not from the list.
    void submitted(const QString& text, bool addressTyped);

protected:
    // Keys come to the box, which has the focus for its edit; the edit's
    // own events are watched for keys sent to it directly.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Scrolling over the box would open entry after entry.
    void wheelEvent(QWheelEvent* event) override;

private:
    bool cboAddressKeyDown(QKeyEvent* event);
    bool cboAddressKeyPress(QKeyEvent* event);
    void ListChosen();

    AddressAffixes m_affixes;
    int m_completionStyle = 0;
    TSHAutoComplete* m_autoComplete = nullptr;
    // Set while the edit reports that editing finished: the combo box then
    // selects an entry equal to the text on its own, which is no choice of
    // the user's.
    bool m_editingFinished = false;
};
