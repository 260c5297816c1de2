#pragma once

#include <QPair>
#include <QSet>
#include <QString>

// Collects the language entries the program asks for while one is alive,
// so that a test can drive the windows and then look every entry up in the
// shipped language files. Without a recorder a lookup pays one pointer test.
// One at a time: a second one replaces the first until it goes.
class LanguageKeyRecorder
{
public:
    using Entry = QPair<QString, QString>; // section, key as asked

    LanguageKeyRecorder() : m_previous(s_active) { s_active = this; }
    ~LanguageKeyRecorder() { s_active = m_previous; }
    LanguageKeyRecorder(const LanguageKeyRecorder&) = delete;
    LanguageKeyRecorder& operator=(const LanguageKeyRecorder&) = delete;

    const QSet<Entry>& Entries() const { return m_entries; }

    static void Note(const QString& section, const QString& key)
    {
        if (s_active)
            s_active->m_entries.insert({section, key});
    }

private:
    static inline LanguageKeyRecorder* s_active = nullptr;
    LanguageKeyRecorder* m_previous;
    QSet<Entry> m_entries;
};
