#pragma once

#include "ScriptedServices.h"

// Scripted services that also answer the save dialog of a file type with
// saveFileAnswer (empty = cancelled), recording each request as
// "caption|folder|filter|suffix".
class ScriptedFileServices : public ScriptedServices
{
public:
    QStringList saveFileOfTypeRequests;

    using ScriptedServices::ScriptedServices;

    QString chooseSaveFileOfType(const QString& caption, const QString& folder,
                                 const QString& filter, const QString& defaultSuffix) override
    {
        saveFileOfTypeRequests << QStringList{caption, folder, filter, defaultSuffix}.join('|');
        return saveFileAnswer;
    }
};
