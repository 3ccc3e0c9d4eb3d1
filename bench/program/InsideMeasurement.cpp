#include "bench/program/InsideMeasurement.h"

#include "framework/OwnedHandle.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const DWORD kPatienceMs = 120000;

// Lines of a name, a tab and the median, least and most time.
std::vector<ActionTime> ReadResults(const std::string& path) {
    std::vector<ActionTime> actions;
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return actions;
    char line[256];
    while (std::fgets(line, sizeof line, file)) {
        char* tab = std::strchr(line, '\t');
        ActionTime action;
        if (!tab || std::sscanf(tab, "%lf %lf %lf", &action.milliseconds.median,
                                &action.milliseconds.least, &action.milliseconds.most) != 3)
            continue;
        action.name.assign(line, tab);
        actions.push_back(action);
    }
    std::fclose(file);
    return actions;
}

} // namespace

std::vector<ActionTime> MeasureActionsInside(const std::string& programPath,
                                             const std::string& resultFile, std::string& error,
                                             const std::string& arguments) {
    DeleteFileA(resultFile.c_str());
    SetEnvironmentVariableA("ORVIK_MEASURE", resultFile.c_str());
    std::string commandLine = "\"" + programPath + "\" " + arguments;
    const std::string folder = programPath.substr(0, programPath.find_last_of("\\/") + 1);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0,
                                        nullptr, folder.c_str(), &startup, &process) != FALSE;
    SetEnvironmentVariableA("ORVIK_MEASURE", nullptr);
    if (!started) {
        error = "could not start " + programPath;
        return {};
    }
    const OwnedKernelObject thread(process.hThread), running(process.hProcess);
    if (WaitForSingleObject(process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 99);
        error = programPath + " did not end after measuring";
    }
    std::vector<ActionTime> actions = ReadResults(resultFile);
    if (actions.empty() && error.empty())
        error = programPath + " wrote no measurement to " + resultFile;
    return actions;
}
