#pragma once

#include "framework/OwnedHandle.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

class COrvikCalendarView;
class Document;
class ViewHost;
struct AppSettings;

// Sync with the user's CalDAV calendar: at start, after a save, every few
// minutes and on request, on a worker thread that reads the saved diary
// itself and talks to the server; what it brings is applied here, on the
// window's thread, through the document. Failures are told in the status
// bar and tried again after a growing pause.
class CSyncController {
  public:
    // The owner's timer for the next sync (the frame's others are 1 to 3).
    static const UINT_PTR kTimer = 4;
    // Posted to the owner when a sync ends.
    static const UINT kDoneMessage = WM_APP + 3;

    CSyncController(Document& document, const AppSettings& settings, COrvikCalendarView& view,
                    ViewHost& host);
    ~CSyncController();
    CSyncController(const CSyncController&) = delete;
    CSyncController& operator=(const CSyncController&) = delete;
    HWND owner = nullptr;

    bool IsSetUp() const;
    bool Busy() const { return running != nullptr; }
    // Once the window shows.
    void Start();
    void SyncNow();
    // Called when the window is idle: a save (or a new file) syncs.
    void FollowDocument();
    void OnTimer();
    void OnDone();
    // After the Sync dialog.
    void SettingsChanged();
    // At close: the sync is given up, waiting a second at most.
    void Stop();

  private:
    struct Job;
    // The worker thread's body; it holds the job while it runs.
    static DWORD WINAPI RunJob(void* heldJob);
    void Begin();
    void Finish(Job& job);
    void ScheduleNext(UINT minutes);

    Document& document;
    const AppSettings& settings;
    COrvikCalendarView& view;
    ViewHost& host;
    std::shared_ptr<Job> running;
    OwnedKernelObject thread;
    bool wanted = false; // asked for while one was running
    int failuresInARow = 0;
    std::string installationId; // read once: it never changes
    std::string followedPath;   // the diary's file and time when last looked at
    std::int64_t followedTime = 0;
};

// When the last sync succeeded, for the Sync dialog.
std::string LastSyncText();
