#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// One language file held in memory: an INI-style text read once and never
// written. The rules are deliberately literal: section names and entry texts
// are taken verbatim (no trimming, no quotes, no escapes), names are matched
// without regard to letter case, and the first occurrence of a section or of
// a key wins. The file is read as UTF-8, the code page of the Linux desktop.
class TLanguageFile
{
public:
    // What a language file may hold, far above what the shipped ones hold
    // (30 KB, 14 sections, 600 entries). Every section and entry costs
    // bookkeeping of its own, so the counts are bounded besides the size:
    // a file of tiny sections would otherwise take gigabytes. Beyond the
    // bounds further sections and entries are ignored.
    static constexpr qint64 MaximumFileSize = 1024 * 1024;
    static constexpr int MaximumSections = 256;
    static constexpr int MaximumEntries = 20000;

    // Replaces the content with the file's. A missing, unreadable, special
    // (a pipe, a device) or oversized file leaves the object empty and
    // returns false.
    bool load(const QString& path);
    void loadFromData(const QByteArray& data);
    void clear();

    // Adds the sections and entries of other that this file lacks, so that a
    // lookup finds other's text wherever this file has none.
    void addMissingFrom(const TLanguageFile& other);

    // The entry's text, or defaultText when the section or the key is absent.
    // An entry present with an empty text yields the empty string.
    QString read(const QString& section, const QString& key, const QString& defaultText) const;
    bool contains(const QString& section, const QString& key) const;

    bool isEmpty() const { return m_sections.isEmpty(); }
    // Names as written in the file, in file order (first occurrences only).
    QStringList sections() const;
    QStringList keys(const QString& section) const;

private:
    struct Section
    {
        QString name;
        QVector<QPair<QString, QString>> entries; // key as written, text
        QHash<QString, int> index;                // lower-cased key -> entries position
    };

    const Section* findSection(const QString& section) const;
    // current: position of the section that takes entry lines, or -1 while
    // none does (before the first section, or inside a repeated one).
    void parseLine(QStringView line, int& current);

    // bounded: refuse beyond MaximumSections / MaximumEntries (nullptr, nothing added).
    Section* addSection(const QString& name, bool bounded);
    void addEntry(Section& section, const QString& key, const QString& text, bool bounded);

    QVector<Section> m_sections;
    QHash<QString, int> m_sectionIndex; // lower-cased name -> m_sections position
    int m_entryCount = 0;
};
