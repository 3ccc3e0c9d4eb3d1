#include "storage/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// What is left to read when it can be told, else 0.
std::size_t BytesLeft(std::FILE* file) {
    const long at = std::ftell(file);
    if (at < 0 || std::fseek(file, 0, SEEK_END) != 0)
        return 0;
    const long end = std::ftell(file);
    std::fseek(file, at, SEEK_SET);
    return end > at ? static_cast<std::size_t>(end - at) : 0;
}

// False on a read error; the whole file otherwise. After the first block,
// room for the rest at once: a big diary is neither copied while it grows
// nor held twice. One byte more sees the end, and a file that grows
// meanwhile still comes whole.
bool ReadWholeFile(std::FILE* file, std::string& bytes) {
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.empty() ? 1 << 16
                                       : used + std::max(bytes.size(), BytesLeft(file) + 1));
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
