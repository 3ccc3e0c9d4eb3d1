#include "tests/support/CommonDialogs.h"
#include "tests/support/DateHelpers.h"
#include "tests/support/TempFolder.h"
#include "tests/window/MainFrameFixture.h"

#include "res/resource.h"
#include "shell/AppFolders.h"
#include "tests/support/ShellOpenRecorder.h"

#include <commctrl.h>

#include <sys/utime.h>

namespace {

// Moves the file's modification time into the future, as a later save by
// another program would.
void TouchLater(const std::string& path, std::int64_t seconds) {
    _utimbuf times{};
    times.actime = times.modtime = static_cast<time_t>(seconds);
    _utime(path.c_str(), &times);
}

class DocumentFile : public MainFrameTest {
  protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        path = temp.PathOf("diary test.csv");
        CreateFrame();
    }
    HWND Cell(int year, int month, int day) {
        return View().CellForDate(Ymd(year, month, day))->window;
    }
    PinnedNow today{2026, 3, 12};
    TempFolder temp;
    std::string path;
};

TEST_F(DocumentFile, SaveWritesTheCellsAndClearsModified) {
    WriteWholeFile(path, "");
    ASSERT_EQ(Doc().Load(path), LoadOutcome::Loaded);
    SetWindowTextA(Cell(2026, 3, 12), "11:00 \"Dentist\"\r\nbring card");
    Doc().MarkModified();
    EXPECT_EQ(SendMessageA(frame->window, WM_COMMAND, ID_FILE_SAVE, 0), TRUE);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(ReadWholeFile(path), "\"3/12/2026\";\"11:00 \"\"Dentist\"\"\nbring card\"\r\n");
}

std::wstring WideText(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

// The cell holds UTF-16 whatever the user types; the file holds UTF-8, and a
// file an older version wrote in Windows-1252 opens converted.
TEST_F(DocumentFile, AnyScriptIsSavedAsUtf8AndLegacyFilesOpenConverted) {
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest asks for UTF-8";
    const struct {
        const char* file; // as found on disk
        const wchar_t* shown;
        const char* saved;
    } cases[] = {
        {"", L"Gr\u00fc\u00dfe, \u0416\u0443\u043a \U0001F600",
         "\"3/12/2026\";\"Gr\u00fc\u00dfe, \u0416\u0443\u043a \U0001F600\"\r\n"},
        {"\"3/12/2026\";\"Gr\xfc\xdf"
         "e \x80\"\r\n",
         L"Gr\u00fc\u00dfe \u20ac", "\"3/12/2026\";\"Gr\u00fc\u00dfe \u20ac\"\r\n"},
    };
    for (const auto& c : cases) {
        WriteWholeFile(path, c.file);
        ASSERT_EQ(Doc().Load(path), LoadOutcome::Loaded);
        View().ShowMonth();
        if (!*c.file)
            SetWindowTextW(Cell(2026, 3, 12), c.shown);
        Doc().MarkModified();
        EXPECT_EQ(SendMessageA(frame->window, WM_COMMAND, ID_FILE_SAVE, 0), TRUE);
        EXPECT_EQ(ReadWholeFile(path), c.saved);
        ASSERT_EQ(Doc().Load(path), LoadOutcome::Loaded);
        View().ShowMonth();
        EXPECT_EQ(WideText(Cell(2026, 3, 12)), c.shown);
    }
}

TEST_F(DocumentFile, FailedSaveKeepsThePreviousFileWholeAndSaysSo) {
    WriteWholeFile(path, "\"1/1/2026\";\"old\"\r\n");
    ASSERT_EQ(Doc().Load(path), LoadOutcome::Loaded);
    // Another program holds the file open without sharing: it cannot be replaced.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetWindowTextA(Cell(2026, 3, 12), "new");
    Doc().MarkModified();
    DialogAnswerer answerer({DialogAnswerer::Press(IDOK)});
    EXPECT_EQ(SendMessageA(frame->window, WM_COMMAND, ID_FILE_SAVE, 0), FALSE);
    CloseHandle(held);
    EXPECT_EQ(ReadWholeFile(path), "\"1/1/2026\";\"old\"\r\n");
    EXPECT_TRUE(Doc().IsModified());
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "OrvikCalendar");
    EXPECT_NE(answerer.Seen()[0].text.find(path), std::string::npos);
    EXPECT_NE(answerer.Seen()[0].text.find("not saved"), std::string::npos);
}

std::string StatusText(HWND statusBar) {
    char text[512] = "";
    SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(DocumentFile, OutsideChangeOnActivationIsMergedReadAgainOrOffered) {
    const std::string theirs = "\"3/12/2026\";\"theirs\"\r\n\"3/13/2026\";\"new there\"\r\n";
    const std::string unusable = "\"3/12/2026\";\"theirs\"\r\n3/13/2026;unquoted\r\n";
    const struct {
        const char* what;
        const char* typed; // into March 12, or nothing
        std::string disk;
        const char* caption; // of the one message box, or none
        const char* named;   // in its text
        const char* shown12;
        const char* shown13;
        bool modified;
        const char* status;     // in the status bar
        std::size_t askedInAll; // after one more activation
    } cases[] = {
        {"nothing typed: read again", nullptr, theirs, nullptr, nullptr, "theirs", "new there",
         false, "read again", 0},
        {"typed: merged", "mine", theirs, "OrvikCalendar", "Thursday, March 12, 2026",
         "mine\r\n----- from the other copy -----\r\ntheirs", "new there", true, "March 12", 1},
        {"typed, a record the reader cannot use: asked, Cancel keeps ours", "mine", unusable,
         "Alert", "reload", "mine", "", true, "March 12", 2},
    };
    HWND ownDialog = CreateWindowExA(0, "STATIC", "own", WS_POPUP, 0, 0, 10, 10, frame->window,
                                     nullptr, nullptr, nullptr);
    HWND otherProgram = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    auto activateFrom = [this](HWND previous) {
        SendMessageA(frame->window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
        PumpUntilIdle();
        CheckChangedFileAgain();
    };
    for (const auto& c : cases) {
        WriteWholeFile(path, "\"3/12/2026\";\"base\"\r\n");
        ASSERT_EQ(Doc().Load(path), LoadOutcome::Loaded);
        View().ShowMonth();
        SetFocus(Cell(2026, 3, 12));
        if (c.typed) {
            SetWindowTextA(Cell(2026, 3, 12), c.typed); // still in the cell
            Doc().MarkModified();
        }
        WriteWholeFile(path, c.disk);
        TouchLater(path, Doc().FileTime() + 60);

        // Cancel a question, close a report.
        DialogAnswerer answerer({DialogAnswerer::Press(IDCANCEL), DialogAnswerer::Press(IDCANCEL)});
        activateFrom(ownDialog);
        EXPECT_EQ(answerer.Seen().size(), 0u) << c.what << ": back from our own window";
        activateFrom(otherProgram);
        ASSERT_EQ(answerer.Seen().size(), c.caption ? 1u : 0u) << c.what;
        if (c.caption) {
            EXPECT_EQ(answerer.Seen()[0].caption, c.caption) << c.what;
            EXPECT_NE(answerer.Seen()[0].text.find(c.named), std::string::npos)
                << c.what << ": " << answerer.Seen()[0].text;
        }
        char text[128] = "";
        GetWindowTextA(Cell(2026, 3, 12), text, sizeof text);
        EXPECT_STREQ(text, c.shown12) << c.what;
        GetWindowTextA(Cell(2026, 3, 13), text, sizeof text);
        EXPECT_STREQ(text, c.shown13) << c.what;
        EXPECT_EQ(Doc().IsModified(), c.modified) << c.what;
        const std::string status = StatusText(StatusBar());
        EXPECT_NE(status.find(c.status), std::string::npos) << c.what << ": " << status;
        activateFrom(otherProgram);
        EXPECT_EQ(answerer.Seen().size(), c.askedInAll) << c.what << ": asked again only when kept";
    }
    // The last case kept ours over the changed file: the next save replaces it.
    EXPECT_EQ(SendMessageA(frame->window, WM_COMMAND, ID_FILE_SAVE, 0), TRUE);
    EXPECT_EQ(ReadWholeFile(path), "\"3/12/2026\";\"mine\"\r\n");
    DestroyWindow(ownDialog);
    DestroyWindow(otherProgram);
}

// A file another program is still writing is taken in only once it stops
// changing, and where it is still cut short then, the user is asked.
TEST_F(DocumentFile, AFileCaughtWhileItIsWrittenIsNotTakenIn) {
    WriteWholeFile(path, "\"3/12/2026\";\"base\"\r\n");
    ASSERT_EQ(Doc().Load(path), LoadOutcome::Loaded);
    View().ShowMonth();
    const std::string whole = "\"3/12/2026\";\"base\"\r\n\"3/13/2026\";\"two lines\nthere\"\r\n";
    DialogAnswerer answerer({DialogAnswerer::Press(IDCANCEL)});
    std::int64_t later = Doc().FileTime();
    for (std::size_t cut : {whole.size() - 10, whole.size() - 2}) {
        WriteWholeFile(path, whole.substr(0, cut)); // inside the quote; no final line break
        TouchLater(path, ++later);
        ActivateFromAnotherProgram();
        EXPECT_EQ(Doc().Store().Lookup(Ymd(2026, 3, 13)), "") << cut;
    }
    ASSERT_EQ(answerer.Seen().size(), 2u) << "asked, as for a file that cannot be merged";
    EXPECT_EQ(answerer.Seen()[0].caption, "Alert");

    // Still growing at every check: not read, not asked.
    WriteWholeFile(path, whole.substr(0, 30));
    TouchLater(path, ++later);
    SendMessageA(frame->window, WM_ACTIVATE, WA_ACTIVE, 0);
    PumpUntilIdle();
    for (int check = 0; check < 3; ++check) {
        WriteWholeFile(path, whole.substr(0, 31 + static_cast<std::size_t>(check)));
        CheckChangedFileAgain();
    }
    WriteWholeFile(path, whole);
    CheckChangedFileAgain();
    EXPECT_EQ(answerer.Seen().size(), 2u);
    CheckChangedFileAgain(); // unchanged since the last check: taken in
    EXPECT_EQ(Doc().Store().Lookup(Ymd(2026, 3, 13)), "two lines\r\nthere");
}

// Runs a command through the frame's loop and gives what it asked the shell
// to open.
std::vector<std::string> Opened(HWND frame, int command) {
    ShellOpenRecorder recorder;
    PostMessageA(frame, WM_COMMAND, static_cast<WPARAM>(command), 0);
    PumpUntilIdle();
    return recorder.Targets();
}

TEST_F(DocumentFile, PreviewShowsTheMonthAsAWebPageFromItsOwnFolder) {
    SetWindowTextA(Cell(2026, 3, 12), "a & b <c>");
    const std::vector<std::string> opened = Opened(frame->window, ID_PREVIEW);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], UserDataFolder("Preview") + "OrvikCalendar.html");
    const std::string page = ReadWholeFile(opened[0]);
    for (const char* part : {"charset=UTF-8", "<html", "March", "a &amp; b &lt;c&gt;", "</html>"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
    EXPECT_EQ(page.find("UTF-16"), std::string::npos);
    // For the browser check that follows the window tests.
    WriteWholeFile(ProgramFolder() + "..\\preview-page.html", page);
    EXPECT_TRUE(Doc().IsModified()) << "an export is not a save";
}

TEST_F(DocumentFile, WithABrokenStylesheetThePreviewIsTheXmlAndTheStatusBarSaysWhy) {
    const std::string broken = temp.PathOf("orvik broken.xsl");
    WriteWholeFile(broken, "<xsl:stylesheet version=\"1.0\"\n"
                           "  xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">\n<oops>\n");
    Settings().XSLTemplate = broken;
    const std::vector<std::string> opened = Opened(frame->window, ID_PREVIEW);
    const std::string folder = UserDataFolder("Preview");
    ASSERT_EQ(opened, std::vector<std::string>{folder + "OrvikCalendar.xml"});
    EXPECT_NE(ReadWholeFile(opened[0]).find("href=\"orvik broken.xsl\""), std::string::npos);
    EXPECT_EQ(ReadWholeFile(folder + "orvik broken.xsl"), ReadWholeFile(broken));
    const std::string status = StatusText(StatusBar());
    EXPECT_NE(status.find("orvik broken.xsl"), std::string::npos) << status;
    EXPECT_NE(status.find("line"), std::string::npos) << "STATUS " << status;
}

TEST_F(DocumentFile, HelpAndPreviewWorkAfterAnOpenInAnotherFolder) {
    WriteWholeFile(path, "\"3/12/2026\";\"elsewhere\"\r\n");
    const std::string before = CurrentFolder();
    {
        DialogAnswerer answerer({ChooseFile(path)});
        SendMessageA(frame->window, WM_COMMAND, ID_FILE_OPEN, 0);
    }
    ASSERT_EQ(Doc().Name(), path);
    EXPECT_EQ(CurrentFolder(), before);
    const std::vector<std::string> help = Opened(frame->window, ID_HELP);
    ASSERT_EQ(help.size(), 1u);
    EXPECT_NE(GetFileAttributesA(help[0].c_str()), INVALID_FILE_ATTRIBUTES) << help[0];
    const std::vector<std::string> preview = Opened(frame->window, ID_PREVIEW);
    ASSERT_EQ(preview.size(), 1u);
    EXPECT_NE(ReadWholeFile(preview[0]).find("elsewhere"), std::string::npos) << preview[0];
}

} // namespace
