#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A program folder of its own for a test that creates the main window in
// its own process: QUILLWAVE_HOME and the desktop's folders point into a
// temporary folder holding the shipped language files, and the default-
// browser question and the version check are switched off.
class MainWindowHome
{
public:
    MainWindowHome();

    bool isValid() const { return m_valid; }
    QString path() const { return m_dir->path(); }
    QString filePath(const QString& name) const { return m_dir->filePath(name); }

    // The program's own values (the CurrentVersion key) in the store.
    bool seed(const QString& name, const QString& text) const;
    // The stored text, or "<missing>".
    QString stored(const QString& name) const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    bool m_valid = false;
};
