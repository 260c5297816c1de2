#include "navigation/TSHAutoComplete.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDateTime>
#include <QEvent>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QStringListModel>
#include <QTimer>

TSHAutoComplete::TSHAutoComplete(QLineEdit* edit, TypedSource typed, const QString& historyRoot,
                                 QObject* parent)
    : QObject(parent), m_edit(edit), m_typed(std::move(typed)), m_historyRoot(historyRoot),
      m_model(new QStringListModel(this)), m_completer(new QCompleter(m_model, this))
{
    // The list is filtered here, not by the completer: it matches past the
    // scheme and "www." and keeps typed addresses first.
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setMaxVisibleItems(10);
    QAbstractItemView* popup = m_completer->popup();
    connect(popup, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index)
            {
                const QString address = index.data(Qt::DisplayRole).toString();
                if (!m_edit || address.isEmpty())
                    return;
                m_edit->setText(address);
                emit chosen(address);
            });
}

TSHAutoComplete::~TSHAutoComplete()
{
    Switch(false);
}

void TSHAutoComplete::Switch(bool on)
{
    if (on == m_on || (on && !m_edit))
        return;
    m_on = on;
    if (on)
    {
        m_completer->setWidget(m_edit);
        // An edit inside a combo box gets its focus through the box.
        m_focusWidget = m_edit->focusProxy() ? m_edit->focusProxy() : m_edit.data();
        m_focusWidget->installEventFilter(this);
        m_editConnection =
            connect(m_edit, &QLineEdit::textEdited, this, &TSHAutoComplete::textEdited);
        m_checkHistory = true;
        return;
    }
    disconnect(m_editConnection);
    m_completer->popup()->hide();
    if (m_edit)
    {
        if (m_focusWidget)
            m_focusWidget->removeEventFilter(this);
        if (m_completer->widget() == m_edit)
            m_completer->setWidget(nullptr);
    }
    m_model->setStringList({});
}

bool TSHAutoComplete::PopupVisible() const
{
    return m_on && m_completer->popup()->isVisible();
}

bool TSHAutoComplete::AcceptSelected()
{
    if (!PopupVisible())
        return false;
    QAbstractItemView* popup = m_completer->popup();
    // The completer keeps a current row without the user choosing it; only
    // a row the user moved to counts.
    const QModelIndexList selected = popup->selectionModel()->selectedIndexes();
    popup->hide();
    if (selected.isEmpty() || !m_edit)
        return false;
    m_edit->setText(selected.first().data(Qt::DisplayRole).toString());
    return true;
}

bool TSHAutoComplete::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_focusWidget && event->type() == QEvent::FocusIn)
    {
        // Read while the user is still about to type, once the focus has
        // been shown; a key typed sooner reads first itself.
        m_checkHistory = true;
        QTimer::singleShot(0, this,
                           [this]
                           {
                               if (m_on && m_checkHistory)
                               {
                                   m_checkHistory = false;
                                   RefreshHistory();
                               }
                           });
    }
    return QObject::eventFilter(watched, event);
}

QString TSHAutoComplete::HistoryStamp() const
{
    QString stamp;
    for (const THistoryIndexReader::Period& period : THistoryIndexReader::periods(m_historyRoot))
    {
        const QFileInfo info(period.indexPath);
        stamp += period.indexPath + QLatin1Char('|') + QString::number(info.size()) +
                 QLatin1Char('|') + QString::number(info.lastModified().toMSecsSinceEpoch()) +
                 QLatin1Char('\n');
    }
    return stamp;
}

void TSHAutoComplete::RefreshHistory()
{
    const QString stamp = HistoryStamp();
    if (m_historyRead && stamp == m_historyStamp)
        return;
    m_suggestions.SetHistory(THistoryIndexReader::allEntries(m_historyRoot));
    m_historyStamp = stamp;
    m_historyRead = true;
}

void TSHAutoComplete::textEdited(const QString& text)
{
    if (m_checkHistory)
    {
        m_checkHistory = false;
        RefreshHistory();
    }
    const QStringList matches = m_suggestions.Match(text, m_typed ? m_typed() : QStringList());
    m_model->setStringList(matches);
    if (matches.isEmpty())
    {
        m_completer->popup()->hide();
        return;
    }
    m_completer->setCompletionPrefix(QString());
    m_completer->complete();
    // The completer marks a row as current by itself; the first Down must
    // go to the first suggestion, and Enter must not take one unasked.
    m_completer->popup()->selectionModel()->clear();
}
