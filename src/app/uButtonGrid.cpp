#include "uButtonGrid.h"

TPlanRows ArrangePlanRows(int firstTop, int firstBottom, int secondTop, int fourthBottom)
{
    const int gap = secondTop - firstBottom;
    const int span = fourthBottom - firstTop;
    TPlanRows rows;
    rows.Height = (span - 4 * gap) / 5;
    int top = firstTop;
    for (int& rowTop : rows.Top) {
        rowTop = top;
        top += rows.Height + gap;
    }
    rows.LogTop = rows.Top.back() + rows.Height + gap;
    return rows;
}
