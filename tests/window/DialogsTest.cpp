#include "tests/harness/WindowTestHarness.h"

#include "framework/Window.h"
#include "res/Maker.h"
#include "res/SelectorIds.h"
#include "res/resource.h"
#include "shell/AboutDlg.h"
#include "shell/ShellOpen.h"
#include "view/Selector.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char kOwnerClass[] = "DialogsTestOwner";

// What the code asked the shell to open instead of opening it.
std::vector<std::string> g_opened;
void RecordOpen(const char* target) {
    g_opened.push_back(target);
}

RECT DialogUnits(HWND dialog, int width, int height) {
    RECT rect{0, 0, width, height};
    MapDialogRect(dialog, &rect);
    return rect;
}

POINT Centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::string Text(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The About box's text: its one static that is not the icon.
std::string AboutText(HWND dialog) {
    std::string text;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = "";
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") == 0 &&
            (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            text += Text(child);
    }
    return text;
}

// A plain top-level window to own the dialogs, off the screen's centre so
// that centring over it differs from centring on the screen.
class DialogTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kOwnerClass;
        RegisterClassA(&windowClass);
        owner = CreateWindowExA(0, kOwnerClass, "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 80,
                                700, 500, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
        PumpUntilIdle();
        g_opened.clear();
        shellOpen = g_shellOpen;
        g_shellOpen = RecordOpen;
    }
    void TearDown() override {
        g_shellOpen = shellOpen;
        DestroyWindow(owner);
        WindowTest::TearDown();
    }
    HWND owner = nullptr;
    void (*shellOpen)(const char*) = nullptr; // the real one, put back after the test
};

using AboutBox = DialogTest;

TEST_F(AboutBox, EndsWithOneForOkAndTwoForCancel) {
    const struct {
        const char* how;
        DialogAnswerer::Action action;
        INT_PTR expected;
    } cases[] = {
        {"OK button", DialogAnswerer::Press(IDOK), 1},
        {"Enter", DialogAnswerer::PressKey(VK_RETURN), 1},
        {"cancel command", DialogAnswerer::Press(IDCANCEL), 2},
        {"Escape", DialogAnswerer::PressKey(VK_ESCAPE), 2},
        {"close box", [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }, 2},
    };
    for (const auto& c : cases) {
        DialogAnswerer answerer({c.action});
        CAboutDlg about;
        EXPECT_EQ(about.DoModal(owner), c.expected) << c.how;
        EXPECT_EQ(about.window, nullptr) << c.how;
        ASSERT_EQ(answerer.Seen().size(), 1u) << c.how;
        EXPECT_EQ(answerer.Seen()[0].caption, "About");
    }
    EXPECT_TRUE(g_opened.empty());
}

TEST_F(AboutBox, ShowsVersionAndCopyright) {
    std::string text;
    DialogAnswerer answerer({[&](HWND dialog) {
        text = AboutText(dialog);
        DialogAnswerer::Press(IDOK)(dialog);
    }});
    CAboutDlg about;
    about.DoModal(owner);
    EXPECT_EQ(text, "OrvikCalendar v2.1\n\n" ORVIK_COPYRIGHT);
}

TEST_F(AboutBox, AddressButtonsOpenTheWebPageAndAMailAndStay) {
    bool stillModal = false;
    std::string webLabel, mailLabel;
    DialogAnswerer answerer({[&](HWND dialog) {
        webLabel = Text(GetDlgItem(dialog, IDC_WEB_ADDRESS));
        mailLabel = Text(GetDlgItem(dialog, IDC_MAIL_ADDRESS));
        // A focus notification is no click.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_WEB_ADDRESS, BN_SETFOCUS),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_WEB_ADDRESS)));
        SendMessageA(GetDlgItem(dialog, IDC_WEB_ADDRESS), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(dialog, IDC_MAIL_ADDRESS), BM_CLICK, 0, 0);
        // Ending a modal dialog enables its owner again at once.
        stillModal = !IsWindowEnabled(owner);
        DialogAnswerer::Press(IDCANCEL)(dialog);
    }});
    CAboutDlg about;
    EXPECT_EQ(about.DoModal(owner), 2);
    EXPECT_TRUE(stillModal);
    EXPECT_EQ(webLabel, ORVIK_WEB_ADDRESS);
    EXPECT_EQ(mailLabel, ORVIK_MAIL_ADDRESS);
    EXPECT_EQ(g_opened,
              (std::vector<std::string>{ORVIK_WEB_ADDRESS, "mailto:" ORVIK_MAIL_ADDRESS}));
}

TEST_F(AboutBox, OpensCentredOverItsOwnerInItsSizeWithOkFocused) {
    RECT ownerRect, dialogRect, client, expected;
    bool okFocused = false;
    DialogAnswerer answerer({[&](HWND dialog) {
        GetWindowRect(owner, &ownerRect);
        GetWindowRect(dialog, &dialogRect);
        GetClientRect(dialog, &client);
        expected = DialogUnits(dialog, 187, 121);
        // Enter on a focused link button would open the link instead of closing.
        okFocused = GetFocus() == GetDlgItem(dialog, IDOK);
        DialogAnswerer::Press(IDOK)(dialog);
    }});
    CAboutDlg about;
    about.DoModal(owner);
    EXPECT_NEAR(Centre(dialogRect).x, Centre(ownerRect).x, 1);
    EXPECT_NEAR(Centre(dialogRect).y, Centre(ownerRect).y, 1);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
    EXPECT_TRUE(okFocused);
}

// Records what the navigator asked for.
struct RecordedNavigation : CalendarNavigation {
    std::vector<std::string> calls;
    void GoPreviousYear() override { calls.push_back("previous year"); }
    void GoNextYear() override { calls.push_back("next year"); }
    void GoPreviousMonth() override { calls.push_back("previous month"); }
    void GoNextMonth() override { calls.push_back("next month"); }
    void GoToday() override { calls.push_back("today"); }
};

using Navigator = DialogTest;

TEST_F(Navigator, IsAChildOfItsSizeWithTheMonthButton) {
    CSelector selector;
    HWND bar = selector.Create(owner);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetParent(bar), owner);
    EXPECT_TRUE(IsWindowVisible(bar));
    RECT client, expected = DialogUnits(bar, 147, 14);
    GetClientRect(bar, &client);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
    ASSERT_NE(g_monthButton, nullptr);
    EXPECT_EQ(g_monthButton, GetDlgItem(bar, IDC_MONTH_BUTTON));
    DestroyWindow(bar);
    EXPECT_EQ(selector.window, nullptr);
    EXPECT_EQ(g_monthButton, nullptr);
}

TEST_F(Navigator, EachButtonAsksForItsMove) {
    const struct {
        int id;
        const char* label;
        const char* move;
    } buttons[] = {
        {IDC_PREVIOUS_YEAR, "<<", "previous year"}, {IDC_PREVIOUS_MONTH, "<", "previous month"},
        {IDC_MONTH_BUTTON, "Edit Date", "today"},   {IDC_NEXT_MONTH, ">", "next month"},
        {IDC_NEXT_YEAR, ">>", "next year"},
    };
    RecordedNavigation navigation;
    CSelector selector;
    selector.navigation = &navigation;
    HWND bar = selector.Create(owner);
    ASSERT_NE(bar, nullptr);
    for (const auto& button : buttons) {
        navigation.calls.clear();
        HWND control = GetDlgItem(bar, button.id);
        EXPECT_EQ(Text(control), button.label);
        SendMessageA(control, BM_CLICK, 0, 0);
        PumpUntilIdle();
        EXPECT_EQ(navigation.calls, std::vector<std::string>{button.move}) << button.label;
    }
    // Without a month view to move, a click does nothing.
    selector.navigation = nullptr;
    SendMessageA(GetDlgItem(bar, IDC_NEXT_MONTH), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindow(bar));
}

// A dialog of our own that answers with values the dialog manager must pass on.
class AnsweringDialog : public CDialogImpl<AnsweringDialog> {
  public:
    static constexpr int kDialogId = IDD_SELECTOR;
    bool ProcessWindowMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
        switch (message) {
        case WM_INITDIALOG:
            result = FALSE;
            return true;
        case WM_APP:
            result = 42;
            return true;
        case WM_CTLCOLORDLG:
            result = reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
            return true;
        default:
            return false;
        }
    }
};

using DialogFramework = DialogTest;

TEST_F(DialogFramework, PassesResultsAndUnbindsAtDestruction) {
    HWND bar = nullptr;
    {
        AnsweringDialog dialog;
        bar = dialog.Create(owner);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(dialog.window, bar);
        EXPECT_EQ(SendMessageA(bar, WM_APP, 0, 0), 42);
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(bar, WM_CTLCOLORDLG, 0, 0)),
                  GetStockObject(BLACK_BRUSH));
        // WM_INITDIALOG answered FALSE: the dialog took no focus of its own.
        EXPECT_NE(GetParent(GetFocus()), bar);
    }
    EXPECT_FALSE(IsWindow(bar)) << "the object destroys its modeless window";
}

// A window and a dialog of our own that count the messages reaching them
// after their destructor ran, and throw on WM_USER.
const void* goneObject = nullptr;
int lateMessages = 0;
std::string reported;

template <class T> bool Probe(const T* object, UINT message) {
    if (goneObject == object)
        ++lateMessages;
    if (message == WM_USER)
        throw std::runtime_error("probe ");
    return false;
}

class ProbeWindow : public CWindowImpl<ProbeWindow> {
  public:
    ~ProbeWindow() { goneObject = this; }
    HWND Create() {
        WNDCLASSEXA description{};
        description.hInstance = GetModuleHandleA(nullptr);
        WindowCreateArgs args;
        args.style = WS_POPUP;
        return CreateBoundWindow(RegisterWindowClass(description), args);
    }
    bool ProcessWindowMessage(UINT message, WPARAM, LPARAM, LRESULT&) {
        return Probe(this, message);
    }
};

class ProbeDialog : public CDialogImpl<ProbeDialog> {
  public:
    static constexpr int kDialogId = IDD_SELECTOR;
    ~ProbeDialog() { goneObject = this; }
    bool ProcessWindowMessage(UINT message, WPARAM, LPARAM, LRESULT&) {
        return Probe(this, message);
    }
};

TEST_F(DialogFramework, AGoingObjectHearsNothingAndNoExceptionLeavesAProcedure) {
    auto* previous = g_reportEscapedException;
    g_reportEscapedException = [](const char* reason) { reported += reason; };
    HWND window = nullptr, dialog = nullptr;
    {
        ProbeWindow probe;
        window = probe.Create();
        SendMessageA(window, WM_USER, 0, 0);
        ProbeDialog probeDialog;
        dialog = probeDialog.Create(owner);
        SendMessageA(dialog, WM_USER, 0, 0);
    }
    g_reportEscapedException = previous;
    EXPECT_EQ(reported, "probe probe ");
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(lateMessages, 0);
}

} // namespace
