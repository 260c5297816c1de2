#include "ModalDialogAnswerer.h"

#include <QApplication>
#include <QDialog>

ModalDialogAnswerer::ModalDialogAnswerer(Answer answer, QObject* parent)
    : QObject(parent), m_answer(std::move(answer))
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalDialogAnswerer::poll);
    m_timer.start();
}

void ModalDialogAnswerer::poll()
{
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible())
        return;
    for (const QPointer<QWidget>& seen : std::as_const(m_seen))
    {
        if (seen == dialog)
            return;
    }
    m_seen.append(dialog);
    m_classNames.append(QString::fromLatin1(dialog->metaObject()->className()));
    if (m_answer)
        m_answer(dialog);
    else if (auto* plain = qobject_cast<QDialog*>(dialog))
        plain->reject();
    else
        dialog->close();
}
