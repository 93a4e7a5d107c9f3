// The Oscilloscope page under Wine (run by scripts/bench.sh on a virtual display, with
// kestos-sim on COM1): the sample rate against the simulator's 9600-baud byte timing, the CPU
// time of one live tick and of a full redraw in size class 5, and the GDI objects across many
// ticks.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "bench/bench_clock_win32.h"
#include "link/device_link.h"
#include "link/port_win32.h"
#include "pages/scope/scope.h"
#include "res/resource.h"
#include "shell/canvas_win32.h"
#include "shell/file_system_win32.h"
#include "shell/recording.h"
#include "shell/shell_win32.h"
#include "tests/support/no_scope_controls.h"
#include "tests/support/object_counts_win32.h"

using namespace kestos;
using kestos::bench::command;
using kestos::bench::cpuMs;
using kestos::bench::wallMs;

namespace {

void pumpFor(double ms) {
    const double end = wallMs() + ms;
    MSG msg;
    while (wallMs() < end) {
        // A tick longer than the timer's period leaves a timer message always waiting.
        while (wallMs() < end && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    }
}

// A moving picture: every trace changes on every tick.
void stirImage(int i) {
    uint8_t* rb = deviceImage.readingsBlock;
    rb[1] = static_cast<uint8_t>(i * 3), rb[2] = static_cast<uint8_t>(i * 5);
    rb[3] = static_cast<uint8_t>(i * 7), rb[4] = static_cast<uint8_t>(i * 2);
    rb[5] = static_cast<uint8_t>(i), rb[6] = static_cast<uint8_t>(8 + i % 20);
    rb[8] = static_cast<uint8_t>(i & 1);
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 10000;
    static Win32SerialPort port;
    setSerialPort(&port);
    if (!initInstance(GetModuleHandleW(nullptr), SW_SHOWNORMAL)) return 1;
    command(IDM_SIZE_1280X1024);
    command(IDM_PAGE_SCOPE);

    // The page's own timer against kestos-sim: one sample per status + readings exchange.
    pumpFor(500); // the link comes up, the one-time settings poll is made
    const int from = scopeState.sweepPos;
    const double w0 = wallMs();
    pumpFor(5000);
    const double seconds = (wallMs() - w0) / 1000.0;
    int samples = scopeState.sweepPos - from;
    if (samples < 0) samples += sweepLast - 201;
    const double wireLimit = 1000.0 / (23 * 10 * 1000.0 / 9600.0);
    if (linkState.linkDown)
        std::printf("sample rate: no controller on COM1 (%s)\n", port.lastError());
    else
        std::printf("%-40s %6.1f samples/s  wire limit %.1f/s  ratio %.3f\n",
                    "sample rate against kestos-sim", samples / seconds, wireLimit,
                    samples / seconds / wireLimit);

    // The same with a readings log written as the samples come.
    if (!linkState.linkDown) {
        static Win32FileSystem files;
        const std::time_t now = std::time(nullptr);
        const std::tm started = *std::localtime(&now);
        const int before = scopeState.sweepPos;
        const double r0 = wallMs();
        startRecording(
            files, logFolder, started, [] { return static_cast<uint32_t>(GetTickCount()); },
            linkState.portName);
        pumpFor(5000);
        const double recordedSeconds = (wallMs() - r0) / 1000.0;
        const long rows = recordingState.rows;
        stopRecording();
        int recorded = scopeState.sweepPos - before;
        if (recorded < 0) recorded += sweepLast - 201;
        std::printf("%-40s %6.1f samples/s  ratio %.3f  (%ld rows logged)\n",
                    "sample rate, recording", recorded / recordedSeconds,
                    recorded / recordedSeconds / wireLimit, rows);
    }

    // From here only the bench draws; the link is left out.
    shell.aboutOpen = true;
    closePort();
    setSerialPort(nullptr);
    linkState.linkDown = 0;
    test::NoScopeControls controls;
    unsigned gdiFloor = 0;
    const unsigned gdi = test::liveGdiObjects(gdiFloor);
    double c0 = cpuMs();
    for (int i = 0; i < ticks; ++i) {
        stirImage(i);
        WindowCanvas canvas(shell.pageWindow);
        scopeTick(canvas, controls);
    }
    std::printf("%-40s cpu %8.3f ms per tick (size class 5)\n", "scopeTick, every trace moving",
                (cpuMs() - c0) / ticks);
    const int redraws = ticks / 100 > 10 ? ticks / 100 : 10;
    c0 = cpuMs();
    for (int i = 0; i < redraws; ++i) {
        WindowCanvas canvas(shell.pageWindow);
        redrawTraces(canvas);
    }
    std::printf("%-40s cpu %8.3f ms per call\n", "redrawTraces", (cpuMs() - c0) / redraws);
    std::printf("%d ticks: GDI objects %u -> %u\n", ticks, gdi, test::liveGdiObjects(gdiFloor));
    SendMessageW(shell.mainWindow, WM_CLOSE, 0, 0);
    return 0;
}
