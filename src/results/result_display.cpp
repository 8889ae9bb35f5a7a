#include "results/result_display.h"

namespace results {

ResultVisibility resultVisibility(int displayMode)
{
    switch (displayMode) {
    case 1:
        return {true, false, false};
    case 2:
        return {false, true, true};
    case 3:
        return {false, false, false};
    default:
        return {};
    }
}

bool resultPrintAllowed(int printPermission)
{
    return printPermission != 1 && printPermission != 3;
}

} // namespace results
