#pragma once

#include "tests/support/FileHelpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

// A fresh, empty folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempFolder {
  public:
    TempFolder() : path(UniquePath()) { std::filesystem::create_directories(path); }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The path of a name in the folder, in the platform's own form.
    std::string PathOf(const std::string& name) const { return (path / name).string(); }
    std::vector<std::string> Names() const { return NamesIn(path); }

    const std::filesystem::path path;

  private:
    // Test programs run side by side: the clock and a count keep them apart.
    static std::filesystem::path UniquePath() {
        static std::atomic<int> made{0};
        const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
        return std::filesystem::temp_directory_path() /
               ("orvik test " + std::to_string(tick) + "-" + std::to_string(++made));
    }
};

// A test with a fresh temporary folder of its own.
class TempFolderTest : public testing::Test {
  protected:
    std::string PathOf(const std::string& name) const { return temp.PathOf(name); }
    std::vector<std::string> NamesInFolder() const { return temp.Names(); }
    static std::string ReadBytes(const std::string& path) { return ReadWholeFile(path); }
    static void WriteBytes(const std::string& path, const std::string& bytes) {
        WriteWholeFile(path, bytes);
    }

    TempFolder temp;
    const std::filesystem::path& folder = temp.path;
};
