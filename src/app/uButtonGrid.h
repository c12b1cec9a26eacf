#pragma once

#include <array>

// Geometry of the button grid when the plan buttons are shown: the four rows
// become five within the same top and bottom edges.
struct TPlanRows
{
    std::array<int, 5> Top{}; // AF, Kontrole, Suvestines, plans, Param/Send
    int Height = 0;
    int LogTop = 0; // the history button, one gap below the last row
};

// From the design grid: top and bottom of the first row, top of the second,
// bottom of the fourth.
TPlanRows ArrangePlanRows(int firstTop, int firstBottom, int secondTop, int fourthBottom);
