#include "tests/harness/WindowTestHarness.h"

#include "res/RegistryNames.h"
#include "shell/RecentFileList.h"
#include "storage/SettingsStore.h"

namespace {

const char* const kRecent = ORVIK_RECENT_SUBKEY;

AppSettings ReadFreshSettings() {
    AppSettings settings;
    settings.XSLTemplate = "left over";
    settings.UseReminder = 7;
    CRegistry registry;
    registry.Open();
    ReadSettings(registry, settings);
    return settings;
}

using SettingsStoreTest = WindowTest;

TEST_F(SettingsStoreTest, FirstRunGivesDefaults) {
    const AppSettings settings = ReadFreshSettings();
    EXPECT_EQ(settings.XSLTemplate, "OrvikCalendar.xsl");
    EXPECT_EQ(settings.UseReminder, 0);
    EXPECT_EQ(settings.MinimizeOnClose + settings.AllowMultipleInstances + settings.SundayFirst, 0);
    EXPECT_EQ(settings.RemindDays + settings.RemindHours + settings.RemindMinutes, 0);
    CRegistry registry;
    EXPECT_FALSE(registry.Open()) << "reading never creates the key";
}

TEST_F(SettingsStoreTest, StoredValuesAreRead) {
    StoreSettingsText(ORVIK_VALUE_XSL_TEMPLATE, "C:\\styles\\print.xsl");
    StoreSettingsDWord(ORVIK_VALUE_MINIMIZE_ON_CLOSE, 1);
    StoreSettingsDWord(ORVIK_VALUE_USE_REMINDER, 5); // any non-zero is on
    StoreSettingsDWord(ORVIK_VALUE_ALLOW_MULTIPLE_INSTANCES, 1);
    StoreSettingsDWord(ORVIK_VALUE_SUNDAY_FIRST, 1);
    StoreSettingsDWord(ORVIK_VALUE_REMIND_DAYS, 500);
    StoreSettingsDWord(ORVIK_VALUE_REMIND_HOURS, 23);
    StoreSettingsDWord(ORVIK_VALUE_REMIND_MINUTES, static_cast<DWORD>(-1));
    const AppSettings settings = ReadFreshSettings();
    EXPECT_EQ(settings.XSLTemplate, "C:\\styles\\print.xsl");
    EXPECT_EQ(settings.MinimizeOnClose, 1);
    EXPECT_EQ(settings.UseReminder, 5);
    EXPECT_EQ(settings.AllowMultipleInstances, 1);
    EXPECT_EQ(settings.SundayFirst, 1);
    EXPECT_EQ(settings.RemindDays, 500);
    EXPECT_EQ(settings.RemindHours, 23);
    EXPECT_EQ(settings.RemindMinutes, -1);
}

TEST_F(SettingsStoreTest, ValuesOfTheWrongTypeOrSizeCountAsAbsent) {
    const struct {
        const char* stylesheetType;
        DWORD type;
        std::string expected;
    } stylesheets[] = {
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, "OrvikCalendar.xsl"},
        {"REG_DWORD", REG_DWORD, "OrvikCalendar.xsl"},
        {"REG_BINARY", REG_BINARY, "OrvikCalendar.xsl"},
    };
    for (const auto& c : stylesheets) {
        ResetSettingsKey();
        const char data[] = "abcd";
        StoreSettingsValue(ORVIK_VALUE_XSL_TEMPLATE, c.type, data, 4);
        EXPECT_EQ(ReadFreshSettings().XSLTemplate, c.expected) << c.stylesheetType;
    }

    ResetSettingsKey();
    StoreSettingsValue(ORVIK_VALUE_XSL_TEMPLATE, REG_SZ, "", 1);
    StoreSettingsText(ORVIK_VALUE_USE_REMINDER, "1");
    const unsigned long long wide = 1;
    StoreSettingsValue(ORVIK_VALUE_SUNDAY_FIRST, REG_DWORD, &wide, sizeof wide);
    StoreSettingsValue(ORVIK_VALUE_REMIND_DAYS, REG_BINARY, &wide, 4);
    const AppSettings settings = ReadFreshSettings();
    EXPECT_EQ(settings.XSLTemplate, "") << "an empty REG_SZ stays empty";
    EXPECT_EQ(settings.UseReminder, 0);
    EXPECT_EQ(settings.SundayFirst, 0) << "longer than 4 bytes";
    EXPECT_EQ(settings.RemindDays, 0);
}

class PlacementTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window = CreateWindowExA(0, "STATIC", "placement", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window);
        WindowTest::TearDown();
    }
    bool ReadPlacement() {
        CRegistry registry;
        registry.Open();
        return registry.ReadWindowPlacement(window);
    }
    HWND window = nullptr;
};

TEST_F(PlacementTest, OnlyA44ByteBinaryRecordIsApplied) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.showCmd = SW_SHOWMAXIMIZED;
    placement.rcNormalPosition = {50, 60, 450, 360};
    const struct {
        const char* what;
        DWORD type;
        DWORD size;
        bool applied;
    } cases[] = {
        {"44 bytes", REG_BINARY, 44, true},     {"43 bytes", REG_BINARY, 43, false},
        {"45 bytes", REG_BINARY, 45, false},    {"REG_DWORD", REG_DWORD, 4, false},
        {"REG_SZ 44 bytes", REG_SZ, 44, false},
    };
    for (const auto& c : cases) {
        ResetSettingsKey();
        ShowWindow(window, SW_HIDE);
        ShowWindow(window, SW_RESTORE);
        std::vector<BYTE> bytes(64, 0);
        CopyMemory(bytes.data(), &placement, sizeof placement);
        StoreSettingsValue(ORVIK_VALUE_WINDOW_PLACEMENT, c.type, bytes.data(), c.size);
        EXPECT_EQ(ReadPlacement(), c.applied) << c.what;
        EXPECT_EQ(IsZoomed(window) != FALSE, c.applied) << c.what;
    }
}

TEST_F(PlacementTest, WrittenPlacementReadsBack) {
    StoreSettingsDWord(ORVIK_VALUE_USE_REMINDER, 0); // the key must exist to open
    MoveWindow(window, 40, 50, 320, 240, FALSE);
    {
        CRegistry registry;
        ASSERT_TRUE(registry.Open());
        EXPECT_TRUE(registry.WriteWindowPlacement(window));
    }
    StoredValue stored;
    ASSERT_TRUE(ReadStoredValue(ORVIK_VALUE_WINDOW_PLACEMENT, stored));
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(stored.bytes.size(), 44u);
    MoveWindow(window, 0, 0, 100, 100, FALSE);
    EXPECT_TRUE(ReadPlacement());
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 320);
}

using RecentFileStoreTest = WindowTest;

TEST_F(RecentFileStoreTest, MissingListOrCountLeavesTheListAlone) {
    RecentFileList list;
    EXPECT_FALSE(list.ReadFromRegistry());
    StoreSettingsText("Document1", "C:\\a.csv", kRecent);
    EXPECT_FALSE(list.ReadFromRegistry()) << "no DocumentCount";
    StoreSettingsText(ORVIK_VALUE_DOCUMENT_COUNT, "4", kRecent);
    EXPECT_FALSE(list.ReadFromRegistry()) << "DocumentCount of the wrong type";
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_EQ(list.Maximum(), 4);
}

TEST_F(RecentFileStoreTest, MaximumIsClampedTo2Through16) {
    const struct {
        DWORD stored;
        int maximum;
    } cases[] = {{0, 2}, {1, 2}, {2, 2}, {4, 4}, {16, 16}, {40, 16}, {0xFFFFFFFF, 2}};
    for (const auto& c : cases) {
        StoreSettingsDWord(ORVIK_VALUE_DOCUMENT_COUNT, c.stored, kRecent);
        RecentFileList list;
        ASSERT_TRUE(list.ReadFromRegistry());
        EXPECT_EQ(list.Maximum(), c.maximum) << c.stored;
    }
}

TEST_F(RecentFileStoreTest, ReadsDocument1AsNewestAndSkipsUnusableValues) {
    StoreSettingsDWord(ORVIK_VALUE_DOCUMENT_COUNT, 6, kRecent);
    StoreSettingsText("Document1", "C:\\newest.csv", kRecent);
    StoreSettingsDWord("Document2", 5, kRecent);
    StoreSettingsValue("Document3", REG_EXPAND_SZ, "C:\\third.csv", 13, kRecent);
    StoreSettingsValue("Document4", REG_BINARY, "binary", 7, kRecent);
    const std::string tooLong(300, 'x');
    StoreSettingsText("Document5", tooLong, kRecent);
    StoreSettingsValue("Document6", REG_SZ, "", 0, kRecent);
    StoreSettingsText("Document7", "C:\\beyond the maximum.csv", kRecent);
    RecentFileList list;
    ASSERT_TRUE(list.ReadFromRegistry());
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"C:\\newest.csv", "C:\\third.csv", ""}));
}

TEST_F(RecentFileStoreTest, WritingDeletesStaleEntriesAndCreatesTheKeys) {
    StoreSettingsDWord(ORVIK_VALUE_DOCUMENT_COUNT, 4, kRecent);
    StoreSettingsText("Document1", "C:\\one.csv", kRecent);
    StoreSettingsText("Document2", "C:\\two.csv", kRecent);
    StoreSettingsText("Document7", "C:\\stale.csv", kRecent);
    StoreSettingsText("Document16", "C:\\stale.csv", kRecent);
    RecentFileList list;
    ASSERT_TRUE(list.ReadFromRegistry());
    ResetSettingsKey();
    StoreSettingsText("Document9", "C:\\stale.csv", kRecent);
    ASSERT_TRUE(list.WriteToRegistry());

    StoredValue value;
    ASSERT_TRUE(ReadStoredValue(ORVIK_VALUE_DOCUMENT_COUNT, value, kRecent));
    EXPECT_EQ(value.Number(), 4u);
    ASSERT_TRUE(ReadStoredValue("Document1", value, kRecent));
    EXPECT_EQ(value.Text(), std::string("C:\\one.csv", 11)) << "text plus terminator";
    ASSERT_TRUE(ReadStoredValue("Document2", value, kRecent));
    for (const char* stale : {"Document3", "Document7", "Document9", "Document16"})
        EXPECT_FALSE(ReadStoredValue(stale, value, kRecent)) << stale;
}

} // namespace
