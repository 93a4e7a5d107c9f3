// The device link fed by a port whose every read returns bytes the fuzzer chooses (any count,
// any content), through a sequence of the five transactions the fuzzer chooses too. The link
// state stays within its values, and a block changes only to a whole answer with its 'e' and
// a valid checksum (or to zeros when the link goes down).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "link/device_link.h"

using namespace kestos;

namespace {

class FuzzPort final : public SerialPort {
  public:
    FuzzPort(const uint8_t* data, size_t size) : data_(data), left_(size) {}
    bool empty() const { return left_ == 0; }
    uint8_t take() {
        if (left_ == 0) return 0;
        --left_;
        return *data_++;
    }
    void open(const char*) override {}
    void purgeTx() override {}
    void purgeRx() override {}
    unsigned write(const uint8_t*, unsigned count) override { return count; }
    unsigned read(uint8_t* out, unsigned count) override {
        unsigned n = take() % (count + 1);
        if (n > left_) n = static_cast<unsigned>(left_);
        std::memcpy(out, data_, n);
        data_ += n;
        left_ -= n;
        lastRead = n;
        return n;
    }
    void sleepMs(unsigned) override {}
    void close() override {}
    unsigned lastRead = 0; // bytes the last read returned

  private:
    const uint8_t* data_;
    size_t left_;
};

bool wholeAnswer(const uint8_t* block, int length) {
    return block[0] == frameStart && frameChecksum(block, length - 1) == block[length - 1];
}

bool zeros(const uint8_t* block, int length) {
    for (int i = 0; i < length; ++i)
        if (block[i]) return false;
    return true;
}

// `answered`: the transaction's read returned a whole answer of this block's length.
void checkBlock(const uint8_t* before, const uint8_t* now, int length, bool answered) {
    if (std::memcmp(before, now, static_cast<size_t>(length)) == 0) return;
    if (answered && wholeAnswer(now, length)) return;
    if (linkState.linkDown && zeros(now, length)) return;
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzPort port(data, size);
    setSerialPort(&port);
    resetLink();
    while (!port.empty()) {
        const DeviceImage before = deviceImage;
        port.lastRead = 0;
        switch (port.take() % 5) {
        case 0: pollStatus(); break;
        case 1: pollReadings(); break;
        case 2: pollSettings1(); break;
        case 3: pollSettings2(); break;
        default: sendCommand(port.take(), port.take()); break;
        }
        const LinkState& s = linkState;
        if (s.failCount < 0 || s.failCount > 2) std::abort();
        if (s.linkDown != 0 && s.linkDown != 1) std::abort();
        if (s.pollInterval != 50 && s.pollInterval != 500) std::abort();
        const unsigned got = port.lastRead;
        checkBlock(before.statusAnswer, deviceImage.statusAnswer, statusLength,
                   got == statusLength);
        checkBlock(before.readingsBlock, deviceImage.readingsBlock, readingsLength,
                   got == readingsLength);
        checkBlock(before.settingsBlock1, deviceImage.settingsBlock1, settings1Length,
                   got == settings1Length);
        checkBlock(before.settingsBlock2, deviceImage.settingsBlock2, settings2Length,
                   got == settings2Length);
    }
    setSerialPort(nullptr);
    return 0;
}
