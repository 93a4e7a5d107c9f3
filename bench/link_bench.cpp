// Link throughput against kestos-sim with 9600-baud byte timing over a real pty.
// Prints measured time / wire time for the Readings tick, the Configuration tick and a
// 27-frame configuration upload. Wire time = bytes on the line x 10 bits / 9600.
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "bench/link_bench_core.h"
#include "link/device_link.h"
#include "link/port_posix.h"

extern char** environ;

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

    kestos::PosixSerialPort port;
    kestos::linkState.portName = link.c_str();
    bool ok = kestos::runLinkBench(rounds, port);

    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    unlink(link.c_str());
    rmdir(dir);
    return ok ? 0 : 1;
}
