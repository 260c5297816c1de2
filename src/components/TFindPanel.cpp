#include "components/TFindPanel.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QToolButton>

TFindPanel::TFindPanel(const QString& name, QWidget* parent)
    : QWidget(parent), m_model(new FindResultsModel(this))
{
    setObjectName(QStringLiteral("pnlFind") + name);
    edtFind = new QLineEdit(this);
    edtFind->setObjectName(QStringLiteral("edtFind") + name);
    edtFind->setClearButtonEnabled(true);
    spdFind = new QToolButton(this);
    spdFind->setObjectName(QStringLiteral("spdFind") + name);
    spdFind->setAutoRaise(true);
    spdFind->setText(QStringLiteral("~~Find"));
    lvFind = new QListView(this);
    lvFind->setObjectName(QStringLiteral("lvFind") + name);
    lvFind->setModel(m_model);
    lvFind->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvFind->setUniformItemSizes(true);
    lvFind->setMouseTracking(true);
    lvFind->setTextElideMode(Qt::ElideRight);

    // The button sits a pixel from the right edge, the edit two pixels
    // left of it.
    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 1, 0);
    top->setSpacing(2);
    top->addWidget(edtFind, 1);
    top->addWidget(spdFind);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addLayout(top);
    column->addWidget(lvFind, 1);

    connect(spdFind, &QToolButton::clicked, this, [this] { emit findRequested(searchText()); });
    connect(lvFind, &QListView::clicked, this,
            [this](const QModelIndex& index) { chooseRow(index.row()); });
    connect(lvFind, &QListView::entered, this,
            [this](const QModelIndex& index)
            {
                m_model->setHotRow(index.row());
                const bool opens = !m_model->row(index.row()).address.isEmpty();
                lvFind->viewport()->setCursor(opens ? Qt::PointingHandCursor : Qt::ArrowCursor);
            });
    edtFind->installEventFilter(this);
    lvFind->installEventFilter(this);
    lvFind->viewport()->installEventFilter(this);
}

QString TFindPanel::searchText() const
{
    return edtFind->text();
}

void TFindPanel::setRows(QList<FindResultsModel::Row> rows, const QString& noItemsText)
{
    if (rows.isEmpty())
        rows.append({noItemsText, QString()});
    m_model->setRows(std::move(rows));
}

void TFindPanel::chooseRow(int row)
{
    if (row < 0 || row >= m_model->count())
        return;
    const QString address = m_model->row(row).address;
    if (!address.isEmpty())
        emit rowChosen(address);
}

bool TFindPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
    {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        // The edit's Enter would reach a dialog's default button: it searches
        // and goes no further.
        if (watched == edtFind && enter)
        {
            emit findRequested(searchText());
            return true;
        }
        if (watched == lvFind && (enter || key == Qt::Key_Space))
        {
            chooseRow(lvFind->currentIndex().row());
            return true;
        }
    }
    if (watched == lvFind->viewport() && event->type() == QEvent::Leave)
    {
        m_model->setHotRow(-1);
        lvFind->viewport()->unsetCursor();
    }
    return QWidget::eventFilter(watched, event);
}
