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
