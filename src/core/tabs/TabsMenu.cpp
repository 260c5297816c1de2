#include "core/tabs/TabsMenu.h"

#include "core/tabs/TBrowserTab.h"

#include <QMenu>
#include <QPointer>

QString TabsMenu::caption(int index, const QString& text)
{
    if (index < 9)
        return QLatin1Char('&') + QString::number(index + 1) + QStringLiteral("    ") + text;
    return QStringLiteral("      ") + text;
}

QString TabsMenu::itemText(const QString& stickyName, const QString& hint, const QString& blankText)
{
    if (!stickyName.isEmpty())
        return stickyName;
    if (hint == QLatin1String("about:blank"))
        return blankText;
    return hint;
}

void TabsMenu::fill(QMenu* menu, const QList<TBrowserTab*>& tabs,
                    const std::function<QString(const TBrowserTab*)>& textOf,
                    const std::function<QIcon(const TBrowserTab*)>& iconOf, QObject* context,
                    const std::function<void(TBrowserTab*)>& choose)
{
    menu->clear();
    for (int i = 0; i < tabs.size(); ++i)
    {
        TBrowserTab* tab = tabs.at(i);
        // A title's "&" is shown, not taken as the item's accelerator.
        QString text = textOf(tab);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = menu->addAction(caption(i, text));
        item->setData(i);
        item->setToolTip(tab->GetLocationURL());
        item->setStatusTip(tab->GetLocationURL());
        item->setIcon(iconOf(tab));
        // The menu runs its own loop in which tabs may come and go: the item
        // stands for its tab, not for whatever tab later takes its place.
        const QPointer<TBrowserTab> target(tab);
        QObject::connect(item, &QAction::triggered, context,
                         [choose, target] { choose(target.data()); });
    }
}
