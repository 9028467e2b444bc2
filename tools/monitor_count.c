/* Lists the monitors Windows (here: Wine) reports, one line each, e.g.
 *   monitor 0 (0,0)-(1024,768) primary=1 \\.\DISPLAY1
 * then "monitors=N". display.sh runs it to wait until Wine sees the
 * two-monitor layout; it is also handy by hand. */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

static BOOL CALLBACK print_monitor(HMONITOR mon, HDC dc, LPRECT clip, LPARAM data)
{
    int *count = (int *)data;
    MONITORINFOEXA info;
    (void)dc;
    (void)clip;
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoA(mon, (MONITORINFO *)&info)) {
        printf("monitor %d GetMonitorInfo failed, error %lu\n", *count, GetLastError());
    } else {
        const RECT *r = &info.rcMonitor;
        printf("monitor %d (%ld,%ld)-(%ld,%ld) primary=%d %s\n", *count,
               r->left, r->top, r->right, r->bottom,
               (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0, info.szDevice);
    }
    ++*count;
    return TRUE;
}

int main(void)
{
    int count = 0;
    /* Plain "\n" line ends: the output is read by shell scripts. */
    _setmode(_fileno(stdout), _O_BINARY);
    if (!EnumDisplayMonitors(NULL, NULL, print_monitor, (LPARAM)&count)) {
        printf("EnumDisplayMonitors failed, error %lu\n", GetLastError());
        return 1;
    }
    printf("monitors=%d\n", count);
    return 0;
}
