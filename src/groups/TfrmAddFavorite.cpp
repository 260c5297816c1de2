#include "groups/TfrmAddFavorite.h"

#include "core/dialogs/WindowServices.h"
#include "groups/FavoritesFolderTree.h"
#include "groups/InternetShortcut.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

const QString TfrmAddFavorite::Section = QStringLiteral("ADD_FAVORITE");

TfrmAddFavorite::TfrmAddFavorite(const QString& favoritesFolder, const QString& title,
                                 const QString& url, WindowServices* services, QWidget* parent)
    : QDialog(parent), m_url(url), m_services(services)
{
    setObjectName(QStringLiteral("frmAddFavorite"));
    setModal(true);
    setWindowTitle(Text(QStringLiteral("Caption")));

    lblName = new QLabel(Text(QStringLiteral("Name")), this);
    edtName = new QLineEdit(title.simplified(), this);
    edtName->setObjectName(QStringLiteral("edtName"));
    lblName->setBuddy(edtName);
    lblFolder = new QLabel(Text(QStringLiteral("CreateIn")), this);
    shFolders = new FavoritesFolderTree(favoritesFolder, false, this);
    shFolders->setObjectName(QStringLiteral("shFolders"));
    shFolders->setRootCaption(Text(QStringLiteral("Favorites")));
    lblFolder->setBuddy(shFolders);
    cmdNewFolder = new QPushButton(Text(QStringLiteral("NewFolder")), this);
    cmdOk = new QPushButton(m_services->GetGlobalText(QStringLiteral("OK")), this);
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(m_services->GetGlobalText(QStringLiteral("Cancel")), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdNewFolder);
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* grid = new QGridLayout(this);
    grid->addWidget(lblName, 0, 0);
    grid->addWidget(edtName, 0, 1);
    grid->addWidget(lblFolder, 1, 0, 1, 2);
    grid->addWidget(shFolders, 2, 0, 1, 2);
    grid->addLayout(buttons, 3, 0, 1, 2);
    resize(420, 360);

    connect(edtName, &QLineEdit::textChanged, this, &TfrmAddFavorite::edtNameChange);
    connect(cmdNewFolder, &QPushButton::clicked, this, &TfrmAddFavorite::cmdNewFolderClick);
    connect(cmdOk, &QPushButton::clicked, this, &TfrmAddFavorite::cmdOkClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    edtNameChange();
    edtName->selectAll();
}

bool TfrmAddFavorite::Add(QWidget* window, const QString& favoritesFolder, const QString& title,
                          const QString& url, WindowServices* services)
{
    if (url.isEmpty() || favoritesFolder.isEmpty())
        return false;
    TfrmAddFavorite dialog(favoritesFolder, title.isEmpty() ? url : title, url, services, window);
    if (window)
        dialog.setFont(window->font());
    return dialog.exec() == QDialog::Accepted;
}

QString TfrmAddFavorite::Text(const QString& key) const
{
    return m_services->GetLangText(Section, key);
}

void TfrmAddFavorite::edtNameChange()
{
    cmdOk->setEnabled(!InternetShortcut::safeFileName(edtName->text()).isEmpty());
}

void TfrmAddFavorite::cmdNewFolderClick()
{
    const QString safe = FavoritesFolderTree::askFolderName(
        m_services, Text(QStringLiteral("NewFolder")), Text(QStringLiteral("NewFolderPrompt")));
    if (safe.isEmpty())
        return;
    const QString path = QDir(shFolders->selectedFolder()).filePath(safe);
    // An existing folder of that name is as good as a new one.
    if (!QFileInfo(path).isDir() && !QDir().mkdir(path))
    {
        m_services->showError(Text(QStringLiteral("CannotMakeFolder")).arg(path));
        return;
    }
    shFolders->reload(path);
}

void TfrmAddFavorite::cmdOkClick()
{
    const QString folder = shFolders->selectedFolder();
    m_written = InternetShortcut::write(folder, edtName->text(), m_url);
    if (m_written.isEmpty())
    {
        m_services->showError(Text(QStringLiteral("CannotWrite")).arg(folder));
        return;
    }
    accept();
}
