#pragma once
// How each user likes the main window to look, kept in the user's own
// configuration folder (view.ini), apart from the teacher's settings file:
// one student switching the magnifier off changes nothing for the others.

namespace viewprefs {

// The magnifier over the preview; on until the user switches it off.
bool magnifierOn();
// False when the choice could not be written (it then lasts for this run).
bool setMagnifierOn(bool on);

} // namespace viewprefs
