#pragma once

#include "navigation/TSearchLists.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class TLanguage;
class TQWOptions;

// The dialog that edits one of the search lists (see TSearchLists): rows of
// title and address, inserted, changed, deleted and moved in the dialog and
// written to the store only by OK.
class TfrmSearchEngine : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 584;

    // mode: TSearchLists::Mode, fixed for the dialog's life. options must
    // outlive the dialog; language may be null (texts stay untranslated).
    TfrmSearchEngine(QWidget* owner, int mode, TQWOptions* options, const TLanguage* language);
    ~TfrmSearchEngine() override;

    // Shows the dialog modally in the owner's font; true when closed with OK
    // (the list was written).
    static bool Organize(QWidget* owner, int mode, TQWOptions* options, const TLanguage* language);

    int Mode() const { return m_mode; }
    int EditIndex() const { return m_editIndex; }
    bool EditGroupVisible() const;
    QList<TSearchLists::Entry> Rows() const;
    int SelectedRow() const;

    QTreeWidget* lstEngines;
    QPushButton* cmdInsert;
    QPushButton* cmdUpdate;
    QPushButton* cmdDelete;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
    QToolButton* cmdUp;
    QToolButton* cmdDown;
    QGroupBox* GroupBox1;
    QLabel* lblTitle;
    QLabel* lblLocation;
    QLineEdit* edtTitle;
    QLineEdit* edtLocation;
    QPushButton* cmdUrlInsert;
    QPushButton* cmdUrlCancel;

    void UpdateButtons();
    void cmdInsertClick();
    void cmdUpdateClick();
    void cmdUrlInsertClick();
    void cmdUrlCancelClick();
    void cmdDeleteClick();
    void cmdUpClick();
    void cmdDownClick();
    void cmdOkClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void FormCreate();
    void ShowEditGroup(bool show);
    void InsertRow(int index, const TSearchLists::Entry& entry);
    void MoveSelected(int step);
    QString GlobalText(const QString& key, const QString& fallback) const;

    int m_mode;
    TQWOptions* m_options;
    const TLanguage* m_language;
    int m_editIndex = -1;
    // Whether the edit group inserts (else it changes row EditIndex). Kept
    // apart from the button's caption, which a language file may give the
    // same text for both.
    bool m_inserting = true;
    bool m_centred = false;
};
