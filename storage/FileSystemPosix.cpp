#include "storage/FileTime.h"
#include "storage/SafeSave.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

// rename() replaces in one step and either succeeds or leaves both files as
// they were; there is no backup to keep.
Placement PlaceNewFile(const std::string& from, const std::string& to, const std::string&,
                       const PlacementCalls&, std::string& reason) {
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return Placement::Placed;
    reason = std::strerror(errno);
    return Placement::OldFileKept;
}

bool SameFile(const std::string& one, const std::string& other) {
    struct stat first {}, second {};
    return stat(one.c_str(), &first) == 0 && stat(other.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
