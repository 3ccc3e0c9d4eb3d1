#pragma once

#include "storage/AppSettings.h"

#include <cstdint>
#include <string>

// What a setting holds: text, an on/off switch (any non-zero is on), or a count.
enum class SettingType { Text, Switch, Count };

// One setting: its registry value, its type and field, and where the
// Options sheet shows it. Its default is the field's in AppSettings{}.
// Reading, writing, the Options sheet and the tests all go by this table.
struct Setting {
    const char* name;
    SettingType type;
    std::string AppSettings::*text;    // for Text
    std::int32_t AppSettings::*number; // for Switch and Count
    int page;                          // the Options page's dialog id; 0: none
    int control;                       // the field or box on that page
    int spinner;                       // for a Count: its up-down control
    int maximum;                       // for a Count: the top of its spinner
};

// In the order the settings are written at close.
extern const Setting kSettings[14];
