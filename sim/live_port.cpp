#include "sim/live_port.h"

#include <chrono>
#include <thread>

namespace kestos::sim {

void LivePort::catchUp() {
    const uint32_t now = clockMs();
    const uint32_t passed = now - last_; // the clock only goes forward; this survives its wrap
    last_ = now;
    if (passed > 0) controller_.advance(passed);
}

void LivePort::open(const char*) {
    rx_.clear();
    catchUp();
}

unsigned LivePort::write(const uint8_t* data, unsigned count) {
    catchUp();
    controller_.receive(data, count, rx_);
    return count;
}

unsigned LivePort::read(uint8_t* data, unsigned count) {
    catchUp();
    const unsigned got = count < rx_.size() ? count : static_cast<unsigned>(rx_.size());
    for (unsigned i = 0; i < got; ++i)
        data[i] = rx_[i];
    rx_.erase(rx_.begin(), rx_.begin() + got);
    // Nothing more comes until the next request: a port would wait out its time-outs.
    if (got < count)
        sleepMs(got > 0 ? readIntervalTimeoutMs
                        : readTotalTimeoutConstantMs + readTotalTimeoutMultiplierMs * count);
    return got;
}

void LivePort::sleepMs(unsigned ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace kestos::sim
