#include "components/TQWPageControl.h"

#include "components/TQWTabStrip.h"

#include <QApplication>
#include <QResizeEvent>

#include <algorithm>
#include <utility>

// The resources live in a static library and must be registered by hand.
static void initTabResources()
{
    Q_INIT_RESOURCE(quillwave);
}

struct TQWPageControl::Private
{
    struct Entry
    {
        QWidget* page = nullptr;
        QString caption;
        QString hint;
        int imageIndex = -1;
        QIcon icon;
        bool visible = true;
        QMetaObject::Connection destroyedConnection;
    };

    explicit Private(TQWPageControl* owner) : q(owner) {}

    int find(const QObject* page) const
    {
        for (int i = 0; i < entries.size(); ++i)
            if (entries[i].page == page)
                return i;
        return -1;
    }

    // How many visible pages come before index.
    int visibleBefore(int index) const
    {
        int visible = 0;
        for (int i = 0; i < index; ++i)
            visible += entries[i].visible ? 1 : 0;
        return visible;
    }

    int indexOfVisible(int visibleIndex) const
    {
        if (visibleIndex < 0)
            return -1;
        for (int i = 0; i < entries.size(); ++i)
            if (entries[i].visible && visibleIndex-- == 0)
                return i;
        return -1;
    }

    QIcon iconFor(const Entry& entry) const
    {
        if (entry.imageIndex >= 0 && entry.imageIndex < images.size())
            return images[entry.imageIndex];
        return entry.icon;
    }

    // The page that takes over from the visible page at index: the next one
    // when it is the first tab, else the previous one.
    QWidget* neighbourOf(int index) const
    {
        const int visibleIndex = visibleBefore(index);
        const int other = indexOfVisible(visibleIndex == 0 ? 1 : visibleIndex - 1);
        return other >= 0 && other != index ? entries[other].page : nullptr;
    }

    QRect pageRect() const
    {
        const QRect bar = strip->geometry();
        const int height = std::max(0, q->height() - bar.height());
        return {0, bottom ? 0 : bar.height(), q->width(), height};
    }

    // A hidden widget gets its resize event only when shown; the geometry
    // asked for before then must still match the size.
    void ensureLayout()
    {
        if (q->size() != laidOutSize)
            layout();
    }

    void layout()
    {
        laidOutSize = q->size();
        const int width = q->width();
        const int stripHeight = std::min(strip->heightForWidth(width), q->height());
        strip->setGeometry(0, bottom ? q->height() - stripHeight : 0, width, stripHeight);
        if (active)
            active->setGeometry(pageRect());
    }

    void syncCurrent()
    {
        const int index = find(active);
        strip->setCurrentIndex(index >= 0 ? visibleBefore(index) : -1);
    }

    void activate(QWidget* page)
    {
        if (page == active)
            return;
        QWidget* old = active;
        const QWidget* focus = QApplication::focusWidget();
        const bool hadFocus = old && focus && (old == focus || old->isAncestorOf(focus));
        active = page;
        ensureLayout();
        if (page)
        {
            page->setGeometry(pageRect());
            page->show();
            // Focus stays in the pages when the user had it there.
            if (hadFocus)
                page->setFocus();
        }
        if (old)
            old->hide();
        syncCurrent();
    }

    void updateTabIcon(int index)
    {
        if (entries[index].visible)
            strip->setTabIcon(visibleBefore(index), iconFor(entries[index]));
    }

    // A page deleted by someone else: forget it without touching it.
    void pageDestroyed(QObject* object)
    {
        const int index = find(object);
        if (index < 0)
            return;
        if (entries[index].page == active)
        {
            QWidget* next = neighbourOf(index);
            active = nullptr;
            activate(next);
        }
        const int visibleIndex = entries[index].visible ? visibleBefore(index) : -1;
        entries.removeAt(index);
        if (visibleIndex >= 0)
            strip->removeTab(visibleIndex);
        syncCurrent();
    }

    TQWPageControl* q;
    TQWTabStrip* strip = nullptr;
    QList<Entry> entries;
    QList<QIcon> images;
    QWidget* active = nullptr;
    bool allowShifting = true;
    bool multipleLines = false;
    bool bottom = true;
    int updateDepth = 0;
    QSize laidOutSize;
};

TQWPageControl::TQWPageControl(QWidget* parent) : QWidget(parent), d(new Private(this))
{
    d->strip = new TQWTabStrip(this);
    connect(d->strip, &TQWTabStrip::requiredHeightChanged, this, [this] { d->layout(); });
    connect(d->strip, &TQWTabStrip::currentChanged, this,
            [this](int visibleIndex)
            {
                QWidget* chosen = visiblePage(visibleIndex);
                if (!chosen || chosen == d->active)
                    return;
                d->activate(chosen);
                emit pageChanged(chosen);
            });
    connect(d->strip, &TQWTabStrip::tabPressed, this,
            [this](Qt::MouseButton button, int visibleIndex, const QPoint& globalPos)
            { emit tabMouseDown(button, visibleIndex, globalPos); });
    connect(d->strip, &TQWTabStrip::tabDropped, this,
            [this](int fromVisible, int toVisible)
            {
                const int from = d->indexOfVisible(fromVisible);
                const int to = d->indexOfVisible(toVisible);
                if (from < 0 || to < 0 || from == to)
                    return;
                movePage(from, to);
                emit pageMoved(from, to);
            });
    d->layout();
}

TQWPageControl::~TQWPageControl()
{
    // The pages and the strip die with the widget, after d is gone.
    for (const Private::Entry& entry : std::as_const(d->entries))
        disconnect(entry.destroyedConnection);
    d->strip->disconnect(this);
    delete d;
    d = nullptr;
}

int TQWPageControl::count() const
{
    return int(d->entries.size());
}

QWidget* TQWPageControl::page(int index) const
{
    return index >= 0 && index < count() ? d->entries[index].page : nullptr;
}

int TQWPageControl::indexOf(const QWidget* page) const
{
    return page ? d->find(page) : -1;
}

void TQWPageControl::insertPage(int index, QWidget* page, bool visible)
{
    if (!page || page == this || page == d->strip || d->find(page) >= 0)
        return;
    index = std::clamp(index, 0, count());
    page->setParent(this);
    page->hide();
    Private::Entry entry;
    entry.page = page;
    entry.visible = visible;
    entry.destroyedConnection = connect(page, &QObject::destroyed, this,
                                        [this](QObject* object) { d->pageDestroyed(object); });
    d->entries.insert(index, entry);
    if (visible)
    {
        d->strip->insertTab(d->visibleBefore(index), QString(), QIcon(), QString());
        // A control with tabs always shows one of them.
        if (!d->active)
            d->activate(page);
    }
    d->syncCurrent();
}

void TQWPageControl::removePage(QWidget* page)
{
    const int index = indexOf(page);
    if (index < 0)
        return;
    // With no other visible page the control is left without an active one.
    if (page == d->active)
        d->activate(d->neighbourOf(index));
    const Private::Entry entry = d->entries.takeAt(index);
    disconnect(entry.destroyedConnection);
    if (entry.visible)
        d->strip->removeTab(d->visibleBefore(index));
    page->hide();
    page->setParent(nullptr);
    d->syncCurrent();
}

void TQWPageControl::movePage(int from, int to)
{
    if (from < 0 || from >= count() || to < 0 || to >= count() || from == to)
        return;
    const bool visible = d->entries[from].visible;
    const int visibleFrom = d->visibleBefore(from);
    d->entries.move(from, to);
    if (visible)
        d->strip->moveTab(visibleFrom, d->visibleBefore(to));
    d->syncCurrent();
}

void TQWPageControl::setPageVisible(QWidget* page, bool visible)
{
    const int index = indexOf(page);
    if (index < 0 || d->entries[index].visible == visible)
        return;
    Private::Entry& entry = d->entries[index];
    if (!visible)
    {
        if (page == d->active)
            d->activate(d->neighbourOf(index));
        d->strip->removeTab(d->visibleBefore(index));
        entry.visible = false;
    }
    else
    {
        entry.visible = true;
        d->strip->insertTab(d->visibleBefore(index), entry.caption, d->iconFor(entry), entry.hint);
        if (!d->active)
            d->activate(page);
    }
    d->syncCurrent();
}

bool TQWPageControl::isPageVisible(const QWidget* page) const
{
    const int index = indexOf(page);
    return index >= 0 && d->entries[index].visible;
}

int TQWPageControl::visibleCount() const
{
    return d->strip->count();
}

int TQWPageControl::visibleIndexOf(const QWidget* page) const
{
    const int index = indexOf(page);
    return index >= 0 && d->entries[index].visible ? d->visibleBefore(index) : -1;
}

QWidget* TQWPageControl::visiblePage(int visibleIndex) const
{
    return page(d->indexOfVisible(visibleIndex));
}

QWidget* TQWPageControl::activePage() const
{
    return d->active;
}

void TQWPageControl::setActivePage(QWidget* page)
{
    // A hidden page has no tab to show it by; it is never the active page.
    if (!isPageVisible(page))
        return;
    d->activate(page);
}

void TQWPageControl::setPageCaption(QWidget* page, const QString& caption)
{
    const int index = indexOf(page);
    if (index < 0)
        return;
    d->entries[index].caption = caption;
    if (d->entries[index].visible)
        d->strip->setTabCaption(d->visibleBefore(index), caption);
}

QString TQWPageControl::pageCaption(const QWidget* page) const
{
    const int index = indexOf(page);
    return index >= 0 ? d->entries[index].caption : QString();
}

void TQWPageControl::setPageHint(QWidget* page, const QString& hint)
{
    const int index = indexOf(page);
    if (index < 0)
        return;
    d->entries[index].hint = hint;
    if (d->entries[index].visible)
        d->strip->setTabHint(d->visibleBefore(index), hint);
}

QString TQWPageControl::pageHint(const QWidget* page) const
{
    const int index = indexOf(page);
    return index >= 0 ? d->entries[index].hint : QString();
}

void TQWPageControl::setPageImageIndex(QWidget* page, int imageIndex)
{
    const int index = indexOf(page);
    if (index < 0 || d->entries[index].imageIndex == imageIndex)
        return;
    d->entries[index].imageIndex = imageIndex;
    d->updateTabIcon(index);
}

int TQWPageControl::pageImageIndex(const QWidget* page) const
{
    const int index = indexOf(page);
    return index >= 0 ? d->entries[index].imageIndex : -1;
}

void TQWPageControl::setPageIcon(QWidget* page, const QIcon& icon)
{
    const int index = indexOf(page);
    if (index < 0)
        return;
    d->entries[index].icon = icon;
    d->updateTabIcon(index);
}

void TQWPageControl::setImages(const QList<QIcon>& images)
{
    d->images = images;
    beginUpdate();
    for (int i = 0; i < count(); ++i)
        d->updateTabIcon(i);
    endUpdate();
}

QList<QIcon> TQWPageControl::images() const
{
    return d->images;
}

QList<QIcon> TQWPageControl::defaultTabImages()
{
    initTabResources();
    QList<QIcon> icons;
    for (const char* name : {"tab-busy.svg", "tab-unseen.svg", "tab-arrived.svg", "tab-locked.svg",
                             "tab-crashed.svg", "tab-unloaded.svg"})
        icons.append(QIcon(QStringLiteral(":/quillwave/") + QLatin1String(name)));
    return icons;
}

int TQWPageControl::tabAt(const QPoint& pos) const
{
    d->ensureLayout();
    if (!d->strip->geometry().contains(pos))
        return -1;
    return d->strip->tabAt(d->strip->mapFromParent(pos));
}

QRect TQWPageControl::tabRect(int visibleIndex) const
{
    d->ensureLayout();
    const QRect rect = d->strip->tabRect(visibleIndex);
    return rect.isNull() ? rect : rect.translated(d->strip->pos());
}

QWidget* TQWPageControl::tabStrip() const
{
    d->ensureLayout();
    return d->strip;
}

void TQWPageControl::beginUpdate()
{
    if (d->updateDepth++ == 0)
        d->strip->setUpdatesEnabled(false);
}

void TQWPageControl::endUpdate()
{
    if (d->updateDepth == 0)
        return;
    if (--d->updateDepth == 0)
        d->strip->setUpdatesEnabled(true);
}

QColor TQWPageControl::InactiveTabColor() const
{
    return d->strip->inactiveTabColor();
}

void TQWPageControl::SetInactiveTabColor(const QColor& color)
{
    d->strip->setInactiveTabColor(color);
}

QColor TQWPageControl::InactiveFontColor() const
{
    return d->strip->inactiveFontColor();
}

void TQWPageControl::SetInactiveFontColor(const QColor& color)
{
    d->strip->setInactiveFontColor(color);
}

bool TQWPageControl::AllowTabShifting() const
{
    return d->allowShifting;
}

void TQWPageControl::SetAllowTabShifting(bool allow)
{
    // Tabs in rows cannot be shifted: the rows move whenever the selection does.
    d->allowShifting = allow && !d->multipleLines;
    d->strip->setShiftingAllowed(d->allowShifting);
}

bool TQWPageControl::MultipleLines() const
{
    return d->multipleLines;
}

void TQWPageControl::SetMultipleLines(bool multiple)
{
    d->multipleLines = multiple;
    if (multiple)
        SetAllowTabShifting(false);
    d->strip->setMultipleLines(multiple);
    d->layout();
}

bool TQWPageControl::TabsAtBottom() const
{
    return d->bottom;
}

void TQWPageControl::SetTabsAtBottom(bool bottom)
{
    if (bottom == d->bottom)
        return;
    d->bottom = bottom;
    d->strip->setTabsAtBottom(bottom);
    d->layout();
}

QSize TQWPageControl::sizeHint() const
{
    const QSize page =
        d->active ? d->active->sizeHint().expandedTo(QSize(200, 150)) : QSize(400, 300);
    return {page.width(), page.height() + d->strip->heightForWidth(page.width())};
}

QSize TQWPageControl::minimumSizeHint() const
{
    return d->strip->minimumSizeHint();
}

void TQWPageControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    d->layout();
}

void TQWPageControl::ApplyColorScheme(const QString& scheme, int storedTabColor,
                                      int storedFontColor)
{
    const QPalette colors = palette();
    if (scheme == QLatin1String("std"))
    {
        SetInactiveTabColor(colors.color(QPalette::Button));
        SetInactiveFontColor(colors.color(QPalette::WindowText));
    }
    else if (scheme == QLatin1String("rev"))
    {
        SetInactiveTabColor(colors.color(QPalette::Inactive, QPalette::Highlight));
        SetInactiveFontColor(colors.color(QPalette::HighlightedText));
    }
    else
    {
        const auto fromStored = [](int value)
        { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); };
        SetInactiveTabColor(fromStored(storedTabColor));
        SetInactiveFontColor(fromStored(storedFontColor));
    }
}
