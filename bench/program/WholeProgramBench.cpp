// Starts a bare window, OrvikCalendar with an empty, a hundred-year and a
// thousand-year diary and the bare window with a month's child windows (the
// floor every start is compared with), one after the other, round after round; prints
// how long each took to be ready and how much memory it held, and the times
// the program measured itself for its actions on the big diary. With
// --baseline, another build of the program (an earlier one, say) starts in
// the same rounds with both diaries, for a before and after in one run.
// The program's own times come from its measuring build beside it
// (OrvikCalendarMeasured.exe); a baseline's from the one beside it, or from
// the baseline itself where it is an older build that measured itself.
// Usage: whole_program_bench [--runs N] [--baseline PATH]
#include "bench/program/BenchDiaries.h"
#include "bench/program/BenchSettings.h"
#include "bench/program/InsideMeasurement.h"
#include "bench/program/ProgramStart.h"
#include "bench/program/ResultTable.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The build of the program that measures its own actions, beside it.
std::string MeasuringBuildOf(const std::string& program) {
    const std::string beside =
        program.substr(0, program.find_last_of("\\/") + 1) + "OrvikCalendarMeasured.exe";
    return GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES ? beside : program;
}

const int kDefaultRuns = 5;
const double kMegabyte = 1024.0 * 1024.0;
// The goals, as times the month grid's start (or its next month), ms of the
// program's own time, the rate a diary loads at and bytes of memory per
// byte of diary file.
const double kStartGoal = 1.25;
const double kNextMonthGoal = 1.25;
const double kLoadGoalMegabytesPerSecond = 200;
const double kActionGoalMs = 16;
const double kSaveGoalMs = 100;
const double kMemoryPerFileByteGoal = 2;

struct Contender {
    std::string name;
    ProgramToStart program;
    std::string diary; // the recent document it opens; none for the bare window
    double
        goal; // times the month grid's start; 0: none, -1: the grid plus the diary at the load goal
    std::vector<StartMeasurement> starts;
};

std::string OwnFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string own = path;
    return own.substr(0, own.find_last_of('\\') + 1);
}

double FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return static_cast<double>(data.nFileSizeLow) +
           static_cast<double>(data.nFileSizeHigh) * 4294967296.0;
}

std::string GoalText(double value, double goal, const std::string& goalText) {
    return "goal <= " + goalText + (value <= goal ? ", met" : ", missed");
}

Summary StartTimes(const Contender& contender) {
    std::vector<double> times;
    for (const StartMeasurement& start : contender.starts)
        times.push_back(start.milliseconds);
    return Summarize(times);
}

Summary Megabytes(const Contender& contender, std::size_t StartMeasurement::*memory) {
    std::vector<double> sizes;
    for (const StartMeasurement& start : contender.starts)
        sizes.push_back(static_cast<double>(start.*memory) / kMegabyte);
    return Summarize(sizes);
}

// Round by round, so that both starts of a difference met the same machine.
Summary MegabytesMore(const Contender& big, const Contender& empty,
                      std::size_t StartMeasurement::*memory) {
    std::vector<double> differences;
    for (std::size_t round = 0; round < big.starts.size(); ++round)
        differences.push_back((static_cast<double>(big.starts[round].*memory) -
                               static_cast<double>(empty.starts[round].*memory)) /
                              kMegabyte);
    return Summarize(differences);
}

// The ratio of each round's start to the month grid's in the same round:
// both met much the same load, so its spread says how far a ratio can be trusted.
Summary RatiosByRound(const Contender& contender, const Contender& grid) {
    std::vector<double> ratios;
    for (std::size_t round = 0; round < contender.starts.size(); ++round)
        ratios.push_back(contender.starts[round].milliseconds / grid.starts[round].milliseconds);
    return Summarize(ratios);
}

// Each start against the last contender, the bare window with the month's windows.
void PrintStarts(const std::vector<Contender>& contenders, double bigDiaryBytes) {
    const Contender& grid = contenders.back();
    const double floor = StartTimes(grid).median;
    for (const Contender& contender : contenders) {
        const Summary times = StartTimes(contender);
        const double ratio = times.median / floor;
        std::string comparison = FormatNumber(ratio, 2) + " x month grid";
        double goal = contender.goal;
        if (goal < 0)
            goal = (floor + bigDiaryBytes / kMegabyte / kLoadGoalMegabytesPerSecond * 1000) / floor;
        if (goal > 0) {
            const Summary byRound = RatiosByRound(contender, grid);
            comparison += " (rounds " + FormatNumber(byRound.least, 2) + " to " +
                          FormatNumber(byRound.most, 2) + "), " +
                          GoalText(ratio, goal, FormatNumber(goal, 2));
        }
        PrintTableRow("start, " + contender.name, times, "ms", comparison);
    }
}

// The 100-year diary's cost in memory: the contender at `big` against the one before it.
void PrintMemoryOfDiary(const std::vector<Contender>& contenders, std::size_t big,
                        double diaryBytes, const std::string& who) {
    const double goal = kMemoryPerFileByteGoal * diaryBytes / kMegabyte;
    const std::string goalText = FormatNumber(goal, 1) + " MiB, twice the file";
    const Summary atRest =
        MegabytesMore(contenders[big], contenders[big - 1], &StartMeasurement::workingSet);
    PrintTableRow("working set at rest, " + who + "100-year minus empty", atRest, "MiB",
                  GoalText(atRest.median, goal, goalText));
    const Summary peak =
        MegabytesMore(contenders[big], contenders[big - 1], &StartMeasurement::peakWorkingSet);
    PrintTableRow("peak working set, " + who + "100-year minus empty", peak, "MiB",
                  GoalText(peak.median, goal, goalText));
}

void PrintMemory(const std::vector<Contender>& contenders, double diaryBytes, bool baseline) {
    for (const Contender& contender : contenders)
        PrintTableRow("working set at rest, " + contender.name,
                      Megabytes(contender, &StartMeasurement::workingSet), "MiB", "");
    for (const Contender& contender : contenders)
        PrintTableRow("peak working set, " + contender.name,
                      Megabytes(contender, &StartMeasurement::peakWorkingSet), "MiB", "");
    PrintMemoryOfDiary(contenders, 2, diaryBytes, "");
    if (baseline)
        PrintMemoryOfDiary(contenders, 4, diaryBytes, "baseline, ");
}

// The program's own times of its actions; the next month against the month
// grid's, the load also as a rate.
void PrintActions(const std::vector<ActionTime>& actions, const std::string& who,
                  const std::vector<ActionTime>& gridActions, double diaryBytes) {
    for (const ActionTime& action : actions) {
        const std::string what = "inside, " + who + "100-year diary: " + action.name;
        const Summary& times = action.milliseconds;
        if (action.name == "next month" && !gridActions.empty()) {
            const double ratio = times.median / gridActions[0].milliseconds.median;
            PrintTableRow(what, times, "ms",
                          FormatNumber(ratio, 2) + " x month grid, " +
                              GoalText(ratio, kNextMonthGoal, FormatNumber(kNextMonthGoal, 2)));
            continue;
        }
        if (action.name == "load the diary") {
            const auto rate = [&](double ms) { return diaryBytes / kMegabyte / ms * 1000; };
            PrintTableRow(what, times, "ms", "");
            const Summary rates{rate(times.median), rate(times.most), rate(times.least)};
            PrintTableRow("inside, " + who + "load rate", rates, "MiB/s",
                          "goal >= " + FormatNumber(kLoadGoalMegabytesPerSecond, 0) +
                              (rates.median >= kLoadGoalMegabytesPerSecond ? " MiB/s, met"
                                                                           : " MiB/s, missed"));
            continue;
        }
        if (action.name.rfind("sync", 0) == 0) {
            PrintTableRow(what, times, "ms", "");
            continue;
        }
        // The program names its save so (bench/program/MeasuredProgram.cpp).
        const double goal =
            action.name.rfind("save with flush", 0) == 0 ? kSaveGoalMs : kActionGoalMs;
        PrintTableRow(what, times, "ms",
                      GoalText(times.median, goal, FormatNumber(goal, 0) + " ms"));
    }
    for (const ActionTime& action : gridActions) {
        if (who.empty())
            PrintTableRow("inside, month grid: " + action.name, action.milliseconds, "ms", "");
    }
}

} // namespace

int main(int argc, char** argv) {
    int runs = kDefaultRuns;
    std::string baseline;
    bool understood = true;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 < argc && std::strcmp(argv[i], "--runs") == 0)
            runs = std::atoi(argv[i + 1]);
        else if (i + 1 < argc && std::strcmp(argv[i], "--baseline") == 0)
            baseline = argv[i + 1];
        else
            understood = false;
    }
    if (!understood || runs < 1) {
        std::fprintf(stderr, "Usage: whole_program_bench [--runs N] [--baseline PATH]\n");
        return 2;
    }
    const std::string folder = OwnFolder();
    const std::string program = folder + ORVIK_PROGRAM_FROM_BENCH;
    const std::string emptyDiary = folder + "diary-empty.csv";
    const std::string bigDiary = folder + "diary-100-years.csv";
    const std::string hugeDiary = folder + "diary-1000-years.csv";
    std::string error;
    if (!WriteEmptyDiary(emptyDiary, error) || !WriteHundredYearDiary(bigDiary, error) ||
        !WriteThousandYearDiary(hugeDiary, error)) {
        std::fprintf(stderr, "Could not write the diaries: %s\n", error.c_str());
        return 1;
    }
    const double diaryBytes = FileBytes(bigDiary);
    const double hugeDiaryBytes = FileBytes(hugeDiary);

    BenchSettings settings;
    std::vector<Contender> contenders = {
        {"bare window", {folder + "BareWindow.exe", "Bare window", ""}, "", 0, {}},
        {"OrvikCalendar, empty diary",
         {program, "diary-empty.csv", ""},
         emptyDiary,
         kStartGoal,
         {}},
        {"OrvikCalendar, 100-year diary",
         {program, "diary-100-years.csv", ""},
         bigDiary,
         kStartGoal,
         {}},
    };
    if (!baseline.empty()) {
        contenders.push_back(
            {"baseline, empty diary", {baseline, "diary-empty.csv", ""}, emptyDiary, 0, {}});
        contenders.push_back(
            {"baseline, 100-year diary", {baseline, "diary-100-years.csv", ""}, bigDiary, 0, {}});
    }
    // After the others, whose places the memory rows count on; the grid last.
    contenders.push_back({"OrvikCalendar, 1000-year diary",
                          {program, "diary-1000-years.csv", ""},
                          hugeDiary,
                          -1,
                          {}});
    contenders.push_back({"month grid showing a month of the diary in the program's fonts",
                          {folder + "BareWindow.exe", "Bare window", "--month-grid --as-shown"},
                          "",
                          0,
                          {}});
    contenders.push_back({"bare window with a status bar and a month's 97 child windows",
                          {folder + "BareWindow.exe", "Bare window", "--month-grid"},
                          "",
                          0,
                          {}});
    // Round 0 is not counted: it brings the programs and diaries into the
    // file cache, as they are for a user who started them before.
    for (int round = 0; round <= runs; ++round) {
        std::fprintf(stderr, round == 0 ? "Warming up\n" : "Round %d of %d\n", round, runs);
        for (Contender& contender : contenders) {
            if (!contender.diary.empty() && !BenchSettings::PrepareStart(contender.diary)) {
                std::fprintf(stderr, "Could not write the settings of a start.\n");
                return 1;
            }
            const StartMeasurement start = MeasureStart(contender.program);
            if (!start.measured) {
                std::fprintf(stderr, "%s\n", start.error.c_str());
                return 1;
            }
            if (round > 0)
                contender.starts.push_back(start);
        }
    }
    std::fprintf(stderr, "The program times its own actions\n");
    BenchSettings::PrepareStart(bigDiary);
    const std::vector<ActionTime> actions =
        MeasureActionsInside(MeasuringBuildOf(program), folder + "actions.txt", error);
    const std::vector<ActionTime> gridActions = MeasureActionsInside(
        folder + "BareWindow.exe", folder + "actions.txt", error, "--month-grid");
    std::vector<ActionTime> baselineActions;
    if (!baseline.empty()) {
        BenchSettings::PrepareStart(bigDiary);
        baselineActions =
            MeasureActionsInside(MeasuringBuildOf(baseline), folder + "actions.txt", error);
    }

    std::printf("Whole program: %d starts of each, alternating, after one uncounted round; "
                "the 100-year diary has %s MiB.\n",
                runs, FormatNumber(diaryBytes / kMegabyte, 1).c_str());
    PrintTableHeader();
    PrintStarts(contenders, hugeDiaryBytes);
    PrintMemory(contenders, diaryBytes, !baseline.empty());
    PrintActions(actions, "", gridActions, diaryBytes);
    PrintActions(baselineActions, "baseline, ", gridActions, diaryBytes);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
