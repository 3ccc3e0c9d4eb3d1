#include "storage/SafeSave.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// The low-level calls: only they can create a file that must not exist yet,
// and only through them can the data be forced to the disk.
#ifdef _WIN32
const char kSeparators[] = "\\/:";
int CreateNewFile(const char* path) {
    return _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int WriteSome(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(size));
}
int FlushToDisk(int fd) {
    return _commit(fd);
}
int CloseFile(int fd) {
    return _close(fd);
}
#else
const char kSeparators[] = "/";
int CreateNewFile(const char* path) {
    return open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
long WriteSome(int fd, const char* data, std::size_t size) {
    long written;
    do
        written = write(fd, data, size);
    while (written < 0 && errno == EINTR);
    return written;
}
int FlushToDisk(int fd) {
    return fsync(fd);
}
int CloseFile(int fd) {
    return close(fd);
}
#endif

// Leftovers of a crash keep their names, so the next save takes another one.
const int kTemporaryNames = 100;

std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of(kSeparators);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool WriteAll(int fd, const std::string& content) {
    // Windows writes at most an unsigned int per call.
    const std::size_t kChunk = 1 << 20;
    for (std::size_t done = 0; done < content.size();) {
        const auto written =
            WriteSome(fd, content.data() + done, std::min(kChunk, content.size() - done));
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

int CreateTemporaryFile(const std::string& folder, std::string& name) {
    int fd = -1;
    for (int n = 1; n <= kTemporaryNames && fd < 0; ++n) {
        // Short, so that a target near the path length limit still has room.
        name = folder + "~orvik" + std::to_string(n) + ".tmp";
        fd = CreateNewFile(name.c_str());
        if (fd < 0 && errno != EEXIST)
            break;
    }
    return fd;
}

} // namespace

bool SaveFileSafely(const std::string& path, const std::string& content, std::string& error) {
    std::string temporary;
    const int fd = CreateTemporaryFile(FolderOf(path), temporary);
    if (fd < 0) {
        error = std::string("Could not create a new file in its folder (") + std::strerror(errno) +
                ").";
        return false;
    }

    const char* failedStep = nullptr;
    int failure = 0;
    if (!WriteAll(fd, content))
        failedStep = "write the new file";
    else if (FlushToDisk(fd) != 0)
        failedStep = "write the new file to the disk";
    if (failedStep)
        failure = errno;
    if (CloseFile(fd) != 0 && !failedStep) {
        failedStep = "finish the new file";
        failure = errno;
    }
    std::string reason = failedStep ? std::strerror(failure) : "";
    if (!failedStep && !MoveFileOver(temporary, path, reason))
        failedStep = "put the new file in the place of the old one";
    if (!failedStep)
        return true;

    std::remove(temporary.c_str());
    error = std::string("Could not ") + failedStep + " (" + reason + ").";
    return false;
}
