#pragma once

#include <optional>
#include <string>

// Writes `content` to a new temporary file in the target's folder, forces it
// to the disk, reads it back, and only then puts it in the target's place in
// one step, so a failed or interrupted save never leaves a cut-off file
// behind. On failure the old target is untouched, no temporary file is left,
// and `error` names what failed in a short text for the user. A success also
// removes the temporary files that cut-off saves left in the folder.
bool SaveFileSafely(const std::string& path, const std::string& content, std::string& error);

// The steps of a save, in order.
enum class SaveStep { CreateTemporary, Write, Flush, Close, ReadBack, Replace };
// For tests: makes that step fail in every save until called with nothing,
// as a full disk, a folder that refuses new files or a locked file would.
void FailSaveStep(std::optional<SaveStep> step);

// Puts the file `from` in the place of `to` in one step, replacing a file
// that is there; on failure `reason` is the system's text for it. One
// implementation per platform.
bool MoveFileOver(const std::string& from, const std::string& to, std::string& reason);
