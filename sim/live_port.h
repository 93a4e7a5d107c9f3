// An in-process serial port wired to a simulated controller on the real clock: what the program
// talks to during a replay or the demo. The controller's time follows the clock, answers are
// there at once, and a missing answer costs the read time-out, as it does on a port.
#pragma once

#include <cstdint>
#include <vector>

#include "link/serial_port.h"
#include "sim/sim_controller.h"

namespace kestos::sim {

class LivePort : public SerialPort {
  public:
    explicit LivePort(Controller& controller) : controller_(controller) {}

    void open(const char* name) override;
    void purgeTx() override {}
    void purgeRx() override { rx_.clear(); }
    unsigned write(const uint8_t* data, unsigned count) override;
    unsigned read(uint8_t* data, unsigned count) override;
    void sleepMs(unsigned ms) override;
    void close() override { rx_.clear(); }

    // The controller's time starts again from now (a replay starts at its first row).
    void restartClock() { last_ = clockMs(); }

  private:
    // Moves the controller on by the time passed since the last look at the clock.
    void catchUp();

    Controller& controller_;
    std::vector<uint8_t> rx_;
    uint32_t last_ = 0;
};

} // namespace kestos::sim
