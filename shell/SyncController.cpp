#include "shell/SyncController.h"

#include "core/Date.h"
#include "core/Now.h"
#include "res/MessageTexts.h"
#include "res/RegistryNames.h"
#include "shell/AppFolders.h"
#include "shell/CalDavServer.h"
#include "shell/Credentials.h"
#include "shell/EventExchange.h"
#include "shell/LegacyCodePage.h"
#include "shell/Texts.h"
#include "storage/AppSettings.h"
#include "storage/CalendarFile.h"
#include "storage/Document.h"
#include "storage/FileBytes.h"
#include "storage/Registry.h"
#include "storage/SafeSave.h"
#include "view/OrvikCalendarView.h"
#include "view/ViewHost.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

const UINT kFirstRetryMinutes = 5;
const UINT kLongestPauseMinutes = 60;
// Reaches of more than a hundred years are taken as a hundred.
const std::int32_t kLongestReachDays = 36525;

// One state file per diary and calendar, named by a hash of both.
std::string StateFile(const std::string& diaryPath, const std::string& calendarUrl) {
    const std::string folder = UserDataFolder("Sync");
    if (folder.empty())
        return {};
    std::uint64_t hash = 14695981039346656037ull;
    std::string key = diaryPath;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (unsigned char c : key + '\n' + calendarUrl) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.state", static_cast<unsigned long long>(hash));
    return folder + name;
}

Date DaysFromToday(std::int32_t days) {
    const Date today(LocalNow());
    return Date(static_cast<std::uint32_t>(static_cast<std::int64_t>(today.dayNumber) + days));
}

std::int32_t Reach(std::int32_t days) {
    return std::clamp<std::int32_t>(days, 0, kLongestReachDays);
}

std::optional<int> ReminderMinutes(const AppSettings& settings) {
    if (!settings.UseReminder)
        return std::nullopt;
    return settings.RemindDays * 24 * 60 + settings.RemindHours * 60 + settings.RemindMinutes;
}

} // namespace

struct CSyncController::Job {
    Job(const std::string& user, const std::string& password) : http(user, password) {}

    HWND owner = nullptr;
    std::string diaryPath, calendarUrl, statePath;
    CLibraryTimeRules local;
    SyncArgs args;
    HttpClient http;
    // Set by the worker before it posts kDoneMessage.
    SyncOutcome outcome;
    bool diaryUnreadable = false;
};

DWORD WINAPI CSyncController::RunJob(void* parameter) {
    // The job outlives the controller when a close gives up waiting.
    const std::unique_ptr<std::shared_ptr<Job>> held(static_cast<std::shared_ptr<Job>*>(parameter));
    Job& job = **held;
    EventStore saved;
    if (ReadCalendarFile(job.diaryPath, saved, LegacyCodePageConverter()) != LoadOutcome::Loaded) {
        job.diaryUnreadable = true;
    } else {
        std::string bytes;
        std::optional<SyncState> state;
        if (!job.statePath.empty() && ReadFileBytes(job.statePath, bytes) == LoadOutcome::Loaded)
            state = ParseSyncState(bytes);
        if (!state || state->calendarUrl != job.calendarUrl)
            state = SyncState{job.calendarUrl, {}, {}};
        CalDavServer server(job.http, job.calendarUrl);
        const auto keep = [&job](const SyncState& kept) {
            std::string error;
            if (!job.statePath.empty())
                SaveFileSafely(job.statePath, FormatSyncState(kept), error);
        };
        job.outcome = SyncCalendar(server, *state, saved, job.args, keep);
    }
    PostMessageA(job.owner, CSyncController::kDoneMessage, 0, 0);
    return 0;
}

CSyncController::CSyncController(Document& document, const AppSettings& settings,
                                 COrvikCalendarView& view, ViewHost& host)
    : document(document), settings(settings), view(view), host(host) {}

CSyncController::~CSyncController() {
    Stop();
}

bool CSyncController::IsSetUp() const {
    return !settings.SyncCalendar.empty();
}

void CSyncController::SyncNow() {
    if (!IsSetUp()) {
        host.ShowStatus(ORVIK_SYNC_NOT_SET_UP);
        return;
    }
    if (!document.HasFile()) {
        host.ShowStatus(ORVIK_SYNC_NO_FILE);
        return;
    }
    if (running) {
        wanted = true;
        return;
    }
    Begin();
}

void CSyncController::FollowDocument() {
    if (document.Path() == followedPath && document.FileTime() == followedTime)
        return;
    followedPath = document.Path();
    followedTime = document.FileTime();
    if (IsSetUp() && document.HasFile())
        SyncNow();
}

void CSyncController::Begin() {
    const std::optional<std::string> password =
        StoredSyncPassword(settings.SyncServer, settings.SyncUser);
    if (!password) {
        host.ShowStatus(ORVIK_SYNC_NO_PASSWORD);
        return;
    }
    auto job = std::make_shared<Job>(settings.SyncUser, *password);
    job->owner = owner;
    job->diaryPath = document.Path();
    job->calendarUrl = settings.SyncCalendar;
    job->statePath = StateFile(job->diaryPath, job->calendarUrl);
    if (installationId.empty())
        installationId = InstallationId();
    job->args.installationId = installationId;
    job->args.first = DaysFromToday(-Reach(settings.SyncDaysBack));
    job->args.last = DaysFromToday(Reach(settings.SyncDaysAhead));
    job->args.stamp = static_cast<UtcSeconds>(Now());
    job->args.local = &job->local;
    job->args.reminderMinutes = ReminderMinutes(settings);
    auto* handedOver = new std::shared_ptr<Job>(job);
    thread.Reset(CreateThread(nullptr, 0, RunJob, handedOver, 0, nullptr));
    if (!thread) {
        delete handedOver;
        return;
    }
    running = std::move(job);
    KillTimer(owner, kTimer);
    host.ShowStatus(ORVIK_SYNCING);
}

void CSyncController::OnDone() {
    if (!running)
        return;
    // Its last word is posted; its end is not waited for, the job being shared.
    thread.Reset();
    const std::shared_ptr<Job> job = std::move(running);
    Finish(*job);
    if (wanted) {
        wanted = false;
        SyncNow();
    }
}

void CSyncController::Finish(Job& job) {
    const SyncOutcome& outcome = job.outcome;
    // What the server brought, into the diary as it stands now, unless
    // another diary was opened meanwhile (the next sync brings it there).
    if (document.Path() == job.diaryPath && !outcome.changes.empty()) {
        // Refilling the month repaints every cell: only for a changed day
        // on screen, whose cell may also hold what is being typed.
        const bool onScreen =
            std::any_of(outcome.changes.begin(), outcome.changes.end(),
                        [this](const DiaryChange& change) { return view.CellForDate(change.day); });
        if (onScreen)
            view.CollectCells();
        std::vector<DayChange> changes;
        for (ChangedDay& day : ApplyDiaryChanges(document.Store(), outcome.changes))
            changes.push_back({day.day, std::move(day.text)});
        if (!changes.empty())
            document.TakeDayTexts(changes);
        if (onScreen)
            view.ShowMonth();
    }
    if (job.diaryUnreadable || !outcome.completed) {
        ++failuresInARow;
        const UINT pause =
            std::min(kLongestPauseMinutes, kFirstRetryMinutes << std::min(failuresInARow - 1, 4));
        const std::string minutes = std::to_string(pause);
        switch (outcome.failure.kind) {
        case ServerFailure::Kind::Cancelled:
            return;
        case ServerFailure::Kind::PasswordRefused:
            host.ShowStatus(ORVIK_SYNC_PASSWORD_REFUSED);
            break;
        case ServerFailure::Kind::CalendarGone:
            host.ShowStatus(ORVIK_SYNC_CALENDAR_GONE);
            break;
        case ServerFailure::Kind::NotReached:
            host.ShowStatus(FormatText(ORVIK_SYNC_NOT_REACHED, minutes));
            break;
        default:
            host.ShowStatus(job.diaryUnreadable ? std::string(ORVIK_SYNC_DIARY_UNREADABLE)
                                                : FormatText(ORVIK_SYNC_REFUSED,
                                                             {outcome.failure.detail, minutes}));
            break;
        }
        ScheduleNext(pause);
        return;
    }
    failuresInARow = 0;
    std::string status =
        FormatText(ORVIK_SYNCED, {std::to_string(outcome.sent), std::to_string(outcome.received)});
    if (!outcome.skipped.empty()) {
        std::string skipped;
        for (const std::string& one : outcome.skipped)
            skipped += (skipped.empty() ? "" : ", ") + one;
        status += FormatText(ORVIK_SYNC_SKIPPED, skipped);
    }
    host.ShowStatus(status);
    CRegistry registry;
    if (registry.Create())
        registry.WriteText(ORVIK_VALUE_SYNC_LAST_SUCCESS, std::to_string(Now()));
    if (settings.SyncMinutes > 0)
        ScheduleNext(static_cast<UINT>(std::min(settings.SyncMinutes, 24 * 60)));
}

void CSyncController::ScheduleNext(UINT minutes) {
    SetTimer(owner, kTimer, minutes * 60 * 1000, nullptr);
}

void CSyncController::OnTimer() {
    KillTimer(owner, kTimer);
    SyncNow();
}

void CSyncController::SettingsChanged() {
    failuresInARow = 0;
    KillTimer(owner, kTimer);
    SyncNow();
}

void CSyncController::Stop() {
    if (owner)
        KillTimer(owner, kTimer);
    if (!running)
        return;
    running->http.Cancel();
    // Past a second the thread is left to end with the process.
    WaitForSingleObject(thread.Get(), 1000);
    thread.Reset();
    running.reset();
}

std::string LastSyncText() {
    CRegistry registry;
    std::string seconds;
    if (!registry.Open() || !registry.ReadText(ORVIK_VALUE_SYNC_LAST_SUCCESS, seconds) ||
        seconds.empty())
        return ORVIK_SYNC_NEVER;
    const std::time_t moment = static_cast<std::time_t>(std::strtoll(seconds.c_str(), nullptr, 10));
    const std::tm* local = std::localtime(&moment);
    if (!local)
        return ORVIK_SYNC_NEVER;
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local);
    return FormatText(ORVIK_SYNC_LAST, text);
}
