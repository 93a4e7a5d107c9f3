// CPU time of one refreshReadings with all its drawing, and of one drawTachometer, on the real
// main window under Wine (run by scripts/bench.sh on a virtual display).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "bench/bench_clock_win32.h"
#include "link/device_link.h"
#include "link/encodings.h"
#include "pages/readings/dial.h"
#include "pages/readings/readings_page_win32.h"
#include "pages/readings/readings_view.h"
#include "res/resource.h"
#include "shell/canvas_win32.h"
#include "shell/shell_win32.h"
#include "shell/size_classes.h"

using namespace kestos;
using kestos::bench::cpuMs;
using kestos::bench::wallMs;

namespace {

void setSpeed(unsigned rpm) {
    unsigned p = periodFromRpm(rpm);
    deviceImage.readingsBlock[5] = static_cast<uint8_t>(lowByte(p));
    deviceImage.readingsBlock[6] = static_cast<uint8_t>(highByte(p));
}

template <class F> void measure(const char* name, int rounds, F f) {
    GdiFlush();
    double c0 = cpuMs(), w0 = wallMs();
    for (int i = 0; i < rounds; ++i)
        f(i);
    GdiFlush();
    double c1 = cpuMs(), w1 = wallMs();
    std::printf("%-44s cpu %7.3f ms  wall %7.3f ms  per call\n", name, (c1 - c0) / rounds,
                (w1 - w0) / rounds);
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 2000;
    if (!initInstance(GetModuleHandleW(nullptr), SW_SHOWNORMAL)) return 1;
    shell.aboutOpen = true; // the page timer idles; only the bench draws
    for (int sizeItem : {IDM_SIZE_800X600, IDM_SIZE_1280X1024}) {
        SendMessageW(shell.mainWindow, WM_COMMAND, sizeItem, 0);
        linkState.linkDown = 0;
        deviceImage.statusAnswer[2] = 0x04;
        deviceImage.readingsBlock[7] = 0x28;
        deviceImage.readingsBlock[8] = 0xC1;
        deviceImage.settingsBlock1[5] = 0x80;
        std::printf("size class %d\n", sizeState.sizeClass);
        measure("refreshReadings, steady speed", rounds, [](int) { refreshReadings(); });
        measure("refreshReadings, speed changing (dial)", rounds, [](int i) {
            setSpeed(800 + static_cast<unsigned>(i % 100) * 50);
            refreshReadings();
        });
        measure("drawTachometer", rounds, [](int i) {
            readingsState.engineSpeed = static_cast<unsigned>(i % 160) * 50;
            WindowCanvas canvas(shell.pageWindow);
            drawTachometer(canvas);
        });
    }
    SendMessageW(shell.mainWindow, WM_CLOSE, 0, 0);
    return 0;
}
