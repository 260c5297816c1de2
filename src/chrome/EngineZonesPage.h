#pragma once

#include "chrome/EngineSettingsPage.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The security-zones page: the sites of the intranet, trusted and
// restricted zones, one zone at a time; a typed address adds its site
// (scheme and host) to the zone shown, taking it out of any other.
class EngineZonesPage : public EngineSettingsPage
{
    Q_OBJECT
public:
    EngineZonesPage(WindowServices* services, QWidget* parent);

    void Show(const EngineSettingsValues& values) override;
    void Take(EngineSettingsValues& values) const override;

    // The zone whose sites are listed.
    int ShownZone() const;
    void ShowZone(int zone);

    QComboBox* cboZone;
    QListWidget* lstSites;
    QLineEdit* edtSite;
    QPushButton* cmdAddSite;
    QPushButton* cmdRemoveSite;
    QLabel* lblSiteNote;

    // Adds the typed address's site; a text that names no site is refused
    // with a message and left in the field to be mended.
    void cmdAddSiteClick();
    void cmdRemoveSiteClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillSites();
    void UpdateButtons();
    QString ZoneName(int zone) const;

    EngineSettingsValues m_values;
};
