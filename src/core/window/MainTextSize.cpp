#include "core/window/MainTextSize.h"

#include "chrome/MenuPlaceholders.h"
#include "core/engine/IBrowserControl.h"
#include "core/window/ZoomLevels.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace
{
// Captions in menu order; the items are named after them.
const char* const SizeNames[ZoomLevels::Count] = {"Largest", "Large", "Medium", "Smaller",
                                                  "Smallest"};
} // namespace

MainTextSize::MainTextSize(QWidget* window, std::function<IBrowserControl*()> activeBrowser)
    : QObject(window), m_activeBrowser(std::move(activeBrowser)), pmFont(new QMenu(window)),
      pmFontSize(new QMenu(window))
{
    pmFont->setObjectName(QStringLiteral("pmFont"));
    pmFontSize->setObjectName(QStringLiteral("pmFontSize"));
    SetItemPlaceholders(pmFontSize->menuAction(), QStringLiteral("__FontSize"));
    m_fontItems = BuildItems(pmFont, QStringLiteral("pmFont"));
    m_fontSizeItems = BuildItems(pmFontSize, QStringLiteral("pmFontSize"));
    connect(pmFont, &QMenu::aboutToShow, this, [this] { RefreshChecks(m_fontItems); });
    connect(pmFontSize, &QMenu::aboutToShow, this, [this] { RefreshChecks(m_fontSizeItems); });
}

QList<QAction*> MainTextSize::BuildItems(QMenu* menu, const QString& namePrefix)
{
    // Optional exclusion: a page zoomed to a size of no item checks none.
    auto* group = new QActionGroup(menu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    QList<QAction*> items;
    for (const char* size : SizeNames)
    {
        auto* item = new QAction(menu);
        item->setObjectName(namePrefix + QLatin1String(size));
        SetItemPlaceholders(item, QStringLiteral("__Font") + QLatin1String(size));
        item->setCheckable(true);
        group->addAction(item);
        menu->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { ChangeFont(item); });
        items.append(item);
    }
    return items;
}

void MainTextSize::RefreshChecks(const QList<QAction*>& items)
{
    IBrowserControl* browser = m_activeBrowser();
    const int checked =
        browser ? ZoomLevels::CheckedIndex(ZoomLevels::LevelOf(browser->ZoomFactor())) : -1;
    for (int i = 0; i < items.size(); ++i)
        items[i]->setChecked(i == checked);
}

void MainTextSize::ChangeFont(QAction* item)
{
    int index = m_fontItems.indexOf(item);
    if (index < 0)
        index = m_fontSizeItems.indexOf(item);
    const int level = ZoomLevels::LevelOfIndex(index);
    IBrowserControl* browser = m_activeBrowser();
    if (level < 0 || !browser)
        return;
    browser->SetZoomFactor(ZoomLevels::FactorOf(level));
}

void MainTextSize::actSetMediumFontExecute()
{
    ChangeFont(m_fontItems[ZoomLevels::CheckedIndex(ZoomLevels::Medium)]);
}
