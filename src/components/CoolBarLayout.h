#pragma once

#include <QList>
#include <QRect>

// One band of a cool bar as its geometry sees it.
struct CoolBand
{
    bool visible = true;
    // The whole band: gripper, text and child.
    int width = 0;
    // The least width of the child; the band never gets less than this
    // plus its gripper and text while the bar has room.
    int minWidth = 0;
    // The least height of the band, the child's own height folded in.
    int minHeight = 0;
    bool breakBefore = false;
    // The band's text beside the gripper, in pixels.
    int textWidth = 0;
};

// Where the bands of a cool bar go, and how dragging a band's gripper
// changes their order, widths and row breaks: the arithmetic of the bar,
// apart from its widget.
//
// Rows follow the visible bands in order: the first visible band starts
// the first row and every other visible band with a break starts a new
// one. A hidden band takes no room, and its break counts for nothing.
class CoolBarLayout
{
public:
    struct Metrics
    {
        int barWidth = 0;
        int gripperWidth = 0;
        // Pixels between two rows.
        int rowGap = 0;
    };

    struct Result
    {
        // Per band: its rectangle, cut at the bar's right edge (a band
        // wholly beyond it is 0 wide); empty for a hidden band.
        QList<QRect> rects;
        // Per band: its width before the cut.
        QList<int> widths;
        // Per band: its row, -1 for a hidden band.
        QList<int> rows;
        QList<int> rowTops;
        QList<int> rowHeights;
        int height = 0;

        // The row at y: the first or last one beyond the rows' ends, -1
        // when there are none. A y in the gap between two rows belongs to
        // the upper one.
        int RowAt(int y) const;
        // The visible bands of row, in order.
        QList<int> BandsInRow(int row) const;
    };

    static Result Compute(const QList<CoolBand>& bands, const Metrics& metrics);
    // Gripper, text and the child's minimum width.
    static int LeastWidth(const CoolBand& band, const Metrics& metrics);

    // The band at index dragged dx pixels along its row: the band before it
    // in the row takes the difference, within its own minimum and the room
    // the bands after it need. The first band of a row does not move.
    static QList<CoolBand> MoveWithinRow(const QList<CoolBand>& bands, const Metrics& metrics,
                                         int index, int dx);

    struct Move
    {
        QList<CoolBand> bands;
        // Where the moved band now stands.
        int index = -1;
    };
    // The band at index dropped into another row with its gripper at x: it
    // goes after the band of that row that begins left of x, which is cut
    // to end at x, or first in the row when none does.
    static Move MoveToRow(const QList<CoolBand>& bands, const Metrics& metrics, int index, int row,
                          int x);
    // The band at index dropped above the first row or below the last one,
    // on a row of its own.
    static Move MoveToNewRow(const QList<CoolBand>& bands, const Metrics& metrics, int index,
                             bool above);

private:
    static QList<CoolBand> Lift(const QList<CoolBand>& bands, const Result& layout, int index,
                                CoolBand* lifted);
};
