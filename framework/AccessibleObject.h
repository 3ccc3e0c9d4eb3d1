#pragma once

#include <windows.h>

#include <string>

// What a window answers to WM_GETOBJECT when the platform's own object would
// tell a screen reader the wrong thing: that object, but for the name, the
// role or whether it is there to be read. Everything else (the value, the
// place, the keyboard, the children) is the platform's.
struct AccessibleLook {
    std::string name;
    // The name asked of the window each time instead, by
    // kAccessibleNameMessage, so that it follows what the window shows.
    bool nameFromWindow = false;
    long role = 0;       // 0: the platform's
    bool hidden = false; // a part of another control, not read on its own
    // A text box: its value is its text, also where the platform gives its
    // superclass the object of a plain window (Wine; Windows knows the base).
    bool textIsValue = false;
};

// Sent to a window whose look asks it for its name: wParam points to the
// std::string to fill (UTF-8). The framework's own, above the program's
// private messages.
constexpr UINT kAccessibleNameMessage = WM_APP + 0x300;

// The answer to WM_GETOBJECT(wParam, objectId) for an object of the window
// with that look: the window's client object (OBJID_CLIENT), or one of the
// program's own ids (positive), which the client object stands in for.
LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, const AccessibleLook& look);

// Gives a control a name a person would say instead of its caption, and
// answers for it from then on.
void NameControl(HWND control, const char* name);
// A control a screen reader should pass over, as a part of another one.
void HideControlFromReaders(HWND control);
