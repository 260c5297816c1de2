#pragma once

#include <QStringList>
#include <QWidget>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The pop-up pattern list of the options dialog, kept sorted by text and
// edited in place. Nothing leaves it before the dialog's OK reads Patterns().
class PopupPatternList : public QWidget
{
    Q_OBJECT
public:
    // newItemText is the text an inserted pattern starts with.
    explicit PopupPatternList(const QString& newItemText, QWidget* parent = nullptr);

    void SetPatterns(const QStringList& patterns);
    // In list order, which is sorted by text.
    QStringList Patterns() const;

    void btnInsertClick();
    void btnEditClick();
    void btnDeleteClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidgetItem* AddItem(const QString& text);
    void EditItem(QTreeWidgetItem* item);
    void ShowCommands();

    QTreeWidget* lvPopupVostel;
    QPushButton* btnInsert;
    QPushButton* btnEdit;
    QPushButton* btnDelete;
    QString m_newItemText;
    bool m_editing = false;
};
