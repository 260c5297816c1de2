#include "components/FindResultsModel.h"

#include <QApplication>
#include <QFont>
#include <QStyle>

FindResultsModel::FindResultsModel(QObject* parent)
    : QAbstractListModel(parent),
      m_addressIcon(QIcon::fromTheme(QStringLiteral("text-html"),
                                     QApplication::style()->standardIcon(QStyle::SP_FileIcon)))
{
}

void FindResultsModel::setRows(QList<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_hotRow = -1;
    endResetModel();
}

void FindResultsModel::setHotRow(int index)
{
    if (index == m_hotRow)
        return;
    const int previous = m_hotRow;
    m_hotRow = index;
    for (const int changed : {previous, index})
        if (changed >= 0 && changed < count())
            emit dataChanged(this->index(changed), this->index(changed), {Qt::FontRole});
}

int FindResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant FindResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const Row& row = m_rows.at(index.row());
    switch (role)
    {
    case Qt::DisplayRole:
        return row.caption;
    case Qt::ToolTipRole:
        return row.address.isEmpty() ? row.caption : row.caption + QLatin1Char('\n') + row.address;
    case Qt::DecorationRole:
        return row.address.isEmpty() ? QVariant() : QVariant(m_addressIcon);
    case Qt::UserRole:
        return row.address;
    case Qt::FontRole:
        if (index.row() == m_hotRow && !row.address.isEmpty())
        {
            QFont font;
            font.setUnderline(true);
            return font;
        }
        return {};
    default:
        return {};
    }
}
