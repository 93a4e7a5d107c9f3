// The few serial-port operations the device link needs. One implementation per platform
// (Win32, POSIX termios) and an in-process one that talks to the simulated controller.
#pragma once

#include <chrono>
#include <cstdint>

namespace kestos {

// Why the last open did not give a usable port.
enum class OpenFailure : uint8_t {
    none,
    missing, // no such port (an adapter unplugged, a wrong number)
    busy,    // another program holds it: serial ports open exclusively
    setup,   // it opened but would not take 9600 8N1 or the time-outs
};

class SerialPort {
  public:
    virtual ~SerialPort() = default;
    // Opens and configures the named port for 9600 8N1, no flow control, DTR and RTS off,
    // read time-outs of 100 ms + 10 ms per byte in all and 50 ms between bytes.
    // A failed open is not reported: later reads simply return nothing.
    virtual void open(const char* name) = 0;
    virtual void purgeTx() = 0;
    virtual void purgeRx() = 0;
    // Both return the number of bytes moved.
    virtual unsigned write(const uint8_t* data, unsigned count) = 0;
    virtual unsigned read(uint8_t* data, unsigned count) = 0;
    virtual void sleepMs(unsigned ms) = 0;
    // Safe to call when not open, and twice.
    virtual void close() = 0;
    // Milliseconds on a clock that only goes forward: the wall's for a real port, the virtual
    // one for the simulator's in-process port.
    virtual uint32_t clockMs() const {
        using namespace std::chrono;
        return static_cast<uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    // Why the last open or transfer failed, for a fitter's eyes; empty when all went well.
    virtual const char* lastError() const { return ""; }
    virtual OpenFailure openFailure() const { return OpenFailure::none; }
};

// Read time-out rule shared by every implementation.
constexpr unsigned readIntervalTimeoutMs = 50;
constexpr unsigned readTotalTimeoutConstantMs = 100;
constexpr unsigned readTotalTimeoutMultiplierMs = 10;
constexpr unsigned writeTotalTimeoutConstantMs = 100;
constexpr unsigned writeTotalTimeoutMultiplierMs = 10;

} // namespace kestos
