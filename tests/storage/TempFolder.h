#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// A fresh, empty folder under the system's temporary folder for each test,
// removed with everything in it afterwards.
class TempFolderTest : public testing::Test {
  protected:
    void SetUp() override {
        const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
        folder =
            std::filesystem::temp_directory_path() / ("orvik storage test " + std::to_string(tick));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // The path of a name in the folder, in the platform's own form.
    std::string PathOf(const std::string& name) const { return (folder / name).string(); }

    std::vector<std::string> NamesInFolder() const { return NamesIn(folder); }

    static std::vector<std::string> NamesIn(const std::filesystem::path& where) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(where))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Binary, so that the test sees the bytes that are on the disk.
    static std::string ReadBytes(const std::string& path) {
        std::string bytes;
        if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
            char chunk[4096];
            std::size_t got;
            while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
                bytes.append(chunk, got);
            std::fclose(file);
        }
        return bytes;
    }
    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr) << path;
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }

    std::filesystem::path folder;
};
