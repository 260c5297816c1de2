#pragma once

#include <QList>
#include <QObject>

#include <functional>

class IBrowserControl;
class QAction;
class QMenu;
class QWidget;

// The text size of the active page: the toolbar's drop-down pmFont and the
// View menu's submenu pmFontSize, both listing the five sizes from the
// largest down. Each menu checks the active page's size when it opens, so
// a size changed another way (Ctrl and the wheel, another menu) is never
// shown stale.
class MainTextSize : public QObject
{
    Q_OBJECT
public:
    // activeBrowser answers the active tab's control, or null when there is
    // none. The menus belong to window, whose translation gives them their
    // texts.
    MainTextSize(QWidget* window, std::function<IBrowserControl*()> activeBrowser);

    QMenu* FontMenu() const { return pmFont; }
    QMenu* FontSizeMenu() const { return pmFontSize; }
    // In menu order, largest first.
    const QList<QAction*>& FontItems() const { return m_fontItems; }
    const QList<QAction*>& FontSizeItems() const { return m_fontSizeItems; }

    // Sets the active page's size from item, an item of either menu.
    void ChangeFont(QAction* item);
    // The toolbar button's own click: the medium size.
    void actSetMediumFontExecute();

private:
    QList<QAction*> BuildItems(QMenu* menu, const QString& namePrefix);
    void RefreshChecks(const QList<QAction*>& items);

    std::function<IBrowserControl*()> m_activeBrowser;
    QMenu* pmFont;
    QMenu* pmFontSize;
    QList<QAction*> m_fontItems;
    QList<QAction*> m_fontSizeItems;
};
