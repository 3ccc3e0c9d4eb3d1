#include "storage/SafeSave.h"
#include "storage/SaveFaults.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <thread>
#else
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

// A crash can leave temporary files: the next save takes another name and,
// once it succeeded, removes them; when no temporary name is left the save
// fails cleanly.
TEST_F(SafeSave, RemovesWhatCutOffSavesLeftAndFailsCleanlyWithoutNames) {
    WriteBytes(PathOf("diary.csv"), "old");
    WriteBytes(PathOf("~orvik1.tmp"), "left from a crash");
    WriteBytes(PathOf("notes.tmp"), "not ours");
    std::string error;
    ASSERT_TRUE(SaveFileSafely(PathOf("diary.csv"), "new", error)) << error;
    EXPECT_EQ(NamesInFolder(), (Names{"diary.csv", "notes.tmp"}));

    for (int n = 1; n <= 100; ++n)
        WriteBytes(PathOf("~orvik" + std::to_string(n) + ".tmp"), "taken");
    EXPECT_FALSE(SaveFileSafely(PathOf("diary.csv"), "newer", error));
    EXPECT_NE(error, "");
    EXPECT_EQ(ReadBytes(PathOf("diary.csv")), "new");
    EXPECT_EQ(NamesInFolder().size(), 102u);
}

// Every step failing in turn: the old file stays whole, nothing is left
// behind and the error says which step failed.
TEST_F(SafeSave, AFailingStepKeepsTheOldFileWhole) {
    const struct {
        SaveStep step;
        const char* said;
    } cases[] = {
        {SaveStep::CreateTemporary, "folder does not let new files be made"},
        {SaveStep::Write, "write the new file"},
        {SaveStep::Flush, "to the disk"},
        {SaveStep::Close, "finish the new file"},
        {SaveStep::ReadBack, "read the new file back"},
        {SaveStep::Replace, "in the place of the old one"},
    };
    WriteBytes(PathOf("diary.csv"), "old content");
    for (const auto& c : cases) {
        FailSaveStep(c.step);
        std::string error;
        const bool saved = SaveFileSafely(PathOf("diary.csv"), "new content", error);
        FailSaveStep(std::nullopt);
        EXPECT_FALSE(saved) << c.said;
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
        EXPECT_EQ(ReadBytes(PathOf("diary.csv")), "old content") << c.said;
        EXPECT_EQ(NamesInFolder(), Names{"diary.csv"}) << c.said;
    }
    std::string error;
    EXPECT_TRUE(SaveFileSafely(PathOf("diary.csv"), "new content", error)) << error;
    EXPECT_EQ(ReadBytes(PathOf("diary.csv")), "new content");
}

#ifdef _WIN32
// The replace keeps what the file was given besides its bytes.
TEST_F(SafeSave, KeepsTheAttributesOfTheFileItReplaces) {
    const std::string path = PathOf("diary.csv");
    WriteBytes(path, "old");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    std::string error;
    ASSERT_TRUE(SaveFileSafely(path, "new", error)) << error;
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

// ReplaceFile failing on every call, leaving the files as Windows documents
// for each code (with a backup name given, 1176 leaves both as they are; the
// row for it shows the outcome documented without one).
unsigned long BothUnchanged(const std::string&, const std::string&, const std::string&) {
    return ERROR_UNABLE_TO_REMOVE_REPLACED;
}
unsigned long HeldByAnother(const std::string&, const std::string&, const std::string&) {
    return ERROR_SHARING_VIOLATION;
}
unsigned long TargetGone(const std::string& target, const std::string&, const std::string&) {
    DeleteFileA(target.c_str());
    return ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}
unsigned long OldUnderBackup(const std::string& target, const std::string&,
                             const std::string& backup) {
    MoveFileA(target.c_str(), backup.c_str());
    return ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}
// Renames that fail for the new file, or for every file.
unsigned long NewFileHeld(const std::string& from, const std::string& to) {
    if (from.substr(from.size() - 4) == ".tmp")
        return ERROR_SHARING_VIOLATION;
    return MoveFileA(from.c_str(), to.c_str()) ? 0 : GetLastError();
}
unsigned long EveryFileHeld(const std::string&, const std::string&) {
    return ERROR_SHARING_VIOLATION;
}

// After any failure the diary file holds the old bytes or the new ones,
// whole; a temporary file stays only where neither could be put there.
TEST_F(SafeSave, AFailedReplaceNeverLosesTheOnlyNewCopy) {
    const struct {
        const char* name;
        PlacementCalls calls;
        bool saved;
        const char* target; // nullptr: no file there
        Names left;
    } cases[] = {
        {"1175", {BothUnchanged, nullptr}, false, "old", {"diary.csv"}},
        {"sharing violation", {HeldByAnother, nullptr}, false, "old", {"diary.csv"}},
        {"1176", {TargetGone, nullptr}, true, "new", {"diary.csv"}},
        {"1177", {OldUnderBackup, nullptr}, true, "new", {"diary.csv"}},
        {"1177, new file held", {OldUnderBackup, NewFileHeld}, false, "old", {"diary.csv"}},
        {"1176, every file held", {TargetGone, EveryFileHeld}, false, nullptr, {"~orvik1.tmp"}},
        {"1177, every file held",
         {OldUnderBackup, EveryFileHeld},
         false,
         nullptr,
         {"~orvik1.bak", "~orvik1.tmp"}},
    };
    for (const auto& c : cases) {
        for (const std::string& name : NamesInFolder())
            std::filesystem::remove(folder / name);
        WriteBytes(PathOf("diary.csv"), "old");
        SaveReport report;
        EXPECT_EQ(SaveFileSafely(PathOf("diary.csv"), "new", report, c.calls), c.saved) << c.name;
        EXPECT_EQ(NamesInFolder(), c.left) << c.name;
        EXPECT_EQ(report.oldFileInPlace, c.target != nullptr) << c.name;
        if (c.target) {
            EXPECT_EQ(ReadBytes(PathOf("diary.csv")), c.target) << c.name;
        } else {
            EXPECT_EQ(ReadBytes(PathOf("~orvik1.tmp")), "new") << c.name;
            EXPECT_NE(report.error.find(PathOf("~orvik1.tmp")), std::string::npos) << report.error;
        }
    }
}

// Another program holds the file for a moment: the save waits for it.
TEST_F(SafeSave, WaitsForAFileHeldForAMoment) {
    const std::string path = PathOf("diary.csv");
    WriteBytes(path, "old");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held] {
        Sleep(300);
        CloseHandle(held);
    });
    std::string error;
    const bool saved = SaveFileSafely(path, "new", error);
    release.join();
    EXPECT_TRUE(saved) << error;
    EXPECT_EQ(ReadBytes(path), "new");
}
#endif

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
