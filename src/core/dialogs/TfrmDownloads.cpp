#include "core/dialogs/TfrmDownloads.h"

#include "core/dialogs/WindowServices.h"
#include "core/engine/TDownloadList.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>

namespace
{
QString dataSize(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes);
}
} // namespace

TfrmDownloads::TfrmDownloads(TDownloadList* list, WindowServices* services, QWidget* parent)
    : QDialog(parent), m_list(list), m_services(services)
{
    setObjectName(QStringLiteral("frmDownloads"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(m_services->GetGlobalText(QStringLiteral("DownloadsCaption")));
    resize(520, 320);

    auto* rows = new QWidget;
    m_rowsLayout = new QVBoxLayout(rows);
    m_rowsLayout->addStretch(1);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("sbDownloads"));
    scroll->setWidgetResizable(true);
    scroll->setWidget(rows);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);

    for (int row = 0; row < m_list->rowCount(); ++row)
        addRow(row);
    connect(m_list, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { rowsInserted(first, last); });
    connect(m_list, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight)
            {
                for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
                    refreshRow(row);
            });
}

QString TfrmDownloads::stateText(const TDownloadList& list, int row, const WindowServices& services)
{
    const TDownloadList::Item& item = list.item(row);
    switch (item.state)
    {
    case TDownloadList::Running:
        if (item.total > 0)
            return services.GetGlobalText(QStringLiteral("DownloadProgress"))
                .arg(dataSize(item.received), dataSize(item.total));
        return services.GetGlobalText(QStringLiteral("DownloadReceived"))
            .arg(dataSize(item.received));
    case TDownloadList::Finished:
        return services.GetGlobalText(QStringLiteral("DownloadStateDone"))
            .arg(dataSize(item.received));
    case TDownloadList::Cancelled:
        return services.GetGlobalText(QStringLiteral("DownloadStateCancelled"));
    case TDownloadList::Interrupted:
        return services.GetGlobalText(QStringLiteral("DownloadStateFailed")).arg(item.reason);
    }
    return {};
}

void TfrmDownloads::rowsInserted(int first, int last)
{
    // Rows are only ever appended.
    for (int row = first; row <= last; ++row)
        addRow(row);
}

void TfrmDownloads::addRow(int row)
{
    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(frame);

    Row widgets;
    widgets.lblName = new QLabel(frame);
    widgets.lblName->setObjectName(QStringLiteral("lblName"));
    widgets.lblName->setTextFormat(Qt::PlainText);
    QFont bold = widgets.lblName->font();
    bold.setBold(true);
    widgets.lblName->setFont(bold);
    widgets.pbProgress = new QProgressBar(frame);
    widgets.pbProgress->setObjectName(QStringLiteral("pbProgress"));
    widgets.lblState = new QLabel(frame);
    widgets.lblState->setObjectName(QStringLiteral("lblState"));
    widgets.lblState->setTextFormat(Qt::PlainText);
    widgets.cmdCancel = new QPushButton(m_services->GetGlobalText(QStringLiteral("Cancel")), frame);
    widgets.cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    widgets.cmdOpenFolder =
        new QPushButton(m_services->GetGlobalText(QStringLiteral("DownloadOpenFolder")), frame);
    widgets.cmdOpenFolder->setObjectName(QStringLiteral("cmdOpenFolder"));

    grid->addWidget(widgets.lblName, 0, 0, 1, 2);
    grid->addWidget(widgets.pbProgress, 1, 0);
    grid->addWidget(widgets.cmdCancel, 1, 1);
    grid->addWidget(widgets.cmdOpenFolder, 1, 1);
    grid->addWidget(widgets.lblState, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);

    connect(widgets.cmdCancel, &QPushButton::clicked, this, [this, row] { m_list->cancel(row); });
    connect(widgets.cmdOpenFolder, &QPushButton::clicked, this,
            [this, row] { QDesktopServices::openUrl(QUrl::fromLocalFile(m_list->folder(row))); });

    // Before the closing stretch.
    m_rowsLayout->insertWidget(m_rowsLayout->count() - 1, frame);
    // At once, not when the layout gets round to it: the row's buttons are
    // shown or hidden right below.
    frame->show();
    if (m_rows.size() <= row)
        m_rows.resize(row + 1);
    m_rows[row] = widgets;
    refreshRow(row);
}

void TfrmDownloads::refreshRow(int row)
{
    if (row < 0 || row >= m_rows.size() || !m_rows[row].lblName)
        return;
    const Row& widgets = m_rows[row];
    const TDownloadList::Item& item = m_list->item(row);
    widgets.lblName->setText(m_list->fileName(row));
    widgets.lblName->setToolTip(item.path);
    const int percent = m_list->percent(row);
    if (item.state == TDownloadList::Running && percent < 0)
    {
        widgets.pbProgress->setRange(0, 0); // busy: the size is not known
    }
    else
    {
        widgets.pbProgress->setRange(0, 100);
        widgets.pbProgress->setValue(percent < 0 ? 0 : percent);
    }
    widgets.lblState->setText(stateText(*m_list, row, *m_services));
    widgets.cmdCancel->setVisible(item.state == TDownloadList::Running);
    widgets.cmdCancel->setEnabled(m_list->canCancel(row));
    widgets.cmdOpenFolder->setVisible(m_list->canOpenFolder(row));
}
