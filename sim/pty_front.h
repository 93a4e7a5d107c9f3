// kestos-sim's serial side: a pseudo-terminal that stands in for the controller's line, and
// the loop that feeds its bytes to the model in real time. POSIX only.
#pragma once

#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "sim/sim_controller.h"
#include "sim/sim_options.h"

namespace kestos::sim {

// Set from signal handlers, read by the loop.
struct SignalFlags {
    volatile std::sig_atomic_t quit = 0;
    volatile std::sig_atomic_t goSilent = 0;
    volatile std::sig_atomic_t goLoud = 0;
};

class PtyFront {
  public:
    PtyFront(Controller& controller, const SimOptions& options, SignalFlags& flags);
    ~PtyFront();
    PtyFront(const PtyFront&) = delete;
    PtyFront& operator=(const PtyFront&) = delete;

    // Opens the pty and makes the link; false with a reason in `error`.
    bool open(std::string& error);
    const std::string& slaveName() const { return slaveName_; }

    // Serves requests until a quit signal. Returns the exit status.
    int run();

  private:
    double nowMs() const;
    void sleepUntil(double ms) const;
    void advanceModel();
    void logLine(double ms, const char* tag, const uint8_t* bytes, size_t count,
                 const char* note = nullptr);
    void discardInput(const char* why);
    void takeBytes(const uint8_t* bytes, size_t count, double at);
    void sendAnswer(const std::vector<uint8_t>& answer, double requestStartMs);
    void dropPartial();
    void removeLink();
    void cycleFaults();

    Controller& controller_;
    const SimOptions& options_;
    SignalFlags& flags_;
    int master_ = -1;
    int slave_ = -1; // held open so the pty never hangs up when the tool closes its side
    std::string slaveName_;
    bool linkMade_ = false;
    std::FILE* log_ = nullptr;
    bool ownLog_ = false;
    timespec start_{};
    double modelMs_ = 0;      // time already given to the model
    double frameStartMs_ = 0; // arrival of the first byte of the frame being received
    double lastRxMs_ = 0;
    std::vector<uint8_t> fed_; // bytes given to the model since the last frame or drop
    static constexpr int cyclingStopped = -2;
    int faultStep_ = -1; // --cycle-faults: the fault now on; SIGUSR2 stops the cycle
};

} // namespace kestos::sim
