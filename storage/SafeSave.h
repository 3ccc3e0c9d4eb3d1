#pragma once

#include <string>

// The system calls that put a new file in the place of an old one, each
// giving 0 or the system's error code. Empty members mean the system's own;
// tests pass calls that fail the way the system documents.
struct PlacementCalls {
    // Windows' ReplaceFile: `replacement` takes the name of `target`, whose
    // file is kept under `backup`.
    unsigned long (*replace)(const std::string& target, const std::string& replacement,
                             const std::string& backup) = nullptr;
    // A rename onto a name where no file is.
    unsigned long (*move)(const std::string& from, const std::string& to) = nullptr;
};

struct SaveReport {
    std::string error; // for the user, when not saved
    // When not saved: false when the old file could not be kept at the path,
    // nor the new one put there; `error` then says where both are.
    bool oldFileInPlace = true;
};

// Writes `content` to a new temporary file in the target's folder, forces it
// to the disk, reads it back, and only then puts it in the target's place in
// one step, so a failed or interrupted save never leaves a cut-off file
// behind. After a failure the target holds the old bytes untouched and no
// temporary file is left; only where the system lost the old file's name
// and it could not be given back is the new file kept, under the name the
// report gives. A success also removes what cut-off saves left in the folder.
bool SaveFileSafely(const std::string& path, const std::string& content, SaveReport& report,
                    const PlacementCalls& calls = {});
// The same, when only the error text matters.
bool SaveFileSafely(const std::string& path, const std::string& content, std::string& error);

// Where a placement left the files.
enum class Placement {
    Placed,      // the target holds the new bytes
    OldFileKept, // the target holds the old bytes untouched (or never existed)
    NewFileKept  // neither could be put at the target: the new bytes stay at `from`
};
// Puts the file `from` in the place of `to`; a file there is kept under
// `backup` while it is replaced, and given back its name when the new one
// cannot take it. `reason` is the system's text for a failure. One
// implementation per platform.
Placement PlaceNewFile(const std::string& from, const std::string& to, const std::string& backup,
                       const PlacementCalls& calls, std::string& reason);

// Whether the file at `path` holds exactly `content`; a read that fails
// counts as a mismatch.
bool ReadsBackAs(const std::string& path, const std::string& content);
