#include "core/window/MainShell.h"

#include "chrome/DesktopApplications.h"
#include "chrome/MenuPlaceholders.h"
#include "chrome/TQWToolBar.h"
#include "chrome/ToolbarButtonTable.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/IBrowserControl.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainBars.h"
#include "core/window/MainDragDrop.h"
#include "core/window/TfrmMain.h"
#include "groups/InternetShortcut.h"
#include "navigation/PageShellTexts.h"
#include "navigation/TAddressBand.h"
#include "navigation/TAddressController.h"
#include "navigation/TQWComboBox.h"
#include "navigation/TfrmOpen.h"

#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

#include <algorithm>

namespace
{
const QString Main = QStringLiteral("MAIN");
const QString ProductName = QStringLiteral("Quillwave");
const QString MailScheme = QStringLiteral("x-scheme-handler/mailto");
const QString NewsScheme = QStringLiteral("x-scheme-handler/news");
const QString WebScheme = QStringLiteral("x-scheme-handler/http");
const QString HtmlType = QStringLiteral("text/html");
constexpr int MailButton = 11;
constexpr int ViewSourceButton = 14;

bool isOwnEntry(const DesktopEntry& entry)
{
    return entry.id.startsWith(QStringLiteral("quillwave"), Qt::CaseInsensitive);
}

bool isEditor(const DesktopEntry& entry)
{
    return entry.categories.contains(QStringLiteral("TextEditor")) ||
           entry.categories.contains(QStringLiteral("Development"));
}

// A file name from a title rule, cut to what file systems take.
QString fitName(const QString& name, const QString& extension)
{
    const QString base = InternetShortcut::safeFileName(name.chopped(extension.size()));
    return (base.isEmpty() ? QStringLiteral("page") : base) + extension;
}

bool writeWhole(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}
} // namespace

MainShell::MainShell(TfrmMain* window) : QObject(window), m_window(window)
{
    BuildMenus();
    new MainDragDrop(window);
    TQWToolBar* bar = window->Bars()->ToolBar();
    bar->SetDropDownMenu(MailButton, pmMail);
    bar->SetDropDownMenu(ViewSourceButton, pmEditDocument);
}

MainShell::~MainShell()
{
    delete m_applications;
}

QString MainShell::Text(const QString& key) const
{
    return m_window->Services()->GetLangText(Main, key);
}

void MainShell::Message(const QString& key)
{
    m_window->Services()->notify(ProductName, Text(key));
}

void MainShell::BuildMenus()
{
    pmMail = new QMenu(m_window);
    pmMail->setObjectName(QStringLiteral("pmMail"));
    const auto item = [this](const char* name, const char* key, void (MainShell::*handler)())
    {
        auto* action = new QAction(pmMail);
        action->setObjectName(QString::fromLatin1(name));
        SetItemPlaceholders(action, QStringLiteral("__") + QString::fromLatin1(key));
        pmMail->addAction(action);
        connect(action, &QAction::triggered, this, handler);
    };
    item("pmMailNewsReadMail", "MenuMailReadMail", &MainShell::actReadMailExecute);
    item("pmMailNewsNewMessage", "MenuMailNewMessage", &MainShell::pmMailNewsNewMessageClick);
    item("pmMailNewsSendALink", "MenuMailSendLink", &MainShell::pmMailNewsSendALinkClick);
    item("pmMailSendFile", "MenuMailSendPage", &MainShell::pmMailSendFileClick);
    pmMail->addSeparator();
    item("pmMailNewsReadNews", "MenuMailReadNews", &MainShell::pmMailNewsReadNewsClick);
    pmMail->addSeparator();
    connect(pmMail, &QMenu::aboutToShow, this, &MainShell::pmMailPopup);

    pmEditDocument = new QMenu(m_window);
    pmEditDocument->setObjectName(QStringLiteral("pmEditDocument"));
    connect(pmEditDocument, &QMenu::aboutToShow, this, &MainShell::pmEditDocumentPopup);
    // An empty menu would not open at all.
    pmEditDocument->addAction(QStringLiteral("~~Loading"))->setEnabled(false);
}

const DesktopApplications& MainShell::Applications()
{
    // Read when first needed: the menus are built once per run, as the
    // user's mail and editor programs rarely change while it lasts.
    if (!m_applications)
        m_applications = new DesktopApplications(DesktopApplications::standard());
    return *m_applications;
}

void MainShell::actOpenExecute()
{
    TfrmOpen dialog(m_window->Address()->Band()->cboAddress->Items(), m_window->Services(),
                    m_window->Language(), m_window);
    dialog.setFont(m_window->font());
    if (dialog.exec() != QDialog::Accepted)
        return;
    TBrowserTab* tab = nullptr;
    if (dialog.NewTab())
    {
        tab = m_window->TabSet()->AddTab();
        if (tab)
            tab->OpenedAsNewWindow = true;
    }
    else
        tab = m_window->GetActivePage();
    if (!tab)
        return;
    tab->Stop();
    tab->Navigate(dialog.Address());
}

void MainShell::StartDefault(const QString& scheme)
{
    const std::optional<DesktopEntry> entry = Applications().preferred(scheme);
    if (!entry || !entry->start())
        Message(scheme == MailScheme ? QStringLiteral("NoMailClient")
                                     : QStringLiteral("NoNewsClient"));
}

void MainShell::actReadMailExecute()
{
    StartDefault(MailScheme);
}

void MainShell::pmMailNewsReadNewsClick()
{
    StartDefault(NewsScheme);
}

void MainShell::pmMailNewsNewMessageClick()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:")));
}

void MainShell::pmMailNewsSendALinkClick()
{
    const TBrowserTab* tab = m_window->GetActivePage();
    if (!tab)
        return;
    QDesktopServices::openUrl(
        PageShellTexts::MailtoForLink(tab->GetLocationName(), tab->GetLocationURL()));
}

void MainShell::pmMailSendFileClick()
{
    TBrowserTab* tab = m_window->GetActivePage();
    if (!tab || !tab->Browser())
        return;
    const QString mailer = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (mailer.isEmpty())
    {
        Message(QStringLiteral("NoXdgEmail"));
        return;
    }
    if (!Applications().preferred(MailScheme))
    {
        Message(QStringLiteral("NoMailClient"));
        return;
    }
    const QString folder = HandOverFolder(QStringLiteral("mail"));
    const QString path =
        folder + u'/' +
        fitName(PageShellTexts::MailFileName(tab->GetLocationName()), QStringLiteral(".htm"));
    const QString address = tab->GetLocationURL();
    QPointer<MainShell> self(this);
    tab->Browser()->ToHtml(
        [self, folder, path, address, mailer](const QString& html)
        {
            if (!self)
                return;
            const QByteArray data = PageShellTexts::PageForMail(html, address).toUtf8();
            if (folder.isEmpty() || !writeWhole(path, data))
            {
                self->Message(QStringLiteral("PageNotSaved"));
                return;
            }
            if (!QProcess::startDetached(mailer, {QStringLiteral("--attach"), path}))
                self->Message(QStringLiteral("NoXdgEmail"));
        });
}

void MainShell::pmMailPopup()
{
    if (m_mailClientsBuilt)
        return;
    m_mailClientsBuilt = true;
    BuildMailClientMenu();
}

void MainShell::BuildMailClientMenu()
{
    for (const DesktopEntry& entry : Applications().handlers(MailScheme))
    {
        if (isOwnEntry(entry))
            continue;
        QAction* item = pmMail->addAction(entry.name);
        item->setStatusTip(entry.exec);
        // RunMe: the client itself, without an address to write to.
        connect(item, &QAction::triggered, this,
                [this, entry]
                {
                    if (!entry.start())
                        Message(QStringLiteral("NoMailClient"));
                });
    }
}

void MainShell::pmEditDocumentPopup()
{
    if (m_editorsBuilt)
        return;
    m_editorsBuilt = true;
    pmEditDocument->clear();
    BuildEditWithMenu();
}

void MainShell::BuildEditWithMenu()
{
    QList<DesktopEntry> entries = Applications().handlers(HtmlType);
    entries.removeIf(isOwnEntry);
    std::stable_partition(entries.begin(), entries.end(), isEditor);
    for (const DesktopEntry& entry : entries)
    {
        QAction* item = pmEditDocument->addAction(entry.name);
        item->setStatusTip(entry.exec);
        connect(item, &QAction::triggered, this, [this, entry] { EditClick(entry); });
    }
    if (entries.isEmpty())
        pmEditDocument->addAction(m_window->Services()->GetGlobalText(QStringLiteral("NoItems")))
            ->setEnabled(false);
}

void MainShell::EditClick(const DesktopEntry& entry)
{
    TBrowserTab* tab = m_window->GetActivePage();
    if (!tab || !tab->Browser())
        return;
    const QString folder = HandOverFolder(QStringLiteral("edit"));
    QPointer<MainShell> self(this);
    tab->Browser()->ToHtml(
        [self, folder, entry](const QString& html)
        {
            if (!self)
                return;
            // A fresh name each time: an editor may still hold the last one.
            QTemporaryFile file(folder + QStringLiteral("/tmpXXXXXX.htm"));
            file.setAutoRemove(false);
            const QByteArray data = html.toUtf8();
            if (folder.isEmpty() || !file.open() || file.write(data) != data.size() ||
                !file.flush())
            {
                file.remove();
                self->Message(QStringLiteral("PageNotSaved"));
                return;
            }
            file.close();
            if (!entry.start({file.fileName()}))
                self->Message(QStringLiteral("ProgramNotStarted"));
        });
}

void MainShell::LaunchSystemBrowser(const QString& address)
{
    if (address.isEmpty() || TAddressController::IsScriptAddress(address))
        return;
    const std::optional<DesktopEntry> browser = Applications().preferred(WebScheme);
    if (browser && !isOwnEntry(*browser))
        browser->start({address});
}

void MainShell::ExploreFolder(const QString& folder)
{
    if (!folder.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

QString MainShell::HandOverFolder(const QString& sub)
{
    // The session's own folder is the user's alone, unlike the shared
    // temporary folder, where another user could put a file of the same
    // name in the way.
    QString root = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (root.isEmpty())
        root = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString folder = root + QStringLiteral("/quillwave/") + sub;
    return QDir().mkpath(folder) ? folder : QString();
}
