#include "groups/TFavoritesPage.h"

#include "chrome/TLanguage.h"
#include "components/FlatToolButton.h"
#include "components/TFindPanel.h"
#include "components/ThemeIcon.h"
#include "core/dialogs/WindowServices.h"
#include "groups/FavoritesFind.h"
#include "groups/TFavoritesTree.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace
{
const QString Section = QStringLiteral("MAIN");
} // namespace

TFavoritesPage::TFavoritesPage(WindowServices* services, QWidget* parent)
    : QWidget(parent), m_services(services)
{
    setObjectName(QStringLiteral("pnlFavorites"));
    const auto button = [this](const char* name, const char* hintKey, const char* icon,
                               QStyle::StandardPixmap fallback)
    {
        return FlatToolButton(this, QString::fromLatin1(name),
                              ThemeIcon(QString::fromLatin1(icon), fallback),
                              m_services->GetLangText(Section, QLatin1String(hintKey)));
    };
    tbFindFavorite = button("tbFindFavorite", "VostelBarFindFavoritesHint", "edit-find",
                            QStyle::SP_FileDialogContentsView);
    tbFindFavorite->setCheckable(true);
    tbFavoritesRefresh = button("tbFavoritesRefresh", "VostelBarRefreshHint", "view-refresh",
                                QStyle::SP_BrowserReload);
    shFavorites = new TFavoritesTree(services, this);
    pnlFindFavorites = new TFindPanel(QStringLiteral("Favorites"), this);
    pnlFindFavorites->edtFind->setPlaceholderText(
        m_services->GetLangText(Section, QStringLiteral("VostelBarFindFavoritesPrompt")));
    pnlFindFavorites->hide();

    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(0, 0, 0, 0);
    tools->setSpacing(0);
    tools->addWidget(tbFindFavorite);
    tools->addWidget(tbFavoritesRefresh);
    tools->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(tools);
    column->addWidget(shFavorites, 1);
    column->addWidget(pnlFindFavorites, 1);

    connect(tbFindFavorite, &QToolButton::clicked, this, &TFavoritesPage::tbFindFavoriteClick);
    connect(tbFavoritesRefresh, &QToolButton::clicked, this,
            &TFavoritesPage::tbFavoritesRefreshClick);
    connect(pnlFindFavorites, &TFindPanel::findRequested, this,
            &TFavoritesPage::spdFindFavoritesClick);
    connect(pnlFindFavorites, &TFindPanel::rowChosen, this, &TFavoritesPage::addressChosen);
    connect(shFavorites, &TFavoritesTree::favoriteChosen, this, &TFavoritesPage::favoriteChosen);
}

void TFavoritesPage::Fill()
{
    if (!FavoritesTreeLoaded)
    {
        FavoritesTreeLoaded = true;
        shFavorites->setRoot(m_folder);
        return;
    }
    shFavorites->refreshWhenIdle();
}

void TFavoritesPage::tbFindFavoriteClick()
{
    const bool finding = tbFindFavorite->isChecked();
    shFavorites->setVisible(!finding);
    pnlFindFavorites->setVisible(finding);
    if (finding)
        pnlFindFavorites->edtFind->setFocus(Qt::OtherFocusReason);
}

void TFavoritesPage::tbFavoritesRefreshClick()
{
    Fill();
}

void TFavoritesPage::spdFindFavoritesClick()
{
    const QString text = pnlFindFavorites->searchText();
    if (text.isEmpty())
    {
        pnlFindFavorites->edtFind->setFocus(Qt::OtherFocusReason);
        return;
    }
    pnlFindFavorites->setRows(FavoritesFind::find(m_folder, text),
                              m_services->GetGlobalText(QStringLiteral("NoItems")));
}
