#include "bench/link_bench_core.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "link/device_link.h"
#include "link/params.h"
#include "shell/config_file.h"

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

    // The program's own upload of a .kss file that holds what the controller has, so that
    // it changes nothing.
    buildKeyTable();
    uint8_t values[parameterCount];
    currentValues(values);
    char text[configTextSize];
    std::size_t length = formatConfiguration(values, text, sizeof text);
    if (std::FILE* file = std::tmpfile()) {
        std::fwrite(text, 1, length, file);
        std::rewind(file);
        readConfigurationWords(file, configFile);
        std::fclose(file);
    }
    if (!contentsValid(configFile)) std::printf("warning: the file did not read back\n");
    int answered = 0;
    double upload =
        measure(std::max(1, rounds / 4), [&] { answered = uploadConfiguration(configFile); });
    report("Upload of a .kss file (27 frames)", upload, parameterCount * (4 + 3));
    if (answered != parameterCount) std::printf("warning: %d of 27 answered\n", answered);

    // File > Open of a file that changes five settings, without the fitter's time in the
    // dialog and the backup's file write: the fresh read, the 27 frames, the read-back and the
    // comparisons. The rounds alternate between the changed and the first set, so that every
    // round changes five.
    static ConfigFileContents changed;
    changed = configFile;
    for (const char* key : {"InjectDelay", "AttJump", "LambdaDelay", "AttMax", "TPSInert"})
        changed.fileValues[parameterIndexByKey(key)] += 1;
    static ShownRow rows[maxShownRows];
    int round = 0, unchecked = 0;
    double open = measure(std::max(1, rounds / 4), [&] {
        const ConfigFileContents& file = round++ % 2 ? configFile : changed;
        if (compareWithController(file.fileValues, rows, maxShownRows) != 5) ++unchecked;
        uploadConfiguration(file);
        if (compareWithController(file.fileValues, rows, maxShownRows) != 0) ++unchecked;
    });
    const int blocks = 4 + 4 + 4 + 11 + 4 + 14 + 4 + 16;
    report("Open: read, 27 frames, check", open, blocks + parameterCount * (4 + 3) + blocks);
    if (unchecked) std::printf("warning: %d rounds did not compare as expected\n", unchecked);

    closePort();
    setSerialPort(nullptr);
    return true;
}

} // namespace kestos
