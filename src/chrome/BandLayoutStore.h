#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class RegistryStore;

// One band of the cool bar as it is stored: the name of the panel it holds,
// its width and whether it begins a row.
struct BandState
{
    QString name;
    int width = 0;
    bool breakBefore = false;
    // Not stored: the least width a loaded width is raised to.
    int minWidth = 0;
    bool operator==(const BandState&) const = default;
};

// A band as read back. A value that is missing or of the wrong type is
// absent, and the band keeps what it has for it.
struct StoredBand
{
    QString name;
    std::optional<int> width;
    std::optional<bool> breakBefore;
};

// The order, widths and row breaks of the cool bar's bands in the store:
// one sub-key "Band" + position under CurrentVersion\Bands per band.
class BandLayoutStore
{
public:
    // Wider than any screen: a stored width beyond it is taken as 0, which
    // the band's minimum then replaces. A negative width written by some
    // other program reads as such a number.
    static constexpr int MaxWidth = 32767;

    static QString BandsKey();
    static QString BandKey(int position);

    // Replaces the stored layout whole, or leaves the old one when it cannot
    // (false then). The band at index i is stored as position i; a band
    // without a name holds some other control and is not stored, and its
    // position stays free.
    static bool Save(RegistryStore& store, const QList<BandState>& bands);

    // For each position 0 to names.size() - 1 the band stored there, or
    // nothing when the position's key is missing or names none of names.
    static QList<std::optional<StoredBand>> Load(const RegistryStore& store,
                                                 const QStringList& names);

    // The bands in the bar's order, current, after a loaded layout: each
    // stored band in turn is moved to its position and takes its width and
    // break. Positions without a stored band leave the bands where the moves
    // before put them.
    static QList<BandState> Apply(QList<BandState> current,
                                  const QList<std::optional<StoredBand>>& loaded);
};
