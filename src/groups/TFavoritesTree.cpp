#include "groups/TFavoritesTree.h"

#include "chrome/TLanguage.h"
#include "core/dialogs/WindowServices.h"
#include "groups/InternetShortcut.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QStatusTipEvent>

namespace
{
const QString Section = QStringLiteral("MAIN");
} // namespace

TFavoritesTree::TFavoritesTree(WindowServices* services, QWidget* parent)
    : TShellTree(parent), m_services(services)
{
    setObjectName(QStringLiteral("shFavorites"));
    setHiddenSuffix(QStringLiteral(".url"));
    setRenamesSuffixFiles(true);
    // A click opens and closes folders; a double click would undo it.
    setExpandsOnDoubleClick(false);
    setMouseTracking(true);
    connect(this, &QAbstractItemView::clicked, this, &TFavoritesTree::shFavoritesMouseDown);
    connect(this, &QAbstractItemView::entered, this, &TFavoritesTree::shFavoritesPopupHint);
    connect(this, &TShellTree::nodeContextMenu, this, &TFavoritesTree::shFavoritesContextMenu);
    connect(this, &TShellTree::operationFailed, this,
            [this](const QString& path)
            {
                m_services->showError(
                    TLanguage::FormatText(m_services->GetGlobalText(QStringLiteral("FileNotMoved")),
                                          QDir::toNativeSeparators(path)));
            });
    makeMenu();
}

void TFavoritesTree::makeMenu()
{
    pmFavoritesTree = new QMenu(this);
    pmFavoritesTree->setObjectName(QStringLiteral("pmFavoritesTree"));
    const auto item = [this](const char* name, const char* key, void (TFavoritesTree::*handler)())
    {
        const QString caption = QLatin1String(key);
        QAction* action = pmFavoritesTree->addAction(m_services->GetLangText(Section, caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setStatusTip(TLanguage::LongHint(
            m_services->GetLangText(Section, caption + QStringLiteral("Hint"))));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    pmFavOpen = item("pmFavOpen", "MenuFavOpen", &TFavoritesTree::pmFavOpenClick);
    QFont bold = pmFavOpen->font();
    bold.setBold(true);
    pmFavOpen->setFont(bold);
    pmFavoritesTree->setDefaultAction(pmFavOpen);
    pmFavCopyAddress =
        item("pmFavCopyAddress", "MenuFavCopyAddress", &TFavoritesTree::pmFavCopyAddressClick);
    pmFavoritesTree->addSeparator();
    pmFavRename = item("pmFavRename", "MenuFavRename", &TFavoritesTree::pmFavRenameClick);
    pmFavDelete = item("pmFavDelete", "MenuFavDelete", &TFavoritesTree::pmFavDeleteClick);
    pmFavoritesTree->addSeparator();
    pmFavNewFolder =
        item("pmFavNewFolder", "MenuFavNewFolder", &TFavoritesTree::pmFavNewFolderClick);
}

QString TFavoritesTree::targetOf(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.isDir())
        return {};
    return InternetShortcut::isShortcutFile(path) ? InternetShortcut::readUrl(path) : path;
}

void TFavoritesTree::refreshWhenIdle()
{
    if (renaming())
    {
        m_refreshPending = true;
        return;
    }
    m_refreshPending = false;
    refresh();
}

void TFavoritesTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    TShellTree::closeEditor(editor, hint);
    if (m_refreshPending && !renaming())
        // Not inside the editor's own signal, which is still on its way.
        QMetaObject::invokeMethod(this, &TFavoritesTree::refreshWhenIdle, Qt::QueuedConnection);
}

void TFavoritesTree::shFavoritesMouseDown(const QModelIndex& node)
{
    if (!node.isValid())
        return;
    const QModelIndex entry = node.siblingAtColumn(0);
    if (isFolder(entry))
    {
        setExpanded(entry, !isExpanded(entry));
        return;
    }
    if (QFileInfo::exists(pathOf(entry)))
        emit favoriteChosen(targetOf(pathOf(entry)));
}

void TFavoritesTree::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !renaming() && currentIndex().isValid())
    {
        shFavoritesMouseDown(currentIndex());
        event->accept();
        return;
    }
    TShellTree::keyPressEvent(event);
}

void TFavoritesTree::shFavoritesPopupHint(const QModelIndex& node)
{
    const QString path = pathOf(node.siblingAtColumn(0));
    const QString target = targetOf(path);
    sendHint(InternetShortcut::isShortcutFile(path) ? target : QDir::toNativeSeparators(path));
}

bool TFavoritesTree::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        sendHint(QString());
    return TShellTree::viewportEvent(event);
}

void TFavoritesTree::sendHint(const QString& text)
{
    // Hints hold a short and a long part; the status bar shows the long one,
    // which is the whole text here, even where an address holds a "|".
    QString hint = text;
    hint.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QStatusTipEvent tip(hint.isEmpty() ? QString() : QStringLiteral("|") + hint);
    QApplication::sendEvent(this, &tip);
}

void TFavoritesTree::shFavoritesContextMenu(const QModelIndex& node, const QPoint& globalPos)
{
    const QModelIndex entry = node.siblingAtColumn(0);
    FavoritesTreeNode = pathOf(entry);
    const bool any = entry.isValid();
    if (any)
        setCurrentIndex(entry);
    pmFavOpen->setEnabled(any);
    pmFavCopyAddress->setVisible(InternetShortcut::isShortcutFile(FavoritesTreeNode));
    pmFavRename->setEnabled(any && isRenamable(entry));
    pmFavDelete->setEnabled(any);
    pmFavoritesTree->popup(globalPos, any ? pmFavOpen : nullptr);
}

QModelIndex TFavoritesTree::rememberedNode() const
{
    return FavoritesTreeNode.isEmpty() ? QModelIndex() : nodeOf(FavoritesTreeNode);
}

void TFavoritesTree::pmFavOpenClick()
{
    shFavoritesMouseDown(rememberedNode());
}

void TFavoritesTree::pmFavCopyAddressClick()
{
    if (!InternetShortcut::isShortcutFile(FavoritesTreeNode))
        return;
    const QString address = InternetShortcut::readUrl(FavoritesTreeNode);
    if (!address.isEmpty())
        QApplication::clipboard()->setText(address);
}

void TFavoritesTree::pmFavRenameClick()
{
    startRename(rememberedNode());
}

void TFavoritesTree::pmFavDeleteClick()
{
    // The trash keeps what goes there; a failure is reported by the tree.
    deleteNode(rememberedNode());
}

void TFavoritesTree::pmFavNewFolderClick()
{
    if (root().isEmpty())
        return;
    // Under the entry the menu was opened on, or at the top over empty space.
    const QModelIndex node = rememberedNode();
    if (node.isValid())
        setCurrentIndex(node);
    else
        setCurrentIndex(QModelIndex());
    createFolder(m_services->GetGlobalText(QStringLiteral("NewFolderName")));
}
