#include "tests/window/MainFrameFixture.h"

#include "shell/InstanceMessage.h"
#include "res/RegistryNames.h"
#include "res/resource.h"

namespace {

using MainFrameStartup = MainFrameTest;

TEST_F(MainFrameStartup, WindowHasTitleMenuAndAccelerators) {
    HWND window = CreateFrame();
    ASSERT_NE(window, nullptr);
    char title[128] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "OrvikCalendar - Untitled");
    EXPECT_EQ(GetMenu(window), nullptr) << "the command bar shows the menu";
    HMENU menu = frame->commandBar.GetMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_NE(frame->accelerators, nullptr);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & 0x6CF0000, 0x6CF0000);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & 0x40100, 0x40100);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    EXPECT_EQ(std::string(className).rfind("ATL:", 0), 0u);
}

TEST_F(MainFrameStartup, AcceleratorsAreTranslatedByTheFrameFilter) {
    HWND window = CreateFrame();
    // Ctrl+S as the loop would see it: the filter turns it into a command.
    DialogAnswerer cancelSaveAs; // an untitled document asks for a name
    MSG keyDown{window, WM_KEYDOWN, 'S', 0, 0, {0, 0}};
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    EXPECT_TRUE(loop.PreTranslateMessage(&keyDown));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    MSG plain{window, WM_KEYDOWN, 'S', 0, 0, {0, 0}};
    EXPECT_FALSE(loop.PreTranslateMessage(&plain));
    PumpUntilIdle();
}

TEST_F(MainFrameStartup, FirstCloseCreatesTheKeyWithAllNineValues) {
    HWND window = CreateFrame();
    frame->settings.RemindHours = 3;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(PostedExitCode(), 1);

    StoredValue value;
    const char* const dwords[] = {
        ORVIK_VALUE_MINIMIZE_ON_CLOSE,
        ORVIK_VALUE_USE_REMINDER,
        ORVIK_VALUE_ALLOW_MULTIPLE_INSTANCES,
        ORVIK_VALUE_SUNDAY_FIRST,
        ORVIK_VALUE_REMIND_DAYS,
        ORVIK_VALUE_REMIND_HOURS,
        ORVIK_VALUE_REMIND_MINUTES,
    };
    for (const char* name : dwords) {
        ASSERT_TRUE(ReadStoredValue(name, value)) << name;
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD)) << name;
        EXPECT_EQ(value.Number(), std::string(name) == ORVIK_VALUE_REMIND_HOURS ? 3u : 0u) << name;
    }
    ASSERT_TRUE(ReadStoredValue(ORVIK_VALUE_XSL_TEMPLATE, value));
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.Text(), std::string("OrvikCalendar.xsl", 18));
    ASSERT_TRUE(ReadStoredValue(ORVIK_VALUE_WINDOW_PLACEMENT, value));
    EXPECT_EQ(value.bytes.size(), 44u);
    ASSERT_TRUE(ReadStoredValue(ORVIK_VALUE_DOCUMENT_COUNT, value, ORVIK_RECENT_SUBKEY));
    EXPECT_EQ(value.Number(), 4u);
}

TEST_F(MainFrameStartup, InstanceMessageRestoresTheWindowAndAnswers) {
    HWND window = CreateFrame();
    ShowWindow(window, SW_MINIMIZE);
    PumpUntilIdle();
    const LRESULT reply = SendMessageA(window, g_instanceMessage, 0, 0);
    EXPECT_EQ(reply, static_cast<LRESULT>(g_instanceMessage));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_TRUE(IsWindowVisible(window));
}

} // namespace
