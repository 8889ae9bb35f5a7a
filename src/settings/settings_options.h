#pragma once
// The settings as the settings dialog presents them: for each, the array
// of option buttons that edits it, the frame holding the array, the caption of
// every choice, and the tab that shows the frame. The index of the chosen
// button is the setting's value.

#include "base/measurement_state.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

struct SettingOption
{
    QString arrayName; // optDisp1 ...; button i is named "<arrayName>_<i>"
    QString frameName; // frameDisp1 ...
    QString frameCaption;
    QStringList captions; // one per value 0..n-1
    qint16 MeasurementState::*field;
};

enum SettingIndex
{
    OptDisp1,
    OptDisp2,
    OptPrint,
    OptProt,
    OptAction,
    OptAll,
    OptTrack,
    OptCmp,
    OptPos,
    OptMomentum,
    SettingCount
};

const std::array<SettingOption, SettingCount> &settingOptions();

// Object name of button `index` of an array: "optPrint_2".
QString optionButtonName(const QString &arrayName, int index);

// Captions of the tab strip, left to right.
QStringList settingsTabCaptions();

// The frames (as SettingIndex) a tab shows, tab counted from 1. An index
// outside 1..5 gives an empty list: nothing is to change.
QList<int> framesOfTab(int tab);

// The button to select for a stored value, or -1 when the value has no button
// (a value out of range, from an edited settings file).
int selectionForValue(const SettingOption &option, qint16 value);

// Takes the chosen button into the setting; no choice (-1) keeps the value.
void storeSelection(MeasurementState &state, const SettingOption &option, int selected);
