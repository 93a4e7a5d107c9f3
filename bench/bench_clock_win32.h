// The two clocks the Win32 benchmarks read: the process's CPU time and the wall time, in ms;
// and the menu command they drive the program with.
#pragma once

#include <windows.h>

#include "shell/shell_win32.h"

namespace kestos::bench {

inline double cpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME f) {
        return ((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

inline double wallMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return c.QuadPart * 1000.0 / f.QuadPart;
}

inline void command(int id) {
    SendMessageW(shell.mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

} // namespace kestos::bench
