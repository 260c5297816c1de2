#include "chrome/CoolBarBands.h"

#include "components/TCoolBar.h"

QList<BandState> CoolBarBands::Bands(const TCoolBar& bar)
{
    QList<BandState> bands;
    for (int i = 0; i < bar.BandCount(); ++i)
        bands.append({bar.BandName(i), bar.BandWidth(i), bar.BandBreak(i), bar.BandMinWidth(i)});
    return bands;
}

void CoolBarBands::Arrange(TCoolBar& bar, const QList<BandState>& bands)
{
    int position = 0;
    for (const BandState& band : bands)
    {
        int from = -1;
        for (int i = position; i < bar.BandCount() && from < 0; ++i)
            if (bar.BandName(i) == band.name)
                from = i;
        if (from < 0)
            continue;
        bar.MoveBand(from, position);
        bar.SetBandWidth(position, band.width);
        bar.SetBandBreak(position, band.breakBefore);
        ++position;
    }
}

bool CoolBarBands::Save(const TCoolBar& bar, RegistryStore& store)
{
    return BandLayoutStore::Save(store, Bands(bar));
}

void CoolBarBands::Load(TCoolBar& bar, const RegistryStore& store)
{
    const QList<BandState> current = Bands(bar);
    QStringList names;
    for (const BandState& band : current)
        names.append(band.name);
    Arrange(bar, BandLayoutStore::Apply(current, BandLayoutStore::Load(store, names)));
}
