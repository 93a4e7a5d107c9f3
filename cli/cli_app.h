// kestos-cli: the device link from the command line, for fitters' scripts and our tests.
#pragma once

#include <cstdio>

#include "link/port_list.h"
#include "link/serial_port.h"
#include "shell/file_system.h"

namespace kestos {

constexpr int exitDone = 0;
constexpr int exitDiffer = 1; // diff: the files hold different values
constexpr int exitUsage = 2;
constexpr int exitNoAnswer = 3;
constexpr int exitBadFile = 4;     // not a configuration file, or it cannot be read
constexpr int exitWriteFailed = 5; // a file or the backup cannot be written
constexpr int exitNotTaken = 6;    // load: the check after sending found a parameter not taken

// Runs one command line against `port`, with files through `files`. Output goes to `out`,
// messages to `err`. `windowsPortNames` makes PORT a COM port (COM1..COM255) instead of a device
// path. `listPorts` gives the ports present, for `ports` and `--port auto`.
int runCli(int argc, char** argv, SerialPort& port, FileSystem& files, bool windowsPortNames,
           std::FILE* out, std::FILE* err, std::vector<PresentPort> (*listPorts)() = nullptr);

} // namespace kestos
