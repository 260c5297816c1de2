#pragma once

#include "components/FindResultsModel.h"

#include <QWidget>

class QLineEdit;
class QListView;
class QToolButton;

// The find mode of a side-bar tree: a search edit with its Find button
// above a list of results. The panel does not search: it asks for a search
// and shows the rows it is given. A row with an address opens it on a
// click, Space or Enter; a row without one (the "nothing found" row) opens
// nothing.
class TFindPanel : public QWidget
{
    Q_OBJECT
public:
    // name: "Favorites" or "History"; the parts get the object names
    // pnlFind<name>, edtFind<name>, spdFind<name> and lvFind<name>.
    TFindPanel(const QString& name, QWidget* parent = nullptr);

    QString searchText() const;
    // Shows rows in file order; when there are none, one row with
    // noItemsText and no address.
    void setRows(QList<FindResultsModel::Row> rows, const QString& noItemsText);
    const FindResultsModel* results() const { return m_model; }
    // Opens the row as a click on it would.
    void chooseRow(int row);

    QLineEdit* edtFind;
    QToolButton* spdFind;
    QListView* lvFind;

signals:
    // The Find button, or Enter in the edit (which goes no further).
    void findRequested(const QString& text);
    void rowChosen(const QString& address);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FindResultsModel* m_model;
};
