#pragma once
// Steps of the main window that window tests take again and again.

class frmMain;

// Waits out the short pause after a move, so that the next click counts.
bool inputPauseOver(frmMain &window);
// Moves the slider to `frame` as the user would, and waits out the pause.
bool goToFrame(frmMain &window, int frame);
