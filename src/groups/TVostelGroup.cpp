#include "groups/TVostelGroup.h"

#include "chrome/TLanguage.h"
#include "components/SettingsFile.h"
#include "core/dialogs/WindowServices.h"
#include "core/instance/TEntryRoutine.h"
#include "core/store/ProgramPaths.h"

#include <QFileInfo>
#include <QStringBuilder>

const QString TVostelGroup::Section = QStringLiteral("VostelGroup");
const QString TVostelGroup::FileSuffix = QStringLiteral("vgp");

namespace
{
const QChar LockedMarker = QLatin1Char('*');
const QChar Separator = QLatin1Char('=');
} // namespace

TVostelGroup::TVostelGroup(WindowServices* Owner, const QString& FileName) : m_owner(Owner)
{
    if (FileName.isEmpty() || !QFileInfo::exists(FileName))
        return;
    m_fileName = FileName;
    SettingsFile file(FileName);
    // An unreadable file gives an empty group; Save refuses to overwrite it.
    file.load();
    const QList<SettingsFile::Entry> entries = file.entries(Section);
    reserve(entries.size());
    for (const SettingsFile::Entry& entry : entries)
        append(entry.first % Separator % entry.second);
}

QString TVostelGroup::Name(qsizetype index) const
{
    const QString& line = at(index);
    return line.left(line.indexOf(Separator));
}

QString TVostelGroup::Value(qsizetype index) const
{
    const QString& line = at(index);
    const qsizetype separator = line.indexOf(Separator);
    return separator < 0 ? QString() : line.mid(separator + 1);
}

void TVostelGroup::AddSite(const QString& name, const QString& address, bool locked)
{
    QString key = name.isEmpty() ? QStringLiteral("blank%1").arg(size() + 1) : name;
    key.remove(Separator);
    append(key + Separator + (locked ? QString(LockedMarker) : QString()) + address);
}

bool TVostelGroup::Save()
{
    if (m_fileName.isEmpty())
    {
        const QString chosen = ChooseFileName();
        if (chosen.isEmpty())
            return false;
        m_fileName = chosen;
    }
    SettingsFile file(m_fileName);
    bool written = file.load();
    if (written)
    {
        file.eraseSection(Section);
        QList<SettingsFile::Entry> entries;
        entries.reserve(size());
        for (qsizetype i = 0; i < size(); ++i)
            entries.append({Name(i), Value(i)});
        file.setValues(Section, entries);
        written = file.save();
    }
    if (!written && m_owner)
        m_owner->showError(TLanguage::FormatText(
            m_owner->GetGlobalText(QStringLiteral("VostelGroupNotSaved")), file.errorString()));
    return written;
}

QString TVostelGroup::ChooseFileName() const
{
    if (!m_owner)
        return QString();
    QString path = m_owner->chooseSaveFileOfType(
        m_owner->GetGlobalText(QStringLiteral("VostelGroup")), ProgramPaths::vostelGroupsFolder(),
        m_owner->GetLangText(QStringLiteral("MAIN"), QStringLiteral("VostelGroupFilter")),
        FileSuffix);
    if (path.isEmpty())
        return QString();
    // The dialog adds the suffix to a name without a dot, as this does; the
    // question below must be about the name that will be written.
    if (!QFileInfo(path).fileName().contains(QLatin1Char('.')))
        path += QLatin1Char('.') + FileSuffix;
    if (QFileInfo::exists(path))
    {
        const ConfirmResult answer =
            m_owner->confirm(QStringLiteral("Quillwave"), false, QString(),
                             m_owner->GetGlobalText(QStringLiteral("VostelGroupDuplicate")),
                             m_owner->GetGlobalText(QStringLiteral("Yes")),
                             m_owner->GetGlobalText(QStringLiteral("No")), QString());
        if (!answer.ok)
            return QString();
    }
    return path;
}

bool TVostelGroup::IsVostelGroupFile(const QString& path)
{
    return TEntryRoutine::extensionOf(path).compare(QLatin1Char('.') + FileSuffix,
                                                    Qt::CaseInsensitive) == 0;
}
