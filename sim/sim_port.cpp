#include "sim/sim_port.h"

namespace kestos::sim {

namespace {
constexpr double byteMs = 10.0 * 1000.0 / 9600.0; // 8N1: ten bits a byte
}

void SimSerialPort::moveClock(double to) {
    if (to <= now_) return;
    // The controller's own clock runs in whole milliseconds.
    unsigned before = static_cast<unsigned>(now_);
    unsigned after = static_cast<unsigned>(to);
    now_ = to;
    if (after > before) controller_.advance(after - before);
}

void SimSerialPort::open(const char* name) {
    close();
    lastName_ = name ? name : "";
    ++opens_;
    open_ = !refuseOpen;
}

void SimSerialPort::purgeRx() {
    while (!rx_.empty() && rx_.front().at <= now_)
        rx_.pop_front();
}

unsigned SimSerialPort::write(const uint8_t* data, unsigned count) {
    if (!open_) return 0;
    frames_.emplace_back(data, data + count);
    double sent = now_ + (byteTiming ? count * byteMs : 0.0);
    moveClock(sent);
    std::vector<uint8_t> answer;
    controller_.receive(data, count, answer);
    double at = now_ + controller_.faults.delayMs;
    for (uint8_t b : answer) {
        if (byteTiming) at += byteMs;
        rx_.push_back({b, at});
    }
    return count;
}

unsigned SimSerialPort::read(uint8_t* data, unsigned count) {
    if (!open_) return 0;
    const double deadline =
        now_ + readTotalTimeoutConstantMs + double(readTotalTimeoutMultiplierMs) * count;
    unsigned got = 0;
    double last = now_;
    while (got < count && !rx_.empty()) {
        const Byte& b = rx_.front();
        double at = b.at < now_ ? now_ : b.at;
        if (at > deadline) break;
        if (got > 0 && at - last > readIntervalTimeoutMs) break;
        data[got++] = b.value;
        last = at;
        rx_.pop_front();
    }
    if (got == count) {
        moveClock(last);
    } else if (got > 0) {
        double gapEnd = last + readIntervalTimeoutMs;
        moveClock(gapEnd < deadline ? gapEnd : deadline);
    } else {
        moveClock(deadline);
    }
    return got;
}

void SimSerialPort::sleepMs(unsigned ms) {
    moveClock(now_ + ms);
}

void SimSerialPort::close() {
    if (open_) ++closes_;
    open_ = false;
    rx_.clear(); // what was buffered is lost with the handle
}

} // namespace kestos::sim
