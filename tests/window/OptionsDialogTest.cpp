#include "tests/harness/WindowTestHarness.h"
#include "tests/support/CommonDialogs.h"
#include "tests/support/OwnerWindow.h"
#include "tests/support/Screen.h"
#include "tests/support/TempFolder.h"

#include "res/OptionsIds.h"
#include "shell/OptionsDialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

enum Page { kReminderPage = 0, kStylesheetPage = 1, kAdvancedPage = 2 };

const int kLeadTimeControls[] = {IDC_REMIND_DAYS,    IDC_REMIND_DAYS_SPIN,
                                 IDC_REMIND_HOURS,   IDC_REMIND_HOURS_SPIN,
                                 IDC_REMIND_MINUTES, IDC_REMIND_MINUTES_SPIN};

std::string Text(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string Describe(const AppSettings& s) {
    return "xsl=" + s.XSLTemplate + " minimize=" + std::to_string(s.MinimizeOnClose) +
           " reminder=" + std::to_string(s.UseReminder) +
           " multiple=" + std::to_string(s.AllowMultipleInstances) +
           " sunday=" + std::to_string(s.SundayFirst) + " lead=" + std::to_string(s.RemindDays) +
           "d " + std::to_string(s.RemindHours) + "h " + std::to_string(s.RemindMinutes) + "m";
}

HWND ShowPage(HWND sheet, Page page) {
    PropSheet_SetCurSel(sheet, nullptr, page);
    return PropSheet_GetCurrentPageHwnd(sheet);
}

void Click(HWND page, int id) {
    SendDlgItemMessageA(page, id, BM_CLICK, 0, 0);
}

// "1" for a ticked box, "0" for an empty one.
std::string Ticks(HWND page, std::initializer_list<int> ids) {
    std::string ticks;
    for (int id : ids)
        ticks += IsDlgButtonChecked(page, id) == BST_CHECKED ? '1' : '0';
    return ticks;
}

// "1" for each enabled lead-time control, "0" for each disabled one.
std::string LeadTimeEnabled(HWND page) {
    std::string enabled;
    for (int id : kLeadTimeControls)
        enabled += IsWindowEnabled(GetDlgItem(page, id)) ? '1' : '0';
    return enabled;
}

void PressKey(HWND control, WPARAM key) {
    SendMessageA(control, WM_KEYDOWN, key, 0);
    SendMessageA(control, WM_KEYUP, key, 0xC0000000);
}

DialogAnswerer::Action PressSheetButton(int button) {
    return [button](HWND sheet) { PropSheet_PressButton(sheet, button); };
}

class Options : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_NE(owner.window, nullptr);
        PumpUntilIdle();
    }

    // Opens the sheet over the owner; the actions answer it and the
    // dialogs it opens in turn.
    bool Show(AppSettings& settings, std::vector<DialogAnswerer::Action> actions) {
        DialogAnswerer answerer(std::move(actions));
        const bool ok = ShowOptions(owner, settings);
        seen = answerer.Seen();
        return ok;
    }
    // Runs look on the open sheet, then closes it with the button.
    bool ShowAndClose(AppSettings& settings, std::function<void(HWND sheet)> look,
                      int button = PSBTN_OK) {
        return Show(settings, {[&](HWND sheet) {
                        look(sheet);
                        PropSheet_PressButton(sheet, button);
                    }});
    }

    OwnerWindow owner;
    std::vector<SeenDialog> seen;
};

TEST_F(Options, OpensOnTheReminderPageOfThreeWithoutApply) {
    int tabs = 0;
    bool onReminderPage = false, applyShown = true;
    AppSettings settings;
    ShowAndClose(
        settings,
        [&](HWND sheet) {
            tabs = TabCtrl_GetItemCount(PropSheet_GetTabControl(sheet));
            onReminderPage = GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), IDC_USE_REMINDER);
            HWND apply = GetDlgItem(sheet, kPropertySheetApply);
            applyShown = apply && IsWindowVisible(apply);
        },
        PSBTN_CANCEL);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(tabs, 3);
    EXPECT_TRUE(onReminderPage);
    EXPECT_FALSE(applyShown) << "every change takes effect with OK";
}

TEST_F(Options, PagesShowTheSettings) {
    std::string reminder, stylesheet, advanced;
    AppSettings settings{"C:\\Styles\\month.xsl", 1, 1, 0, 1, 7, 8, 9};
    ShowAndClose(
        settings,
        [&](HWND sheet) {
            HWND page = ShowPage(sheet, kReminderPage);
            reminder = Ticks(page, {IDC_USE_REMINDER}) + " " +
                       Text(GetDlgItem(page, IDC_REMIND_DAYS)) + " " +
                       Text(GetDlgItem(page, IDC_REMIND_HOURS)) + " " +
                       Text(GetDlgItem(page, IDC_REMIND_MINUTES));
            stylesheet = Text(GetDlgItem(ShowPage(sheet, kStylesheetPage), IDC_XSL_TEMPLATE));
            page = ShowPage(sheet, kAdvancedPage);
            advanced =
                Ticks(page, {IDC_MINIMIZE_ON_CLOSE, IDC_SUNDAY_FIRST, IDC_MULTIPLE_INSTANCES});
        },
        PSBTN_CANCEL);
    EXPECT_EQ(reminder, "1 7 8 9");
    EXPECT_EQ(stylesheet, "C:\\Styles\\month.xsl");
    EXPECT_EQ(advanced, "110");
}

TEST_F(Options, LeadTimeControlsFollowTheUseReminderTick) {
    for (std::int32_t useReminder : {0, 1}) {
        std::string opened, clicked;
        AppSettings settings;
        settings.UseReminder = useReminder;
        ShowAndClose(settings, [&](HWND sheet) {
            HWND page = PropSheet_GetCurrentPageHwnd(sheet);
            opened = Ticks(page, {IDC_USE_REMINDER}) + " " + LeadTimeEnabled(page);
            Click(page, IDC_USE_REMINDER);
            clicked = Ticks(page, {IDC_USE_REMINDER}) + " " + LeadTimeEnabled(page);
        });
        SCOPED_TRACE(useReminder);
        EXPECT_EQ(opened, useReminder ? "1 111111" : "0 000000");
        EXPECT_EQ(clicked, useReminder ? "0 000000" : "1 111111");
        EXPECT_EQ(settings.UseReminder, 1 - useReminder);
    }
}

TEST_F(Options, SpinnersRunThroughTheirRangesAndWrapAround) {
    const struct {
        int field;
        const char* start;
        WPARAM key;
        const char* expected;
    } cases[] = {
        {IDC_REMIND_DAYS, "41", VK_UP, "42"},     {IDC_REMIND_DAYS, "366", VK_UP, "0"},
        {IDC_REMIND_DAYS, "0", VK_DOWN, "366"},   {IDC_REMIND_HOURS, "22", VK_UP, "23"},
        {IDC_REMIND_HOURS, "23", VK_UP, "0"},     {IDC_REMIND_HOURS, "0", VK_DOWN, "23"},
        {IDC_REMIND_MINUTES, "7", VK_DOWN, "6"},  {IDC_REMIND_MINUTES, "59", VK_UP, "0"},
        {IDC_REMIND_MINUTES, "0", VK_DOWN, "59"},
    };
    std::vector<std::string> results;
    AppSettings settings;
    settings.UseReminder = 1;
    ShowAndClose(
        settings,
        [&](HWND sheet) {
            HWND page = PropSheet_GetCurrentPageHwnd(sheet);
            for (const auto& c : cases) {
                HWND field = GetDlgItem(page, c.field);
                SetWindowTextA(field, c.start);
                PressKey(field, c.key);
                results.push_back(Text(field));
            }
        },
        PSBTN_CANCEL);
    ASSERT_EQ(results.size(), std::size(cases));
    for (std::size_t i = 0; i < results.size(); ++i)
        EXPECT_EQ(results[i], cases[i].expected)
            << "field " << cases[i].field << " from " << cases[i].start;
}

TEST_F(Options, OkTakesTheTypedLeadTimeUnchecked) {
    const struct {
        int field;
        const char* typed;
        std::int32_t AppSettings::*value;
        std::int32_t expected;
    } cases[] = {
        {IDC_REMIND_DAYS, "500", &AppSettings::RemindDays, 500},
        {IDC_REMIND_HOURS, "99", &AppSettings::RemindHours, 99},
        {IDC_REMIND_MINUTES, "", &AppSettings::RemindMinutes, 0},
        {IDC_REMIND_MINUTES, "x", &AppSettings::RemindMinutes, 0},
        {IDC_REMIND_DAYS, "-3", &AppSettings::RemindDays, -3},
    };
    for (const auto& c : cases) {
        AppSettings settings{"", 0, 1, 0, 0, 1, 2, 3};
        EXPECT_TRUE(ShowAndClose(settings, [&](HWND sheet) {
            SetDlgItemTextA(PropSheet_GetCurrentPageHwnd(sheet), c.field, c.typed);
        })) << c.typed;
        EXPECT_EQ(settings.*c.value, c.expected) << c.field << " '" << c.typed << "'";
    }
}

// Every control of every page changed, then the sheet closed one way or another.
TEST_F(Options, OnlyOkWritesEveryChangedFieldIntoTheSettings) {
    const AppSettings before{"Before.xsl", 0, 0, 1, 0, 1, 2, 3};
    const AppSettings after{"After.xsl", 1, 1, 0, 1, 10, 11, 12};
    const struct {
        const char* how;
        DialogAnswerer::Action close;
        bool ok;
    } cases[] = {
        {"OK button", PressSheetButton(PSBTN_OK), true},
        {"Enter", DialogAnswerer::PressKey(VK_RETURN), true},
        {"Cancel button", PressSheetButton(PSBTN_CANCEL), false},
        {"Escape", DialogAnswerer::PressKey(VK_ESCAPE), false},
        {"close box", [](HWND sheet) { PostMessageA(sheet, WM_CLOSE, 0, 0); }, false},
    };
    for (const auto& c : cases) {
        AppSettings settings = before;
        const bool ok = Show(settings, {[&](HWND sheet) {
                                 HWND page = ShowPage(sheet, kReminderPage);
                                 Click(page, IDC_USE_REMINDER);
                                 SetDlgItemTextA(page, IDC_REMIND_DAYS, "10");
                                 SetDlgItemTextA(page, IDC_REMIND_HOURS, "11");
                                 SetDlgItemTextA(page, IDC_REMIND_MINUTES, "12");
                                 page = ShowPage(sheet, kStylesheetPage);
                                 SetDlgItemTextA(page, IDC_XSL_TEMPLATE, "After.xsl");
                                 page = ShowPage(sheet, kAdvancedPage);
                                 Click(page, IDC_MINIMIZE_ON_CLOSE);
                                 Click(page, IDC_SUNDAY_FIRST);
                                 Click(page, IDC_MULTIPLE_INSTANCES);
                                 // The keys go to the focused control.
                                 SetFocus(GetDlgItem(page, IDC_SUNDAY_FIRST));
                                 c.close(sheet);
                             }});
        EXPECT_EQ(ok, c.ok) << c.how;
        EXPECT_EQ(Describe(settings), Describe(c.ok ? after : before)) << c.how;
    }
}

TEST_F(Options, StylesheetFieldTakesTheBareNameOnlyBesideTheProgram) {
    const struct {
        const char* path;
        const char* programFolder;
        const char* expected;
    } cases[] = {
        {"C:\\Orvik\\month.xsl", "C:\\Orvik\\", "month.xsl"},
        {"C:\\Orvik\\month.xsl", "c:\\orvik\\", "month.xsl"},
        {"C:\\Styles\\month.xsl", "C:\\Orvik\\", "C:\\Styles\\month.xsl"},
        {"C:\\Orvik\\Deeper\\month.xsl", "C:\\Orvik\\", "C:\\Orvik\\Deeper\\month.xsl"},
        {"C:\\a.xsl\\a.xsl", "C:\\a.xsl\\", "a.xsl"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StylesheetFieldText(c.path, c.programFolder), c.expected)
            << c.path << " beside " << c.programFolder;
}

// The user goes to the stylesheet's folder in the open dialog and picks the
// file there (or cancels); the current folder stays where it was.
TEST_F(Options, BrowseFillsTheFieldOnlyWhenAFileIsChosen) {
    char previous[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof previous, previous);
    TempFolder folder;
    WriteWholeFile(folder.PathOf("month.xsl"), "");

    for (bool choose : {true, false}) {
        HWND sheetWindow = nullptr;
        std::string firstType;
        AppSettings settings;
        settings.XSLTemplate = "Before.xsl";
        Show(settings, {[&](HWND sheet) {
                            sheetWindow = sheet;
                            HWND page = ShowPage(sheet, kStylesheetPage);
                            PostMessageA(GetDlgItem(page, IDC_BROWSE), BM_CLICK, 0, 0);
                        },
                        [&](HWND fileDialog) {
                            char type[64] = "";
                            SendDlgItemMessageA(fileDialog, kFileTypes, CB_GETLBTEXT, 0,
                                                reinterpret_cast<LPARAM>(type));
                            firstType = type;
                            TypeFileName(fileDialog, folder.path.string());
                            SendMessageA(fileDialog, WM_COMMAND, IDOK, 0); // goes to the folder
                            TypeFileName(fileDialog, "month.xsl");
                            DialogAnswerer::Press(choose ? IDOK : IDCANCEL)(fileDialog);
                            // Handled once the file dialog has ended.
                            PostMessageA(sheetWindow, PSM_PRESSBUTTON, PSBTN_OK, 0);
                        }});
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof current, current);

        SCOPED_TRACE(choose);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_NE(firstType.find("*.xsl"), std::string::npos) << "stylesheets offered first";
        EXPECT_EQ(settings.XSLTemplate, choose ? folder.PathOf("month.xsl") : "Before.xsl");
        EXPECT_STREQ(current, previous);
    }
}

// For a person to look at: each page as the user sees it.
using OptionsScreenshot = Options;

TEST_F(OptionsScreenshot, EachPage) {
    AppSettings settings{"OrvikCalendar.xsl", 1, 1, 0, 0, 1, 2, 30};
    CreateDirectoryA("..\\screenshots", nullptr);
    ShowAndClose(
        settings,
        [&](HWND sheet) {
            const struct {
                Page page;
                int control; // one of the page's own
                const char* name;
            } pages[] = {{kReminderPage, IDC_USE_REMINDER, "reminder"},
                         {kStylesheetPage, IDC_XSL_TEMPLATE, "xsl-template"},
                         {kAdvancedPage, IDC_SUNDAY_FIRST, "advanced"}};
            for (const auto& p : pages) {
                HWND page = ShowPage(sheet, p.page);
                EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, p.control))) << p.name;
                EXPECT_TRUE(ShownUncovered(sheet)) << p.name;
                RedrawWindow(sheet, nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                EXPECT_TRUE(
                    SaveScreenshot(std::string("..\\screenshots\\options-") + p.name + ".bmp"));
            }
        },
        PSBTN_CANCEL);
}

} // namespace
