#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// One settings file ("[Section]" lines followed by "key=value" lines), the
// format of group files, shortcut files and the tool-bar file. The file is
// read whole into memory, changed there and written back whole.
//
// Rules: section names and keys are compared without regard to case and
// lose their surrounding blanks, as values do. A key appears once per
// section: a later line of the same key gives the value, the earlier line
// the place. Writing a key that is new appends it to its section. A write
// touches only the lines of its own section: other sections, comments and
// lines that are no entry are written back as they were read. A bracketed
// line that holds "=" is an entry, so that no key or address read back can
// start a section.
//
// Values and key lists are never cut short: addresses of thousands of
// characters and groups of thousands of pages must survive a round trip.
class SettingsFile
{
public:
    using Entry = QPair<QString, QString>; // key as first written, value

    // The whole text is held several times over while it is parsed; a file
    // beyond this is refused rather than read in part.
    static constexpr qint64 MaximumFileSize = 64 * 1024 * 1024;

    explicit SettingsFile(const QString& path = QString());

    QString path() const { return m_path; }

    // Reads the file at path(). A missing file is an empty one. A file that
    // cannot be read whole (a folder, a pipe, no permission, too large)
    // leaves the object empty, returns false, and makes save() refuse: what
    // was not read must not be overwritten.
    bool load();
    // UTF-8 (with or without a byte-order mark); text that is not valid
    // UTF-8 is taken as Latin-1, the 8-bit text of older files.
    void loadFromData(const QByteArray& data);
    // UTF-8, keeping the line ends and byte-order mark the file had.
    QByteArray toData() const;
    // Replaces the file at path() whole, or leaves it as it was and returns
    // false with errorString() saying why.
    bool save();
    QString errorString() const { return m_error; }

    // The section's entries in the order of their first lines.
    QList<Entry> entries(const QString& section) const;
    QString value(const QString& section, const QString& key,
                  const QString& defaultValue = QString()) const;

    // A line break would start a line of its own and "=" in a key would move
    // the split, so line breaks become blanks and a key's "=" are dropped;
    // the same holds for a section name.
    void setValue(const QString& section, const QString& key, const QString& value);
    // setValue for each entry in order, with one lookup of the section.
    void setValues(const QString& section, const QList<Entry>& entries);
    // Removes every line of the section, its name line included.
    void eraseSection(const QString& section);

private:
    struct Line
    {
        QString text;
        qsizetype equals = -1; // position of the first "=", -1 when none
    };
    struct Block
    {
        QString header; // the section's name line as written; empty before any section
        QString name;
        QList<Line> lines;
    };
    struct Position
    {
        int block = -1;
        int line = -1;
    };
    struct KeySlot
    {
        Position first; // where the key stands
        Position last;  // the line whose value counts
    };
    struct SectionIndex
    {
        QList<int> blocks; // every block of the name, in file order
        // Built on the first lookup: a section that is read once or replaced
        // whole never needs it.
        mutable QHash<QString, KeySlot> keys;
        mutable bool keysBuilt = false;
    };

    void clear();
    void parse(const QString& text);
    void rebuildIndex();
    QHash<QString, KeySlot>& keysOf(const SectionIndex& section) const;
    const Line& lineAt(Position position) const;
    // Rewrites the key's line and drops later lines of the same key.
    void replaceValue(SectionIndex& index, KeySlot slot, const QString& foldedKey,
                      const QString& value);
    void appendEntry(SectionIndex& index, const QString& key, const QString& foldedKey,
                     const QString& value);

    QString m_path;
    QString m_error;
    bool m_unreadable = false;
    bool m_byteOrderMark = false;
    QString m_lineEnd = QStringLiteral("\n");
    QList<Block> m_blocks;                // m_blocks[0] holds the lines before the first section
    QHash<QString, SectionIndex> m_index; // folded section name -> its blocks and keys
};
