#include "groups/FavoriteLauncher.h"

#include <QFileInfo>

FavoriteLauncher::Target FavoriteLauncher::classify(const QString& target)
{
    if (target.trimmed().isEmpty())
        return Target::Nothing;
    // Only a full path names a file: a relative one would be looked up in
    // whatever the working folder is.
    const QFileInfo info(target);
    if (info.isAbsolute() && info.exists())
        return info.isDir() ? Target::Folder : Target::File;
    return Target::Address;
}

void FavoriteLauncher::open(const QString& target, bool newTab) const
{
    switch (classify(target))
    {
    case Target::File:
        m_host.openFile(target);
        break;
    case Target::Address:
        m_host.openAddress(target, newTab);
        break;
    case Target::Nothing:
    case Target::Folder:
        break;
    }
}

void FavoriteLauncher::openAll(const QStringList& targets) const
{
    bool first = true;
    for (const QString& target : targets)
    {
        switch (classify(target))
        {
        case Target::File:
            m_host.openFile(target);
            break;
        case Target::Address:
            if (first && m_host.frontTabIsIdleBlank())
                m_host.navigateFrontTab(target);
            else
                m_host.navigateNewTab(target);
            first = false;
            break;
        case Target::Nothing:
        case Target::Folder:
            break;
        }
    }
    if (m_host.finished)
        m_host.finished();
}
