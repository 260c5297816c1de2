#include "chrome/TLanguageMenu.h"

#include "chrome/LanguageFolders.h"
#include "chrome/TLanguageFile.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

TLanguageMenu::TLanguageMenu(QObject* parent) : QObject(parent) {}

QString TLanguageMenu::LanguageName(const QString& path)
{
    TLanguageFile file;
    file.load(path);
    return file.read(QStringLiteral("INFO"), QStringLiteral("Language"), QString());
}

void TLanguageMenu::RebuildLanguageMenu(QMenu* submenu, const QString& languagesFolder,
                                        const QString& currentFileName)
{
    RebuildLanguageMenu(submenu, LanguageFolders({languagesFolder}), currentFileName);
}

void TLanguageMenu::RebuildLanguageMenu(QMenu* submenu, const LanguageFolders& folders,
                                        const QString& currentFileName)
{
    if (!submenu)
        return;
    const QList<QAction*> oldItems = submenu->actions();

    auto* group = new QActionGroup(submenu);
    group->setExclusive(true);
    for (const QFileInfo& info : folders.files())
    {
        const QString path = info.absoluteFilePath();
        QString caption = LanguageName(path);
        // The name is the language's, not a menu accelerator.
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* item = new QAction(caption, submenu);
        item->setCheckable(true);
        item->setActionGroup(group);
        item->setStatusTip(path);
        item->setData(path);
        item->setChecked(info.fileName() == currentFileName);
        connect(item, &QAction::triggered, this, [this, path] { itemTriggered(path); });
        submenu->addAction(item);
    }

    for (auto it = oldItems.crbegin(); it != oldItems.crend(); ++it)
    {
        QAction* old = *it;
        submenu->removeAction(old);
        QActionGroup* oldGroup = old->actionGroup();
        old->setActionGroup(nullptr);
        if (oldGroup && oldGroup != group && oldGroup->actions().isEmpty())
            oldGroup->deleteLater();
        old->deleteLater();
    }
    if (group->actions().isEmpty())
        group->deleteLater();
}

void TLanguageMenu::itemTriggered(const QString& path)
{
    if (QFileInfo(path).isFile())
        emit languageChosen(path);
}
