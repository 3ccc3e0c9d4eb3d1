#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Binary, so that a test sees the bytes that are on the disk.
inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

inline void WriteWholeFile(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary);
    if (!(file << content))
        ADD_FAILURE() << "cannot write " << path;
}

// The names in a folder, sorted.
inline std::vector<std::string> NamesIn(const std::filesystem::path& where) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(where))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
