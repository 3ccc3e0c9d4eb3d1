#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// Dispatches every waiting message of this thread, including those the
// handlers post in turn, until the queue is empty. Never sleeps.
void PumpUntilIdle();

// Removes the program's settings key, so a test starts as on a first run.
void ResetSettingsKey();

// A raw value under the settings key (or its subkey), for arranging and
// checking what is stored.
struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    std::string Text() const { return std::string(bytes.begin(), bytes.end()); }
    DWORD Number() const;
};
void StoreSettingsValue(const char* name, DWORD type, const void* data, DWORD size,
                        const char* subkey = nullptr);
void StoreSettingsDWord(const char* name, DWORD value, const char* subkey = nullptr);
void StoreSettingsText(const char* name, const std::string& text, const char* subkey = nullptr);
// False when the value does not exist.
bool ReadStoredValue(const char* name, StoredValue& value, const char* subkey = nullptr);

// Saves what the screen shows as a 24-bit BMP, for a person to look at.
bool SaveScreenshot(const std::string& path);

// The texts of a dialog as a person would read them.
struct SeenDialog {
    std::string caption;
    std::string text; // the static texts, joined by newlines
};

// Answers the modal dialogs that this thread opens while the object lives.
// Each dialog gets the next action once its modal loop runs; dialogs beyond
// the queued actions are cancelled, so a test never hangs on one.
class DialogAnswerer {
  public:
    using Action = std::function<void(HWND dialog)>;

    explicit DialogAnswerer(std::vector<Action> actions = {});
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // An action that presses the dialog's button with that id.
    static Action Press(int buttonId);
    // An action that types a key into the control with the focus.
    static Action PressKey(WPARAM virtualKey);

    const std::vector<SeenDialog>& Seen() const { return seen; }

  private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam);

    std::deque<Action> actions;
    std::vector<SeenDialog> seen;
    std::vector<HWND> answered;     // a dialog that activates again is not answered twice
    HHOOK cbtHook = nullptr;        // owned
    HHOOK getMessageHook = nullptr; // owned
};

// Base for window tests: a first-run settings key before and after each test.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetSettingsKey(); }
    void TearDown() override {
        PumpUntilIdle();
        ResetSettingsKey();
    }
};
