#pragma once

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QWidget>

class QMenu;
class QToolButton;
class TFavoriteMenuItem;
class WindowServices;

// The links band: one button per entry of the Links folder, a drop-down
// menu for each of its sub-folders (filled when it first opens), and the
// chevron tbxLinks, which offers the buttons that the band is too narrow
// for. The band is rebuilt whole by Reload.
class TLinksBar : public QWidget
{
    Q_OBJECT
public:
    TLinksBar(QWidget* parent, bool showIcons, WindowServices* services);

    // The Links folder; empty when there is none. Takes effect at Reload.
    void SetFolder(const QString& folder) { m_folder = folder; }
    QString Folder() const { return m_folder; }
    // Folder menus begin with an Open-all item. Takes effect at Reload.
    bool ShowOpenAllFavorites = true;
    bool ShowIcons() const { return m_showIcons; }
    // A new value reloads the band.
    void SetShowIcons(bool show);

    // Reads the Links folder again: the root menu and the buttons.
    void Reload();

    // Every entry of the Links folder, then the Customize item.
    QMenu* RootItem() const { return m_rootItem; }
    QList<QToolButton*> Buttons() const { return m_buttons; }
    QWidget* pnlLinks = nullptr;
    QWidget* pnlLinksExtender = nullptr;
    QToolButton* tbxLinks = nullptr;
    QMenu* pmLinksBarExtender = nullptr;

    // Lays the buttons out; the chevron shows when the last one is cut off.
    void pnlLinksBarResize();
    // The chevron's menu: the buttons that are cut off, then Organize Links.
    void pmLinksBarExtenderPopup();

    QSize sizeHint() const override;

signals:
    // A link was chosen: its address or its file's path.
    void OnLinkClick(const QString& target);
    // Open all of one folder: the targets of its links, in menu order.
    void openAllChosen(const QStringList& targets);
    // Customize or Organize Links: the user wants to arrange the links.
    void OnCustomize();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillFolder(QMenu* menu, const QString& folder);
    void LoadSubFolder(TFavoriteMenuItem* item);
    void MakeButtons();
    QString GlobalText(const QString& key) const;
    int ChevronWidth() const;

    QPointer<WindowServices> m_services;
    QString m_folder;
    bool m_showIcons;
    QMenu* m_rootItem;
    QList<QToolButton*> m_buttons;
    QIcon m_folderIcon;
    QIcon m_linkIcon;
};
