// The same link timing through the Win32 port, as KestoS.exe sees it: run under Wine with
// COM1 wired to kestos-sim (scripts/bench.sh does that).
#include <cstdlib>

#include "bench/link_bench_core.h"
#include "link/device_link.h"
#include "link/port_win32.h"

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 40;
    if (rounds < 1) rounds = 1;
    kestos::Win32SerialPort port;
    kestos::linkState.portName = argc > 2 ? argv[2] : "COM1:";
    return kestos::runLinkBench(rounds, port) ? 0 : 1;
}
