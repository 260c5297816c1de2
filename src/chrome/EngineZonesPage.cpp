#include "chrome/EngineZonesPage.h"

#include "core/dialogs/WindowServices.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

EngineZonesPage::EngineZonesPage(WindowServices* services, QWidget* parent)
    : EngineSettingsPage(services, parent)
{
    setObjectName(QStringLiteral("tsZones"));
    auto* lblZone = new QLabel(Text(QStringLiteral("Zone")), this);
    cboZone = new QComboBox(this);
    cboZone->setObjectName(QStringLiteral("cboZone"));
    for (const int zone : EngineSettingsValues::SiteZones)
        cboZone->addItem(ZoneName(zone), zone);
    lblZone->setBuddy(cboZone);

    auto* lblSites = new QLabel(Text(QStringLiteral("Sites")), this);
    lstSites = new QListWidget(this);
    lstSites->setObjectName(QStringLiteral("lstSites"));
    lstSites->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstSites->setSortingEnabled(true);
    lblSites->setBuddy(lstSites);

    auto* lblAdd = new QLabel(Text(QStringLiteral("AddSite")), this);
    edtSite = new QLineEdit(this);
    edtSite->setObjectName(QStringLiteral("edtSite"));
    edtSite->setPlaceholderText(QStringLiteral("https://www.example.org"));
    edtSite->installEventFilter(this);
    lblAdd->setBuddy(edtSite);
    cmdAddSite = new QPushButton(Text(QStringLiteral("Add")), this);
    cmdAddSite->setObjectName(QStringLiteral("cmdAddSite"));
    cmdAddSite->setAutoDefault(false);
    cmdRemoveSite = new QPushButton(Text(QStringLiteral("Remove")), this);
    cmdRemoveSite->setObjectName(QStringLiteral("cmdRemoveSite"));
    cmdRemoveSite->setAutoDefault(false);
    lblSiteNote = new QLabel(Text(QStringLiteral("SiteNote")), this);
    lblSiteNote->setWordWrap(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblZone, 0, 0);
    grid->addWidget(cboZone, 0, 1);
    grid->addWidget(lblSites, 1, 0, 1, 2);
    grid->addWidget(lstSites, 2, 0, 2, 2);
    grid->addWidget(cmdRemoveSite, 2, 2, Qt::AlignTop);
    grid->addWidget(lblAdd, 4, 0, 1, 2);
    grid->addWidget(edtSite, 5, 0, 1, 2);
    grid->addWidget(cmdAddSite, 5, 2);
    grid->addWidget(lblSiteNote, 6, 0, 1, 3);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);

    connect(cboZone, &QComboBox::currentIndexChanged, this, &EngineZonesPage::FillSites);
    connect(lstSites, &QListWidget::itemSelectionChanged, this, &EngineZonesPage::UpdateButtons);
    connect(edtSite, &QLineEdit::textChanged, this, &EngineZonesPage::UpdateButtons);
    connect(cmdAddSite, &QPushButton::clicked, this, &EngineZonesPage::cmdAddSiteClick);
    connect(cmdRemoveSite, &QPushButton::clicked, this, &EngineZonesPage::cmdRemoveSiteClick);
    UpdateButtons();
}

QString EngineZonesPage::ZoneName(int zone) const
{
    return Text(QStringLiteral("ZoneName%1").arg(zone), QStringLiteral("MAIN"));
}

void EngineZonesPage::Show(const EngineSettingsValues& values)
{
    m_values = values;
    FillSites();
}

void EngineZonesPage::Take(EngineSettingsValues& values) const
{
    values.Sites = m_values.Sites;
}

int EngineZonesPage::ShownZone() const
{
    return cboZone->currentData().toInt();
}

void EngineZonesPage::ShowZone(int zone)
{
    const int index = cboZone->findData(zone);
    if (index >= 0)
        cboZone->setCurrentIndex(index);
}

void EngineZonesPage::FillSites()
{
    lstSites->clear();
    lstSites->addItems(m_values.Sites.value(ShownZone()));
    UpdateButtons();
}

void EngineZonesPage::UpdateButtons()
{
    cmdAddSite->setEnabled(!edtSite->text().trimmed().isEmpty());
    cmdRemoveSite->setEnabled(!lstSites->selectedItems().isEmpty());
}

void EngineZonesPage::cmdAddSiteClick()
{
    const QString typed = edtSite->text().trimmed();
    if (typed.isEmpty())
        return;
    const int was = m_values.ZoneOfSite(ZoneRules::sitePattern(typed));
    const QString pattern = m_values.AddSite(typed, ShownZone());
    if (pattern.isEmpty())
    {
        Services()->showError(Text(QStringLiteral("NotASite")).arg(typed));
        edtSite->setFocus();
        edtSite->selectAll();
        return;
    }
    edtSite->clear();
    FillSites();
    for (QListWidgetItem* item : lstSites->findItems(pattern, Qt::MatchExactly))
        lstSites->setCurrentItem(item);
    // A site lives in one zone only: say where it came from.
    if (was != ZoneRules::NoZone && was != ShownZone())
        lblSiteNote->setText(Text(QStringLiteral("SiteMoved")).arg(pattern, ZoneName(was)));
    else
        lblSiteNote->setText(Text(QStringLiteral("SiteNote")));
}

void EngineZonesPage::cmdRemoveSiteClick()
{
    QStringList& sites = m_values.Sites[ShownZone()];
    for (const QListWidgetItem* item : lstSites->selectedItems())
        sites.removeAll(item->text());
    FillSites();
}

bool EngineZonesPage::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the address field adds the site rather than closing the dialog.
    if (watched == edtSite && event->type() == QEvent::KeyPress)
    {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
        {
            cmdAddSiteClick();
            return true;
        }
    }
    return EngineSettingsPage::eventFilter(watched, event);
}
