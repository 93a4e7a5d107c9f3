// Link throughput against kestos-sim with 9600-baud byte timing over a real pty.
// Prints measured time / wire time for the Readings tick, the Configuration tick and a
// 27-frame configuration upload. Wire time = bytes on the line x 10 bits / 9600.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "link/device_link.h"
#include "link/params.h"
#include "link/port_posix.h"

extern char** environ;

using namespace kestos;
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

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 40;
    if (rounds < 1) rounds = 1;
    char dir[] = "/tmp/kestos-bench-XXXXXX";
    if (!mkdtemp(dir)) return 1;
    std::string link = std::string(dir) + "/vcom";
    char* args[] = {const_cast<char*>(KESTOS_SIM_PATH), const_cast<char*>("--link"), link.data(),
                    nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, KESTOS_SIM_PATH, nullptr, nullptr, args, environ) != 0) return 1;
    struct stat st {};
    for (int i = 0; i < 100 && stat(link.c_str(), &st) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));

    PosixSerialPort port;
    setSerialPort(&port);
    linkState.portName = link.c_str();
    pollStatus();
    if (linkState.linkDown) {
        std::fprintf(stderr, "link_bench: kestos-sim does not answer (%s)\n", port.lastError());
        kill(pid, SIGTERM);
        return 1;
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
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    unlink(link.c_str());
    rmdir(dir);
    return 0;
}
