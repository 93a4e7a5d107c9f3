#include "bench/link_bench_core.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "link/device_link.h"
#include "link/params.h"

namespace kestos {

using Clock = std::chrono::steady_clock;

namespace {

double wireMs(int bytes) {
    return bytes * 10.0 * 1000.0 / 9600.0;
}

template <class F> double measure(int rounds, F f) {
    auto start = Clock::now();
    for (int i = 0; i < rounds; ++i)
        f();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / rounds;
}

void report(const char* name, double ms, int bytes) {
    std::printf("%-34s %8.2f ms  wire %8.2f ms  ratio %.3f\n", name, ms, wireMs(bytes),
                ms / wireMs(bytes));
}

} // namespace

bool runLinkBench(int rounds, SerialPort& port) {
    setSerialPort(&port);
    pollStatus();
    if (linkState.linkDown) {
        std::fprintf(stderr, "link_bench: the controller does not answer (%s)\n", port.lastError());
        return false;
    }
    pollSettings1();
    pollSettings2();
    pollReadings();

    std::printf("rounds: %d\n", rounds);
    double readings = measure(rounds, [] {
        pollStatus();
        pollReadings();
    });
    report("Readings tick (status + readings)", readings, 4 + 4 + 4 + 11);

    double config = measure(rounds, [] {
        pollStatus();
        pollReadings();
        pollSettings1();
        pollSettings2();
    });
    report("Configuration tick (status + 3)", config, 4 + 4 + 4 + 11 + 4 + 14 + 4 + 16);

    // Send back what the controller holds, so the upload changes nothing.
    uint8_t values[parameterCount];
    for (int i = 0; i < parameterCount; ++i)
        values[i] = parameterValue(parameters[i]);
    int answered = 0;
    double upload = measure(std::max(1, rounds / 4), [&] {
        answered = 0;
        for (int i = 0; i < parameterCount; ++i) {
            sendCommand(parameters[i].code, values[i]);
            if (linkState.lastByteCount == 3) ++answered;
        }
    });
    report("Upload (27 command frames)", upload, parameterCount * (4 + 3));
    if (answered != parameterCount) std::printf("warning: %d of 27 answered\n", answered);

    closePort();
    setSerialPort(nullptr);
    return true;
}

} // namespace kestos
