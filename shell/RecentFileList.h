#pragma once

#include <string>
#include <vector>

// The recently used files, most recent first, and how many it may hold.
class RecentFileList {
  public:
    static const int kDefaultMaximum = 4;

    // Reads the stored list; false (and nothing changed) when the subkey or
    // its "DocumentCount" is missing.
    bool ReadFromRegistry();
    // Creates the keys as needed and writes the list, deleting stale entries.
    bool WriteToRegistry() const;

    const std::vector<std::string>& Entries() const { return entries; }
    int Maximum() const { return maximum; }

  private:
    std::vector<std::string> entries;
    int maximum = kDefaultMaximum;
};
