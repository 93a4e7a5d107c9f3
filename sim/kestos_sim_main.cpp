// kestos-sim: the simulated controller on a pseudo-terminal, for running the tool without
// hardware. See --help.
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "sim/pty_front.h"
#include "sim/replay.h"
#include "sim/sim_controller.h"
#include "sim/sim_options.h"

namespace {

kestos::sim::SignalFlags flags;

void onSignal(int sig) {
    switch (sig) {
    case SIGUSR1: flags.goSilent = 1; break;
    case SIGUSR2: flags.goLoud = 1; break;
    default: flags.quit = 1; break;
    }
}

void installSignals() {
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0; // no SA_RESTART: poll and sleeps return so the loop sees the flag
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2})
        sigaction(sig, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN); // a log reader that goes away must not kill us
}

} // namespace

int main(int argc, char** argv) {
    kestos::sim::SimOptions options;
    std::string error;
    if (!kestos::sim::parseSimOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "kestos-sim: %s\n%s", error.c_str(), kestos::sim::simUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(kestos::sim::simUsage(), stdout);
        return 0;
    }

    installSignals();
    kestos::sim::Controller controller(options.seed);
    controller.faults = options.faults;
    controller.learnOutcome = options.learnOutcome;
    if (options.startWarm) controller.startWarm();
    std::unique_ptr<kestos::sim::Replay> replay;
    if (!options.replayPath.empty()) {
        std::FILE* file = std::fopen(options.replayPath.c_str(), "rb");
        kestos::DriveLog log;
        const bool read = file && kestos::sim::readReplayLog(file, log, error);
        if (file) std::fclose(file);
        if (!read) {
            std::fprintf(stderr, "kestos-sim: %s: %s\n", options.replayPath.c_str(),
                         file ? error.c_str() : "cannot open it");
            return 2;
        }
        replay = std::make_unique<kestos::sim::Replay>(std::move(log));
        replay->setSpeed(options.replaySpeed);
        controller.attachReplay(replay.get());
    }

    kestos::sim::PtyFront front(controller, options, flags);
    if (!front.open(error)) {
        std::fprintf(stderr, "kestos-sim: %s\n", error.c_str());
        return 1;
    }
    if (options.linkPath.empty())
        std::fprintf(stderr, "kestos-sim: pty %s\n", front.slaveName().c_str());
    else
        std::fprintf(stderr, "kestos-sim: link %s -> %s\n", options.linkPath.c_str(),
                     front.slaveName().c_str());
    return front.run();
}
