#pragma once

#include <QObject>
#include <QString>

class DesktopApplications;
class DesktopEntry;
class QMenu;
class TBrowserTab;
class TfrmMain;

// The window's commands that hand pages to the desktop: the Open dialog,
// the mail and news programs (the toolbar's Mail drop-down pmMail), sending
// a link or the page by mail, editing the page with an installed program
// (the View Source button's drop-down pmEditDocument), the desktop's own
// web browser and file manager.
class MainShell : public QObject
{
    Q_OBJECT
public:
    // The window's bars and menus exist.
    explicit MainShell(TfrmMain* window);
    ~MainShell() override;

    QMenu* MailMenu() const { return pmMail; }
    QMenu* EditDocumentMenu() const { return pmEditDocument; }

    void actOpenExecute();
    void actReadMailExecute();
    void pmMailNewsReadNewsClick();
    void pmMailNewsNewMessageClick();
    void pmMailNewsSendALinkClick();
    void pmMailSendFileClick();
    void pmMailPopup();
    void pmEditDocumentPopup();

    // Opens address in the desktop's default web browser, unless that is
    // this program (or there is none).
    void LaunchSystemBrowser(const QString& address);
    // Shows folder in the desktop's file manager.
    static void ExploreFolder(const QString& folder);
    // A folder of this user's for the files handed to other programs (mail
    // attachments, pages to edit, dragged shortcuts), made when missing;
    // empty when it cannot be made.
    static QString HandOverFolder(const QString& sub);

private:
    void BuildMenus();
    void BuildMailClientMenu();
    void BuildEditWithMenu();
    void EditClick(const DesktopEntry& entry);
    // The applications as the desktop lists them now.
    const DesktopApplications& Applications();
    void StartDefault(const QString& scheme);
    void Message(const QString& key);
    QString Text(const QString& key) const;

    TfrmMain* m_window;
    QMenu* pmMail = nullptr;
    QMenu* pmEditDocument = nullptr;
    bool m_mailClientsBuilt = false;
    bool m_editorsBuilt = false;
    DesktopApplications* m_applications = nullptr;
};
