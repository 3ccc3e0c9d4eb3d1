#include "tests/support/CommonDialogs.h"
#include "tests/support/DateHelpers.h"
#include "tests/support/FailingAllocation.h"
#include "tests/support/TempFolder.h"
#include "tests/window/MainFrameFixture.h"

#include "res/RegistryNames.h"
#include "res/resource.h"
#include "storage/SafeSave.h"
#include "storage/SaveFaults.h"

#include <sys/utime.h>

#include <functional>

namespace {

void SetFileTime(const std::string& path, std::int64_t seconds) {
    _utimbuf times{};
    times.actime = times.modtime = static_cast<time_t>(seconds);
    _utime(path.c_str(), &times);
}

class DocumentCommands : public MainFrameTest {
  protected:
    void SetUp() override { MainFrameTest::SetUp(); }
    std::string File(const char* name) { return temp.PathOf(name); }
    // Writes the file and opens it as the document, as Open does.
    void Open(const char* name, const std::string& bytes) {
        WriteWholeFile(File(name), bytes);
        ASSERT_EQ(Doc().Load(File(name)), LoadOutcome::Loaded);
        View().ShowMonth();
    }
    HWND Cell(int day) { return View().CellForDate(Ymd(2026, 3, day))->window; }
    void Type(int day, const std::string& text) {
        for (char c : text)
            SendMessageA(Cell(day), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
    }
    std::string Title() {
        char title[512] = "";
        GetWindowTextA(frame->window, title, sizeof title);
        return title;
    }
    LRESULT Command(int command) {
        return SendMessageA(frame->window, WM_COMMAND, static_cast<WPARAM>(command), 0);
    }
    std::vector<std::string> RecentMenuItems() {
        HMENU file = GetSubMenu(CommandBar().GetMenu(), 0);
        std::vector<std::string> items;
        for (int command = ID_FILE_MRU_FIRST; command <= ID_FILE_MRU_LAST; ++command) {
            char text[512] = "";
            if (GetMenuStringA(file, static_cast<UINT>(command), text, sizeof text, MF_BYCOMMAND) >
                0)
                items.push_back(text);
        }
        return items;
    }
    PinnedNow today{2026, 3, 12};
    TempFolder temp;
};

TEST_F(DocumentCommands, NewAsksAndEmptiesOnlyOnOk) {
    CreateFrame();
    Open("a.csv", "\"3/12/2026\";\"text\"\r\n");
    DialogAnswerer answerer({DialogAnswerer::Press(IDCANCEL), DialogAnswerer::Press(IDOK)});
    Command(ID_FILE_NEW);
    EXPECT_EQ(Doc().Store().GetCount(), 1);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Confirmation");
    EXPECT_EQ(answerer.Seen()[0].text, "Are you sure? All current data will be erased!");
    Command(ID_FILE_NEW);
    EXPECT_EQ(Doc().Store().GetCount(), 0);
    EXPECT_EQ(GetWindowTextLengthA(Cell(12)), 0);
    EXPECT_EQ(Title(), "OrvikCalendar - Untitled");
}

TEST_F(DocumentCommands, SaveOnUntitledAsksForANameAndCancelReturnsFalse) {
    CreateFrame();
    DialogAnswerer answerer; // cancels
    EXPECT_EQ(Command(ID_FILE_SAVE), FALSE);
    EXPECT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(Doc().Name(), "Untitled");
}

TEST_F(DocumentCommands, SaveAsCsvNamesTheDocumentAndListsIt) {
    CreateFrame();
    Type(12, "dentist");
    DialogAnswerer answerer({ChooseFile(File("new.csv"))});
    EXPECT_EQ(Command(ID_FILE_SAVE_AS), TRUE);
    EXPECT_EQ(ReadWholeFile(File("new.csv")), "\"3/12/2026\";\"dentist\"\r\n");
    EXPECT_EQ(Doc().Name(), File("new.csv"));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Title(), "OrvikCalendar - " + File("new.csv"));
    EXPECT_EQ(RecentMenuItems(), std::vector<std::string>{"&1 " + File("new.csv")});
}

TEST_F(DocumentCommands, SaveAsXmlExportsAndLeavesTheDocumentAlone) {
    CreateFrame();
    Open("a.csv", "");
    Type(12, "dentist");
    DialogAnswerer answerer({ChooseFile(File("month.xml"))});
    EXPECT_EQ(Command(ID_FILE_SAVE_AS), FALSE) << "the diary is not saved";
    EXPECT_NE(ReadWholeFile(File("month.xml")).find("<line>dentist</line>"), std::string::npos);
    EXPECT_EQ(Doc().Name(), File("a.csv"));
    EXPECT_TRUE(Doc().IsModified()) << "an export is not a save";
    EXPECT_TRUE(RecentMenuItems().empty() || RecentMenuItems()[0] == "most recent...");
}

TEST_F(DocumentCommands, RecentFilesAreNumberedNewestFirstWithoutCaseDuplicates) {
    CreateFrame();
    for (const char* name : {"a.csv", "b.csv", "c.csv"})
        WriteWholeFile(File(name), "\"3/1/2026\";\"" + std::string(name) + "\"\r\n");
    for (const char* name : {"a.csv", "b.csv", "c.csv"}) {
        DialogAnswerer answerer({ChooseFile(File(name))});
        Command(ID_FILE_OPEN);
    }
    EXPECT_EQ(Doc().Store().Lookup(Ymd(2026, 3, 1)), "c.csv");
    std::string upper = File("A.CSV");
    {
        DialogAnswerer answerer({ChooseFile(upper)});
        Command(ID_FILE_OPEN);
    }
    EXPECT_EQ(RecentMenuItems(), (std::vector<std::string>{"&1 " + upper, "&2 " + File("c.csv"),
                                                           "&3 " + File("b.csv")}));
    Command(ID_FILE_MRU_FIRST + 2); // b.csv
    EXPECT_EQ(Doc().Store().Lookup(Ymd(2026, 3, 1)), "b.csv");
    EXPECT_EQ(RecentMenuItems()[0], "&1 " + File("b.csv"));
    Command(ID_FILE_MRU_FIRST + 7); // no such entry: a beep, nothing else
    EXPECT_EQ(Doc().Name(), File("b.csv"));
}

TEST_F(DocumentCommands, AFifthFileDropsTheOldestWithAMaximumOfFour) {
    CreateFrame();
    for (const char* name : {"a.csv", "b.csv", "c.csv", "d.csv", "e.csv"}) {
        WriteWholeFile(File(name), "");
        DialogAnswerer answerer({ChooseFile(File(name))});
        Command(ID_FILE_OPEN);
    }
    const auto items = RecentMenuItems();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], "&1 " + File("e.csv"));
    EXPECT_EQ(items[3], "&4 " + File("b.csv"));
}

TEST_F(DocumentCommands, OpenWithUnsavedEditsAsksFirst) {
    CreateFrame();
    WriteWholeFile(File("a.csv"), "\"3/1/2026\";\"from a\"\r\n");
    Type(12, "unsaved");
    {
        DialogAnswerer answerer({ChooseFile(File("a.csv")), DialogAnswerer::Press(IDCANCEL)});
        Command(ID_FILE_OPEN);
        ASSERT_EQ(answerer.Seen().size(), 2u);
        EXPECT_EQ(answerer.Seen()[1].text, "Save changes to: Untitled?");
    }
    EXPECT_EQ(Doc().Name(), "Untitled") << "Cancel keeps the document";
    {
        DialogAnswerer answerer({ChooseFile(File("a.csv")), DialogAnswerer::Press(IDNO)});
        Command(ID_FILE_OPEN);
    }
    EXPECT_EQ(Doc().Name(), File("a.csv"));
    EXPECT_EQ(Doc().Store().Lookup(Ymd(2026, 3, 1)), "from a");
}

TEST_F(DocumentCommands, AnUnreadableFileKeepsTheCurrentDocumentAndItsRecoveryFile) {
    CreateFrame();
    Open("b.csv", "\"3/12/2026\";\"mine\"\r\n");
    Type(13, "unsaved");
    View().CollectCells();
    Recovery().Keep(Doc());
    WriteWholeFile(File("a.csv"), "\"3/1/2026\";\"locked\"\r\n");
    HANDLE held = CreateFileA(File("a.csv").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    // Not saved: the open it was for fails.
    DialogAnswerer answerer(
        {ChooseFile(File("a.csv")), DialogAnswerer::Press(IDNO), DialogAnswerer::Press(IDOK)});
    Command(ID_FILE_OPEN);
    CloseHandle(held);
    ASSERT_EQ(answerer.Seen().size(), 3u);
    EXPECT_NE(answerer.Seen()[2].text.find(File("a.csv")), std::string::npos);
    EXPECT_EQ(Doc().Name(), File("b.csv"));
    EXPECT_EQ(Doc().Store().Lookup(Ymd(2026, 3, 13)), "unsaved");
    EXPECT_NE(ReadWholeFile(Recovery().File()).find("unsaved"), std::string::npos)
        << "the recovery file stays while the changes are open";
}

TEST_F(DocumentCommands, ClosingAModifiedDocument) {
    const struct {
        const char* what;
        std::vector<DialogAnswerer::Action> answers;
        bool closes;
    } cases[] = {
        {"Cancel", {DialogAnswerer::Press(IDCANCEL)}, false},
        {"No", {DialogAnswerer::Press(IDNO)}, true},
        {"Yes, then Save As cancelled",
         {DialogAnswerer::Press(IDYES), DialogAnswerer::Press(IDCANCEL)},
         false},
        {"Yes, then a name", {DialogAnswerer::Press(IDYES), ChooseFile(File("d.csv"))}, true},
    };
    for (const auto& c : cases) {
        HWND window = CreateFrame();
        Type(12, "x");
        DialogAnswerer answerer(c.answers);
        SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(IsWindow(window) == FALSE, c.closes) << c.what;
        EXPECT_EQ(answerer.Seen()[0].text, "Save changes to: Untitled?") << c.what;
        if (IsWindow(window)) {
            DialogAnswerer dropChanges({DialogAnswerer::Press(IDNO)});
            SendMessageA(window, WM_CLOSE, 0, 0);
        }
        PostedExitCode();
    }
    EXPECT_EQ(ReadWholeFile(File("d.csv")), "\"3/12/2026\";\"x\"\r\n");
}

TEST_F(DocumentCommands, AFailedSaveStopsTheClose) {
    HWND window = CreateFrame();
    Open("a.csv", "");
    // Held open without sharing by another program: it cannot be replaced.
    HANDLE held =
        CreateFileA(File("a.csv").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Type(12, "x");
    DialogAnswerer answerer({DialogAnswerer::Press(IDYES), DialogAnswerer::Press(IDOK)});
    SendMessageA(window, WM_CLOSE, 0, 0);
    CloseHandle(held);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(answerer.Seen().size(), 2u);
}

TEST_F(DocumentCommands, MinimizeOnCloseHidesAndExitEnds) {
    HWND window = CreateFrame();
    Settings().MinimizeOnClose = 1;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    Command(ID_APP_EXIT);
    PumpUntilIdle();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(DocumentCommands, TheLastDocumentIsReopenedAtStart) {
    WriteWholeFile(File("c.csv"), "\"3/5/2026\";\"reopened\"\r\n");
    StoreSettingsDWord(ORVIK_VALUE_DOCUMENT_COUNT, 4, ORVIK_RECENT_SUBKEY);
    StoreSettingsText("Document1", File("c.csv"), ORVIK_RECENT_SUBKEY);
    StoreSettingsText("Document2", File("b.csv"), ORVIK_RECENT_SUBKEY);
    CreateFrame();
    EXPECT_EQ(Doc().Name(), File("c.csv"));
    char text[64] = "";
    GetWindowTextA(Cell(5), text, sizeof text);
    EXPECT_STREQ(text, "reopened");
    EXPECT_EQ(Title(), "OrvikCalendar - " + File("c.csv"));
    EXPECT_EQ(RecentMenuItems().size(), 2u);
}

// The document is never lost: each case below once lost or misdirected it.

TEST_F(DocumentCommands, AnExportDoesNotCountAsSavingTheDiary) {
    const struct {
        const char* what;
        bool namedXml;
        std::vector<DialogAnswerer::Action> answers;
    } cases[] = {
        {"Untitled, Save As an XML file from the question",
         false,
         {DialogAnswerer::Press(IDYES), ChooseFile(File("month.xml")),
          DialogAnswerer::Press(IDOK)}},
        {"a document named .xml",
         true,
         {DialogAnswerer::Press(IDYES), DialogAnswerer::Press(IDOK)}},
    };
    for (const auto& c : cases) {
        HWND window = CreateFrame();
        DeleteFileA(File("month.xml").c_str());
        if (c.namedXml)
            Open("month.xml", "\"3/1/2026\";\"kept\"\r\n");
        Type(12, "typed");
        DialogAnswerer answerer(c.answers);
        SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsWindow(window)) << c.what;
        EXPECT_TRUE(Doc().IsModified()) << c.what;
        EXPECT_NE(ReadWholeFile(File("month.xml")).find("<line>typed</line>"), std::string::npos)
            << c.what;
        ASSERT_FALSE(answerer.Seen().empty()) << c.what;
        EXPECT_EQ(answerer.Seen().back().text.rfind("Only the month shown", 0), 0u) << c.what;
        frame.reset();
    }
}

TEST_F(DocumentCommands, SaveAsOntoAnExistingFileWritesTheDiaryThere) {
    CreateFrame();
    WriteWholeFile(File("b.csv"), "\"1/1/2026\";\"other\"\r\n");
    Type(12, "mine");
    // The file dialog asks whether to replace the file; nothing else asks.
    DialogAnswerer answerer({ChooseFile(File("b.csv")), DialogAnswerer::Press(IDYES)});
    EXPECT_EQ(Command(ID_FILE_SAVE_AS), TRUE);
    EXPECT_EQ(ReadWholeFile(File("b.csv")), "\"3/12/2026\";\"mine\"\r\n");
    for (const SeenDialog& seen : answerer.Seen())
        EXPECT_NE(seen.caption, "Alert");
}

// Save As onto the diary's own file, however spelt, is a Save: what another
// computer wrote there is merged first, not overwritten.
TEST_F(DocumentCommands, SaveAsOntoItsOwnFileTakesInTheOtherCopyFirst) {
    const std::string theirs = "\"3/12/2026\";\"base\"\r\n\"3/13/2026\";\"theirs\"\r\n";
    const std::function<std::string()> spellings[] = {
        [this] { return File("OWN.CSV"); },
        [this] {
            char shortName[MAX_PATH] = "";
            GetShortPathNameA(File("own.csv").c_str(), shortName, MAX_PATH);
            return std::string(shortName);
        },
        [this] {
            CreateHardLinkA(File("link.csv").c_str(), File("own.csv").c_str(), nullptr);
            return File("link.csv");
        },
    };
    for (const auto& spelling : spellings) {
        CreateFrame();
        DeleteFileA(File("link.csv").c_str());
        Open("own.csv", "\"3/12/2026\";\"base\"\r\n");
        Type(20, "mine");
        WriteWholeFile(File("own.csv"), theirs);
        SetFileTime(File("own.csv"), Doc().FileTime() + 60);
        const std::string chosen = spelling();
        DialogAnswerer answerer(
            {ChooseFile(chosen), DialogAnswerer::Press(IDYES), DialogAnswerer::Press(IDOK)});
        EXPECT_EQ(Command(ID_FILE_SAVE_AS), FALSE) << chosen;
        CheckChangedFileAgain();
        EXPECT_EQ(ReadWholeFile(File("own.csv")), theirs) << chosen << ": not overwritten";
        EXPECT_EQ(Doc().Store().Lookup(Ymd(2026, 3, 13)), "theirs") << chosen;
        EXPECT_EQ(Doc().Store().Lookup(Ymd(2026, 3, 20)), "mine") << chosen;
        EXPECT_EQ(Doc().Name(), File("own.csv")) << chosen;
        ASSERT_FALSE(answerer.Seen().empty());
        EXPECT_NE(answerer.Seen().back().text.find("merged day by day"), std::string::npos)
            << chosen << ": " << answerer.Seen().back().text;
        frame.reset();
    }
}

TEST_F(DocumentCommands, AFailedSaveAsLeavesTheDocumentAsItWas) {
    CreateFrame();
    Open("a.csv", "\"3/1/2026\";\"a\"\r\n");
    const std::int64_t fileTime = Doc().FileTime();
    WriteWholeFile(File("b.csv"), "");
    SetFileTime(File("b.csv"), 946684800); // 2000: older than a.csv
    HANDLE held =
        CreateFileA(File("b.csv").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Type(12, "unsaved");
    {
        DialogAnswerer answerer(
            {ChooseFile(File("b.csv")), DialogAnswerer::Press(IDYES), DialogAnswerer::Press(IDOK)});
        EXPECT_EQ(Command(ID_FILE_SAVE_AS), FALSE);
    }
    CloseHandle(held);
    EXPECT_EQ(Doc().Name(), File("a.csv"));
    EXPECT_EQ(Doc().FileTime(), fileTime);
    EXPECT_TRUE(Doc().IsModified());
    DialogAnswerer answerer;
    ActivateFromAnotherProgram();
    EXPECT_TRUE(answerer.Seen().empty()) << "a.csv did not change: no reload offered";
}

TEST_F(DocumentCommands, UntitledHasNoFileWhateverLiesInTheCurrentFolder) {
    WriteWholeFile("Untitled", "\"3/12/2026\";\"not mine\"\r\n");
    CreateFrame();
    Type(12, "mine");
    DialogAnswerer answerer;
    ActivateFromAnotherProgram();
    EXPECT_TRUE(answerer.Seen().empty());
    DeleteFileA("Untitled");
}

TEST_F(DocumentCommands, TheChosenRecentFileGoesToTheTopAfterASaveAsFromTheQuestion) {
    CreateFrame();
    for (const char* name : {"b.csv", "a.csv"}) {
        WriteWholeFile(File(name), "");
        RecentFiles().AddToList(File(name));
    }
    Type(12, "x");
    DialogAnswerer answerer({DialogAnswerer::Press(IDYES), ChooseFile(File("new.csv"))});
    Command(ID_FILE_MRU_FIRST + 1); // b.csv
    EXPECT_EQ(Doc().Name(), File("b.csv"));
    EXPECT_EQ(RecentMenuItems(),
              (std::vector<std::string>{"&1 " + File("b.csv"), "&2 " + File("new.csv"),
                                        "&3 " + File("a.csv")}));
}

TEST_F(DocumentCommands, AfterAnOpenOrReloadTheDocumentIsWhatIsOnDisk) {
    const struct {
        const char* what;
        std::function<void()> load;
    } cases[] = {
        {"Open",
         [this] {
             DialogAnswerer answerer({ChooseFile(File("b.csv")), DialogAnswerer::Press(IDNO)});
             Command(ID_FILE_OPEN);
         }},
        {"a recent file",
         [this] {
             RecentFiles().AddToList(File("b.csv"));
             DialogAnswerer answerer({DialogAnswerer::Press(IDNO)});
             Command(ID_FILE_MRU_FIRST);
         }},
        {"a reload of a file that cannot be merged",
         [this] {
             WriteWholeFile(File("a.csv"), "\"3/1/2026\";\"a\"\r\n3/2/2026;unquoted\r\n");
             SetFileTime(File("a.csv"), Doc().FileTime() + 60);
             // The question, then the report of the record left out.
             DialogAnswerer answerer({DialogAnswerer::Press(IDOK), DialogAnswerer::Press(IDOK)});
             ActivateFromAnotherProgram();
         }},
    };
    for (const auto& c : cases) {
        CreateFrame();
        WriteWholeFile(File("b.csv"), "\"3/1/2026\";\"b\"\r\n");
        Open("a.csv", "\"3/1/2026\";\"a\"\r\n");
        Type(12, "unsaved");
        c.load();
        EXPECT_FALSE(Doc().IsModified()) << c.what;
        RunIdle();
        EXPECT_FALSE(frame->UIIsEnabled(ID_FILE_SAVE)) << c.what;
        frame.reset();
    }
}

TEST_F(DocumentCommands, AMissingDiaryIsReportedAndNothingIsOverwritten) {
    const std::string missing = File("gone.csv");
    StoreSettingsDWord(ORVIK_VALUE_DOCUMENT_COUNT, 4, ORVIK_RECENT_SUBKEY);
    StoreSettingsText("Document1", missing, ORVIK_RECENT_SUBKEY);
    {
        DialogAnswerer answerer({DialogAnswerer::Press(IDOK)});
        CreateFrame();
        ASSERT_EQ(answerer.Seen().size(), 1u) << "at start";
        EXPECT_NE(answerer.Seen()[0].text.find(missing), std::string::npos);
    }
    EXPECT_EQ(Title(), "OrvikCalendar - Untitled");
    EXPECT_FALSE(Doc().HasFile());

    Open("a.csv", "\"3/1/2026\";\"a\"\r\n");
    Type(12, "unsaved");
    {
        DialogAnswerer answerer({DialogAnswerer::Press(IDOK)});
        Command(ID_FILE_MRU_FIRST);
        ASSERT_EQ(answerer.Seen().size(), 1u) << "from the menu: no save question first";
        EXPECT_NE(answerer.Seen()[0].text.find(missing), std::string::npos);
    }
    EXPECT_EQ(Doc().Name(), File("a.csv"));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(RecentMenuItems(), std::vector<std::string>{"&1 " + missing});
}

TEST_F(DocumentCommands, RunningOutOfMemoryLosesNothing) {
    CreateFrame();
    Open("a.csv", "\"3/1/2026\";\"a\"\r\n");
    WriteWholeFile(File("big.csv"), std::string(2 << 20, 'x'));
    {
        FailLargeAllocations outOfMemory(1 << 20);
        DialogAnswerer answerer({ChooseFile(File("big.csv")), DialogAnswerer::Press(IDOK)});
        Command(ID_FILE_OPEN);
        ASSERT_EQ(answerer.Seen().size(), 2u);
        EXPECT_NE(answerer.Seen()[1].text.find("too large"), std::string::npos);
    }
    EXPECT_EQ(Doc().Name(), File("a.csv"));
    EXPECT_EQ(Doc().Store().Lookup(Ymd(2026, 3, 1)), "a");

    // Whatever runs out of memory inside a window procedure is reported there.
    static bool reported = false;
    auto* previous = g_reportEscapedException;
    g_reportEscapedException = [](const char*) { reported = true; };
    Type(12, "a text too long to be kept inside the string itself");
    {
        FailLargeAllocations outOfMemory(1);
        PostMessageA(frame->window, WM_COMMAND, ID_PREVIEW, 0);
        PumpUntilIdle();
    }
    g_reportEscapedException = previous;
    EXPECT_TRUE(reported);
    EXPECT_TRUE(IsWindow(frame->window));
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(DocumentCommands, TearingDownALiveFrameLeavesNoHandleBehind) {
    CreateFrame();
    Command(ID_EDIT_FIND);
    HWND find = View().find.Dialog();
    PostMessageA(find, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(find, IDCANCEL)));
    PumpUntilIdle();
    EXPECT_FALSE(IsWindow(find)) << "closed by its own Cancel button";
    EXPECT_EQ(View().find.Dialog(), nullptr);
    Command(ID_EDIT_FIND);
    ASSERT_NE(View().find.Dialog(), nullptr) << "and opens again";
    Command(ID_EDIT_SEARCH_ALL);
    HWND panel = SearchPanel().Shown();
    ASSERT_NE(panel, nullptr);
    SetFocus(Cell(12)); // its day label now belongs to the view
    PumpUntilIdle();
    HWND window = frame->window;
    find = View().find.Dialog();
    frame.reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(find));
    EXPECT_FALSE(IsWindow(panel));
}

TEST_F(DocumentCommands, ADiaryWithRecordsTheReaderCannotUseIsOpenedWithAWarning) {
    CreateFrame();
    WriteWholeFile(File("a.csv"), "\"3/12/2026\";\"kept\"\r\n3/13/2026;unquoted\r\n");
    DialogAnswerer answerer({ChooseFile(File("a.csv")), DialogAnswerer::Press(IDOK)});
    Command(ID_FILE_OPEN);
    ASSERT_EQ(answerer.Seen().size(), 2u);
    EXPECT_NE(answerer.Seen()[1].text.find("3/13/2026;unquoted"), std::string::npos)
        << answerer.Seen()[1].text;
    EXPECT_EQ(Doc().Store().Lookup(Ymd(2026, 3, 12)), "kept");
}

TEST_F(DocumentCommands, AFailingStepLeavesTheLastRecoveryFileWhole) {
    CreateFrame();
    Type(12, "first");
    View().CollectCells();
    Recovery().Keep(Doc());
    const std::string kept = ReadWholeFile(Recovery().File());
    ASSERT_NE(kept.find("first"), std::string::npos);
    Type(12, " and more");
    View().CollectCells();
    for (const SaveStep step : {SaveStep::CreateTemporary, SaveStep::Write, SaveStep::Flush,
                                SaveStep::Close, SaveStep::ReadBack, SaveStep::Replace}) {
        FailSaveStep(step);
        Recovery().Keep(Doc());
        FailSaveStep(std::nullopt);
        EXPECT_EQ(ReadWholeFile(Recovery().File()), kept) << static_cast<int>(step);
    }
    Recovery().Keep(Doc());
    EXPECT_NE(ReadWholeFile(Recovery().File()).find("first and more"), std::string::npos);
}

// Picks a range in the Export Events dialog and presses OK.
DialogAnswerer::Action ChooseRange(int radioButton) {
    return [radioButton](HWND dialog) {
        CheckRadioButton(dialog, IDC_EXPORT_MONTH, IDC_EXPORT_EVERYTHING, radioButton);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
}

// The values of one property of every event in an .ics file, in file order.
std::vector<std::string> IcsValues(const std::string& bytes, const std::string& name) {
    std::vector<std::string> values;
    for (std::size_t at = bytes.find("\r\n" + name + ":"); at != std::string::npos;
         at = bytes.find("\r\n" + name + ":", at + 1)) {
        const std::size_t start = at + 3 + name.size();
        values.push_back(bytes.substr(start, bytes.find("\r\n", start) - start));
    }
    return values;
}

TEST_F(DocumentCommands, ExportEventsWritesTheChosenDaysWithUidsThatStay) {
    CreateFrame();
    Open("a.csv", "\"3/12/2026\";\"09:30 Dentist, Dr. Lee\r\nno time\"\r\n"
                  "\"12/31/2026\";\"23:00 Party\"\r\n\"1/2/2027\";\"8:00 Back\"\r\n");
    Type(20, "7:15 Typed, not yet in the store");
    const struct {
        int range;
        const char* file;
        std::vector<std::string> summaries;
    } cases[] = {
        {IDC_EXPORT_MONTH, "month.ics", {"Dentist\\, Dr. Lee", "Typed\\, not yet in the store"}},
        {IDC_EXPORT_YEAR,
         "year.ics",
         {"Dentist\\, Dr. Lee", "Typed\\, not yet in the store", "Party"}},
        {IDC_EXPORT_EVERYTHING,
         "all.ics",
         {"Dentist\\, Dr. Lee", "Typed\\, not yet in the store", "Party", "Back"}},
    };
    std::vector<std::string> firstUids;
    for (const auto& c : cases) {
        DialogAnswerer answerer(
            {ChooseRange(c.range), ChooseFile(File(c.file)), DialogAnswerer::Press(IDOK)});
        Command(ID_FILE_EXPORT_EVENTS);
        const std::string bytes = ReadWholeFile(File(c.file));
        EXPECT_EQ(IcsValues(bytes, "SUMMARY"), c.summaries);
        ASSERT_EQ(answerer.Seen().size(), 3u);
        EXPECT_EQ(answerer.Seen()[2].text,
                  std::to_string(c.summaries.size()) + " events were written to\n" + File(c.file));
        const std::vector<std::string> uids = IcsValues(bytes, "UID");
        ASSERT_EQ(uids.size(), c.summaries.size());
        if (firstUids.empty())
            firstUids = uids;
        EXPECT_EQ(std::vector<std::string>(uids.begin(), uids.begin() + 2), firstUids)
            << "the same events keep their UIDs";
    }
    StoredValue id;
    ASSERT_TRUE(ReadStoredValue(ORVIK_VALUE_INSTALLATION_ID, id));
    const std::string stored = id.Text().c_str();
    EXPECT_EQ(stored.size(), 32u);
    EXPECT_EQ(stored.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(Doc().Name(), File("a.csv")) << "an export is not a save";

    // Another installation gives other UIDs.
    ResetSettingsKey();
    DialogAnswerer answerer({ChooseRange(IDC_EXPORT_MONTH), ChooseFile(File("other.ics")),
                             DialogAnswerer::Press(IDOK)});
    Command(ID_FILE_EXPORT_EVENTS);
    const std::vector<std::string> otherUids = IcsValues(ReadWholeFile(File("other.ics")), "UID");
    ASSERT_EQ(otherUids.size(), 2u);
    EXPECT_NE(otherUids[0], firstUids[0]);
}

TEST_F(DocumentCommands, ImportEventsAddsSingleEventsAndRefusesBadFilesWhole) {
    CreateFrame();
    Open("a.csv", "\"3/12/2026\";\"09:30 Dentist\"\r\n");
    const std::string head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n";
    const std::string good =
        head +
        "BEGIN:VEVENT\r\nUID:1\r\nDTSTART;VALUE=DATE:20260312\r\nSUMMARY:Holi\r\n "
        "day\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:2\r\nDTSTART:20260312T093000\r\nSUMMARY:Dentist\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:3\r\nDTSTART:20260313T140000\r\nSUMMARY:Call\\, then "
        "write\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:4\r\nDTSTART:20260316T080000\r\nRRULE:FREQ=WEEKLY\r\n"
        "SUMMARY:Standup\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    const struct {
        const char* name;
        std::string bytes;
        std::string told; // the start of the report
    } refused[] = {
        {"junk", "BEGIN:VCALENDAR\r\nthis is no content line\r\n",
         "The file\n" + File("in.ics") + "\ncannot be imported: "},
        {"not UTF-8",
         head + "BEGIN:VEVENT\r\nUID:1\r\nDTSTART:20260313T140000\r\nSUMMARY:caf\xe9\r\nEND:"
                "VEVENT\r\nEND:VCALENDAR\r\n",
         "The file\n" + File("in.ics") + "\ncannot be imported: "},
        {"no start", head + "BEGIN:VEVENT\r\nUID:1\r\nSUMMARY:x\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
         "The file\n" + File("in.ics") + "\ncannot be imported: "},
        {"over 50 MB", good + std::string(50u * 1024 * 1024, ' '),
         "The file\n" + File("in.ics") + "\nis larger than 50 MB"},
    };
    for (const auto& c : refused) {
        WriteWholeFile(File("in.ics"), c.bytes);
        DialogAnswerer answerer({ChooseFile(File("in.ics")), DialogAnswerer::Press(IDOK)});
        Command(ID_FILE_IMPORT_EVENTS);
        ASSERT_EQ(answerer.Seen().size(), 2u) << c.name;
        EXPECT_EQ(answerer.Seen()[1].text.substr(0, c.told.size()), c.told) << c.name;
        EXPECT_NE(answerer.Seen()[1].text.find("Nothing was imported."), std::string::npos)
            << c.name;
        EXPECT_EQ(Doc().Store().GetCount(), 1) << c.name;
        EXPECT_FALSE(Doc().IsModified()) << c.name;
    }

    WriteWholeFile(File("in.ics"), good);
    DialogAnswerer answerer({ChooseFile(File("in.ics")), DialogAnswerer::Press(IDOK)});
    Command(ID_FILE_IMPORT_EVENTS);
    ASSERT_EQ(answerer.Seen().size(), 2u);
    EXPECT_EQ(answerer.Seen()[1].text,
              "2 events were added to the diary.\n1 were already there.\n1 repeating events were "
              "not imported: the diary has no repeating lines.");
    EXPECT_EQ(Doc().Store().Lookup(Ymd(2026, 3, 12)), "09:30 Dentist\r\nHoliday");
    EXPECT_EQ(Doc().Store().Lookup(Ymd(2026, 3, 13)), "14:00 Call, then write");
    char shown[64] = "";
    GetWindowTextA(Cell(13), shown, sizeof shown);
    EXPECT_STREQ(shown, "14:00 Call, then write");
    EXPECT_TRUE(Doc().IsModified()) << "nothing is saved without the user";
    EXPECT_EQ(ReadWholeFile(File("a.csv")), "\"3/12/2026\";\"09:30 Dentist\"\r\n");
}

} // namespace
