#pragma once
// Whoever opens the settings dialogs and wants to hear when "O  K" has put
// new settings in place (the main window, which then updates its commands).
// The dialogs keep the opener as a plain QObject, so that a closed main window
// is simply not told.

class SettingsListener
{
public:
    virtual ~SettingsListener() = default;
    virtual void settingsApplied() = 0;
};
