#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TLanguage;
class WindowServices;

// The Open dialog: an address or a file path typed, picked from the
// address box's list or chosen with Browse, and whether it opens in a new
// tab. OK is offered only while the field holds something.
class TfrmOpen : public QDialog
{
    Q_OBJECT
public:
    // addresses: the address box's list, offered in the field's drop-down.
    // services choose the file of Browse and give its texts; language
    // (may be null) translates the dialog with section "OPEN".
    TfrmOpen(const QStringList& addresses, WindowServices* services, const TLanguage* language,
             QWidget* parent = nullptr);

    QLabel* lblPrompt;
    QLabel* lblOpen;
    QComboBox* ComboBox1;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdBrowse;
    QCheckBox* chkNewTab;

    // The field's text as entered, and the new-tab choice, once OK closed it.
    QString Address() const { return m_address; }
    bool NewTab() const { return m_newTab; }

    void cmdBrowseClick();
    void cmdOKClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormActivate();
    void FieldChanged();

    WindowServices* m_services;
    QStringList m_addresses;
    QString m_address;
    bool m_newTab = false;
    bool m_activated = false;
};
