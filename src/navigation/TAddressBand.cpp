#include "navigation/TAddressBand.h"

#include "chrome/TLanguage.h"
#include "navigation/TQWComboBox.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace
{
constexpr int Margin = 4;
constexpr int Gap = 4;
constexpr int ImageSize = 16;
} // namespace

TAddressBand::TAddressBand(const QString& historyRoot, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlAddress"));

    lblAddress = new QLabel(QStringLiteral("__Address"), this);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    lblAddress->installEventFilter(this);

    imgIELink = new QLabel(this);
    imgIELink->setObjectName(QStringLiteral("imgIELink"));
    const QIcon pageIcon =
        QIcon::fromTheme(QStringLiteral("text-html"), style()->standardIcon(QStyle::SP_FileIcon));
    imgIELink->setPixmap(pageIcon.pixmap(ImageSize, ImageSize));
    imgIELink->setFixedSize(ImageSize, ImageSize);

    cboAddress = new TQWComboBox(historyRoot, this);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setAcceptDrops(true);
    cboAddress->installEventFilter(this);
    cboAddress->lineEdit()->installEventFilter(this);

    tbAddressButton = new QToolBar(this);
    tbAddressButton->setObjectName(QStringLiteral("tbAddressButton"));
    tbAddressButton->setMovable(false);
    tbAddressButton->setFloatable(false);
    tbAddressButton->setIconSize(QSize(ImageSize, ImageSize));
    tbAddressButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tbAddressButton->setContentsMargins(0, 0, 0, 0);

    tbGo = new QAction(
        QIcon::fromTheme(QStringLiteral("go-jump"), style()->standardIcon(QStyle::SP_ArrowForward)),
        QStringLiteral("__Go"), this);
    tbGo->setObjectName(QStringLiteral("tbGo"));
    tbGo->setToolTip(QStringLiteral("__GoHint"));
    tbAddressButton->addAction(tbGo);
    connect(tbGo, &QAction::triggered, this, &TAddressBand::tbGoClick);

    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    ApplyShowGo(false);
}

void TAddressBand::Translate(const TLanguage& language)
{
    language.TranslateComponent(this, QStringLiteral("MAIN"));
    // Texts of another length change what every part needs.
    ApplyShowGo(ShowGo());
    updateGeometry();
}

bool TAddressBand::ShowGo() const
{
    return tbGo->isVisible();
}

int TAddressBand::ButtonsWidth() const
{
    int width = 0;
    for (QAction* action : tbAddressButton->actions())
    {
        if (!action->isVisible())
            continue;
        if (QWidget* button = tbAddressButton->widgetForAction(action))
            width += button->sizeHint().width();
    }
    return width;
}

void TAddressBand::ApplyShowGo(bool show)
{
    tbGo->setVisible(show);
    const int width = ButtonsWidth();
    tbAddressButton->setFixedWidth(width);
    tbAddressButton->setVisible(width > 0);
    pnlAddressResize();
}

void TAddressBand::pnlAddressResize()
{
    const int h = height();
    int x = Margin;
    const QSize label = lblAddress->sizeHint();
    lblAddress->setGeometry(x, (h - label.height()) / 2, label.width(), label.height());
    x += label.width() + Gap;
    imgIELink->setGeometry(x, (h - ImageSize) / 2, ImageSize, ImageSize);
    x += ImageSize + Gap;

    const int buttons = tbAddressButton->isVisible() ? tbAddressButton->width() : 0;
    const int boxHeight = cboAddress->sizeHint().height();
    cboAddress->setGeometry(x, (h - boxHeight) / 2, qMax(0, width() - x - 2 - buttons), boxHeight);
    if (buttons > 0)
    {
        const int barHeight = qMin(h, tbAddressButton->sizeHint().height());
        tbAddressButton->setGeometry(width() - buttons, (h - barHeight) / 2, buttons, barHeight);
    }
}

QSize TAddressBand::minimumSizeHint() const
{
    const int fixed = Margin + lblAddress->sizeHint().width() + Gap + ImageSize + Gap + 2 +
                      (tbAddressButton->isVisibleTo(this) ? tbAddressButton->width() : 0);
    const int h =
        qMax(cboAddress->sizeHint().height(),
             tbAddressButton->isVisibleTo(this) ? tbAddressButton->sizeHint().height() : 0) +
        2;
    return {fixed + cboAddress->minimumSizeHint().width(), h};
}

QSize TAddressBand::sizeHint() const
{
    const QSize minimum = minimumSizeHint();
    return {minimum.width() + 300, minimum.height()};
}

bool TAddressBand::event(QEvent* event)
{
    if (event->type() == QEvent::LayoutRequest)
    {
        ApplyShowGo(ShowGo());
        updateGeometry();
    }
    return QWidget::event(event);
}

void TAddressBand::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    pnlAddressResize();
}

QString TAddressBand::DroppedText(const QMimeData* data)
{
    if (!data)
        return QString();
    if (data->hasUrls())
    {
        for (const QUrl& url : data->urls())
            if (!url.isEmpty())
                return url.toString();
    }
    if (data->hasText())
        return data->text().trimmed();
    return QString();
}

bool TAddressBand::HandleDrag(QEvent* event)
{
    auto* drop = static_cast<QDropEvent*>(event);
    // Moving text inside the box is editing, not a dropped address.
    if (drop->source() == cboAddress->lineEdit() || drop->source() == cboAddress)
        return false;
    if (DroppedText(drop->mimeData()).isEmpty())
    {
        drop->ignore();
        return true;
    }
    if (event->type() != QEvent::Drop)
    {
        drop->acceptProposedAction();
        return true;
    }
    drop->acceptProposedAction();
    emit uoAddressComboDrop(DroppedText(drop->mimeData()));
    return true;
}

bool TAddressBand::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblAddress && event->type() == QEvent::MouseButtonDblClick)
    {
        emit lblAddressDblClick();
        return true;
    }
    if ((watched == cboAddress || watched == cboAddress->lineEdit()) &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop))
        return HandleDrag(event);
    return QWidget::eventFilter(watched, event);
}
