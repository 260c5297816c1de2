#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TLanguage;
class WindowServices;

// The dialog that edits one saved group: its pages in opening order, each
// with a tab name, an address and whether it opens locked. Rows are
// changed in the list only; OK writes the group file, Cancel and Esc leave
// it as it was.
class TfrmVostelGroup : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 571;
    static constexpr int ClientHeight = 377;
    // The locked column's mark.
    static const QString LockedMark;

    // Reads the group file; services gives texts and the save dialog for OK.
    TfrmVostelGroup(const QString& fileName, WindowServices* services, QWidget* parent = nullptr);

    // Shows the editor for fileName modally with window's font, translated with section
    // "VostelGroups"; true when OK wrote the file.
    static bool Organize(QWidget* window, const QString& fileName, const TLanguage* language,
                         WindowServices* services);

    // One row of the list as it would be written.
    struct Site
    {
        QString title;
        QString address;
        bool locked = false;
        bool operator==(const Site&) const = default;
    };
    // A group entry as a row: a name that begins with "blank" in any case
    // stands for a page without a tab name, and a value that begins with "*"
    // is a locked page's address.
    static Site SiteFromEntry(const QString& name, const QString& value);

    QString FileName() const { return m_fileName; }
    int EditIndex() const { return m_editIndex; }
    bool EntryBoxVisible() const;
    QList<Site> Sites() const;
    // The selected row's index, -1 when none.
    int SelectedRow() const;

    QLabel* lblVostelGroupName;
    QLabel* lblTitle;
    QTreeWidget* lstSites;
    QToolButton* cmdUp;
    QToolButton* cmdDown;
    QPushButton* cmdInsert;
    QPushButton* cmdUpdate;
    QPushButton* cmdDelete;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
    QGroupBox* GroupBox1;
    QLabel* lblStickyName;
    QLineEdit* edtTitle;
    QLabel* lblLocation;
    QLineEdit* edtLocation;
    QCheckBox* chkTabLocked;
    QPushButton* cmdUrlInsert;
    QPushButton* cmdUrlCancel;

    void FormCreate();
    void lstSitesEnter();
    void cmdInsertClick();
    void cmdUpdateClick();
    void cmdDeleteClick();
    void cmdUpClick();
    void cmdDownClick();
    void cmdUrlInsertClick();
    void cmdUrlCancelClick();
    void cmdOkClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void CreateEntryBox();
    void ConnectHandlers();
    void LoadGroup();
    void ShowEntryBox(bool show);
    void OpenEntryBox(const QString& title, const QString& address, bool locked,
                      const QString& confirmKey);
    void InsertRow(int index, const Site& site);
    static void SetRow(QTreeWidgetItem* item, const Site& site);
    void MoveSelected(int step);
    QString LangText(const QString& section, const QString& key) const;

    QString m_fileName;
    WindowServices* m_services;
    int m_editIndex = -1;
    // Whether the entry box adds a row (else it changes row EditIndex). Kept
    // apart from the confirm button's caption, which a language file may
    // give the same text in both modes.
    bool m_inserting = true;
    bool m_centred = false;
};
