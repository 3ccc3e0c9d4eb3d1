#include "tests/support/DateHelpers.h"
#include "tests/support/FileHelpers.h"
#include "tests/window/MainFrameFixture.h"

#include "res/RegistryNames.h"
#include "res/resource.h"

namespace {

const int kFileNameCombo = 0x47C; // the file dialogs' name field
const int kFileNameEdit = 0x480;

// Types a path into a file dialog and presses its OK (Open or Save) button.
DialogAnswerer::Action ChooseFile(const std::string& path) {
    return [path](HWND dialog) {
        if (!SetDlgItemTextA(dialog, kFileNameCombo, path.c_str()))
            SetDlgItemTextA(dialog, kFileNameEdit, path.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    };
}

class DocumentCommands : public MainFrameTest {
  protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "orvik commands\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const char* name :
             {"a.csv", "b.csv", "c.csv", "d.csv", "e.csv", "month.xml", "new.csv"})
            DeleteFileA((folder + name).c_str());
    }
    std::string File(const char* name) { return folder + name; }
    COrvikCalendarView& View() { return frame->view; }
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
        HMENU file = GetSubMenu(frame->commandBar.GetMenu(), 0);
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
    std::string folder;
};

TEST_F(DocumentCommands, NewAsksAndEmptiesOnlyOnOk) {
    CreateFrame();
    View().documentName = File("a.csv");
    View().store.Append(Ymd(2026, 3, 12), "text");
    View().ShowMonth();
    DialogAnswerer answerer({DialogAnswerer::Press(IDCANCEL), DialogAnswerer::Press(IDOK)});
    Command(ID_FILE_NEW);
    EXPECT_EQ(View().store.GetCount(), 1);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Confirmation");
    EXPECT_EQ(answerer.Seen()[0].text, "Are you sure? All current data will be erased!");
    Command(ID_FILE_NEW);
    EXPECT_EQ(View().store.GetCount(), 0);
    EXPECT_EQ(GetWindowTextLengthA(Cell(12)), 0);
    EXPECT_EQ(Title(), "OrvikCalendar - Untitled");
}

TEST_F(DocumentCommands, SaveOnUntitledAsksForANameAndCancelReturnsFalse) {
    CreateFrame();
    DialogAnswerer answerer; // cancels
    EXPECT_EQ(Command(ID_FILE_SAVE), FALSE);
    EXPECT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(View().documentName, "Untitled");
}

TEST_F(DocumentCommands, SaveAsCsvNamesTheDocumentAndListsIt) {
    CreateFrame();
    Type(12, "dentist");
    DialogAnswerer answerer({ChooseFile(File("new.csv"))});
    EXPECT_EQ(Command(ID_FILE_SAVE_AS), TRUE);
    EXPECT_EQ(ReadWholeFile(File("new.csv")), "\"3/12/2026\";\"dentist\"\r\n");
    EXPECT_EQ(View().documentName, File("new.csv"));
    EXPECT_FALSE(View().modified);
    EXPECT_EQ(Title(), "OrvikCalendar - " + File("new.csv"));
    EXPECT_EQ(RecentMenuItems(), std::vector<std::string>{"&1 " + File("new.csv")});
}

TEST_F(DocumentCommands, SaveAsXmlExportsAndLeavesTheDocumentAlone) {
    CreateFrame();
    View().documentName = File("a.csv");
    Type(12, "dentist");
    DialogAnswerer answerer({ChooseFile(File("month.xml"))});
    EXPECT_EQ(Command(ID_FILE_SAVE_AS), TRUE);
    EXPECT_NE(ReadWholeFile(File("month.xml")).find("<line>dentist</line>"), std::string::npos);
    EXPECT_EQ(View().documentName, File("a.csv"));
    EXPECT_TRUE(View().modified) << "an export is not a save";
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
    EXPECT_EQ(View().store.Lookup(Ymd(2026, 3, 1)), "c.csv");
    std::string upper = File("A.CSV");
    {
        DialogAnswerer answerer({ChooseFile(upper)});
        Command(ID_FILE_OPEN);
    }
    EXPECT_EQ(RecentMenuItems(), (std::vector<std::string>{"&1 " + upper, "&2 " + File("c.csv"),
                                                           "&3 " + File("b.csv")}));
    Command(ID_FILE_MRU_FIRST + 2); // b.csv
    EXPECT_EQ(View().store.Lookup(Ymd(2026, 3, 1)), "b.csv");
    EXPECT_EQ(RecentMenuItems()[0], "&1 " + File("b.csv"));
    Command(ID_FILE_MRU_FIRST + 7); // no such entry: a beep, nothing else
    EXPECT_EQ(View().documentName, File("b.csv"));
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
    EXPECT_EQ(View().documentName, "Untitled") << "Cancel keeps the document";
    {
        DialogAnswerer answerer({ChooseFile(File("a.csv")), DialogAnswerer::Press(IDNO)});
        Command(ID_FILE_OPEN);
    }
    EXPECT_EQ(View().documentName, File("a.csv"));
    EXPECT_EQ(View().store.Lookup(Ymd(2026, 3, 1)), "from a");
}

TEST_F(DocumentCommands, AnUnreadableFileKeepsTheCurrentDocument) {
    CreateFrame();
    View().documentName = File("b.csv");
    View().store.Append(Ymd(2026, 3, 12), "mine");
    WriteWholeFile(File("a.csv"), "\"3/1/2026\";\"locked\"\r\n");
    HANDLE held = CreateFileA(File("a.csv").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    DialogAnswerer answerer({ChooseFile(File("a.csv")), DialogAnswerer::Press(IDOK)});
    Command(ID_FILE_OPEN);
    CloseHandle(held);
    ASSERT_EQ(answerer.Seen().size(), 2u);
    EXPECT_NE(answerer.Seen()[1].text.find(File("a.csv")), std::string::npos);
    EXPECT_EQ(View().documentName, File("b.csv"));
    EXPECT_EQ(View().store.Lookup(Ymd(2026, 3, 12)), "mine");
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
            frame->view.modified = false;
            SendMessageA(window, WM_CLOSE, 0, 0);
        }
        PostedExitCode();
    }
    EXPECT_EQ(ReadWholeFile(File("d.csv")), "\"3/12/2026\";\"x\"\r\n");
}

TEST_F(DocumentCommands, AFailedSaveStopsTheClose) {
    HWND window = CreateFrame();
    View().documentName = "C:\\no such folder\\diary.csv";
    Type(12, "x");
    DialogAnswerer answerer({DialogAnswerer::Press(IDYES), DialogAnswerer::Press(IDOK)});
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(View().modified);
    EXPECT_EQ(answerer.Seen().size(), 2u);
}

TEST_F(DocumentCommands, MinimizeOnCloseHidesAndExitEnds) {
    HWND window = CreateFrame();
    frame->settings.MinimizeOnClose = 1;
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
    EXPECT_EQ(View().documentName, File("c.csv"));
    char text[64] = "";
    GetWindowTextA(Cell(5), text, sizeof text);
    EXPECT_STREQ(text, "reopened");
    EXPECT_EQ(Title(), "OrvikCalendar - " + File("c.csv"));
    EXPECT_EQ(RecentMenuItems().size(), 2u);
}

} // namespace
