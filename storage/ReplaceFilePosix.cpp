#include "storage/SafeSave.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool MoveFileOver(const std::string& from, const std::string& to, std::string& reason) {
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    reason = std::strerror(errno);
    return false;
}
