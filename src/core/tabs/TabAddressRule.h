#pragma once

#include <QString>

// The address a tab stands for when the session is kept: what it shows,
// else what it is on its way to.
class TabAddressRule
{
public:
    // shown is the browser's address; pending the one a busy tab is
    // loading; tabHome the one a restoring tab is to reach.
    static QString remembered(const QString& shown, bool busy, const QString& pending,
                              bool restoring, const QString& tabHome);
};
