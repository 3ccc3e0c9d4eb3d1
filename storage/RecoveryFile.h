#pragma once

#include "core/EventStore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A diary with unsaved changes as a recovery file keeps it: the entries in
// the calendar file's form, after a short header that names the file the
// diary belongs to and that file's time when it was last loaded or saved.
struct RecoveredDiary {
    std::string path; // empty for an untitled diary
    std::int64_t fileTime = 0;
    EventStore store;
};

std::string FormatRecovery(const std::string& path, std::int64_t fileTime,
                           const EventStore& store);
// Nothing when the bytes are not a recovery file.
std::optional<RecoveredDiary> ParseRecovery(std::string_view bytes);
