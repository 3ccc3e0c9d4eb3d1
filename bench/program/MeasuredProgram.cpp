// The program as the whole-program benchmark measures it: when the
// environment variable ORVIK_MEASURE names a file, it times its own actions
// on the diary it opened, writes the results to that file and closes.
// Otherwise it is the program.
#include "core/Now.h"
#include "res/resource.h"
#include "shell/Credentials.h"
#include "shell/MainFrame.h"
#include "shell/Run.h"
#include "tests/support/MainFrameAccess.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

const int kRepetitions = 15;
const char kAbsentText[] = "a text that no day of the diary holds";

void ShowNextMonth(CMainFrame& frame) {
    MainFrameTestAccess::Navigator(frame).GoNextMonth();
    // Shown means painted: the cells paint now, not when the queue runs empty.
    RedrawWindow(frame.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void FindNothing(CMainFrame& frame) {
    // Without a current day the search goes from the first day to the last,
    // the longest Find Next there is. The "Not Found!" box after it waits for
    // the user and is left out. One finder for all rounds, like the view's.
    static Finder finder;
    finder.FindNext(MainFrameTestAccess::DocumentOf(frame).Store(), std::nullopt,
                    FindRequest{kAbsentText});
}

void CheckReminders(CMainFrame& frame) {
    MainFrameTestAccess::Reminders(frame).OnTimer();
}

// The diary's file read again into a document of its own, as an open reads it.
void LoadTheDiary(CMainFrame& frame) {
    Document document(LegacyCodePageConverter());
    document.Load(MainFrameTestAccess::DocumentOf(frame).Path());
}

void Save(CMainFrame& frame) {
    SendMessageA(frame.window, WM_COMMAND, ID_FILE_SAVE, 0);
}

struct Action {
    const char* name;
    void (*run)(CMainFrame&);
    std::vector<double> milliseconds;
    double processorMilliseconds = 0; // of all rounds together
};

// The processor time of this thread, in ms: unlike the clock, it does not
// count the time the machine gave to other work. Its ticks are coarse
// (10 to 16 ms), so only a sum over many rounds tells.
double ThreadProcessorMilliseconds() {
    FILETIME created, ended, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user))
        return 0;
    auto milliseconds = [](const FILETIME& time) {
        return (static_cast<double>(time.dwHighDateTime) * 4294967296.0 + time.dwLowDateTime) /
               10000.0;
    };
    return milliseconds(kernel) + milliseconds(user);
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// One line per action: its name, then the median, the least and the most
// time in ms, separated by tabs; then a line per action for its mean
// processor time.
void WriteResults(const char* path, std::vector<Action>& actions) {
    FILE* file = std::fopen(path, "w");
    if (!file)
        return;
    for (Action& action : actions) {
        std::vector<double>& times = action.milliseconds;
        std::sort(times.begin(), times.end());
        std::fprintf(file, "%s\t%.3f\t%.3f\t%.3f\n", action.name, times[times.size() / 2],
                     times.front(), times.back());
    }
    for (const Action& action : actions) {
        const double mean = action.processorMilliseconds / kRepetitions;
        std::fprintf(file, "%s, processor time (mean)\t%.3f\t%.3f\t%.3f\n", action.name, mean, mean,
                     mean);
    }
    std::fclose(file);
}

// One sync's cost to the window's thread: starting it and taking its
// result, not the worker's time with the server. Its whole time too.
void SyncOnce(CMainFrame& frame, std::vector<double>& busy, std::vector<double>& whole) {
    LARGE_INTEGER start, started, done, taken;
    QueryPerformanceCounter(&start);
    MainFrameTestAccess::Sync(frame).SyncNow();
    QueryPerformanceCounter(&started);
    if (!MainFrameTestAccess::Sync(frame).Busy())
        return;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) &&
           !(message.hwnd == frame.window && message.message == CSyncController::kDoneMessage))
        DispatchMessageA(&message);
    QueryPerformanceCounter(&done);
    DispatchMessageA(&message);
    QueryPerformanceCounter(&taken);
    busy.push_back(Milliseconds(start, started) + Milliseconds(done, taken));
    whole.push_back(Milliseconds(start, taken));
}

// With a CalDAV server named by ORVIK_BENCH_CALDAV (the calendar's address,
// its user and password, separated by spaces): the first sync of the
// diary, syncs with nothing changed and syncs with one line changed.
void MeasureSync(CMainFrame& frame, const char* path) {
    const char* server = std::getenv("ORVIK_BENCH_CALDAV");
    char calendar[512], user[64], password[64];
    if (!server || std::sscanf(server, "%511s %63s %63s", calendar, user, password) != 3)
        return;
    AppSettings& settings = MainFrameTestAccess::Settings(frame);
    settings.SyncServer = settings.SyncCalendar = calendar;
    settings.SyncUser = user;
    settings.SyncMinutes = 0;
    if (!StoreSyncPassword(calendar, user, password))
        return;
    struct Row {
        const char* name;
        std::vector<double> busy{}, whole{};
    } rows[] = {{"sync, first"}, {"sync, nothing changed"}, {"sync, one line changed"}};
    SyncOnce(frame, rows[0].busy, rows[0].whole);
    Document& document = MainFrameTestAccess::DocumentOf(frame);
    const Date today(LocalNow());
    for (int round = 0; round < 5; ++round) {
        SyncOnce(frame, rows[1].busy, rows[1].whole);
        document.SetDayText(today, "10:0" + std::to_string(round) + " Changed for the benchmark");
        document.Save();
        SyncOnce(frame, rows[2].busy, rows[2].whole);
    }
    FILE* file = std::fopen(path, "a");
    if (!file)
        return;
    for (Row& row : rows) {
        for (auto [what, times] :
             {std::pair{"window's thread", &row.busy}, {"whole", &row.whole}}) {
            std::sort(times->begin(), times->end());
            std::fprintf(file, "%s, %s\t%.3f\t%.3f\t%.3f\n", row.name, what,
                         (*times)[times->size() / 2], times->front(), times->back());
        }
    }
    std::fclose(file);
}

CMainFrame* measured = nullptr; // the program's frame, while it runs

void CALLBACK MeasureActions(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    CMainFrame& frame = *measured;
    // Without a file a save would ask for a name.
    if (MainFrameTestAccess::DocumentOf(frame).HasFile()) {
        std::vector<Action> actions = {{"next month", ShowNextMonth, {}},
                                       {"Find Next, nothing found", FindNothing, {}},
                                       {"reminder check", CheckReminders, {}},
                                       {"load the diary", LoadTheDiary, {}},
                                       {"save with flush", Save, {}}};
        // Round by round, so that a disturbance spreads over all actions.
        for (int round = 0; round < kRepetitions; ++round) {
            for (Action& action : actions) {
                LARGE_INTEGER start, end;
                const double processorStart = ThreadProcessorMilliseconds();
                QueryPerformanceCounter(&start);
                action.run(frame);
                QueryPerformanceCounter(&end);
                action.processorMilliseconds += ThreadProcessorMilliseconds() - processorStart;
                action.milliseconds.push_back(Milliseconds(start, end));
            }
        }
        WriteResults(std::getenv("ORVIK_MEASURE"), actions);
        MeasureSync(frame, std::getenv("ORVIK_MEASURE"));
    }
    PostMessageA(frame.window, WM_COMMAND, ID_APP_EXIT, 0);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
    if (!std::getenv("ORVIK_MEASURE"))
        return RunProgram(commandLine, showCommand);
    return RunProgram(commandLine, showCommand, [](CMainFrame& frame) {
        measured = &frame;
        // A timer comes only when no posted message is left: after the last
        // diary has been opened and the window painted.
        SetTimer(nullptr, 0, 0, MeasureActions);
    });
}
