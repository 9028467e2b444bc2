/* Presses the OK button of a window, as a user would:
 *   close_window.exe <title> <seconds>
 * waits up to <seconds> for a visible top-level window with exactly that
 * title, tells it that its OK button was pressed (again every half second
 * until the window is gone), prints "pressed" and exits 0; exits 1 when no
 * such window appears or it stays. The package test uses it to end a sample
 * that waits in a message box. */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char **argv)
{
    DWORD deadline;
    int pressed = 0;
    if (argc != 3) {
        fprintf(stderr, "usage: close_window <title> <seconds>\n");
        return 2;
    }
    deadline = GetTickCount() + (DWORD)atoi(argv[2]) * 1000;
    do {
        HWND window = FindWindowA(NULL, argv[1]);
        if (!window && pressed) {
            printf("pressed\n");
            return 0;
        }
        if (window && IsWindowVisible(window)) {
            HWND ok = GetDlgItem(window, IDOK);
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)ok);
            pressed = 1;
            Sleep(400);
        }
        Sleep(100);
    } while ((LONG)(deadline - GetTickCount()) > 0);
    printf(pressed ? "\"%s\" stayed open\n" : "no window \"%s\"\n", argv[1]);
    return 1;
}
