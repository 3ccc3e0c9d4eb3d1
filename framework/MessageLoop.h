#pragma once

#include <windows.h>

#include <vector>

// Sees every message of the thread before it is dispatched; true consumes it.
class CMessageFilter {
  public:
    virtual BOOL PreTranslateMessage(MSG* message) = 0;

  protected:
    ~CMessageFilter() = default;
};

// Called when the thread's queue runs empty.
class CIdleHandler {
  public:
    virtual BOOL OnIdle() = 0;

  protected:
    ~CIdleHandler() = default;
};

// The GUI thread's loop: filters (most recent first), translate, dispatch;
// one pass of the idle handlers whenever the queue runs empty after input.
class CMessageLoop {
  public:
    void AddMessageFilter(CMessageFilter* filter);
    void RemoveMessageFilter(CMessageFilter* filter);
    void AddIdleHandler(CIdleHandler* handler);
    void RemoveIdleHandler(CIdleHandler* handler);

    // Runs until WM_QUIT and returns its exit code.
    int Run();

    bool PreTranslateMessage(MSG* message);
    void OnIdle(int idleCount);
    // Messages that come on their own and do not start a new idle pass.
    static bool IsIdleMessage(const MSG& message);

  private:
    std::vector<CMessageFilter*> filters;    // borrowed
    std::vector<CIdleHandler*> idleHandlers; // borrowed
};
