#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

class QLabel;
class QListWidget;
class QPushButton;
class TBrowserTab;
class TLanguage;
class TTabSet;

// The close-from-a-list dialog: one checkable line per tab, all checked;
// Close closes the checked tabs through the tab set.
class TfrmCloseAll : public QDialog
{
    Q_OBJECT
public:
    // language may be null: the placeholders then stay as written.
    TfrmCloseAll(TTabSet* tabSet, const TLanguage* language, QWidget* parent = nullptr);

    QListWidget* CheckListBox1;
    QPushButton* cmdSelectAll;
    QPushButton* cmdDeselectAll;
    QPushButton* cmdClose;
    QPushButton* cmdCancel;

    // The tab each line stands for, in line order (null once it is gone).
    TBrowserTab* LineTab(int line) const;

    void cmdSelectAllClick();
    void cmdDeselectAllClick();
    void cmdCloseClick();

private:
    void FormCreate();
    void SetAllChecked(bool checked);

    TTabSet* m_tabSet;
    QLabel* lblPrompt;
    QList<QPointer<TBrowserTab>> m_lineTabs;
};
