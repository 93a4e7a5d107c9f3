#include <cstdio>

#include "cli/cli_app.h"
#include "link/port_win32.h"

int main(int argc, char** argv) {
    kestos::Win32SerialPort port;
    return kestos::runCli(argc, argv, port, true, stdout, stderr);
}
