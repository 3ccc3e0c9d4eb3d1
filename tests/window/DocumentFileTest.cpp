#include "tests/support/DateHelpers.h"
#include "tests/support/FileHelpers.h"
#include "tests/window/MainFrameFixture.h"

#include "res/resource.h"
#include "shell/ShellOpen.h"

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
        char folder[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, folder);
        path = std::string(folder) + "orvik diary test.csv";
        DeleteFileA(path.c_str());
        CreateFrame();
    }
    void TearDown() override {
        DeleteFileA(path.c_str());
        MainFrameTest::TearDown();
    }
    COrvikCalendarView& View() { return frame->view; }
    HWND Cell(int year, int month, int day) {
        return View().CellForDate(Ymd(year, month, day))->window;
    }
    PinnedNow today{2026, 3, 12};
    std::string path;
};

TEST_F(DocumentFile, SaveWritesTheCellsAndClearsModified) {
    WriteWholeFile(path, "");
    ASSERT_EQ(frame->document.Load(path), LoadOutcome::Loaded);
    SetWindowTextA(Cell(2026, 3, 12), "11:00 \"Dentist\"\r\nbring card");
    frame->document.MarkModified();
    EXPECT_EQ(SendMessageA(frame->window, WM_COMMAND, ID_FILE_SAVE, 0), TRUE);
    EXPECT_FALSE(frame->document.IsModified());
    EXPECT_EQ(ReadWholeFile(path), "\"3/12/2026\";\"11:00 \"\"Dentist\"\"\nbring card\"\r\n");
}

TEST_F(DocumentFile, FailedSaveKeepsThePreviousFileWholeAndSaysSo) {
    WriteWholeFile(path, "\"1/1/2026\";\"old\"\r\n");
    ASSERT_EQ(frame->document.Load(path), LoadOutcome::Loaded);
    // Another program holds the file open without sharing: it cannot be replaced.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetWindowTextA(Cell(2026, 3, 12), "new");
    frame->document.MarkModified();
    DialogAnswerer answerer({DialogAnswerer::Press(IDOK)});
    EXPECT_EQ(SendMessageA(frame->window, WM_COMMAND, ID_FILE_SAVE, 0), FALSE);
    CloseHandle(held);
    EXPECT_EQ(ReadWholeFile(path), "\"1/1/2026\";\"old\"\r\n");
    EXPECT_TRUE(frame->document.IsModified());
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "OrvikCalendar");
    EXPECT_NE(answerer.Seen()[0].text.find(path), std::string::npos);
    EXPECT_NE(answerer.Seen()[0].text.find("not saved"), std::string::npos);
}

TEST_F(DocumentFile, OutsideChangeIsOfferedOnActivationFromAnotherProgram) {
    WriteWholeFile(path, "\"3/12/2026\";\"mine\"\r\n");
    ASSERT_EQ(frame->document.Load(path), LoadOutcome::Loaded);
    View().ShowMonth();
    WriteWholeFile(path, "\"3/12/2026\";\"theirs\"\r\n");
    TouchLater(path, frame->document.FileTime() + 60);

    HWND ownDialog = CreateWindowExA(0, "STATIC", "own", WS_POPUP, 0, 0, 10, 10, frame->window,
                                     nullptr, nullptr, nullptr);
    HWND otherProgram = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    DialogAnswerer answerer({DialogAnswerer::Press(IDCANCEL), DialogAnswerer::Press(IDOK)});
    SendMessageA(frame->window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(ownDialog));
    EXPECT_EQ(answerer.Seen().size(), 0u) << "returning from our own window asks nothing";
    SendMessageA(frame->window, WM_ACTIVATE, WA_CLICKACTIVE,
                 reinterpret_cast<LPARAM>(otherProgram));
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Alert");
    EXPECT_EQ(frame->document.Store().Lookup(Ymd(2026, 3, 12)), "mine") << "Cancel keeps our text";
    SendMessageA(frame->window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(otherProgram));
    ASSERT_EQ(answerer.Seen().size(), 2u) << "asked again at the next activation";
    EXPECT_EQ(frame->document.Store().Lookup(Ymd(2026, 3, 12)), "theirs");
    char text[32] = "";
    GetWindowTextA(Cell(2026, 3, 12), text, sizeof text);
    EXPECT_STREQ(text, "theirs");
    SendMessageA(frame->window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(otherProgram));
    EXPECT_EQ(answerer.Seen().size(), 2u) << "nothing changed since the reload";
    DestroyWindow(ownDialog);
    DestroyWindow(otherProgram);
}

std::vector<std::string> opened;
void RecordOpen(const char* target) {
    opened.push_back(target);
}

TEST_F(DocumentFile, PreviewWritesTheExportIntoTheCurrentFolder) {
    DeleteFileA("OrvikCalendar.xml");
    SetWindowTextA(Cell(2026, 3, 12), "a & b");
    auto* previous = g_shellOpen;
    g_shellOpen = RecordOpen;
    opened.clear();
    SendMessageA(frame->window, WM_COMMAND, ID_PREVIEW, 0);
    g_shellOpen = previous;
    EXPECT_EQ(opened, std::vector<std::string>{"OrvikCalendar.xml"});
    const std::string exported = ReadWholeFile("OrvikCalendar.xml");
    EXPECT_EQ(exported.rfind("<?xml version=\"1.0\" encoding=\"", 0), 0u);
    EXPECT_NE(exported.find("<line>a &amp; b</line>"), std::string::npos);
    EXPECT_NE(exported.find("<monthname>March</monthname>"), std::string::npos);
    EXPECT_TRUE(frame->document.IsModified()) << "an export is not a save";
    DeleteFileA("OrvikCalendar.xml");
}

} // namespace
