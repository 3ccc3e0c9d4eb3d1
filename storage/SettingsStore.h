#pragma once

#include "storage/AppSettings.h"
#include "storage/Registry.h"

#include <optional>
#include <string>
#include <vector>

// The start-up reads: a setting that cannot be read takes its default.
void ReadSettings(CRegistry& registry, AppSettings& settings);
// The writes at close, after the placement.
void WriteSettings(CRegistry& registry, const AppSettings& settings);

// The recent-file list as stored under its subkey: the newest first, and how
// many it may hold (2 to 16).
struct StoredRecentFiles {
    std::vector<std::string> paths;
    int maximum = 4;
};
// Nothing (and nothing changed) when the subkey or its count is missing;
// unusable entries are skipped.
std::optional<StoredRecentFiles> ReadRecentFiles();
// Creates the keys as needed and writes the list, deleting stale entries.
bool WriteRecentFiles(const StoredRecentFiles& recent);

// Everything the program writes when its window really closes (or the
// Windows session ends), in the order that matters: the recent-file list
// first, as its write creates the settings key, which the others only open;
// then the window placement, when there is one; then the settings.
void WriteAtClose(const StoredRecentFiles& recent, const WINDOWPLACEMENT* placement,
                  const AppSettings& settings);
