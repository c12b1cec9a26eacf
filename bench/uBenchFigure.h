#pragma once

#include <cstdio>

// One figure of a bench as a line that bench/run reads, beside the human
// output: "FIGURE", what is compared, the value and its goal, tab-separated.
inline void PrintFigure(const char* what, double value, const char* goal)
{
    std::printf("FIGURE\t%s\t%.2f\t%s\n", what, value, goal);
}
