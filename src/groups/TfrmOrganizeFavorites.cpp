#include "groups/TfrmOrganizeFavorites.h"

#include "core/dialogs/WindowServices.h"
#include "groups/FavoritesFolderTree.h"
#include "groups/InternetShortcut.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

const QString TfrmOrganizeFavorites::Section = QStringLiteral("ORGANIZE_FAVORITES");

namespace
{
const QString UrlExtension = QStringLiteral(".url");

QString extensionOf(const QFileInfo& info)
{
    return !info.isDir() && InternetShortcut::isShortcutFile(info.filePath())
               ? info.fileName().right(UrlExtension.size())
               : QString();
}

// A name in folder that nothing uses yet: base, then base (2), (3) ...
QString freePath(const QString& folder, const QString& base, const QString& extension)
{
    for (int n = 1; n < 100000; ++n)
    {
        const QString path =
            QDir(folder).filePath(InternetShortcut::numberedName(base, n, extension));
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
    }
    return {};
}
} // namespace

TfrmOrganizeFavorites::TfrmOrganizeFavorites(const QString& favoritesFolder,
                                             WindowServices* services, QWidget* parent)
    : QDialog(parent), m_root(QDir::cleanPath(favoritesFolder)), m_services(services)
{
    setObjectName(QStringLiteral("frmOrganizeFavorites"));
    setWindowTitle(Text(QStringLiteral("Caption")));
    lblInfo = new QLabel(Text(QStringLiteral("Info")), this);
    lblInfo->setWordWrap(true);
    shFavorites = new FavoritesFolderTree(m_root, true, this);
    shFavorites->setObjectName(QStringLiteral("shFavorites"));
    shFavorites->setRootCaption(Text(QStringLiteral("Favorites")));
    lblAddress = new QLabel(this);
    lblAddress->setTextFormat(Qt::PlainText);
    lblAddress->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto makeButton = [this](const char* key)
    { return new QPushButton(Text(QLatin1String(key)), this); };
    cmdNewFolder = makeButton("NewFolder");
    cmdRename = makeButton("Rename");
    cmdMove = makeButton("Move");
    cmdDelete = makeButton("Delete");
    cmdFileManager = makeButton("FileManager");
    cmdClose = makeButton("Close");

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {cmdNewFolder, cmdRename, cmdMove, cmdDelete, cmdFileManager})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* grid = new QGridLayout(this);
    grid->addWidget(lblInfo, 0, 0, 1, 2);
    grid->addWidget(shFavorites, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(lblAddress, 2, 0, 1, 2);
    resize(520, 420);

    connect(shFavorites, &QTreeWidget::itemSelectionChanged, this,
            &TfrmOrganizeFavorites::shFavoritesChange);
    connect(cmdNewFolder, &QPushButton::clicked, this, &TfrmOrganizeFavorites::cmdNewFolderClick);
    connect(cmdRename, &QPushButton::clicked, this, &TfrmOrganizeFavorites::cmdRenameClick);
    connect(cmdMove, &QPushButton::clicked, this, &TfrmOrganizeFavorites::cmdMoveClick);
    connect(cmdDelete, &QPushButton::clicked, this, &TfrmOrganizeFavorites::cmdDeleteClick);
    connect(cmdFileManager, &QPushButton::clicked, this,
            &TfrmOrganizeFavorites::cmdFileManagerClick);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    shFavoritesChange();
}

void TfrmOrganizeFavorites::Organize(QWidget* window, const QString& favoritesFolder,
                                     WindowServices* services)
{
    if (!QFileInfo(favoritesFolder).isDir())
        return;
    TfrmOrganizeFavorites dialog(favoritesFolder, services, window);
    if (window)
        dialog.setFont(window->font());
    dialog.exec();
}

QString TfrmOrganizeFavorites::Text(const QString& key) const
{
    return m_services->GetLangText(Section, key);
}

QString TfrmOrganizeFavorites::SelectedEntry() const
{
    const QString path = shFavorites->selectedPath();
    return path == m_root ? QString() : path;
}

void TfrmOrganizeFavorites::Failed(const QString& key, const QString& path)
{
    m_services->showError(Text(key).arg(QDir::toNativeSeparators(path)));
    shFavorites->reload();
}

void TfrmOrganizeFavorites::shFavoritesChange()
{
    const QString entry = SelectedEntry();
    for (QPushButton* button : {cmdRename, cmdMove, cmdDelete})
        button->setEnabled(!entry.isEmpty());
    lblAddress->setText(InternetShortcut::isShortcutFile(entry) ? InternetShortcut::readUrl(entry)
                                                                : QString());
}

void TfrmOrganizeFavorites::cmdNewFolderClick()
{
    const QString safe = FavoritesFolderTree::askFolderName(
        m_services, Text(QStringLiteral("NewFolder")), Text(QStringLiteral("NewFolderPrompt")));
    if (safe.isEmpty())
        return;
    const QString path = freePath(shFavorites->selectedFolder(), safe, QString());
    if (path.isEmpty() || !QDir().mkdir(path))
        return Failed(QStringLiteral("CannotMakeFolder"), path);
    shFavorites->reload(path);
}

void TfrmOrganizeFavorites::cmdRenameClick()
{
    const QString entry = SelectedEntry();
    if (entry.isEmpty())
        return;
    const QFileInfo info(entry);
    const QString extension = extensionOf(info);
    QString name = info.fileName().chopped(extension.size());
    if (!m_services->inputQuery(Text(QStringLiteral("Rename")),
                                Text(QStringLiteral("RenamePrompt")), name))
        return;
    const QString safe = InternetShortcut::safeFileName(name);
    const QString target = QDir(info.path()).filePath(safe + extension);
    if (safe.isEmpty() || target == entry)
        return;
    // Another entry of that name is never replaced.
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        return Failed(QStringLiteral("NameTaken"), target);
    if (!QDir().rename(entry, target))
        return Failed(QStringLiteral("CannotRename"), entry);
    shFavorites->reload(target);
}

bool TfrmOrganizeFavorites::MoveSelectedTo(const QString& folder)
{
    const QString entry = SelectedEntry();
    const QString target = QDir::cleanPath(folder);
    if (entry.isEmpty() || target == QFileInfo(entry).path())
        return false;
    // A folder cannot go into itself or into one of its own sub-folders.
    if (target == entry || target.startsWith(entry + QLatin1Char('/')))
    {
        Failed(QStringLiteral("CannotMoveIntoItself"), entry);
        return false;
    }
    const QFileInfo info(entry);
    const QString extension = extensionOf(info);
    const QString path = freePath(target, info.fileName().chopped(extension.size()), extension);
    if (path.isEmpty() || !QDir().rename(entry, path))
    {
        Failed(QStringLiteral("CannotMove"), entry);
        return false;
    }
    shFavorites->reload(path);
    return true;
}

QString TfrmOrganizeFavorites::ChooseFolder()
{
    QDialog chooser(this);
    chooser.setWindowTitle(Text(QStringLiteral("MoveCaption")));
    FavoritesFolderTree tree(m_root, false, &chooser);
    tree.setRootCaption(Text(QStringLiteral("Favorites")));
    tree.selectPath(QFileInfo(SelectedEntry()).path());
    QDialogButtonBox buttons(&chooser);
    buttons.addButton(m_services->GetGlobalText(QStringLiteral("OK")),
                      QDialogButtonBox::AcceptRole);
    buttons.addButton(m_services->GetGlobalText(QStringLiteral("Cancel")),
                      QDialogButtonBox::RejectRole);
    connect(&buttons, &QDialogButtonBox::accepted, &chooser, &QDialog::accept);
    connect(&buttons, &QDialogButtonBox::rejected, &chooser, &QDialog::reject);
    QVBoxLayout layout(&chooser);
    layout.addWidget(&tree);
    layout.addWidget(&buttons);
    chooser.resize(360, 380);
    return chooser.exec() == QDialog::Accepted ? tree.selectedFolder() : QString();
}

void TfrmOrganizeFavorites::cmdMoveClick()
{
    if (SelectedEntry().isEmpty())
        return;
    const QString folder = ChooseFolder();
    if (!folder.isEmpty())
        MoveSelectedTo(folder);
}

void TfrmOrganizeFavorites::cmdDeleteClick()
{
    const QString entry = SelectedEntry();
    if (entry.isEmpty())
        return;
    const QString name = QFileInfo(entry).fileName();
    if (!m_services
             ->confirm(Text(QStringLiteral("Delete")), false, Text(QStringLiteral("DeleteTitle")),
                       Text(QStringLiteral("DeletePrompt")).arg(name),
                       m_services->GetGlobalText(QStringLiteral("Yes")),
                       m_services->GetGlobalText(QStringLiteral("No")), QString())
             .ok)
        return;
    if (!QFile::moveToTrash(entry))
    {
        // Without a trash (another file system, no trash folder) the user
        // decides whether the entry goes for good.
        if (!m_services
                 ->confirm(Text(QStringLiteral("Delete")), false,
                           Text(QStringLiteral("DeleteTitle")),
                           Text(QStringLiteral("NoTrashPrompt")).arg(name),
                           m_services->GetGlobalText(QStringLiteral("Yes")),
                           m_services->GetGlobalText(QStringLiteral("No")), QString())
                 .ok)
            return;
        const bool removed = QFileInfo(entry).isDir() && !QFileInfo(entry).isSymLink()
                                 ? QDir(entry).removeRecursively()
                                 : QFile::remove(entry);
        if (!removed)
            return Failed(QStringLiteral("CannotDelete"), entry);
    }
    shFavorites->reload(QFileInfo(entry).path());
}

void TfrmOrganizeFavorites::cmdFileManagerClick()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_root));
    accept();
}
