#include "core/dialogs/WindowServices.h"

#include "chrome/TLanguage.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QWidget>

WindowServices::WindowServices(const TLanguage* language, QWidget* window)
    : QObject(window), m_language(language), m_window(window)
{
}

WindowServices::WindowServices(const TLanguage* language, QObject* parent)
    : QObject(parent), m_language(language)
{
}

WindowServices* WindowServices::of(const QWidget* widget)
{
    if (!widget)
        return nullptr;
    return widget->window()->findChild<WindowServices*>(QString(), Qt::FindDirectChildrenOnly);
}

QString WindowServices::GetLangText(const QString& section, const QString& key) const
{
    if (m_language)
        return m_language->GetLangText(section, key);
    return TLanguage().GetLangText(section, key);
}

QString WindowServices::GetGlobalText(const QString& key) const
{
    return GetLangText(TLanguage::GlobalSection(), key);
}

ConfirmResult WindowServices::confirm(const QString& caption, bool checked, const QString& title,
                                      const QString& prompt, const QString& okText,
                                      const QString& cancelText, const QString& checkText,
                                      bool okDefault)
{
    const QFont font = m_window ? m_window->font() : QApplication::font();
    return ShowConfirm(m_window, font, caption, checked, title, prompt, okText, cancelText,
                       checkText, okDefault);
}

void WindowServices::notify(const QString& caption, const QString& text)
{
    confirm(caption, false, QString(), text, GetGlobalText(QStringLiteral("OK")), QString(),
            QString());
}

bool WindowServices::inputQuery(const QString& caption, const QString& prompt, QString& text)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(m_window, caption, prompt, QLineEdit::Normal, text, &ok);
    if (ok)
        text = answer;
    return ok;
}

void WindowServices::showError(const QString& text)
{
    QMessageBox::critical(m_window, QStringLiteral("Quillwave"), text);
}

QString WindowServices::chooseSaveFile(const QString& caption, const QString& suggestedPath)
{
    return QFileDialog::getSaveFileName(m_window, caption, suggestedPath);
}

QString WindowServices::chooseSaveFileOfType(const QString& caption, const QString& folder,
                                             const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(m_window, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString WindowServices::chooseOpenFile(const QString& caption, const QString& folder,
                                       const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(m_window, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::ReadOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
