// Loaded by kestos-probe into the running KestoS.exe (a WH_GETMESSAGE hook on its thread):
// counts the program's own GDI and USER objects, which another process cannot see under Wine,
// and leaves them in a file for the probe.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "tests/support/object_counts_win32.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK
    probeCountsHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT ask = RegisterWindowMessageW(L"KestoS probe: object counts");
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == ask) {
        // The floors come and go with the message, so that counts of one soak compare.
        unsigned gdiFloor = static_cast<unsigned>(msg->wParam);
        unsigned userFloor = static_cast<unsigned>(msg->lParam);
        const unsigned gdi = kestos::test::liveGdiObjects(gdiFloor);
        const unsigned user = kestos::test::liveUserObjects(userFloor);
        wchar_t path[MAX_PATH];
        GetTempPathW(MAX_PATH, path);
        wchar_t file[MAX_PATH + 64];
        std::swprintf(file, MAX_PATH + 64, L"%lskestos-probe-counts-%lu.txt", path,
                      GetCurrentProcessId());
        if (FILE* f = _wfopen(file, L"w")) {
            std::fprintf(f, "%u %u %u %u\n", gdi, user, gdiFloor, userFloor);
            std::fclose(f);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
