#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;
class TDownloadList;
class WindowServices;

// The downloads window: one row per download of the run with its file name,
// progress, state and the command that fits (cancel while it runs, open the
// folder when it is done). Not modal; it closes and is made again from the
// list, which keeps the state.
class TfrmDownloads : public QDialog
{
    Q_OBJECT
public:
    // services give the texts and must outlive the window.
    TfrmDownloads(TDownloadList* list, WindowServices* services, QWidget* parent = nullptr);

    // The state line of a row, as the window shows it.
    static QString stateText(const TDownloadList& list, int row, const WindowServices& services);

private:
    struct Row
    {
        QLabel* lblName = nullptr;
        QProgressBar* pbProgress = nullptr;
        QLabel* lblState = nullptr;
        QPushButton* cmdCancel = nullptr;
        QPushButton* cmdOpenFolder = nullptr;
    };

    void addRow(int row);
    void refreshRow(int row);
    void rowsInserted(int first, int last);

    TDownloadList* m_list;
    WindowServices* m_services;
    QVBoxLayout* m_rowsLayout;
    QList<Row> m_rows;
};
