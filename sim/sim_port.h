// An in-process serial port wired to a simulated controller, on a virtual clock: reads that
// would wait for a time-out return at once and move the clock on instead, so tests of the
// link's time-out paths run in microseconds and give the same result every time.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "link/serial_port.h"
#include "sim/sim_controller.h"

namespace kestos::sim {

class SimSerialPort final : public SerialPort {
  public:
    explicit SimSerialPort(Controller& controller) : controller_(controller) {}

    void open(const char* name) override;
    void purgeTx() override {}
    void purgeRx() override;
    unsigned write(const uint8_t* data, unsigned count) override;
    unsigned read(uint8_t* data, unsigned count) override;
    void sleepMs(unsigned ms) override;
    void close() override;

    // Pace answers at 9600 baud (1.042 ms a byte) instead of delivering them at once.
    bool byteTiming = false;
    // Make open() fail, as for a port that does not exist.
    bool refuseOpen = false;

    bool isOpen() const { return open_; }
    double nowMs() const { return now_; }
    uint32_t clockMs() const override { return static_cast<uint32_t>(now_); }
    unsigned opens() const { return opens_; }
    unsigned closes() const { return closes_; }
    const std::string& lastOpenedName() const { return lastName_; }
    // Every frame written since the last clearFrames(), in order.
    const std::vector<std::vector<uint8_t>>& frames() const { return frames_; }
    void clearFrames() { frames_.clear(); }
    // Bytes sent by the controller that no read has taken yet.
    size_t pendingBytes() const { return rx_.size(); }

  private:
    struct Byte {
        uint8_t value;
        double at; // arrival time on the virtual clock
    };
    void moveClock(double to);

    Controller& controller_;
    std::deque<Byte> rx_;
    std::vector<std::vector<uint8_t>> frames_;
    std::string lastName_;
    double now_ = 0;
    bool open_ = false;
    unsigned opens_ = 0;
    unsigned closes_ = 0;
};

} // namespace kestos::sim
