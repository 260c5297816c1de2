#pragma once

#include "chrome/BandLayoutStore.h"

class RegistryStore;
class TCoolBar;

// Carries the cool bar's band layout to the store and back.
class CoolBarBands
{
public:
    // The bar's bands in order, as they would be stored.
    static QList<BandState> Bands(const TCoolBar& bar);
    // Puts the bands in the given order with the given widths and breaks;
    // names the bar does not have are passed over.
    static void Arrange(TCoolBar& bar, const QList<BandState>& bands);

    static bool Save(const TCoolBar& bar, RegistryStore& store);
    // Bands the store knows nothing of keep their places.
    static void Load(TCoolBar& bar, const RegistryStore& store);
};
