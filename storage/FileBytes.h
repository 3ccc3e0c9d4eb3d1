#pragma once

#include <string>

enum class LoadOutcome {
    Loaded,     // everything was read
    NotFound,   // no such file (moved, deleted, or on a drive that is not there)
    Unreadable, // the file exists but could not be read
    OutOfMemory // the file is too large for the memory there is
};

// The whole file, read in binary mode; `bytes` is set only when Loaded.
LoadOutcome ReadFileBytes(const std::string& path, std::string& bytes);
