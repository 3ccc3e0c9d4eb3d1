#include "storage/FileTime.h"

#include <sys/stat.h>
#include <sys/types.h>

std::int64_t FileModificationTime(const std::string& path) {
#ifdef _WIN32
    struct __stat64 status {};
    if (_stat64(path.c_str(), &status) != 0)
        return 0;
#else
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return 0;
#endif
    return static_cast<std::int64_t>(status.st_mtime);
}

bool FileExists(const std::string& path) {
#ifdef _WIN32
    struct __stat64 status {};
    return _stat64(path.c_str(), &status) == 0;
#else
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
#endif
}

FileState FileStateOf(const std::string& path) {
    FileState state;
#ifdef _WIN32
    struct __stat64 status {};
    if (_stat64(path.c_str(), &status) != 0)
        return state;
#else
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return state;
#endif
    state.exists = true;
    state.size = static_cast<std::int64_t>(status.st_size);
    state.time = static_cast<std::int64_t>(status.st_mtime);
    return state;
}
