#include "storage/Document.h"
#include "storage/MergeReport.h"
#include "storage/RecoveryFile.h"
#include "storage/SafeSave.h"
#include "storage/SaveFaults.h"
#include "tests/support/DateHelpers.h"
#include "tests/support/FailingAllocation.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>

namespace {

const char kDiary[] = "\"3/12/2026\";\"Dentist\"\r\n\"3/13/2026\";\"Lunch\"\r\n";

// Everything a caller can see of a document.
struct Seen {
    std::string name;
    bool modified;
    std::int64_t fileTime;
    std::string entries;
    bool operator==(const Seen& other) const {
        return name == other.name && modified == other.modified && fileTime == other.fileTime &&
               entries == other.entries;
    }
};

Seen SeenOf(const Document& document) {
    return {document.Name(), document.IsModified(), document.FileTime(),
            FormatCalendar(document.Store())};
}

class DocumentTest : public TempFolderTest {
  protected:
    // A diary loaded from disk with an edit that is not saved.
    void LoadAndEdit() {
        WriteBytes(PathOf("diary.csv"), kDiary);
        ASSERT_EQ(document.Load(PathOf("diary.csv")), LoadOutcome::Loaded);
        document.SetDayText(Ymd(2026, 3, 14), "unsaved");
    }
    void SetFileTime(const std::string& path, std::chrono::seconds fromNow) {
        std::filesystem::last_write_time(path,
                                         std::filesystem::file_time_type::clock::now() + fromNow);
    }
    void ChangeElsewhere(const std::string& bytes, int secondsLater = 100);
    // The names of the copies kept of the diary, oldest first.
    std::vector<std::string> CopiesOf(const std::string& path) {
        const std::string copies = document.BackupCopies().FolderFor(path);
        return std::filesystem::exists(copies) ? NamesIn(copies) : std::vector<std::string>{};
    }
    Document document{Windows1252ToUtf8};
};

TEST_F(DocumentTest, LoadMakesItWhatIsOnDisk) {
    LoadAndEdit();
    WriteBytes(PathOf("other.csv"), "\"1/2/2026\";\"other\"\r\n");
    ASSERT_EQ(document.Load(PathOf("other.csv")), LoadOutcome::Loaded);
    EXPECT_EQ(SeenOf(document).entries, "\"1/2/2026\";\"other\"\r\n");
    EXPECT_EQ(document.Name(), PathOf("other.csv"));
    EXPECT_FALSE(document.IsModified());
    EXPECT_GT(document.FileTime(), 0);
    EXPECT_FALSE(document.ChangedOnDisk());
}

TEST_F(DocumentTest, AFileReadApartBecomesItOnlyWhenAdopted) {
    LoadAndEdit();
    const Seen before = SeenOf(document);
    WriteBytes(PathOf("other.csv"), "\"1/2/2026\";\"other\"\r\n");
    DiaryFile read = ReadDiaryFile(PathOf("other.csv"), Windows1252ToUtf8);
    EXPECT_TRUE(SeenOf(document) == before) << "reading touches no document";
    // Written again between the read and the adoption: an outside change.
    WriteBytes(PathOf("other.csv"), "\"1/2/2026\";\"written later\"\r\n");
    SetFileTime(PathOf("other.csv"), std::chrono::seconds(100));
    ASSERT_EQ(document.Adopt(std::move(read)), LoadOutcome::Loaded);
    EXPECT_EQ(SeenOf(document).entries, "\"1/2/2026\";\"other\"\r\n");
    EXPECT_EQ(document.Name(), PathOf("other.csv"));
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(document.ChangedOnDisk());
}

TEST_F(DocumentTest, LegacyFileIsSavedAsUtf8) {
    WriteBytes(PathOf("old.csv"), "\"3/12/2026\";\"Gr\xfc\xdf Gott\"\r\n");
    ASSERT_EQ(document.Load(PathOf("old.csv")), LoadOutcome::Loaded);
    EXPECT_FALSE(document.IsModified()) << "converting is no edit";
    ASSERT_TRUE(document.Save().saved);
    EXPECT_EQ(ReadBytes(PathOf("old.csv")), "\"3/12/2026\";\"Grüß Gott\"\r\n");
}

TEST_F(DocumentTest, FailedLoadsAndSavesLeaveItAsItWas) {
    const struct {
        const char* what;
        std::function<bool()> attempt; // true when it reported the failure
    } cases[] = {
        {"load of a missing file",
         [this] { return document.Load(PathOf("gone.csv")) == LoadOutcome::NotFound; }},
        {"load from a missing drive or folder",
         [this] { return document.Load(PathOf("gone/diary.csv")) == LoadOutcome::NotFound; }},
        {"load of a folder",
         [this] {
             std::filesystem::create_directory(folder / "folder.csv");
             return document.Load(PathOf("folder.csv")) == LoadOutcome::Unreadable;
         }},
        {"load of a file too large for memory",
         [this] {
             WriteBytes(PathOf("huge.csv"), std::string(1 << 20, 'x'));
             FailLargeAllocations outOfMemory(1 << 19);
             return document.Load(PathOf("huge.csv")) == LoadOutcome::OutOfMemory;
         }},
        {"save into a folder that is gone",
         [this] {
             std::filesystem::remove(PathOf("diary.csv"));
             std::filesystem::create_directory(folder / "diary.csv");
             return !document.Save().saved;
         }},
        {"save as into a missing folder",
         [this] {
             const Document::SaveResult result = document.SaveAs(PathOf("gone/new.csv"));
             return !result.saved && !result.error.empty();
         }},
        {"save without memory",
         [this] {
             // Room for a short message, none for the file's bytes.
             FailLargeAllocations outOfMemory(FormatCalendar(document.Store()).size());
             return !document.Save().saved;
         }},
    };
    for (const auto& c : cases) {
        LoadAndEdit();
        const Seen before = SeenOf(document);
        EXPECT_TRUE(c.attempt()) << c.what;
        EXPECT_TRUE(SeenOf(document) == before) << c.what;
        std::filesystem::remove_all(folder / "diary.csv");
    }
}

TEST_F(DocumentTest, SaveAsNamesItAndSavesItWhole) {
    LoadAndEdit();
    const Document::SaveResult result = document.SaveAs(PathOf("new.csv"));
    ASSERT_TRUE(result.saved) << result.error;
    EXPECT_EQ(document.Name(), PathOf("new.csv"));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(ReadBytes(PathOf("new.csv")), std::string(kDiary) + "\"3/14/2026\";\"unsaved\"\r\n");
    EXPECT_EQ(ReadBytes(PathOf("diary.csv")), kDiary) << "the old file is left as it was";
}

TEST_F(DocumentTest, AnExportIsNotASave) {
    LoadAndEdit();
    const Seen before = SeenOf(document);
    MonthExport month;
    month.displayedDate = Ymd(2026, 3, 1);
    ASSERT_TRUE(document.Export(PathOf("month.xml"), month).saved);
    EXPECT_TRUE(SeenOf(document) == before);
    EXPECT_NE(ReadBytes(PathOf("month.xml")).find("<OrvikCalendar>"), std::string::npos);
}

TEST_F(DocumentTest, CountsAsModifiedOnlyWhenATextChanges) {
    const struct {
        std::string text;
        bool modified;
    } cases[] = {{"Dentist", false}, {"", true}, {"Dentist\r\n", true}};
    for (const auto& c : cases) {
        LoadAndEdit();
        ASSERT_EQ(document.Load(PathOf("diary.csv")), LoadOutcome::Loaded);
        document.SetDayText(Ymd(2026, 3, 12), c.text);
        document.SetDayText(Ymd(2026, 3, 20), ""); // no entry, nothing typed
        EXPECT_EQ(document.IsModified(), c.modified) << testing::PrintToString(c.text);
    }
}

TEST_F(DocumentTest, UntitledHasNoFileWhateverLiesInTheCurrentFolder) {
    WriteBytes("Untitled", kDiary);
    LoadAndEdit();
    document.New();
    EXPECT_EQ(document.Name(), "Untitled");
    EXPECT_FALSE(document.HasFile());
    EXPECT_EQ(document.FileTime(), 0);
    EXPECT_FALSE(document.ChangedOnDisk());
    EXPECT_TRUE(document.IsModified()) << "New leaves the flag as it was";
    std::filesystem::remove("Untitled");
}

// A sync client keeps the other computer's time, which may be earlier.
TEST_F(DocumentTest, ChangedOnDiskMeansAnotherTimeOrSize) {
    LoadAndEdit();
    const auto time = std::filesystem::last_write_time(PathOf("diary.csv"));
    EXPECT_FALSE(document.ChangedOnDisk());
    SetFileTime(PathOf("diary.csv"), std::chrono::seconds(-100));
    EXPECT_TRUE(document.ChangedOnDisk()) << "an older file";
    WriteBytes(PathOf("diary.csv"), std::string(kDiary) + "\"3/1/2026\";\"x\"\r\n");
    std::filesystem::last_write_time(PathOf("diary.csv"), time);
    EXPECT_TRUE(document.ChangedOnDisk()) << "the same time, another size";
    std::filesystem::remove(PathOf("diary.csv"));
    EXPECT_FALSE(document.ChangedOnDisk()) << "a deleted file";
}

// The diary's file rewritten elsewhere, with a later time.
void DocumentTest::ChangeElsewhere(const std::string& bytes, int secondsLater) {
    WriteBytes(PathOf("diary.csv"), bytes);
    SetFileTime(PathOf("diary.csv"), std::chrono::seconds(secondsLater));
}

TEST_F(DocumentTest, AnOutsideChangeIsMergedIntoUnsavedEditsOrReadAgain) {
    using Kind = Document::OutsideChange::Kind;
    const std::string theirs = "\"3/12/2026\";\"Dentist 11:00\"\r\n"
                               "\"3/13/2026\";\"Lunch with Anna\"\r\n";
    const std::string both = "\"3/12/2026\";\"Dentist 10:00\n----- from the other copy -----\n"
                             "Dentist 11:00\"\r\n";
    const std::string unsaved = "\"3/14/2026\";\"unsaved\"\r\n";
    auto recover = [this](std::int64_t fileTime) {
        EventStore recovered = document.Store();
        document.Recover(PathOf("diary.csv"), fileTime, std::move(recovered));
    };
    const struct {
        const char* what;
        std::function<void()> prepare; // after the load of kDiary
        std::string disk;
        Kind kind;
        std::string entries; // "" when the document must stay as it was
        int fromOtherCopy;
        std::vector<Date> conflicts;
    } cases[] = {
        {"nothing unsaved: read again", [] {}, theirs, Kind::Reloaded, theirs, 0, {}},
        {"unsaved: merged day by day",
         [this] {
             document.SetDayText(Ymd(2026, 3, 14), "unsaved");
             document.SetDayText(Ymd(2026, 3, 12), "Dentist 10:00");
         },
         theirs,
         Kind::Merged,
         both + "\"3/13/2026\";\"Lunch with Anna\"\r\n" + unsaved,
         1,
         {Ymd(2026, 3, 12)}},
        {"saved since the load: the save is the base",
         [this] {
             document.SetDayText(Ymd(2026, 3, 14), "unsaved");
             ASSERT_TRUE(document.Save().saved);
             document.SetDayText(Ymd(2026, 3, 14), "unsaved, more");
         },
         theirs + unsaved,
         Kind::Merged,
         theirs + "\"3/14/2026\";\"unsaved, more\"\r\n",
         2,
         {}},
        {"recovered from the file as it still is",
         [&] {
             document.SetDayText(Ymd(2026, 3, 14), "unsaved");
             recover(document.FileTime());
         },
         theirs,
         Kind::Merged,
         theirs + unsaved,
         2,
         {}},
        {"recovered from a file changed since: no base",
         [&] {
             document.SetDayText(Ymd(2026, 3, 14), "unsaved");
             recover(document.FileTime() - 1);
         },
         theirs,
         Kind::NotMerged,
         "",
         0,
         {}},
        {"a record the reader cannot use",
         [this] { document.SetDayText(Ymd(2026, 3, 14), "unsaved"); },
         theirs + "3/15/2026;unquoted\r\n",
         Kind::NotMerged,
         "",
         0,
         {}},
        {"not a calendar file",
         [this] { document.SetDayText(Ymd(2026, 3, 14), "unsaved"); },
         "<?xml version=\"1.0\"?>\r\n<OrvikCalendar/>\r\n",
         Kind::NotMerged,
         "",
         0,
         {}},
        {"nothing unsaved, cut inside a text",
         [] {},
         std::string(kDiary) + "\"3/20/2026\";\"cut her",
         Kind::NotMerged,
         "",
         0,
         {}},
        {"cut after a record, its line break missing",
         [this] { document.SetDayText(Ymd(2026, 3, 14), "unsaved"); },
         "\"3/12/2026\";\"Dentist\"",
         Kind::NotMerged,
         "",
         0,
         {}},
        {"an empty file, as one caught half-written",
         [this] { document.SetDayText(Ymd(2026, 3, 14), "unsaved"); },
         "",
         Kind::NotMerged,
         "",
         0,
         {}},
    };
    for (const auto& c : cases) {
        WriteBytes(PathOf("diary.csv"), kDiary);
        ASSERT_EQ(document.Load(PathOf("diary.csv")), LoadOutcome::Loaded);
        c.prepare();
        const Seen before = SeenOf(document);
        ChangeElsewhere(c.disk);

        const Document::OutsideChange change = document.TakeOutsideChange();
        EXPECT_EQ(change.kind, c.kind) << c.what;
        EXPECT_EQ(change.daysFromOtherCopy, c.fromOtherCopy) << c.what;
        EXPECT_EQ(change.conflictDays, c.conflicts) << c.what;
        if (c.kind == Kind::NotMerged) {
            EXPECT_TRUE(SeenOf(document) == before) << c.what;
            EXPECT_TRUE(document.ChangedOnDisk()) << c.what << ": asked again at the next check";
            continue;
        }
        EXPECT_EQ(FormatCalendar(document.Store()), c.entries) << c.what;
        EXPECT_EQ(document.IsModified(), c.kind == Kind::Merged) << c.what;
        EXPECT_FALSE(document.ChangedOnDisk()) << c.what;
        EXPECT_EQ(document.TakeOutsideChange().kind, Kind::None) << c.what;
    }
}

TEST_F(DocumentTest, AfterAMergeTheFileIsTheBaseAndASaveWritesItAll) {
    LoadAndEdit();
    ChangeElsewhere("\"3/12/2026\";\"Dentist\"\r\n\"3/13/2026\";\"Lunch with Anna\"\r\n");
    ASSERT_EQ(document.TakeOutsideChange().kind, Document::OutsideChange::Kind::Merged);
    // A second change there, against the first: only the new day comes in.
    ChangeElsewhere("\"3/12/2026\";\"Dentist\"\r\n\"3/13/2026\";\"Lunch with Anna\"\r\n"
                    "\"3/16/2026\";\"Cinema\"\r\n",
                    200);
    const Document::OutsideChange second = document.TakeOutsideChange();
    EXPECT_EQ(second.daysFromOtherCopy, 1);
    EXPECT_TRUE(second.conflictDays.empty());
    ASSERT_TRUE(document.Save().saved);
    EXPECT_EQ(ReadBytes(PathOf("diary.csv")),
              "\"3/12/2026\";\"Dentist\"\r\n\"3/13/2026\";\"Lunch with Anna\"\r\n"
              "\"3/14/2026\";\"unsaved\"\r\n\"3/16/2026\";\"Cinema\"\r\n");
}

TEST_F(DocumentTest, TheOtherCopysBytesAreKeptBeforeTheNextSaveReplacesThem) {
    document.BackupCopies().SetRoot(PathOf("backups"));
    const std::string mergeable = std::string(kDiary) + "\"3/20/2026\";\"there\"\r\n";
    const std::string unusable = std::string(kDiary) + "3/20/2026;there\r\n";
    int minute = 0;
    for (const std::string& other : {mergeable, unusable}) {
        {
            PinnedNow morning(2026, 3, 12, 9, minute++);
            LoadAndEdit();
            ASSERT_TRUE(document.Save().saved);
        }
        ChangeElsewhere(other);
        document.SetDayText(Ymd(2026, 3, 21), "here");
        document.TakeOutsideChange(); // merged, or left for the user to decide
        PinnedNow sameDay(2026, 3, 12, 9, minute++);
        ASSERT_TRUE(document.Save().saved);
        const std::vector<std::string> copies = CopiesOf(PathOf("diary.csv"));
        ASSERT_FALSE(copies.empty());
        EXPECT_EQ(ReadBytes(document.BackupCopies().FolderFor(PathOf("diary.csv")) + copies.back()),
                  other);
    }
}

TEST(MergeReport, NamesAtMostTenDatesAndCountsTheRest) {
    std::vector<Date> days;
    for (int day = 1; day <= 12; ++day)
        days.push_back(Ymd(2026, 3, day));
    const struct {
        std::size_t count;
        int lines;
        const char* last;
    } cases[] = {{1, 1, "Sunday, March 1, 2026"},
                 {10, 10, "Tuesday, March 10, 2026"},
                 {12, 11, "and 2 more"}};
    for (const auto& c : cases) {
        const std::string text =
            ConflictDatesText(std::vector<Date>(days.begin(), days.begin() + c.count));
        std::vector<std::string> lines;
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        ASSERT_EQ(static_cast<int>(lines.size()), c.lines) << c.count;
        EXPECT_EQ(lines.back(), c.last) << c.count;
    }
}

TEST(XmlExtension, NamesAnExportOnlyByItsLastExtension) {
    for (const char* name : {"a.xml", "C:\\b\\A.XML", "x.Xml"})
        EXPECT_TRUE(HasXmlExtension(name)) << name;
    for (const char* name : {"a.xml.csv", "xml", "a.xmlx", "dir.xml\\file", "a.", ""})
        EXPECT_FALSE(HasXmlExtension(name)) << name;
}

TEST_F(DocumentTest, AFailingSaveStepKeepsTheOldFileAndTheChanges) {
    for (const SaveStep step : {SaveStep::CreateTemporary, SaveStep::Write, SaveStep::Flush,
                                SaveStep::Close, SaveStep::ReadBack, SaveStep::Replace}) {
        LoadAndEdit();
        FailSaveStep(step);
        const Document::SaveResult result = document.Save();
        FailSaveStep(std::nullopt);
        EXPECT_FALSE(result.saved) << static_cast<int>(step);
        EXPECT_NE(result.error, "") << static_cast<int>(step);
        EXPECT_EQ(ReadBytes(PathOf("diary.csv")), kDiary) << static_cast<int>(step);
        EXPECT_TRUE(document.IsModified()) << static_cast<int>(step);
    }
    EXPECT_TRUE(document.Save().saved);
    EXPECT_NE(ReadBytes(PathOf("diary.csv")).find("unsaved"), std::string::npos);
}

TEST_F(DocumentTest, CopiesAreKeptAtTheFirstSaveOfASessionAndOfEachDay) {
    document.BackupCopies().SetRoot(PathOf("backups"));
    {
        PinnedNow morning(2026, 3, 12, 9, 15);
        LoadAndEdit();
        ASSERT_TRUE(document.Save().saved);
        document.SetDayText(Ymd(2026, 3, 15), "more");
        ASSERT_TRUE(document.Save().saved);
    }
    {
        PinnedNow nextDay(2026, 3, 13, 8, 0);
        document.SetDayText(Ymd(2026, 3, 16), "and more");
        ASSERT_TRUE(document.Save().saved);
    }
    const std::vector<std::string> copies = CopiesOf(PathOf("diary.csv"));
    ASSERT_EQ(copies, (std::vector<std::string>{"diary.2026-03-12-091500.csv",
                                                "diary.2026-03-13-080000.csv"}));
    const std::string folder = document.BackupCopies().FolderFor(PathOf("diary.csv"));
    EXPECT_EQ(ReadBytes(folder + copies[0]), kDiary) << "the file as it was before the day";
    EXPECT_NE(ReadBytes(folder + copies[1]).find("more"), std::string::npos);

    for (int day = 1; day <= 12; ++day) {
        PinnedNow later(2026, 4, day);
        document.SetDayText(Ymd(2026, 4, day), "day");
        ASSERT_TRUE(document.Save().saved);
    }
    const std::vector<std::string> kept = CopiesOf(PathOf("diary.csv"));
    ASSERT_EQ(kept.size(), static_cast<std::size_t>(Backups::kKept));
    EXPECT_EQ(kept.front(), "diary.2026-04-03-120000.csv");
}

TEST_F(DocumentTest, RecordsTheReaderCannotUseAreCountedAndKeptInTheCopy) {
    const std::string file = "\"3/12/2026\";\"kept\"\r\n"
                             "3/13/2026;unquoted\r\n"
                             "\"\";\"no date\"\r\n"
                             "\"3/14/2026\";\"\"\r\n"; // an empty day: no loss
    WriteBytes(PathOf("diary.csv"), file);
    document.BackupCopies().SetRoot(PathOf("backups"));
    ASSERT_EQ(document.Load(PathOf("diary.csv")), LoadOutcome::Loaded);
    EXPECT_EQ(document.Skipped().count, 2);
    EXPECT_EQ(document.Skipped().first, "3/13/2026;unquoted");
    document.SetDayText(Ymd(2026, 3, 20), "new");
    ASSERT_TRUE(document.Save().saved);
    const std::vector<std::string> copies = CopiesOf(PathOf("diary.csv"));
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadBytes(document.BackupCopies().FolderFor(PathOf("diary.csv")) + copies[0]), file);
}

TEST(RecoveryFile, KeepsTheDiaryAndWhereItBelongs) {
    EventStore store;
    store.Append(Ymd(2026, 3, 12), "11:00 \"Dentist\"\r\nbring card");
    store.Append(Ymd(2026, 3, 13), "x");
    for (const std::string& path : {std::string("C:\\Diaries\\my diary.csv"), std::string()}) {
        const auto read = ParseRecovery(FormatRecovery(path, 1234567890, store));
        ASSERT_TRUE(read.has_value()) << path;
        EXPECT_EQ(read->path, path);
        EXPECT_EQ(read->fileTime, 1234567890);
        EXPECT_EQ(FormatCalendar(read->store), FormatCalendar(store));
    }
    for (const char* bytes :
         {"", "\"3/12/2026\";\"a calendar file\"\r\n", "OrvikCalendar recovery 1\r\ndocument=x"})
        EXPECT_FALSE(ParseRecovery(bytes).has_value()) << bytes;
}

} // namespace
