// The least a program with a window does: register a class, create the
// window, show it, run the message loop. The yardstick of a start.
// With --month-grid it also makes as many child windows as a month shows
// (a text box with a day label for each of 42 days, 13 more labels): the
// least any program built of those windows can take.
#include <windows.h>

#include <cstring>

namespace {

const int kColumns = 7, kRows = 6;

void CreateChild(const char* className, DWORD style, int x, int y, int width, int height,
                 HWND parent) {
    CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                    nullptr, GetModuleHandleA(nullptr), nullptr);
}

void CreateMonthGrid(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const int width = client.right / (kColumns + 1), height = client.bottom / (kRows + 1);
    for (int column = 0; column < kColumns; ++column)
        CreateChild("STATIC", SS_CENTER, (column + 1) * width, 0, width, 16, window);
    for (int row = 0; row < kRows; ++row) {
        CreateChild("STATIC", SS_CENTER, 0, (row + 1) * height, width, 16, window);
        for (int column = 0; column < kColumns; ++column) {
            HWND cell =
                CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE,
                                (column + 1) * width, (row + 1) * height, width, height, window,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
            CreateChild("STATIC", SS_CENTER, width - 20, 0, 18, 15, cell);
        }
    }
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
    if (std::strstr(commandLine, "--month-grid"))
        CreateMonthGrid(window);
    ShowWindow(window, showCommand);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
