#pragma once

#include <cstdint>
#include <string>

// The file's last-modification time in whole seconds since 1970 (UTC), or 0
// when it cannot be examined (no such file, no name).
std::int64_t FileModificationTime(const std::string& path);

// Whether something exists at the path.
bool FileExists(const std::string& path);

// What the file system says of a file's content without reading it: a
// write changes its size or its time. Any difference counts, earlier times
// too (a sync client keeps the other computer's time; FAT keeps two-second
// times).
struct FileState {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t time = 0; // as FileModificationTime
    bool operator==(const FileState& other) const {
        return exists == other.exists && size == other.size && time == other.time;
    }
    bool operator!=(const FileState& other) const { return !(*this == other); }
};
FileState FileStateOf(const std::string& path);

// Whether the two paths name one file (however spelt: case, a short name, a
// relative path, a link); false when either does not exist. One
// implementation per platform.
bool SameFile(const std::string& one, const std::string& other);
