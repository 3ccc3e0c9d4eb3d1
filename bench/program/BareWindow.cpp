// The least a program with a window does: register a class, create the
// window, show it, run the message loop. The yardstick of a start.
// With --month-grid it also makes a status bar and as many child windows as
// a month shows (a text box with a day label for each of 42 days, 13 more
// labels): the least any program built of those windows can take. When the environment
// variable ORVIK_MEASURE names a file, the grid then times the least a next
// month costs (42 new texts, then everything painted), the same with the
// 42 day labels' new numbers, and that again in the program's fonts, writes
// them there and closes. With --as-shown as well, the grid starts showing
// what the program's month shows: a month of the diary's notes and its day
// numbers, in the program's fonts.
#include "bench/program/DayNote.h"
#include "core/MonthGrid.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

const int kColumns = 7, kRows = 6;
const int kRepetitions = 15;
std::vector<HWND> cells, dayLabels;

HWND CreateChild(const char* className, DWORD style, int x, int y, int width, int height,
                 HWND parent) {
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void CreateMonthGrid(HWND window) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CreateChild(STATUSCLASSNAMEA, SBARS_SIZEGRIP, 0, 0, 0, 0, window);
    RECT client{};
    GetClientRect(window, &client);
    // Laid out as the program lays out its month, so that the same texts
    // wrap the same.
    const GridLayout layout = LayoutGrid(client.right, client.bottom, 96);
    auto create = [window](const char* className, DWORD style, const GridRect& place) {
        return CreateChild(className, style, place.left, place.top, place.width, place.height,
                           window);
    };
    for (int column = 0; column < kColumns; ++column)
        create("STATIC", SS_CENTER, layout.WeekdayLabel(column));
    for (int row = 0; row < kRows; ++row) {
        create("STATIC", SS_CENTER, layout.WeekNumberLabel(row));
        for (int column = 0; column < kColumns; ++column) {
            HWND cell = create("EDIT", WS_BORDER | ES_MULTILINE, layout.Cell(row, column));
            const int width = layout.Cell(row, column).width;
            dayLabels.push_back(CreateChild("STATIC", SS_CENTER, width - 20, 0, 18, 15, cell));
            cells.push_back(cell);
        }
    }
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// The notes of 42 days of the benchmark's diary, other ones every round;
// with the day numbers, other ones too.
void SetTexts(int round, bool dayNumbers) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        SetWindowTextA(cells[i], DayNote(round * 42 + static_cast<int>(i)).c_str());
        if (dayNumbers)
            SetWindowTextA(dayLabels[i], std::to_string((i + round) % 31 + 1).c_str());
    }
}

void ShowTexts(HWND window, int round, bool dayNumbers) {
    SetTexts(round, dayNumbers);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The median, least and most of 15 next months, in ms.
std::string TimeNextMonths(HWND window, bool dayNumbers) {
    std::vector<double> times;
    for (int round = 0; round < kRepetitions; ++round) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        ShowTexts(window, round, dayNumbers);
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
    }
    std::sort(times.begin(), times.end());
    char line[64];
    std::snprintf(line, sizeof line, "%.3f\t%.3f\t%.3f", times[times.size() / 2], times.front(),
                  times.back());
    return line;
}

// The message font for the texts and its bold for the day numbers, as the
// program shows them, instead of the system font.
struct MessageFonts {
    HFONT text = nullptr, bold = nullptr;

    MessageFonts() {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        text = CreateFontIndirectA(&metrics.lfMessageFont);
        metrics.lfMessageFont.lfWeight = FW_BOLD;
        bold = CreateFontIndirectA(&metrics.lfMessageFont);
    }
    ~MessageFonts() {
        DeleteObject(text);
        DeleteObject(bold);
    }
    MessageFonts(const MessageFonts&) = delete;
    MessageFonts& operator=(const MessageFonts&) = delete;

    void Give(bool redraw) const {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            SendMessageA(cells[i], WM_SETFONT, reinterpret_cast<WPARAM>(text), redraw);
            SendMessageA(dayLabels[i], WM_SETFONT, reinterpret_cast<WPARAM>(bold), redraw);
        }
    }
};

void CALLBACK MeasureNextMonth(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    const std::string texts = TimeNextMonths(window, false);
    const std::string withNumbers = TimeNextMonths(window, true);
    const MessageFonts fonts;
    fonts.Give(true);
    const std::string inFonts = TimeNextMonths(window, true);
    if (FILE* file = std::fopen(std::getenv("ORVIK_MEASURE"), "w")) {
        std::fprintf(file,
                     "next month\t%s\nnext month with day numbers\t%s\n"
                     "next month with day numbers, in the program's fonts\t%s\n",
                     texts.c_str(), withNumbers.c_str(), inFonts.c_str());
        std::fclose(file);
    }
    DestroyWindow(window);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "BareWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("BareWindow", "Bare window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                instance, nullptr);
    std::optional<MessageFonts> fonts;
    if (std::strstr(commandLine, "--month-grid")) {
        CreateMonthGrid(window);
        if (std::strstr(commandLine, "--as-shown")) {
            fonts.emplace().Give(false);
            SetTexts(0, true);
        }
    }
    ShowWindow(window, showCommand);
    // A timer comes only once the window is shown and painted.
    if (!cells.empty() && std::getenv("ORVIK_MEASURE"))
        SetTimer(window, 1, 0, MeasureNextMonth);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
