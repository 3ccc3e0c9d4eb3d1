#include "tests/harness/WindowTestHarness.h"
#include "tests/support/OwnerWindow.h"

#include "res/RegistryNames.h"

namespace {

using Harness = WindowTest;

TEST_F(Harness, AnswersModalMessageBoxesInOrder) {
    OwnerWindow owner;
    DialogAnswerer answerer({DialogAnswerer::Press(IDCANCEL), DialogAnswerer::Press(IDYES)});
    EXPECT_EQ(MessageBoxA(owner, "Save changes?", "OrvikCalendar", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(owner, "Really?", "Question", MB_YESNOCANCEL | MB_ICONWARNING), IDYES);
    // Dialogs beyond the queued answers are cancelled rather than left hanging.
    EXPECT_EQ(MessageBoxA(owner, "Again?", "Question", MB_YESNOCANCEL), IDCANCEL);
    ASSERT_EQ(answerer.Seen().size(), 3u);
    EXPECT_EQ(answerer.Seen()[0].caption, "OrvikCalendar");
    EXPECT_EQ(answerer.Seen()[0].text, "Save changes?");
    EXPECT_EQ(answerer.Seen()[1].text, "Really?");
}

TEST_F(Harness, EveryTestStartsWithoutSettings) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ORVIK_SETTINGS_KEY, 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ResetSettingsKey();
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, ORVIK_SETTINGS_KEY, 0, KEY_READ, &key),
              ERROR_SUCCESS);
}

} // namespace
