#include "FolderTreeBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

bool FolderTreeBuilder::writeFile(const QString& path, const QByteArray& content)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

bool FolderTreeBuilder::make(const QString& root, const QStringList& entries)
{
    const QDir dir(root);
    for (const QString& entry : entries)
    {
        bool made = false;
        const qsizetype arrow = entry.indexOf(QLatin1String("->"));
        if (arrow > 0)
            made = QFile::link(dir.filePath(entry.mid(arrow + 2)), dir.filePath(entry.left(arrow)));
        else if (entry.endsWith(QLatin1Char('/')))
            made = dir.mkpath(entry);
        else
            made = writeFile(dir.filePath(entry));
        if (!made)
        {
            qWarning("could not make %s in %s", qPrintable(entry), qPrintable(root));
            return false;
        }
    }
    return true;
}
