#include "storage/SafeSave.h"

#include "storage/FileTime.h"
#include "storage/SaveFaults.h"

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

bool CanWriteFile(const std::string& path) {
#ifdef _WIN32
    return _access(path.c_str(), 2) == 0;
#else
    return access(path.c_str(), W_OK) == 0;
#endif
}

// The old file's name while the new one takes its place.
std::string BackupName(const std::string& temporary) {
    return temporary.substr(0, temporary.size() - 3) + "bak";
}

// Temporary files and backups of saves that were cut off; one another save
// is still writing cannot be removed on Windows, where it is open.
void RemoveLeftovers(const std::string& folder) {
    for (int n = 1; n <= kTemporaryNames; ++n) {
        const std::string temporary = TemporaryName(folder, n);
        std::remove(temporary.c_str());
        std::remove(BackupName(temporary).c_str());
    }
}

// The failure the tests ask for: a folder that refuses new files, or a
// disk that fails.
bool Fails(SaveStep step, bool failed) {
    if (SaveStepFails(step)) {
        errno = step == SaveStep::CreateTemporary ? EACCES : EIO;
        return true;
    }
    return failed;
}

} // namespace

bool ReadsBackAs(const std::string& path, const std::string& content) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::string read(content.size() + 1, '\0');
    const std::size_t got = std::fread(&read[0], 1, read.size(), file);
    std::fclose(file);
    return got == content.size() && read.compare(0, got, content) == 0;
}

bool SaveFileSafely(const std::string& path, const std::string& content, std::string& error) {
    SaveReport report;
    const bool saved = SaveFileSafely(path, content, report);
    error = report.error;
    return saved;
}

bool SaveFileSafely(const std::string& path, const std::string& content, SaveReport& report,
                    const PlacementCalls& calls) {
    std::string& error = report.error;
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
    if (failedStep) {
        std::remove(temporary.c_str());
        error = std::string("Could not ") + failedStep + " (" + std::strerror(failure) + ").";
        return false;
    }

    std::string reason;
    const std::string backup = BackupName(temporary);
    const Placement placement = Fails(SaveStep::Replace, false)
                                    ? Placement::OldFileKept
                                    : PlaceNewFile(temporary, path, backup, calls, reason);
    // A failure reported where the new file did arrive is a success.
    if (placement == Placement::Placed ||
        (placement == Placement::NewFileKept && ReadsBackAs(path, content))) {
        RemoveLeftovers(folder);
        return true;
    }
    if (reason.empty())
        reason = std::strerror(EIO);
    error = "Could not put the new file in the place of the old one (" + reason + ").";
    if (placement == Placement::OldFileKept) {
        std::remove(temporary.c_str());
        return false;
    }
    // Neither is at the path: the temporary file is the only whole copy of
    // what was saved.
    report.oldFileInPlace = false;
    error += "\n\nWhat you saved is kept in\n" + temporary;
    if (FileExists(backup))
        error += "\nand the diary as it was in\n" + backup;
    error += '.';
    return false;
}
