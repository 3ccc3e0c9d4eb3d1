#include "framework/MessageLoop.h"

#include "framework/GuardedDispatch.h"

#include <algorithm>

namespace {
const UINT kSystemTimer = 0x0118;

template <class T> void RemoveFrom(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
} // namespace

void CMessageLoop::AddMessageFilter(CMessageFilter* filter) {
    filters.push_back(filter);
}
void CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
    RemoveFrom(filters, filter);
}
void CMessageLoop::AddIdleHandler(CIdleHandler* handler) {
    idleHandlers.push_back(handler);
}
void CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
    RemoveFrom(idleHandlers, handler);
}

int CMessageLoop::Run() {
    bool idleArmed = true;
    int idleCount = 0;
    MSG message{};
    for (;;) {
        while (idleArmed && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            OnIdle(idleCount++);
            idleArmed = false;
        }
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (!got)
            return static_cast<int>(message.wParam);
        if (!PreTranslateMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!IsIdleMessage(message)) {
            idleArmed = true;
            idleCount = 0;
        }
    }
}

// Filters and idle handlers run outside any window procedure, but an
// exception must not end the loop either: it is reported like one there.
bool CMessageLoop::PreTranslateMessage(MSG* message) {
    bool used = false;
    CallGuarded([&] {
        for (auto filter = filters.rbegin(); filter != filters.rend() && !used; ++filter)
            used = (*filter)->PreTranslateMessage(message);
    });
    return used;
}

void CMessageLoop::OnIdle(int) {
    CallGuarded([&] {
        for (CIdleHandler* handler : idleHandlers)
            handler->OnIdle();
    });
}

bool CMessageLoop::IsIdleMessage(const MSG& message) {
    switch (message.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case kSystemTimer:
        return true;
    default:
        return false;
    }
}
