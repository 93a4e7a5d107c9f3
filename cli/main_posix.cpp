#include <cstdio>

#include "cli/cli_app.h"
#include "link/port_posix.h"

int main(int argc, char** argv) {
    kestos::PosixSerialPort port;
    return kestos::runCli(argc, argv, port, false, stdout, stderr);
}
