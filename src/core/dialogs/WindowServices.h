#pragma once

#include "core/dialogs/TfrmConfirm.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;
class TLanguage;

// What the parts of a window ask of it: the texts of its language, the
// program's question dialog and input boxes. The main window owns one and
// hands it to the parts it creates, so a part never needs the window
// itself; tests hand in one that answers without a dialog.
//
// It is a child of its window: code that only knows a widget (a page asking
// for a password, a download) finds the services of the window the widget
// sits in, and nothing outlives the window with a pointer to it.
class WindowServices : public QObject
{
    Q_OBJECT
public:
    // language may be null: every text is then its placeholder form, as a
    // missing entry would give. window owns the services and is the parent
    // of their dialogs; without one they are owned by parent.
    explicit WindowServices(const TLanguage* language, QWidget* window);
    explicit WindowServices(const TLanguage* language = nullptr, QObject* parent = nullptr);

    // The services of the window widget sits in; null outside any.
    static WindowServices* of(const QWidget* widget);

    virtual QString GetLangText(const QString& section, const QString& key) const;
    QString GetGlobalText(const QString& key) const;

    // The program's yes/no question and notice dialog (see ShowConfirm).
    // okDefault false: Enter and Esc both take the second button, for a
    // first button that is not to be chosen by a stray key stroke.
    virtual ConfirmResult confirm(const QString& caption, bool checked, const QString& title,
                                  const QString& prompt, const QString& okText,
                                  const QString& cancelText, const QString& checkText,
                                  bool okDefault = true);
    // A notice with one OK button.
    void notify(const QString& caption, const QString& text);
    // A modal input box; text holds the start text and receives the answer.
    // False when cancelled.
    virtual bool inputQuery(const QString& caption, const QString& prompt, QString& text);
    // The program's general error message.
    virtual void showError(const QString& text);
    // The file to save to, starting at suggestedPath; empty = cancelled.
    virtual QString chooseSaveFile(const QString& caption, const QString& suggestedPath);
    // The file to save a document of one type to, starting in folder: filter
    // in the form "Name (*.ext);;Other (*)", defaultSuffix added to a name
    // typed without one. The dialog does not ask about an existing file:
    // the caller asks its own question. Empty = cancelled.
    virtual QString chooseSaveFileOfType(const QString& caption, const QString& folder,
                                         const QString& filter, const QString& defaultSuffix);
    // An existing file to open, starting in folder; filter and defaultSuffix
    // as for saving. Empty = cancelled.
    virtual QString chooseOpenFile(const QString& caption, const QString& folder,
                                   const QString& filter, const QString& defaultSuffix);

    // The window the dialogs belong to; null in tests or after it is gone.
    QWidget* window() const { return m_window; }

private:
    const TLanguage* m_language;
    QPointer<QWidget> m_window;
};
