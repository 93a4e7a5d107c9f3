// The parameter pages under Wine (run by scripts/bench.sh on a virtual display, with
// kestos-sim on COM1): CPU time of one refresh of each page, the wall time of one
// Configuration tick against the simulator's 9600-baud byte timing, and the process's GDI and
// USER objects across many page switches.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "bench/bench_clock_win32.h"
#include "link/device_link.h"
#include "link/port_win32.h"
#include "pages/params/config_page_win32.h"
#include "pages/params/options_page_win32.h"
#include "res/resource.h"
#include "shell/shell_win32.h"
#include "tests/support/object_counts_win32.h"

using namespace kestos;
using kestos::bench::command;
using kestos::bench::cpuMs;
using kestos::bench::wallMs;

namespace {

template <class F> void measure(const char* name, int rounds, F f) {
    double c0 = cpuMs(), w0 = wallMs();
    for (int i = 0; i < rounds; ++i)
        f(i);
    double c1 = cpuMs(), w1 = wallMs();
    std::printf("%-46s cpu %8.3f ms  wall %8.3f ms  per call\n", name, (c1 - c0) / rounds,
                (w1 - w0) / rounds);
}

// Every byte of the settings blocks moves, so every list changes its selection.
void stirImage(int i) {
    for (int b = 1; b < settings1Length - 1; ++b)
        deviceImage.settingsBlock1[b] = static_cast<uint8_t>(i * 7 + b);
    for (int b = 1; b < settings2Length - 1; ++b)
        deviceImage.settingsBlock2[b] = static_cast<uint8_t>(i * 5 + b);
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 500;
    const int switches = argc > 2 ? std::atoi(argv[2]) : 1000;
    static Win32SerialPort port;
    setSerialPort(&port);
    if (!initInstance(GetModuleHandleW(nullptr), SW_SHOWNORMAL)) return 1;

    // The pages' timers idle; only the bench refreshes.
    shell.aboutOpen = true;
    for (int sizeItem : {IDM_SIZE_800X600, IDM_SIZE_1280X1024}) {
        command(sizeItem);
        std::printf("size class %d\n", sizeItem == IDM_SIZE_800X600 ? 2 : 5);
        command(IDM_PAGE_CONFIG);
        measure("refreshConfigPage, values steady", rounds, [](int) { refreshConfigPage(); });
        measure("refreshConfigPage, every value changing", rounds, [](int i) {
            stirImage(i);
            refreshConfigPage();
        });
        command(IDM_PAGE_OPTIONS);
        measure("refreshOptionsPage, values steady", rounds, [](int) { refreshOptionsPage(); });
        measure("refreshOptionsPage, every value changing", rounds, [](int i) {
            stirImage(i);
            refreshOptionsPage();
        });
        command(IDM_PAGE_READINGS);
    }
    shell.aboutOpen = false;

    // One Configuration tick against kestos-sim: status, readings and both settings blocks,
    // 63.5 ms on the wire, then the refresh.
    command(IDM_PAGE_CONFIG);
    KillTimer(shell.pageWindow, 1); // ticks come from here only
    SendMessageW(shell.pageWindow, WM_TIMER, 1, 0);
    if (linkState.linkDown) {
        std::printf("Configuration tick: no controller on COM1 (%s)\n", port.lastError());
    } else {
        const int ticks = rounds / 10 > 10 ? rounds / 10 : 10;
        const double w0 = wallMs();
        for (int i = 0; i < ticks; ++i)
            SendMessageW(shell.pageWindow, WM_TIMER, 1, 0);
        const double tick = (wallMs() - w0) / ticks;
        std::printf("%-46s wall %8.2f ms  wire 63.54 ms  ratio %.3f\n",
                    "Configuration tick against kestos-sim", tick, tick / 63.54);
    }
    closePort();
    setSerialPort(nullptr); // page switching without the link

    unsigned gdiFloor = 0, userFloor = 0;
    command(IDM_PAGE_READINGS);
    const unsigned gdi = test::liveGdiObjects(gdiFloor), user = test::liveUserObjects(userFloor);
    const struct {
        const char* name;
        int from, to;
    } moves[3] = {{"switch Readings -> Configuration", IDM_PAGE_READINGS, IDM_PAGE_CONFIG},
                  {"switch Configuration -> Options", IDM_PAGE_CONFIG, IDM_PAGE_OPTIONS},
                  {"switch Options -> Readings", IDM_PAGE_OPTIONS, IDM_PAGE_READINGS}};
    command(IDM_PAGE_CONFIG);
    measure("fillConfigLists", 20, [](int) { fillConfigLists(); });
    measure("setConfigLabels", 20, [](int) { setConfigLabels(); });
    command(IDM_PAGE_OPTIONS);
    measure("fillOptionsLists", 20, [](int) { fillOptionsLists(); });
    int done = 0;
    for (const auto& m : moves) {
        double cpu = 0, wall = 0;
        for (int i = 0; i < switches / 6; ++i) {
            command(m.from);
            const double c0 = cpuMs(), w0 = wallMs();
            command(m.to);
            cpu += cpuMs() - c0;
            wall += wallMs() - w0;
            done += 2;
        }
        std::printf("%-46s cpu %8.3f ms  wall %8.3f ms  per switch\n", m.name, cpu / (switches / 6),
                    wall / (switches / 6));
    }
    command(IDM_PAGE_READINGS);
    std::printf("%d switches: GDI objects %u -> %u, USER objects %u -> %u\n", done, gdi,
                test::liveGdiObjects(gdiFloor), user, test::liveUserObjects(userFloor));
    SendMessageW(shell.mainWindow, WM_CLOSE, 0, 0);
    return 0;
}
