#include "components/CoolBarLayout.h"

#include <algorithm>

namespace
{
// Gives the bands of row, up to and including last, the widths they are
// shown at, so that a drag moves what the user sees and not what the bands
// asked for before the bar was too narrow for them.
void FreezeWidths(QList<CoolBand>& bands, const CoolBarLayout::Result& layout, int row, int last)
{
    for (const int band : layout.BandsInRow(row))
    {
        if (band > last)
            break;
        bands[band].width = layout.widths.at(band);
    }
}

// Room that the bands of row after index need at least.
int LeastAfter(const QList<CoolBand>& bands, const CoolBarLayout::Result& layout,
               const CoolBarLayout::Metrics& metrics, int row, int index)
{
    int least = 0;
    for (const int band : layout.BandsInRow(row))
        if (band > index)
            least += CoolBarLayout::LeastWidth(bands.at(band), metrics);
    return least;
}
} // namespace

int CoolBarLayout::Result::RowAt(int y) const
{
    if (rowTops.isEmpty())
        return -1;
    for (qsizetype row = 1; row < rowTops.size(); ++row)
        if (y < rowTops.at(row))
            return int(row - 1);
    return int(rowTops.size() - 1);
}

QList<int> CoolBarLayout::Result::BandsInRow(int row) const
{
    QList<int> bands;
    for (qsizetype band = 0; band < rows.size(); ++band)
        if (rows.at(band) == row)
            bands.append(int(band));
    return bands;
}

int CoolBarLayout::LeastWidth(const CoolBand& band, const Metrics& metrics)
{
    return metrics.gripperWidth + std::max(0, band.textWidth) + std::max(0, band.minWidth);
}

CoolBarLayout::Result CoolBarLayout::Compute(const QList<CoolBand>& bands, const Metrics& metrics)
{
    Result result;
    const qsizetype count = bands.size();
    result.rects.resize(count);
    result.widths.fill(0, count);
    result.rows.fill(-1, count);

    // Rows first: every visible band finds its row.
    int rowCount = 0;
    for (qsizetype band = 0; band < count; ++band)
    {
        if (!bands.at(band).visible)
            continue;
        if (rowCount == 0 || bands.at(band).breakBefore)
            ++rowCount;
        result.rows[band] = rowCount - 1;
    }

    int top = 0;
    for (int row = 0; row < rowCount; ++row)
    {
        const QList<int> members = result.BandsInRow(row);
        QList<int> widths;
        int height = 0;
        int total = 0;
        for (const int band : members)
        {
            const int least = LeastWidth(bands.at(band), metrics);
            widths.append(std::max(least, bands.at(band).width));
            total += widths.constLast();
            height = std::max(height, bands.at(band).minHeight);
        }
        // Too wide: the bands give up width from the right, each down to
        // its least width; anything left over is cut at the bar's edge.
        for (qsizetype i = members.size() - 1; i >= 0 && total > metrics.barWidth; --i)
        {
            const int least = LeastWidth(bands.at(members.at(i)), metrics);
            const int giving = std::min(total - metrics.barWidth, widths.at(i) - least);
            widths[i] -= giving;
            total -= giving;
        }
        // The last band of a row reaches to the bar's right edge.
        if (total < metrics.barWidth)
            widths.last() += metrics.barWidth - total;

        int x = 0;
        for (qsizetype i = 0; i < members.size(); ++i)
        {
            const int band = members.at(i);
            const int shown = std::clamp(metrics.barWidth - x, 0, widths.at(i));
            result.rects[band] =
                QRect(std::min(x, std::max(0, metrics.barWidth)), top, shown, height);
            result.widths[band] = widths.at(i);
            x += widths.at(i);
        }
        result.rowTops.append(top);
        result.rowHeights.append(height);
        top += height + metrics.rowGap;
    }
    result.height = rowCount == 0 ? 0 : top - metrics.rowGap;
    return result;
}

QList<CoolBand> CoolBarLayout::MoveWithinRow(const QList<CoolBand>& bands, const Metrics& metrics,
                                             int index, int dx)
{
    const Result layout = Compute(bands, metrics);
    if (index < 0 || index >= bands.size() || layout.rows.at(index) < 0)
        return bands;
    const int row = layout.rows.at(index);
    const QList<int> members = layout.BandsInRow(row);
    const qsizetype place = members.indexOf(index);
    if (place == 0)
        return bands;
    const int before = members.at(place - 1);

    QList<CoolBand> moved = bands;
    FreezeWidths(moved, layout, row, before);
    const int least = LeastWidth(bands.at(before), metrics);
    const int most = metrics.barWidth - layout.rects.at(before).left() -
                     LeastAfter(bands, layout, metrics, row, before);
    if (most < least)
        return bands;
    moved[before].width = std::clamp(layout.widths.at(before) + dx, least, most);
    return moved;
}

QList<CoolBand> CoolBarLayout::Lift(const QList<CoolBand>& bands, const Result& layout, int index,
                                    CoolBand* lifted)
{
    QList<CoolBand> rest = bands;
    *lifted = rest.takeAt(index);
    // The band that followed it in its row now begins the row in its place.
    const QList<int> members = layout.BandsInRow(layout.rows.at(index));
    if (members.size() > 1 && members.first() == index)
        rest[members.at(1) - 1].breakBefore = lifted->breakBefore;
    return rest;
}

CoolBarLayout::Move CoolBarLayout::MoveToRow(const QList<CoolBand>& bands, const Metrics& metrics,
                                             int index, int row, int x)
{
    const Result layout = Compute(bands, metrics);
    if (index < 0 || index >= bands.size() || layout.rows.at(index) < 0 || row < 0 ||
        row >= layout.rowTops.size())
        return {bands, index};
    if (row == layout.rows.at(index))
        return {MoveWithinRow(bands, metrics, index, x - layout.rects.at(index).left()), index};

    const QList<int> members = layout.BandsInRow(row);
    int after = -1;
    for (const int band : members)
        if (layout.rects.at(band).left() < x)
            after = band;

    QList<CoolBand> moved = bands;
    if (after >= 0)
    {
        // The band it lands behind ends where the dropped gripper begins.
        FreezeWidths(moved, layout, row, after);
        const int left = layout.rects.at(after).left();
        const int room = metrics.barWidth - left - LeastWidth(bands.at(index), metrics) -
                         LeastAfter(bands, layout, metrics, row, after);
        moved[after].width =
            std::max(LeastWidth(bands.at(after), metrics), std::min(x - left, room));
    }
    CoolBand band;
    QList<CoolBand> rest = Lift(moved, layout, index, &band);
    const auto shifted = [index](int i) { return i > index ? i - 1 : i; };
    int target;
    if (after >= 0)
    {
        target = shifted(after) + 1;
        band.breakBefore = false;
    }
    else
    {
        target = shifted(members.first());
        band.breakBefore = rest.at(target).breakBefore;
        rest[target].breakBefore = false;
    }
    rest.insert(target, band);
    return {rest, target};
}

CoolBarLayout::Move CoolBarLayout::MoveToNewRow(const QList<CoolBand>& bands,
                                                const Metrics& metrics, int index, bool above)
{
    const Result layout = Compute(bands, metrics);
    if (index < 0 || index >= bands.size() || layout.rows.at(index) < 0)
        return {bands, index};
    CoolBand band;
    QList<CoolBand> rest = Lift(bands, layout, index, &band);
    if (!above)
    {
        band.breakBefore = true;
        rest.append(band);
        return {rest, int(rest.size() - 1)};
    }
    // The first row it was is now the second one.
    for (CoolBand& other : rest)
        if (other.visible)
        {
            other.breakBefore = true;
            break;
        }
    band.breakBefore = false;
    rest.prepend(band);
    return {rest, 0};
}
