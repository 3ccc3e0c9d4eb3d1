#pragma once

#include <windows.h>

#include <utility>
#include <vector>

class CMessageLoop;

// The process's module object: which message loop runs on which thread.
class CAppModule {
  public:
    void Init();
    void Term();
    void AddMessageLoop(CMessageLoop* loop);
    void RemoveMessageLoop();
    // The loop of the calling thread, or null.
    CMessageLoop* GetMessageLoop();

  private:
    CRITICAL_SECTION lock{};
    bool initialised = false;
    std::vector<std::pair<DWORD, CMessageLoop*>> loops; // borrowed loops
};

extern CAppModule g_appModule;
