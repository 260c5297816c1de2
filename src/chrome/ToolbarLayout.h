#pragma once

#include <QList>
#include <QString>

#include <optional>

// One place of the toolbar: a command button (0 to 21) or a separator (-1),
// shown or kept hidden in its place.
struct ToolbarEntry
{
    int number = -1;
    bool shown = true;

    bool IsSeparator() const { return number == -1; }
    friend bool operator==(const ToolbarEntry&, const ToolbarEntry&) = default;
};

// The toolbar's layout file "tbmain.dat": section "Toolbar", one entry per
// place from left to right, "N=1" for a shown button number N, "N=0" for a
// hidden one, "Sep<place>=1" for a separator standing at that 0-based place.
class ToolbarLayout
{
public:
    static QString FileName() { return QStringLiteral("tbmain.dat"); }
    static QString Section() { return QStringLiteral("Toolbar"); }

    // 0, 1, sep, 2, 3, sep, 4 to 7, sep, 8, 9, sep, 10, 11, 12, sep, 13 to 21,
    // with 1, 17, 18, 19 and 20 hidden.
    static QList<ToolbarEntry> DefaultLayout();

    // Nothing when the file is absent or cannot be read (the caller builds
    // the default). A file without button 21 gets it shown at the right end.
    // Keys that are neither "Sep..." nor a button number are ignored, and a
    // number met again keeps its first place: one command has one button.
    static std::optional<QList<ToolbarEntry>> Read(const QString& path);
    // The same from the section's keys and values in file order.
    static QList<ToolbarEntry> FromKeys(const QList<QPair<QString, QString>>& keys);

    // Replaces the file whole or leaves it as it was; on failure *error (when
    // given) says why. Places that are no button or separator are skipped.
    static bool Write(const QString& path, const QList<ToolbarEntry>& entries,
                      QString* error = nullptr);
    static QList<QPair<QString, QString>> ToKeys(const QList<ToolbarEntry>& entries);
};
