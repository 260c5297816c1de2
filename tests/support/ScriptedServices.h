#pragma once

#include "core/dialogs/WindowServices.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

// Window services for tests: texts from a table, questions and input boxes
// answered as the test says and recorded, never a dialog.
class ScriptedServices : public WindowServices
{
public:
    struct ConfirmCall
    {
        QString caption;
        bool checked = false;
        QString title;
        QString prompt;
        QString okText;
        QString cancelText;
        QString checkText;
        bool okDefault = true;
    };
    struct InputCall
    {
        QString caption;
        QString prompt;
        QString proposed;
    };

    // Texts: "SECTION>Key" from texts, else textFn when set, else the
    // language layer's "UNDEFINED: SECTION > Key".
    QHash<QString, QString> texts;
    std::function<QString(const QString& section, const QString& key)> textFn;
    void setGlobalText(const QString& key, const QString& text) { texts["GLOBAL>" + key] = text; }

    // Confirm: the answer, or answerFn when set (it may close things, as a
    // user's click in a modal loop can).
    ConfirmResult confirmAnswer{true, false};
    std::function<ConfirmResult(const ConfirmCall&)> answerFn;
    QList<ConfirmCall> confirmCalls;

    // InputQuery: whether the user confirms, and what the user typed
    // (unset = the proposed text left unchanged). The typed text is left in
    // the box even when the user cancels, so that a caller that ignores the
    // answer shows up.
    bool inputAccepted = true;
    std::optional<QString> inputAnswer;
    QList<InputCall> inputQueries;

    QStringList errors;
    // ChooseSaveFile: the chosen path (empty = cancelled) and the requests.
    QString saveFileAnswer;
    QStringList saveFileRequests;
    // ChooseOpenFile: the chosen path (empty = cancelled) and the requests
    // as "caption|folder|filter".
    QString openFileAnswer;
    QStringList openFileRequests;

    using WindowServices::WindowServices;

    QString GetLangText(const QString& section, const QString& key) const override;
    ConfirmResult confirm(const QString& caption, bool checked, const QString& title,
                          const QString& prompt, const QString& okText, const QString& cancelText,
                          const QString& checkText, bool okDefault = true) override;
    bool inputQuery(const QString& caption, const QString& prompt, QString& text) override;
    void showError(const QString& text) override { errors << text; }
    QString chooseSaveFile(const QString& caption, const QString& suggestedPath) override;
    QString chooseOpenFile(const QString& caption, const QString& folder, const QString& filter,
                           const QString& defaultSuffix) override;
};
