#include "groups/TfrmFavorites.h"

#include "components/FlatToolButton.h"
#include "components/ThemeIcon.h"
#include "core/dialogs/WindowServices.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryTypeError.h"
#include "groups/TFavoritesTree.h"

#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QSizeGrip>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace
{
QToolButton* toolButton(QWidget* parent, const char* name, const char* hint, const char* icon,
                        QStyle::StandardPixmap fallback)
{
    return FlatToolButton(parent, QString::fromLatin1(name),
                          ThemeIcon(QString::fromLatin1(icon), fallback),
                          QString::fromLatin1(hint));
}

bool isEscape(const QEvent* event)
{
    return event->type() == QEvent::KeyPress &&
           static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape;
}
} // namespace

TfrmFavorites::TfrmFavorites(const QString& favoritesFolder, WindowServices* services,
                             QWidget* parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint), m_services(services)
{
    setObjectName(QStringLiteral("frmFavorites"));
    setWindowTitle(QStringLiteral("__Caption"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setMinimumSize(MinimumSide, MinimumSide);

    tbAddFavorite = toolButton(this, "tbAddFavorite", "__AddFavoriteHint", "bookmark-new",
                               QStyle::SP_FileDialogNewFolder);
    tbOrganizeFavorites = toolButton(this, "tbOrganizeFavorites", "__OrganizeFavoritesHint",
                                     "bookmarks-organize", QStyle::SP_FileDialogDetailedView);
    tbNewFolder = toolButton(this, "tbNewFolder", "__NewFolderHint", "folder-new",
                             QStyle::SP_FileDialogNewFolder);
    tbRefresh =
        toolButton(this, "tbRefresh", "__RefreshHint", "view-refresh", QStyle::SP_BrowserReload);
    spdClose =
        toolButton(this, "spdClose", "__CloseHint", "window-close", QStyle::SP_TitleBarCloseButton);
    shFavorites = new TFavoritesTree(services, this);
    shFavorites->setRoot(favoritesFolder);
    shFavorites->installEventFilter(this);
    grpSize = new QSizeGrip(this);
    grpSize->setObjectName(QStringLiteral("grpSize"));

    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(0, 0, 0, 0);
    tools->setSpacing(0);
    for (QToolButton* button : {tbAddFavorite, tbOrganizeFavorites, tbNewFolder, tbRefresh})
        tools->addWidget(button);
    tools->addStretch(1);
    tools->addWidget(spdClose);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(0);
    column->addLayout(tools);
    column->addWidget(shFavorites, 1);
    column->addWidget(grpSize, 0, Qt::AlignBottom | Qt::AlignRight);

    connect(tbAddFavorite, &QToolButton::clicked, this, &TfrmFavorites::addFavoriteRequested);
    connect(tbOrganizeFavorites, &QToolButton::clicked, this,
            &TfrmFavorites::organizeFavoritesRequested);
    connect(tbNewFolder, &QToolButton::clicked, this, &TfrmFavorites::tbNewFolderClick);
    connect(tbRefresh, &QToolButton::clicked, shFavorites, &TFavoritesTree::refreshWhenIdle);
    connect(spdClose, &QToolButton::clicked, this, &QWidget::hide);
    connect(shFavorites, &TFavoritesTree::favoriteChosen, this,
            [this](const QString& target)
            {
                emit favoriteChosen(target);
                hide();
            });

    // A value of the wrong type leaves the pane at its natural size.
    try
    {
        const TQWOptions options;
        resize(std::max(MinimumSide, options.FavoritesWidth()),
               std::max(MinimumSide, options.FavoritesHeight()));
    }
    catch (const RegistryTypeError& error)
    {
        qWarning("%s", error.what());
    }
}

TfrmFavorites::~TfrmFavorites()
{
    // The program is ending: a store that cannot take the values must not
    // end it any sooner.
    try
    {
        TQWOptions options;
        options.SetFavoritesWidth(width());
        options.SetFavoritesHeight(height());
    }
    catch (const RegistryTypeError& error)
    {
        qWarning("%s", error.what());
    }
}

void TfrmFavorites::ShowAt(const QPoint& globalPos)
{
    QPoint place = globalPos;
    if (const QScreen* screen = QGuiApplication::screenAt(globalPos))
    {
        const QRect room = screen->availableGeometry();
        place.setX(
            std::clamp(place.x(), room.left(), std::max(room.left(), room.right() - width())));
        place.setY(
            std::clamp(place.y(), room.top(), std::max(room.top(), room.bottom() - height())));
    }
    move(place);
    show();
    raise();
    activateWindow();
    shFavorites->setFocus(Qt::PopupFocusReason);
}

void TfrmFavorites::tbNewFolderClick()
{
    shFavorites->createFolder(m_services->GetGlobalText(QStringLiteral("NewFolderName")));
}

void TfrmFavorites::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
    {
        hide();
        return;
    }
    QFrame::keyPressEvent(event);
}

bool TfrmFavorites::eventFilter(QObject* watched, QEvent* event)
{
    // Esc while a name is typed leaves the name as it was, not the pane.
    if (watched == shFavorites && isEscape(event) && !shFavorites->renaming())
    {
        hide();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
