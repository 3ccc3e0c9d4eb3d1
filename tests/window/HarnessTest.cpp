#include "tests/harness/WindowTestHarness.h"

#include "res/RegistryNames.h"

namespace {

const char kTestClass[] = "HarnessTestWindow";

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 0, 0,
                        200, 100, window, reinterpret_cast<HMENU>(1), nullptr, nullptr);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class Harness : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kTestClass;
        RegisterClassA(&windowClass);
        frame = CreateWindowExA(0, kTestClass, "Harness", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(frame, nullptr);
        PumpUntilIdle();
    }
    void TearDown() override {
        DestroyWindow(frame);
        WindowTest::TearDown();
    }
    HWND frame = nullptr;
};

TEST_F(Harness, EditKeepsItsTextThroughMessages) {
    HWND edit = GetDlgItem(frame, 1);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("11:00 Dentist\r\nLunch"));
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("replaced\r\nline"));
    PumpUntilIdle();
    char text[64] = "";
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "replaced\r\nline");
    EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 2);
}

TEST_F(Harness, AnswersModalMessageBoxesInOrder) {
    DialogAnswerer answerer({DialogAnswerer::Press(IDCANCEL), DialogAnswerer::Press(IDYES)});
    EXPECT_EQ(MessageBoxA(frame, "Save changes?", "OrvikCalendar", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(frame, "Really?", "Question", MB_YESNOCANCEL | MB_ICONWARNING), IDYES);
    // Dialogs beyond the queued answers are cancelled rather than left hanging.
    EXPECT_EQ(MessageBoxA(frame, "Again?", "Question", MB_YESNOCANCEL), IDCANCEL);
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
