#include "framework/AppModule.h"

#include <algorithm>

CAppModule g_appModule;

void CAppModule::Init() {
    if (!initialised)
        InitializeCriticalSection(&lock);
    initialised = true;
}

void CAppModule::Term() {
    if (!initialised)
        return;
    loops.clear();
    DeleteCriticalSection(&lock);
    initialised = false;
}

void CAppModule::AddMessageLoop(CMessageLoop* loop) {
    EnterCriticalSection(&lock);
    loops.emplace_back(GetCurrentThreadId(), loop);
    LeaveCriticalSection(&lock);
}

void CAppModule::RemoveMessageLoop() {
    EnterCriticalSection(&lock);
    const DWORD thread = GetCurrentThreadId();
    loops.erase(std::remove_if(loops.begin(), loops.end(),
                               [thread](const auto& entry) { return entry.first == thread; }),
                loops.end());
    LeaveCriticalSection(&lock);
}

CMessageLoop* CAppModule::GetMessageLoop() {
    EnterCriticalSection(&lock);
    CMessageLoop* found = nullptr;
    for (const auto& entry : loops) {
        if (entry.first == GetCurrentThreadId())
            found = entry.second;
    }
    LeaveCriticalSection(&lock);
    return found;
}
