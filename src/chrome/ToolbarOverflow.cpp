#include "chrome/ToolbarOverflow.h"

bool ToolbarOverflow::ChevronNeeded(const QList<Place>& places, int width)
{
    for (auto place = places.crbegin(); place != places.crend(); ++place)
        if (!place->separator)
            return place->right > width;
    return false;
}

int ToolbarOverflow::MainWidth(const QList<Place>& places, int width, int chevronWidth)
{
    return ChevronNeeded(places, width) ? qMax(0, width - chevronWidth) : width;
}

QList<int> ToolbarOverflow::CutOff(const QList<Place>& places, int mainWidth)
{
    QList<int> items;
    int pendingSeparator = -1;
    for (int i = 0; i < places.size(); ++i)
    {
        if (places.at(i).right <= mainWidth)
            continue;
        if (places.at(i).separator)
        {
            if (!items.isEmpty())
                pendingSeparator = i;
            continue;
        }
        if (pendingSeparator >= 0)
            items.append(pendingSeparator);
        pendingSeparator = -1;
        items.append(i);
    }
    return items;
}
