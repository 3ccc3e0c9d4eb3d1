#include "storage/SafeSave.h"
#include "tests/storage/TempFolder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

using Names = std::vector<std::string>;
using SafeSave = TempFolderTest;

// Bytes that a text-mode write or read would change: CR LF, a lone LF,
// Ctrl+Z, NUL and high bytes.
const std::string kTrickyBytes("a\r\nb\nc\x1a\0d\xff\x82\xa0", 13);

TEST_F(SafeSave, CreatesTheFileWithExactlyTheBytes) {
    std::string error;
    ASSERT_TRUE(SaveFileSafely(PathOf("diary.csv"), kTrickyBytes, error)) << error;
    EXPECT_EQ(ReadBytes(PathOf("diary.csv")), kTrickyBytes);
    EXPECT_EQ(NamesInFolder(), Names{"diary.csv"});
}

TEST_F(SafeSave, ReplacesTheOldContentWholly) {
    WriteBytes(PathOf("diary.csv"), std::string(10000, 'o'));
    for (const std::string& content : {std::string("shorter"), std::string(), kTrickyBytes}) {
        std::string error;
        ASSERT_TRUE(SaveFileSafely(PathOf("diary.csv"), content, error)) << error;
        EXPECT_EQ(ReadBytes(PathOf("diary.csv")), content);
        EXPECT_EQ(NamesInFolder(), Names{"diary.csv"}) << "no temporary file left behind";
    }
}

TEST_F(SafeSave, WorksWithLongPathsWithSpaces) {
    std::filesystem::path deep = folder;
    for (int level = 0; level < 6; ++level)
        deep /= "a folder with spaces " + std::to_string(level);
    std::filesystem::create_directories(deep);
    const std::string path = (deep / "my diary for the year.csv").string();
    ASSERT_GT(path.size(), 180u);

    std::string error;
    ASSERT_TRUE(SaveFileSafely(path, "first", error)) << error;
    ASSERT_TRUE(SaveFileSafely(path, "second", error)) << error;
    EXPECT_EQ(ReadBytes(path), "second");
    EXPECT_EQ(NamesIn(deep), Names{"my diary for the year.csv"});
}

TEST_F(SafeSave, WorksWithARelativeName) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    std::string error;
    const bool saved = SaveFileSafely("diary.csv", "relative", error);
    std::filesystem::current_path(before);
    ASSERT_TRUE(saved) << error;
    EXPECT_EQ(ReadBytes(PathOf("diary.csv")), "relative");
    EXPECT_EQ(NamesInFolder(), Names{"diary.csv"});
}

TEST_F(SafeSave, MissingFolderFailsWithoutTrace) {
    WriteBytes(PathOf("a file"), "not a folder");
    for (const std::string& path : {PathOf("no folder/diary.csv"), PathOf("a file/diary.csv")}) {
        std::string error;
        EXPECT_FALSE(SaveFileSafely(path, "content", error)) << path;
        EXPECT_NE(error, "") << path;
    }
    EXPECT_EQ(NamesInFolder(), Names{"a file"});
    EXPECT_EQ(ReadBytes(PathOf("a file")), "not a folder");
}

TEST_F(SafeSave, TargetThatIsAFolderIsLeftAlone) {
    std::filesystem::create_directory(folder / "diary.csv");
    WriteBytes(PathOf("diary.csv/inside.txt"), "kept");
    std::string error;
    EXPECT_FALSE(SaveFileSafely(PathOf("diary.csv"), "content", error));
    EXPECT_NE(error, "");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "diary.csv"));
    EXPECT_EQ(ReadBytes(PathOf("diary.csv/inside.txt")), "kept");
    EXPECT_EQ(NamesInFolder(), Names{"diary.csv"}) << "the temporary file is removed";
}

// A crash can leave temporary files; they are neither overwritten nor removed,
// and when no temporary name is left the save fails cleanly.
TEST_F(SafeSave, NeverTouchesFilesItDidNotCreate) {
    WriteBytes(PathOf("diary.csv"), "old");
    WriteBytes(PathOf("~orvik1.tmp"), "left from a crash");
    std::string error;
    ASSERT_TRUE(SaveFileSafely(PathOf("diary.csv"), "new", error)) << error;
    EXPECT_EQ(ReadBytes(PathOf("~orvik1.tmp")), "left from a crash");
    EXPECT_EQ(NamesInFolder(), (Names{"diary.csv", "~orvik1.tmp"}));

    for (int n = 2; n <= 100; ++n)
        WriteBytes(PathOf("~orvik" + std::to_string(n) + ".tmp"), "taken");
    EXPECT_FALSE(SaveFileSafely(PathOf("diary.csv"), "newer", error));
    EXPECT_NE(error, "");
    EXPECT_EQ(ReadBytes(PathOf("diary.csv")), "new");
    EXPECT_EQ(ReadBytes(PathOf("~orvik1.tmp")), "left from a crash");
    EXPECT_EQ(NamesInFolder().size(), 101u);
}

#ifndef _WIN32
// A disk that fills up half-way: the file-size limit makes the write fail.
TEST_F(SafeSave, FailedWriteKeepsTheOldFile) {
    WriteBytes(PathOf("diary.csv"), "old content");
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 4096;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool saved = SaveFileSafely(PathOf("diary.csv"), std::string(100000, 'x'), error);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_NE(error.find("write"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(PathOf("diary.csv")), "old content");
    EXPECT_EQ(NamesInFolder(), Names{"diary.csv"});
}
#endif

} // namespace
