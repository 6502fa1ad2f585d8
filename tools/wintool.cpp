// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the Windows system tests end and close, on the system's own calls:
//   trelvanix-wintool sleep                     waits until it is ended
//   trelvanix-wintool window TITLE agree|refuse|hang  a window that closes
//                                               when asked, refuses to, or
//                                               never reads its messages
// Each prints "ready" once it is there to be found.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace
{
bool refuses = false;
bool hangs = false;

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE && refuses)
        return 0;
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int runWindow(const char *title)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TrelvanixTestWindow";
    if (!RegisterClassA(&windowClass))
        return 3;
    HWND window =
        CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return 3;
    ShowWindow(window, SW_SHOWNORMAL);
    std::printf("ready\n");
    std::fflush(stdout);
    if (hangs)
        Sleep(INFINITE);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "sleep") == 0) {
        std::printf("ready\n");
        std::fflush(stdout);
        Sleep(INFINITE);
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "window") == 0) {
        refuses = std::strcmp(argv[3], "refuse") == 0;
        hangs = std::strcmp(argv[3], "hang") == 0;
        return runWindow(argv[2]);
    }
    return 2;
}
