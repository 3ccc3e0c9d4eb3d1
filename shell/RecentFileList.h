#pragma once

#include "storage/SettingsStore.h"

#include <windows.h>

#include <string>
#include <vector>

// The recently used files, most recent first, and how many it may hold; its
// items in the File menu are the commands 57616 (newest) onward.
class RecentFileList {
  public:
    static const int kDefaultMaximum = 4;

    // The "&File" popup; its "most recent..." item gives the empty text.
    void SetMenu(HMENU fileMenu);
    // Puts the path at the top, removing an entry equal but for case and,
    // when full, the oldest one.
    bool AddToList(const std::string& path);
    bool MoveToTop(int command);
    // False when the command stands for no entry.
    bool GetFromList(int command, std::string& path) const;
    // Rebuilds the numbered items in place of the "most recent..." item.
    bool UpdateMenu();

    // Reads the stored list; false (and nothing changed) when the subkey or
    // its "DocumentCount" is missing.
    bool ReadFromRegistry();
    // Creates the keys as needed and writes the list, deleting stale entries.
    bool WriteToRegistry() const;

    const std::vector<std::string>& Entries() const { return entries; }
    // As the settings keep it.
    StoredRecentFiles Stored() const { return {entries, maximum}; }

  private:
    // Index of the entry that the command stands for, or -1.
    int IndexOf(int command) const;

    std::vector<std::string> entries;
    int maximum = kDefaultMaximum;
    HMENU menu = nullptr; // borrowed from the menu bar
    std::string emptyText = "(empty)";
};
