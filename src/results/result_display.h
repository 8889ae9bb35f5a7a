#pragma once
// Which parts of a result window the teacher's settings show and allow.

namespace results {

struct ResultVisibility
{
    bool table = true;        // Picture1
    bool graph = true;        // Picture2
    bool scaleButtons = true; // Frame1
};

// ResultDisplayMode 0 both, 1 table only, 2 graph only, 3 neither; any other
// value shows everything. Summary, picture and menus are always shown.
ResultVisibility resultVisibility(int displayMode);

// "結果を印刷する(&P)" is greyed for PrintPermission 1 (video printing only)
// and 3 (no printing).
bool resultPrintAllowed(int printPermission);

} // namespace results
