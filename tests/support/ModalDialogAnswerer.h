#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers modal dialogs from inside the event loop they run, the way a user
// would: it watches QApplication::activeModalWidget() and hands every new
// modal dialog to the answer function once. With no answer function the
// dialog is rejected, so that a question nobody expected cannot hang a test;
// it is still counted and can be failed on.
class ModalDialogAnswerer : public QObject
{
    Q_OBJECT
public:
    using Answer = std::function<void(QWidget* dialog)>;

    explicit ModalDialogAnswerer(Answer answer = {}, QObject* parent = nullptr);

    // Dialogs seen so far, oldest first (null once a dialog is deleted).
    int count() const { return int(m_seen.size()); }
    // The class name of each dialog seen, oldest first.
    QStringList classNames() const { return m_classNames; }

    // Stops answering; a later dialog is left to the caller.
    void stop() { m_timer.stop(); }

private:
    void poll();

    Answer m_answer;
    QTimer m_timer;
    QList<QPointer<QWidget>> m_seen;
    QStringList m_classNames;
};
