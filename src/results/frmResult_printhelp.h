#pragma once
// The print command and the help menu of the result windows. Each window
// calls its wiring once, from its constructor.
//
// The time-distance, the components and the position window print at once. The time-speed window
// first asks for a title, shows it on the window in txtDai, and takes the picture a few timer ticks
// later (tmrWait), once the title and the credit line are on screen.

class frmResult1;
class frmResult2;
class ResultWindow;

void wireResultPrintHelp(frmResult1 &window);
void wireResultPrintHelp(frmResult2 &window);
// The untitled printout and the help menu of any result window.
void wireUntitledPrintHelp(ResultWindow &window);

namespace resultprint {
// "結果を印刷する(&P)" of each window.
void printSpeedWindow(frmResult1 &window);
// The untitled printout of the distance and the components window.
void printDistanceWindow(ResultWindow &window);
// One tick of the time-speed window's tmrWait: counts up to two ticks after
// the window was loaded, then prints.
void speedWaitTick(frmResult1 &window);
} // namespace resultprint
