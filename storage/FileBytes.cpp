#include "storage/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// False on a read error; the whole file otherwise.
bool ReadWholeFile(std::FILE* file, std::string& bytes) {
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.empty() ? 1 << 16 : 2 * bytes.size());
        const std::size_t got = std::fread(&bytes[used], 1, bytes.size() - used, file);
        used += got;
        if (got == 0)
            break;
    }
    bytes.resize(used);
    return !std::ferror(file);
}

} // namespace

LoadOutcome ReadFileBytes(const std::string& path, std::string& bytes) {
    const UniqueFile file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return errno == ENOENT || errno == ENOTDIR ? LoadOutcome::NotFound
                                                   : LoadOutcome::Unreadable;
    try {
        std::string read;
        if (!ReadWholeFile(file.get(), read))
            return LoadOutcome::Unreadable;
        bytes.swap(read);
        return LoadOutcome::Loaded;
    } catch (const std::bad_alloc&) {
        return LoadOutcome::OutOfMemory;
    }
}
