#pragma once

#include <cstdint>
#include <map>
#include <string>

// Dated copies of diary files, taken before a save replaces one: at the
// first save of a session to that file and at the first save of each day.
// Each diary has a folder of its own under the root, which keeps its
// newest ten copies.
class Backups {
  public:
    static const int kKept = 10;

    // Where the copies go; without a root none are taken.
    void SetRoot(const std::string& folder) { root = folder; }
    // The folder of the file's copies, ending in a separator ("diary.csv
    // (1a2b3c4d)" under the root); empty without a root.
    std::string FolderFor(const std::string& path) const;
    const std::string& Root() const { return root; }
    // Before a save replaces the file at path. A copy that cannot be made
    // does not stop the save: the new file is the user's diary.
    void BeforeReplacing(const std::string& path);
    // The file was changed elsewhere: the next save copies it again, so
    // that the other copy's bytes are kept.
    void CopyAgain(const std::string& path) { lastCopied.erase(path); }

  private:
    std::string root;
    std::map<std::string, std::uint32_t> lastCopied; // path -> day number of its last copy
};
