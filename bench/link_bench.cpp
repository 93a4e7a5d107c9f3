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

#include <cstdio>
#include <ctime>

#include "bench/link_bench_core.h"
#include "cli/cli_app.h"
#include "shell/drive_log.h"
#include "shell/file_system_posix.h"
#include "link/device_link.h"
#include "link/port_posix.h"

extern char** environ;

namespace {

// kestos-cli record for five seconds: rows a second against the wire's limit, the CPU time
// of writing one row, and the bytes a row and an hour.
bool recordBench(kestos::PosixSerialPort& port, std::string& link, const char* dir) {
    using namespace kestos;
    const std::string log = std::string(dir) + "/bench.msl";
    std::string argv0 = "kestos-cli", portOption = "--port", record = "record",
                seconds = "--seconds", five = "5", path = log;
    char* args[] = {argv0.data(), portOption.data(), link.data(), record.data(),
                    path.data(),  seconds.data(),    five.data()};
    PosixFileSystem files;
    std::FILE* quiet = std::tmpfile();
    const int code = runCli(7, args, port, files, false, quiet, quiet);
    std::fclose(quiet);
    std::FILE* file = std::fopen(log.c_str(), "rb");
    DriveLog read;
    std::string error;
    const bool ok = code == 0 && file && readDriveLog(file, read, error) && read.rows.size() > 1;
    if (file) std::fclose(file);
    if (!ok) {
        std::printf("record: failed (exit %d) %s\n", code, error.c_str());
        return false;
    }
    const double span = (read.rows.back().timeMs - read.rows.front().timeMs) / 1000.0;
    const double rate = (read.rows.size() - 1) / span;
    const double wireLimit = 9600.0 / 10 / (4 + 4 + 4 + 11);
    std::printf("%-40s %6.1f rows/s  wire limit %.1f/s  ratio %.3f\n", "kestos-cli record", rate,
                wireLimit, rate / wireLimit);

    char text[160];
    const std::size_t bytes = formatDriveLogRow(read.rows[read.rows.size() / 2], text, sizeof text);
    std::FILE* sink = std::tmpfile();
    const int rows = 200000;
    const std::clock_t c0 = std::clock();
    for (int i = 0; i < rows; ++i) {
        const DriveLogRow row = rowFromImage(static_cast<uint32_t>(i) * 24, true);
        std::fwrite(text, 1, formatDriveLogRow(row, text, sizeof text), sink);
    }
    std::fflush(sink);
    const double ms = 1000.0 * static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    std::fclose(sink);
    std::printf("%-40s cpu %8.4f ms per row\n", "one log row, formatted and written", ms / rows);
    std::printf("%-40s %zu bytes a row, %.1f MB an hour at the wire rate\n", "log size", bytes,
                bytes * wireLimit * 3600 / 1e6);
    std::remove(log.c_str());
    return true;
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

    kestos::PosixSerialPort port;
    kestos::linkState.portName = link.c_str();
    bool ok = kestos::runLinkBench(rounds, port);
    ok = recordBench(port, link, dir) && ok;

    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    unlink(link.c_str());
    rmdir(dir);
    return ok ? 0 : 1;
}
