#pragma once

#include <QString>

class QAction;
class QMenu;

// A menu item's texts before the window is translated: its caption key
// ("__MenuFileExit") and its hint key, the caption key followed by "Hint",
// which the window's translation replaces.
void SetItemPlaceholders(QAction* item, const QString& captionKey);

// A new item at the end of menu, named name, with those placeholders.
QAction* AddPlaceholderItem(QMenu* menu, const QString& name, const QString& captionKey);
