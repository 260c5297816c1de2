#pragma once

#include "chrome/OptionsValues.h"

#include <QColor>

class TQWOptions;

// The options dialog's values as the settings store holds them: what it
// reads when the dialog opens and what OK stores. Values the running window
// keeps for itself are read here too; the window part lays its own copies
// over them.
class StoredOptions
{
public:
    // Every stored value; the tray, the break setting's visibility and the
    // default-browser rows are not stored and keep their defaults.
    static OptionsValues Read(const TQWOptions& options);

    // Stores every value of after. The inactive colours are stored only with
    // the custom scheme, so that a fixed scheme keeps the user's colours for
    // later; the break setting only when it was shown and differs from the
    // stored one.
    static void Write(TQWOptions& options, const OptionsValues& after);

    // Colours are stored as 0xBBGGRR.
    static QColor ColorFromStored(int value);
    static int StoredFromColor(const QColor& color);

    static constexpr int MaxTitleLength = 100;
};
