#include "chrome/MenuPlaceholders.h"

#include <QAction>
#include <QMenu>

void SetItemPlaceholders(QAction* item, const QString& captionKey)
{
    const QString hintKey = captionKey + QStringLiteral("Hint");
    item->setText(captionKey);
    item->setToolTip(hintKey);
    item->setStatusTip(hintKey);
}

QAction* AddPlaceholderItem(QMenu* menu, const QString& name, const QString& captionKey)
{
    auto* item = new QAction(menu);
    item->setObjectName(name);
    SetItemPlaceholders(item, captionKey);
    menu->addAction(item);
    return item;
}
