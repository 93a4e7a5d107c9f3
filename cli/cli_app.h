// kestos-cli: the device link from the command line, for fitters' scripts and our tests.
#pragma once

#include <cstdio>

#include "link/serial_port.h"

namespace kestos {

constexpr int exitDone = 0;
constexpr int exitUsage = 2;
constexpr int exitNoAnswer = 3;

// Runs one command line against `port`. Output goes to `out`, messages to `err`.
// `windowsPortNames` makes PORT one of COM1..COM4 instead of a device path.
int runCli(int argc, char** argv, SerialPort& port, bool windowsPortNames, std::FILE* out,
           std::FILE* err);

} // namespace kestos
