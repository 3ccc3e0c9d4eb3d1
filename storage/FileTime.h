#pragma once

#include <cstdint>
#include <string>

// The file's last-modification time in whole seconds since 1970 (UTC), or 0
// when it cannot be examined (no such file, no name).
std::int64_t FileModificationTime(const std::string& path);

// Whether something exists at the path.
bool FileExists(const std::string& path);
