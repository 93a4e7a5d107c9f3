// Command line of kestos-sim. Kept apart from the pty code so it builds and tests anywhere.
#pragma once

#include <cstdint>
#include <string>

#include "sim/sim_controller.h"

namespace kestos::sim {

struct SimOptions {
    std::string linkPath; // symlink made to the pty slave; empty: none
    std::string logPath;  // frame log; "-" for stdout; empty: no log
    bool byteTiming = true;
    uint32_t seed = 1;
    Faults faults;
    LearnOutcome learnOutcome = LearnOutcome::success;
    bool startWarm = false;     // skip the cold start: warm engine at idle, the cycle next
    unsigned cycleFaultsMs = 0; // >0: step through the faults, one every this many ms
    std::string replayPath;     // a readings log to answer from; empty: the bench programme
    int replaySpeed = 1;        // 1, 2, 4 or 8
    bool help = false;
};

// False with a one-line reason in `error` when the arguments are wrong.
bool parseSimOptions(int argc, const char* const* argv, SimOptions& out, std::string& error);

const char* simUsage();

} // namespace kestos::sim
