#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QList>
#include <QString>

// The rows of a find panel: a caption and the address it opens. A search
// may give hundreds of thousands of rows; they are handed over in one piece
// so that the list lays out once, not per row.
class FindResultsModel : public QAbstractListModel
{
    Q_OBJECT
public:
    struct Row
    {
        QString caption;
        QString address; // empty for a row that opens nothing
    };

    explicit FindResultsModel(QObject* parent = nullptr);

    void setRows(QList<Row> rows);
    const Row& row(int index) const { return m_rows.at(index); }
    int count() const { return static_cast<int>(m_rows.size()); }
    // The row under the mouse is drawn underlined.
    void setHotRow(int index);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QList<Row> m_rows;
    QIcon m_addressIcon;
    int m_hotRow = -1;
};
