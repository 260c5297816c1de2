#include "ScriptedServices.h"

QString ScriptedServices::GetLangText(const QString& section, const QString& key) const
{
    const auto found = texts.constFind(section + QLatin1Char('>') + key);
    if (found != texts.constEnd())
        return *found;
    return textFn ? textFn(section, key) : WindowServices::GetLangText(section, key);
}

ConfirmResult ScriptedServices::confirm(const QString& caption, bool checked, const QString& title,
                                        const QString& prompt, const QString& okText,
                                        const QString& cancelText, const QString& checkText,
                                        bool okDefault)
{
    const ConfirmCall call{caption, checked,    title,     prompt,
                           okText,  cancelText, checkText, okDefault};
    confirmCalls << call;
    return answerFn ? answerFn(call) : confirmAnswer;
}

bool ScriptedServices::inputQuery(const QString& caption, const QString& prompt, QString& text)
{
    inputQueries << InputCall{caption, prompt, text};
    if (inputAnswer)
        text = *inputAnswer;
    return inputAccepted;
}

QString ScriptedServices::chooseSaveFile(const QString& caption, const QString& suggestedPath)
{
    saveFileRequests << caption + QLatin1Char('|') + suggestedPath;
    return saveFileAnswer;
}

QString ScriptedServices::chooseOpenFile(const QString& caption, const QString& folder,
                                         const QString& filter, const QString&)
{
    openFileRequests << caption + QLatin1Char('|') + folder + QLatin1Char('|') + filter;
    return openFileAnswer;
}
