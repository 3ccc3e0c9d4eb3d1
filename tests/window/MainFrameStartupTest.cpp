#include "tests/window/MainFrameFixture.h"

#include "res/RegistryNames.h"
#include "res/resource.h"
#include "shell/InstanceMessage.h"
#include "storage/Registry.h"

namespace {

using MainFrameStartup = MainFrameTest;

TEST_F(MainFrameStartup, StartsUntitledWithTheMenuInTheBar) {
    HWND window = CreateFrame();
    ASSERT_NE(window, nullptr);
    char title[128] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "OrvikCalendar - Untitled");
    EXPECT_EQ(GetMenu(window), nullptr) << "the command bar shows the menu";
    EXPECT_NE(CommandBar().GetMenu(), nullptr);
}

TEST_F(MainFrameStartup, FirstCloseCreatesTheKeyWithAllNineValues) {
    HWND window = CreateFrame();
    Settings().RemindHours = 3;
    WINDOWPLACEMENT shown{};
    shown.length = sizeof shown;
    GetWindowPlacement(window, &shown);
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
    CRegistry registry;
    ASSERT_TRUE(registry.Open());
    const auto placement = registry.ReadWindowPlacement();
    ASSERT_TRUE(placement.has_value()) << "the next start finds the window's place";
    EXPECT_TRUE(EqualRect(&placement->rcNormalPosition, &shown.rcNormalPosition));
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
