#pragma once

#include "navigation/AddressSuggestions.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QCompleter;
class QLineEdit;
class QStringListModel;

// The system-style completion of an address edit: while the user types, a
// list under the edit offers typed addresses and visited pages that fit
// (see AddressSuggestions). Switched on and off as a whole; while off it
// leaves the edit alone.
//
// History is read from the index files each time the edit gains the focus
// (just after, or at the first key stroke if that comes sooner), and only
// when the files changed since the last read: the pages visited meanwhile
// are offered, and no key stroke reads the files.
class TSHAutoComplete : public QObject
{
    Q_OBJECT
public:
    using TypedSource = std::function<QStringList()>;

    // historyRoot: the History folder; typed: the current typed addresses.
    TSHAutoComplete(QLineEdit* edit, TypedSource typed, const QString& historyRoot,
                    QObject* parent = nullptr);
    ~TSHAutoComplete() override;

    void Switch(bool on);
    bool IsOn() const { return m_on; }

    // Enter while the list is open: a suggestion the user moved to becomes
    // the edit's text, and the list closes. False when none was chosen.
    bool AcceptSelected();
    bool PopupVisible() const;

    QCompleter* Completer() const { return m_completer; }
    const AddressSuggestions& Suggestions() const { return m_suggestions; }
    // Reads the history files again when they changed since the last read.
    void RefreshHistory();

signals:
    // A suggestion was clicked: the edit shows it and it is to be opened.
    void chosen(const QString& address);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void textEdited(const QString& text);
    QString HistoryStamp() const;

    QPointer<QLineEdit> m_edit;
    QPointer<QWidget> m_focusWidget;
    TypedSource m_typed;
    QString m_historyRoot;
    QString m_historyStamp;
    bool m_historyRead = false;
    bool m_checkHistory = true;
    bool m_on = false;
    AddressSuggestions m_suggestions;
    QStringListModel* m_model;
    QCompleter* m_completer;
    QMetaObject::Connection m_editConnection;
};
