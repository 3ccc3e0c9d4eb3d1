#include "tests/harness/WindowTestHarness.h"
#include "tests/support/OwnerWindow.h"

#include "framework/CommandBar.h"
#include "res/resource.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

enum Button { kFile, kEdit, kView, kHelp };

// A message as input would bring it; posted to the window with the focus
// when target is null.
struct Input {
    UINT message;
    WPARAM wParam;
    LPARAM lParam = 0;
    HWND target = nullptr;
};
using Inputs = std::vector<Input>;

Inputs operator+(Inputs first, const Inputs& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A key pressed and released; system keys as while Alt is held, which is
// what the default handling reads from Alt+Space.
Inputs Press(UINT down, WPARAM key) {
    const LPARAM alt = down == WM_SYSKEYDOWN ? KF_ALTDOWN << 16 : 0;
    return {{down, key, alt | 1}, {down + 1, key, alt | (KF_REPEAT | KF_UP) << 16 | 1}};
}
Inputs Keys(std::initializer_list<WPARAM> keys) {
    Inputs inputs;
    for (WPARAM key : keys)
        inputs = inputs + Press(WM_KEYDOWN, key);
    return inputs;
}
const Inputs kAlt = Press(WM_SYSKEYDOWN, VK_MENU);
const Inputs kF10 = Press(WM_SYSKEYDOWN, VK_F10);
const Inputs kClose = Keys({VK_ESCAPE, VK_ESCAPE}); // the popup, then the bar
Inputs AltPlus(WPARAM key) {
    return Inputs{kAlt[0]} + Press(WM_SYSKEYDOWN, key) +
           Inputs{{WM_KEYUP, VK_MENU, kAlt[1].lParam}};
}

// The owner of the bar's popups, as the frame is: it notes which popups open
// and which commands arrive, and types the next keys into each popup as it
// opens (the popup's own loop reads them).
struct OwnerLog {
    CCommandBarCtrl* bar = nullptr;
    std::string seen; // "File Edit #57601": popups opened, commands received
    std::vector<Inputs> whenOpened;
    size_t popupsOpened = 0;
};
OwnerLog* owner = nullptr;

void Post(const Inputs& inputs, HWND fallback) {
    for (const Input& input : inputs) {
        HWND target = input.target ? input.target : GetFocus() ? GetFocus() : fallback;
        PostMessageA(target, input.message, input.wParam, input.lParam);
    }
}

// How the owner notes a command it received.
std::string Command(int id) {
    return "#" + std::to_string(id);
}

void Note(const std::string& what) {
    owner->seen += (owner->seen.empty() ? "" : " ") + what;
}

// A popup of the bar by its text without the '&', or "system" or "other".
std::string PopupName(HMENU popup, bool systemMenu) {
    HMENU menu = owner->bar->GetMenu();
    for (int index = 0; index < GetMenuItemCount(menu); ++index) {
        char text[64] = "";
        GetMenuStringA(menu, static_cast<UINT>(index), text, sizeof text, MF_BYPOSITION);
        std::string name = text;
        name.erase(name.find('&'), 1);
        if (GetSubMenu(menu, index) == popup)
            return name;
    }
    return systemMenu ? "system" : "other";
}

void OnInitMenuPopup(HWND window, HMENU popup, bool systemMenu) {
    Note(PopupName(popup, systemMenu));
    if (owner->popupsOpened < owner->whenOpened.size())
        Post(owner->whenOpened[owner->popupsOpened], window);
    ++owner->popupsOpened;
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(window, reinterpret_cast<HMENU>(wParam), HIWORD(lParam) != 0);
        return 0;
    case WM_COMMAND:
        if (lParam == 0)
            Note(Command(LOWORD(wParam)));
        return 0;
    case WM_SYSCOMMAND:
        if (owner->bar->OnSysCommand(wParam, lParam))
            return 0;
        break;
    case WM_ENTERIDLE:
        // The popup's loop has read every key: a popup the keys should have
        // closed must not hang the test.
        if (wParam == MSGF_MENU) {
            Note("(left open)");
            EndMenu();
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class CommandBar : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        log.bar = &bar;
        owner = &log;
        ASSERT_NE(frame.window, nullptr);
        ASSERT_NE(bar.Create(frame), nullptr);
        ASSERT_TRUE(
            bar.AttachMenu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))));
        RECT client{};
        GetClientRect(frame, &client);
        const int height = ButtonRect(kFile).bottom;
        SetWindowPos(bar.window, nullptr, 0, 0, client.right, height, SWP_NOZORDER);
        edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE,
                               0, height, client.right, client.bottom - height, frame, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(frame);
        SetFocus(edit);
        PumpUntilIdle();
    }
    void TearDown() override {
        DestroyWindow(frame);
        owner = nullptr;
        WindowTest::TearDown();
    }

    // The frame's loop in short: the bar's filter, then translate and
    // dispatch, until the queue is empty.
    void PumpThroughBar() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!bar.PreTranslateMessage(&message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }
    // Types the inputs, runs the loop and answers what the owner saw.
    std::string Run(const Inputs& typed, std::vector<Inputs> whenOpened = {}) {
        log.seen.clear();
        log.popupsOpened = 0;
        log.whenOpened = whenOpened;
        Post(typed, frame);
        PumpThroughBar();
        return log.seen;
    }

    RECT ButtonRect(int index) const {
        RECT rect{};
        SendMessageA(bar.window, TB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    POINT ButtonCentre(int index) const {
        const RECT rect = ButtonRect(index);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    // A click on a button while no popup is open.
    Inputs Click(int index) const {
        const POINT centre = ButtonCentre(index);
        const LPARAM point = MAKELPARAM(centre.x, centre.y);
        return {{WM_LBUTTONDOWN, MK_LBUTTON, point, bar.window},
                {WM_LBUTTONUP, 0, point, bar.window}};
    }
    // The mouse over a button while a popup is open: a menu's loop reads
    // screen points.
    Inputs InMenu(UINT message, int index) const {
        POINT centre = ButtonCentre(index);
        ClientToScreen(bar.window, &centre);
        return {{message, 0, MAKELPARAM(centre.x, centre.y), bar.window}};
    }

    CCommandBarCtrl bar;
    OwnerLog log;
    // Away from the screen's middle, where the pointer rests.
    OwnerWindow frame{{20, 20, 440, 280}, OwnerProc, "Command bar"};
    HWND edit = nullptr; // has the focus before each input
};

TEST_F(CommandBar, ShowsEachPopupOfTheMenuAsAButtonAcrossTheTop) {
    EXPECT_EQ(GetMenu(frame), nullptr) << "the bar, not the window, shows the menu";
    HMENU menu = bar.GetMenu();
    ASSERT_EQ(SendMessageA(bar.window, TB_BUTTONCOUNT, 0, 0), GetMenuItemCount(menu));
    int right = 0;
    for (int index = 0; index < GetMenuItemCount(menu); ++index) {
        char popup[32] = "";
        GetMenuStringA(menu, static_cast<UINT>(index), popup, sizeof popup, MF_BYPOSITION);
        TBBUTTON button{};
        SendMessageA(bar.window, TB_GETBUTTON, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&button));
        char text[32] = "";
        SendMessageA(bar.window, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand),
                     reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, popup);
        const RECT rect = ButtonRect(index);
        EXPECT_GE(rect.left, right) << popup;
        EXPECT_EQ(rect.bottom - rect.top, ButtonRect(kFile).bottom - ButtonRect(kFile).top);
        right = rect.right;
    }
    // Each as wide as its text.
    EXPECT_NE(ButtonRect(kFile).right - ButtonRect(kFile).left,
              ButtonRect(kView).right - ButtonRect(kView).left);
    DestroyWindow(frame);
    EXPECT_EQ(bar.window, nullptr) << "destroyed with its parent";
}

TEST_F(CommandBar, KeyboardAndMouseOpenThePopupsOfAMenuBar) {
    const struct {
        const char* what;
        Inputs typed;
        std::vector<Inputs> whenOpened; // keys for the first, second... popup that opens
        std::string seen;
    } cases[] = {
        {"Alt+F opens File", AltPlus('F'), {kClose}, "File"},
        {"Right in a popup opens the next", AltPlus('F'), {Keys({VK_RIGHT}), kClose}, "File Edit"},
        {"Left in the first popup wraps", AltPlus('F'), {Keys({VK_LEFT}), kClose}, "File Help"},
        {"Right in the last popup wraps", AltPlus('H'), {Keys({VK_RIGHT}), kClose}, "Help File"},
        {"from the keyboard on the first item",
         AltPlus('F'),
         {Keys({VK_DOWN, VK_RETURN})},
         "File " + Command(ID_FILE_OPEN)}, // New, then Open
        {"a mnemonic in a popup", AltPlus('H'), {Keys({'A'})}, "Help " + Command(ID_APP_ABOUT)},
        {"Escape in a popup: back to the bar",
         AltPlus('F'),
         {Keys({VK_ESCAPE, VK_RIGHT, VK_DOWN}), kClose},
         "File Edit"},
        {"F10, Right, Down", kF10 + Keys({VK_RIGHT, VK_DOWN}), {kClose}, "Edit"},
        {"Alt, Left wraps, Enter", kAlt + Keys({VK_LEFT, VK_RETURN}), {kClose}, "Help"},
        {"Alt, then a letter", kAlt + Keys({'V'}), {kClose}, "View"},
        {"Alt, then Escape", kAlt + Keys({VK_ESCAPE}), {}, ""},
        {"Alt twice", kAlt + kAlt, {}, ""},
        {"F10 twice", kF10 + kF10, {}, ""},
        {"Alt+Space: the system menu", AltPlus(VK_SPACE), {kClose}, "system"},
        {"a menu key that reached the frame",
         {{WM_SYSCOMMAND, SC_KEYMENU, 'e', frame}},
         {kClose},
         "Edit"},
        {"Alt alone that reached the frame",
         Inputs{{WM_SYSCOMMAND, SC_KEYMENU, 0, frame}} + Keys({VK_DOWN}),
         {kClose},
         "File"},
        {"a click", Click(kView), {kClose}, "View"},
        {"a click, then a command",
         Click(kEdit),
         {Keys({VK_DOWN, VK_RETURN})},
         "Edit " + Command(ID_EDIT_UNDO)},
        {"the pointer on another button",
         Click(kFile),
         {InMenu(WM_MOUSEMOVE, kHelp), kClose},
         "File Help"},
        {"the pointer on the open button",
         Click(kFile),
         {InMenu(WM_MOUSEMOVE, kFile) + kClose},
         "File"},
        {"a click on the open button", Click(kFile), {InMenu(WM_LBUTTONDOWN, kFile)}, "File"},
    };
    for (const auto& test : cases) {
        SetFocus(edit);
        EXPECT_EQ(Run(test.typed, test.whenOpened), test.seen) << test.what;
        // Every case ends with the bar left: nothing hot or pressed, the focus back.
        EXPECT_EQ(GetFocus(), edit) << test.what;
        EXPECT_EQ(SendMessageA(bar.window, TB_GETHOTITEM, 0, 0), -1) << test.what;
        for (int index = 0; index < 4; ++index)
            EXPECT_FALSE(SendMessageA(bar.window, TB_ISBUTTONPRESSED, index, 0)) << test.what;
    }
}

TEST_F(CommandBar, RightAndLeftMeetSubmenusFirst) {
    HMENU more = CreatePopupMenu();
    AppendMenuA(more, MF_STRING, 2, "&Inner");
    HMENU one = CreatePopupMenu();
    AppendMenuA(one, MF_STRING, 1, "&Plain");
    AppendMenuA(one, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "&More");
    HMENU two = CreatePopupMenu();
    AppendMenuA(two, MF_STRING, 3, "&Last");
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(one), "&One");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(two), "&Two");
    ASSERT_TRUE(bar.AttachMenu(menu));
    ASSERT_EQ(SendMessageA(bar.window, TB_BUTTONCOUNT, 0, 0), 2);

    // On "More", Right opens its submenu; on "Inner" it goes on to the next popup.
    EXPECT_EQ(Run(AltPlus('O'), {Keys({VK_DOWN, VK_RIGHT}), Keys({VK_RIGHT}), kClose}),
              "One other Two");
    // In the submenu, Left only closes it.
    EXPECT_EQ(Run(AltPlus('O'), {Keys({VK_DOWN, VK_RIGHT}), Keys({VK_LEFT}) + kClose}),
              "One other");
    // Right on a plain item, Left in a popup: the neighbours.
    EXPECT_EQ(Run(AltPlus('T'), {Keys({VK_LEFT}), Keys({VK_RIGHT}), kClose}), "Two One Two");
}

TEST_F(CommandBar, APopupOpeningUnderTheRestingPointerKeepsItsPlace) {
    // The window moves under the pointer, which stays where it rests.
    POINT pointer{}, help = ButtonCentre(kHelp);
    GetCursorPos(&pointer);
    ClientToScreen(bar.window, &help);
    RECT place{};
    GetWindowRect(frame, &place);
    SetWindowPos(frame, nullptr, place.left + pointer.x - help.x, place.top + pointer.y - help.y, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpThroughBar();
    EXPECT_EQ(Run(AltPlus('F'), {InMenu(WM_MOUSEMOVE, kHelp) + kClose}), "File");
}

TEST_F(CommandBar, ContextMenusSendTheirCommandsToTheOwner) {
    log.whenOpened = {Keys({VK_DOWN, VK_DOWN, VK_RETURN})};
    POINT corner{100, 100};
    ClientToScreen(edit, &corner);
    bar.TrackPopupMenu(GetSubMenu(bar.GetMenu(), kEdit), TPM_LEFTALIGN | TPM_TOPALIGN, corner.x,
                       corner.y);
    PumpThroughBar();
    EXPECT_EQ(log.seen, "Edit " + Command(ID_EDIT_CUT)) << "Undo, a separator, then Cut";
}

} // namespace
