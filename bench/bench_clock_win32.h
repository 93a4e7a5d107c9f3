// The two clocks the Win32 benchmarks read: the process's CPU time and the wall time, in ms.
#pragma once

#include <windows.h>

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

} // namespace kestos::bench
