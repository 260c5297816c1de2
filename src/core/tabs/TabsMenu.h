#pragma once

#include <QIcon>
#include <QList>
#include <QString>

#include <functional>

class QMenu;
class QObject;
class TBrowserTab;

// The Tabs menu: one item a tab, in tab order, numbered for the keyboard.
class TabsMenu
{
public:
    // The caption of the item at index for a tab's text: the first nine
    // carry their number as accelerator, the rest line up with them.
    static QString caption(int index, const QString& text);
    // What the item says for a tab: its sticky name, else its full title;
    // the blank page is named blankText.
    static QString itemText(const QString& stickyName, const QString& hint,
                            const QString& blankText);

    // Rebuilds menu for tabs. Choosing an item calls choose with its tab,
    // or with null when the tab has gone meanwhile.
    static void fill(QMenu* menu, const QList<TBrowserTab*>& tabs,
                     const std::function<QString(const TBrowserTab*)>& textOf,
                     const std::function<QIcon(const TBrowserTab*)>& iconOf, QObject* context,
                     const std::function<void(TBrowserTab*)>& choose);
};
