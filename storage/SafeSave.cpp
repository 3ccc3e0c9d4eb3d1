#include "storage/SafeSave.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
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

// Short, so that a target near the path length limit still has room.
std::string TemporaryName(const std::string& folder, int n) {
    return folder + "~orvik" + std::to_string(n) + ".tmp";
}

int CreateTemporaryFile(const std::string& folder, std::string& name) {
    int fd = -1;
    for (int n = 1; n <= kTemporaryNames && fd < 0; ++n) {
        name = TemporaryName(folder, n);
        fd = CreateNewFile(name.c_str());
        if (fd < 0 && errno != EEXIST)
            break;
    }
    return fd;
}

// The bytes of the file at path equal content; a read that fails counts as
// a mismatch.
bool ReadsBackAs(const std::string& path, const std::string& content) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::string read(content.size() + 1, '\0');
    const std::size_t got = std::fread(&read[0], 1, read.size(), file);
    std::fclose(file);
    return got == content.size() && read.compare(0, got, content) == 0;
}

bool CanWriteFile(const std::string& path) {
#ifdef _WIN32
    return _access(path.c_str(), 2) == 0;
#else
    return access(path.c_str(), W_OK) == 0;
#endif
}

// Temporary files of saves that were cut off; one another save is still
// writing cannot be removed on Windows, where it is open.
void RemoveLeftovers(const std::string& folder) {
    for (int n = 1; n <= kTemporaryNames; ++n)
        std::remove(TemporaryName(folder, n).c_str());
}

std::optional<SaveStep> failingStep;

// The failure the tests ask for: a folder that refuses new files, or a
// disk that fails.
bool Fails(SaveStep step, bool failed) {
    if (failingStep == step) {
        errno = step == SaveStep::CreateTemporary ? EACCES : EIO;
        return true;
    }
    return failed;
}

} // namespace

void FailSaveStep(std::optional<SaveStep> step) {
    failingStep = step;
}

bool SaveFileSafely(const std::string& path, const std::string& content, std::string& error) {
    const std::string folder = FolderOf(path);
    std::string temporary;
    int fd = CreateTemporaryFile(folder, temporary);
    if (Fails(SaveStep::CreateTemporary, fd < 0)) {
        const int failure = errno;
        if (fd >= 0) {
            CloseFile(fd);
            std::remove(temporary.c_str());
        }
        error = (failure == EACCES || failure == EPERM) && CanWriteFile(path)
                    ? "The folder does not let new files be made in it, so the diary cannot be "
                      "written there in one safe step. Save it in another folder, or ask for "
                      "the right to make files in this one."
                    : std::string("Could not make a new file in its folder (") +
                          std::strerror(failure) + ").";
        return false;
    }

    const char* failedStep = nullptr;
    int failure = 0;
    if (Fails(SaveStep::Write, !WriteAll(fd, content)))
        failedStep = "write the new file";
    else if (Fails(SaveStep::Flush, FlushToDisk(fd) != 0))
        failedStep = "write the new file to the disk";
    if (failedStep)
        failure = errno;
    if (Fails(SaveStep::Close, CloseFile(fd) != 0) && !failedStep) {
        failedStep = "finish the new file";
        failure = errno;
    }
    if (!failedStep && Fails(SaveStep::ReadBack, !ReadsBackAs(temporary, content))) {
        failedStep = "read the new file back as it was written";
        failure = EIO;
    }
    std::string reason = failedStep ? std::strerror(failure) : "";
    if (!failedStep &&
        (Fails(SaveStep::Replace, false) || !MoveFileOver(temporary, path, reason))) {
        failedStep = "put the new file in the place of the old one";
        if (reason.empty())
            reason = std::strerror(EIO);
    }
    if (!failedStep) {
        RemoveLeftovers(folder);
        return true;
    }
    std::remove(temporary.c_str());
    error = std::string("Could not ") + failedStep + " (" + reason + ").";
    return false;
}
