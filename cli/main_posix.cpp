#include <cstdio>

#include "cli/cli_app.h"
#include "link/port_posix.h"
#include "shell/file_system_posix.h"

int main(int argc, char** argv) {
    kestos::PosixSerialPort port;
    kestos::PosixFileSystem files;
    return kestos::runCli(argc, argv, port, files, false, stdout, stderr,
                          kestos::presentSerialPorts);
}
