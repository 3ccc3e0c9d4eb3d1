#include "tests/harness/WindowTestHarness.h"
#include "tests/support/OwnerWindow.h"
#include "tests/support/ShellOpenRecorder.h"

#include "framework/Window.h"
#include "res/Maker.h"
#include "res/SelectorIds.h"
#include "res/resource.h"
#include "shell/AboutDlg.h"
#include "view/Selector.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

POINT Centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::string Text(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The child's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The controls that stick out of the window's client area, by their texts.
std::string CutOffControls(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    std::string cut;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT rect = PlaceInParent(child);
        if (rect.left < 0 || rect.top < 0 || rect.right > client.right ||
            rect.bottom > client.bottom)
            cut += "'" + Text(child) + "' ";
    }
    return cut;
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

// "major.minor" of the product version in this module's version resource,
// which the program's resources share.
std::string ResourceVersion() {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    if (!found)
        return "no version resource";
    const auto* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    // VerQueryValue may write into the block: it gets a copy.
    std::vector<char> block(data, data + SizeofResource(nullptr, found));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &size))
        return "no fixed version";
    return std::to_string(HIWORD(fixed->dwProductVersionMS)) + "." +
           std::to_string(LOWORD(fixed->dwProductVersionMS));
}

// A plain top-level window owns the dialogs, off the screen's centre so that
// centring over it differs from centring on the screen.
class DialogTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_NE(owner.window, nullptr);
        PumpUntilIdle();
    }
    OwnerWindow owner;
    ShellOpenRecorder opened;
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
        EXPECT_EQ(answerer.Seen().size(), 1u) << c.how;
    }
    EXPECT_TRUE(opened.Targets().empty()) << "Enter on the box opens no link";
}

TEST_F(AboutBox, ShowsTheVersionOfTheVersionResourceAndCopyright) {
    std::string text;
    DialogAnswerer answerer({[&](HWND dialog) {
        text = AboutText(dialog);
        DialogAnswerer::Press(IDOK)(dialog);
    }});
    CAboutDlg about;
    about.DoModal(owner);
    EXPECT_EQ(text, "OrvikCalendar v" + ResourceVersion() + "\n\n" ORVIK_COPYRIGHT);
}

TEST_F(AboutBox, AddressButtonsOpenWhatTheyShowAndStay) {
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
    EXPECT_EQ(opened.Targets(), (std::vector<std::string>{webLabel, "mailto:" + mailLabel}));
}

TEST_F(AboutBox, OpensCentredOverItsOwnerWholeWithOkFocused) {
    RECT ownerRect, dialogRect;
    std::string cutOff;
    bool okFocused = false;
    DialogAnswerer answerer({[&](HWND dialog) {
        GetWindowRect(owner, &ownerRect);
        GetWindowRect(dialog, &dialogRect);
        cutOff = CutOffControls(dialog);
        // Enter on a focused link button would open the link instead of closing.
        okFocused = GetFocus() == GetDlgItem(dialog, IDOK);
        DialogAnswerer::Press(IDOK)(dialog);
    }});
    CAboutDlg about;
    about.DoModal(owner);
    EXPECT_NEAR(Centre(dialogRect).x, Centre(ownerRect).x, 1);
    EXPECT_NEAR(Centre(dialogRect).y, Centre(ownerRect).y, 1);
    EXPECT_EQ(cutOff, "");
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

TEST_F(Navigator, ShowsItsButtonsSideBySideAndGoesWithItsParent) {
    CSelector selector;
    HWND bar = selector.Create(owner);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetParent(bar), owner.window);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(CutOffControls(bar), "");
    int right = 0;
    for (int id :
         {IDC_PREVIOUS_YEAR, IDC_PREVIOUS_MONTH, IDC_MONTH_BUTTON, IDC_NEXT_MONTH, IDC_NEXT_YEAR}) {
        const RECT rect = PlaceInParent(GetDlgItem(bar, id));
        EXPECT_GE(rect.left, right) << id << ": to the right of the one before, not over it";
        right = rect.right;
    }
    selector.ShowMonth("March 2026");
    char caption[32] = "";
    GetDlgItemTextA(bar, IDC_MONTH_BUTTON, caption, sizeof caption);
    EXPECT_STREQ(caption, "March 2026");
    DestroyWindow(owner);
    EXPECT_EQ(selector.window, nullptr);
}

TEST_F(Navigator, EachButtonAsksForItsMove) {
    const struct {
        int id;
        const char* move;
    } buttons[] = {
        {IDC_PREVIOUS_YEAR, "previous year"}, {IDC_PREVIOUS_MONTH, "previous month"},
        {IDC_MONTH_BUTTON, "today"},          {IDC_NEXT_MONTH, "next month"},
        {IDC_NEXT_YEAR, "next year"},
    };
    RecordedNavigation navigation;
    CSelector selector;
    selector.navigation = &navigation;
    HWND bar = selector.Create(owner);
    ASSERT_NE(bar, nullptr);
    for (const auto& button : buttons) {
        navigation.calls.clear();
        SendMessageA(GetDlgItem(bar, button.id), BM_CLICK, 0, 0);
        PumpUntilIdle();
        EXPECT_EQ(navigation.calls, std::vector<std::string>{button.move}) << button.move;
    }
    // Before the month view exists there is nothing to move: the click must
    // not reach the navigation (a crash ends the test).
    selector.navigation = nullptr;
    SendMessageA(GetDlgItem(bar, IDC_NEXT_MONTH), BM_CLICK, 0, 0);
    PumpUntilIdle();
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
