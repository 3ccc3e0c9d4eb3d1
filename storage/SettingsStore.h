#pragma once

#include "storage/AppSettings.h"
#include "storage/Registry.h"

// The start-up reads: a setting that cannot be read takes its default.
void ReadSettings(CRegistry& registry, AppSettings& settings);
// The writes at close, after the placement.
void WriteSettings(CRegistry& registry, const AppSettings& settings);
