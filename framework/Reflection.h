#pragma once

#include <windows.h>

// A parent sends its children's notifications back to them as the message
// number plus this, so that a control answers its own colour requests and
// changes. The offset is the one Windows frameworks have long used: it lies
// above WM_USER, where no system message is.
const UINT kReflectedMessage = 0x2000;

// When the message is a child's notification to its parent, sends it back
// to that child (reflected) and gives the child's answer; false for any
// other message, and for notifications whose sender is not a window.
bool ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
