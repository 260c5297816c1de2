#include "core/window/MainDragDrop.h"

#include "components/TQWPageControl.h"
#include "core/dialogs/WindowServices.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainShell.h"
#include "core/window/TfrmMain.h"
#include "groups/InternetShortcut.h"
#include "navigation/PageShellTexts.h"
#include "navigation/TAddressBand.h"
#include "navigation/TAddressController.h"
#include "navigation/TabStripDrop.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QSaveFile>
#include <QUrl>

MainDragDrop::MainDragDrop(TfrmMain* window)
    : QObject(window), m_window(window), m_link(window->Address()->Band()->imgIELink),
      m_strip(window->PageControl()->tabStrip())
{
    m_link->installEventFilter(this);
    window->PageControl()->tabStrip()->setAcceptDrops(true);
    m_strip->installEventFilter(this);
}

QMimeData* MainDragDrop::PageLinkData() const
{
    const TBrowserTab* tab = m_window->GetActivePage();
    if (!tab || tab->GetLocationURL().isEmpty())
        return nullptr;
    const QString address = tab->GetLocationURL();
    const QString folder = MainShell::HandOverFolder(QStringLiteral("links"));
    if (folder.isEmpty())
        return nullptr;
    // The rule's name, cut to what file systems take.
    QString base = PageShellTexts::ShortcutFileName(tab->GetLocationName()).chopped(4);
    base = InternetShortcut::safeFileName(base);
    const QString path =
        folder + u'/' + (base.isEmpty() ? QStringLiteral("page") : base) + QStringLiteral(".url");
    QSaveFile file(path);
    const QByteArray contents = InternetShortcut::contents(address);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() ||
        !file.commit())
        return nullptr;
    auto* data = new QMimeData;
    data->setText(address);
    // A file manager makes a copy of the shortcut where it is dropped.
    data->setUrls({QUrl::fromLocalFile(path)});
    return data;
}

bool MainDragDrop::uoDropPageDrop(const QMimeData* data, const QPoint& pos)
{
    const TabStripDrop::Decoded drop = TabStripDrop::Decode(data);
    if (drop.outcome == TabStripDrop::Nothing)
        return false;
    if (drop.outcome == TabStripDrop::Refused)
    {
        m_window->ShowMessage(
            m_window->Services()->GetGlobalText(QStringLiteral("ScriptAddressRefused")));
        return true;
    }
    TQWPageControl* pages = m_window->PageControl();
    const int index = pages->tabAt(pages->tabStrip()->mapTo(pages, pos));
    auto* target = qobject_cast<TBrowserTab*>(index < 0 ? nullptr : pages->visiblePage(index));
    if (target && target != m_window->GetActivePage())
    {
        target->Navigate(drop.address);
        return true;
    }
    if (TBrowserTab* tab = m_window->AddTabPerPreference())
    {
        tab->TabHome = drop.address;
        tab->Navigate(drop.address);
    }
    return true;
}

bool MainDragDrop::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_link)
        return imgIELinkMouse(event) || QObject::eventFilter(watched, event);
    if (watched != m_strip)
        return QObject::eventFilter(watched, event);
    switch (event->type())
    {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!TabStripDrop::Accepts(drag->mimeData()))
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop:
    {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!uoDropPageDrop(drop->mimeData(), drop->position().toPoint()))
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

bool MainDragDrop::imgIELinkMouse(QEvent* event)
{
    switch (event->type())
    {
    case QEvent::MouseButtonPress:
    {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_pressed = true;
        m_pressedAt = mouse->position().toPoint();
        return true;
    }
    case QEvent::MouseMove:
    {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_pressed || (mouse->position().toPoint() - m_pressedAt).manhattanLength() <
                              QApplication::startDragDistance())
            return false;
        m_pressed = false;
        StartPageLinkDrag();
        return true;
    }
    case QEvent::MouseButtonRelease:
    {
        if (!m_pressed)
            return false;
        m_pressed = false;
        // A click, not a drag: the page goes to the desktop's own browser.
        if (const TBrowserTab* tab = m_window->GetActivePage())
            m_window->Shell()->LaunchSystemBrowser(tab->GetLocationURL());
        return true;
    }
    default:
        return false;
    }
}

void MainDragDrop::StartPageLinkDrag()
{
    QMimeData* data = PageLinkData();
    if (!data)
        return;
    auto* link = static_cast<QLabel*>(m_link);
    auto* drag = new QDrag(link);
    drag->setMimeData(data);
    drag->setPixmap(link->pixmap());
    drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
}
