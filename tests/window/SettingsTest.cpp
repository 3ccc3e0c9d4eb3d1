#include "tests/harness/WindowTestHarness.h"

#include "res/RegistryNames.h"
#include "shell/RecentFileList.h"
#include "storage/SettingsStore.h"
#include "storage/SettingsTable.h"

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

TEST_F(SettingsStoreTest, EverySettingIsWrittenAndReadByItsName) {
    // Distinct values everywhere, beyond the Options sheet's ranges too.
    AppSettings written;
    std::int32_t next = -1;
    for (const Setting& setting : kSettings) {
        if (setting.type == SettingType::Text)
            written.*setting.text = "C:\\styles\\print.xsl";
        else
            written.*setting.number = next += 250;
    }
    {
        CRegistry registry;
        ASSERT_TRUE(registry.Create());
        WriteSettings(registry, written);
    }
    for (const Setting& setting : kSettings) {
        StoredValue stored;
        ASSERT_TRUE(ReadStoredValue(setting.name, stored)) << setting.name;
        if (setting.type == SettingType::Text)
            EXPECT_EQ(stored.Text(), written.*setting.text + '\0') << setting.name;
        else
            EXPECT_EQ(static_cast<std::int32_t>(stored.Number()), written.*setting.number)
                << setting.name;
    }
    const AppSettings read = ReadFreshSettings();
    for (const Setting& setting : kSettings) {
        if (setting.type == SettingType::Text)
            EXPECT_EQ(read.*setting.text, written.*setting.text) << setting.name;
        else
            EXPECT_EQ(read.*setting.number, written.*setting.number) << setting.name;
    }
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

using PlacementTest = WindowTest;

TEST_F(PlacementTest, OnlyA44ByteBinaryRecordIsTaken) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.showCmd = SW_SHOWMAXIMIZED;
    placement.rcNormalPosition = {50, 60, 450, 360};
    const struct {
        const char* what;
        DWORD type;
        DWORD size;
        bool taken;
    } cases[] = {
        {"44 bytes", REG_BINARY, 44, true},     {"43 bytes", REG_BINARY, 43, false},
        {"45 bytes", REG_BINARY, 45, false},    {"REG_DWORD", REG_DWORD, 4, false},
        {"REG_SZ 44 bytes", REG_SZ, 44, false},
    };
    for (const auto& c : cases) {
        ResetSettingsKey();
        std::vector<BYTE> bytes(64, 0);
        CopyMemory(bytes.data(), &placement, sizeof placement);
        StoreSettingsValue(ORVIK_VALUE_WINDOW_PLACEMENT, c.type, bytes.data(), c.size);
        CRegistry registry;
        registry.Open();
        const auto read = registry.ReadWindowPlacement();
        ASSERT_EQ(read.has_value(), c.taken) << c.what;
        if (read) {
            EXPECT_EQ(read->showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
            EXPECT_TRUE(EqualRect(&read->rcNormalPosition, &placement.rcNormalPosition));
        }
    }
}

TEST_F(PlacementTest, WrittenPlacementReadsBack) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.showCmd = SW_SHOWNORMAL;
    placement.rcNormalPosition = {40, 50, 360, 290};
    {
        CRegistry registry;
        ASSERT_TRUE(registry.Create());
        EXPECT_TRUE(registry.WriteWindowPlacement(placement));
    }
    StoredValue stored;
    ASSERT_TRUE(ReadStoredValue(ORVIK_VALUE_WINDOW_PLACEMENT, stored));
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(stored.bytes.size(), 44u);
    CRegistry registry;
    registry.Open();
    const auto read = registry.ReadWindowPlacement();
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(EqualRect(&read->rcNormalPosition, &placement.rcNormalPosition));
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
    EXPECT_EQ(list.Stored().maximum, 4);
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
        EXPECT_EQ(list.Stored().maximum, c.maximum) << c.stored;
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
