#pragma once

#include "ScriptedServices.h"

// Scripted services that also answer the save dialog of a file type with
// saveFileAnswer and the open dialog with openFileAnswer (empty =
// cancelled), recording each request as "caption|folder|filter|suffix".
class ScriptedFileServices : public ScriptedServices
{
public:
    QStringList saveFileOfTypeRequests;
    QString openFileAnswer;
    QStringList openFileRequests;

    using ScriptedServices::ScriptedServices;

    QString chooseSaveFileOfType(const QString& caption, const QString& folder,
                                 const QString& filter, const QString& defaultSuffix) override
    {
        saveFileOfTypeRequests << QStringList{caption, folder, filter, defaultSuffix}.join('|');
        return saveFileAnswer;
    }

    QString chooseOpenFile(const QString& caption, const QString& folder, const QString& filter,
                           const QString& defaultSuffix) override
    {
        openFileRequests << QStringList{caption, folder, filter, defaultSuffix}.join('|');
        return openFileAnswer;
    }
};
