#pragma once

// The per-user settings key under HKEY_CURRENT_USER.
#define ORVIK_SETTINGS_KEY "Software\\RudorAvirivi\\OrvikCalendar"
