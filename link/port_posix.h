// Serial port on POSIX termios: the ports are device paths such as /dev/ttyUSB0.
#pragma once

#include "link/serial_port.h"

namespace kestos {

class PosixSerialPort final : public SerialPort {
  public:
    PosixSerialPort() = default;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;
    ~PosixSerialPort() override { close(); }

    void open(const char* name) override;
    void purgeTx() override;
    void purgeRx() override;
    unsigned write(const uint8_t* data, unsigned count) override;
    unsigned read(uint8_t* data, unsigned count) override;
    void sleepMs(unsigned ms) override;
    void close() override;
    const char* lastError() const override { return error_; }
    OpenFailure openFailure() const override { return openFailure_; }

  private:
    void fail(const char* what);
    int fd_ = -1;
    OpenFailure openFailure_ = OpenFailure::none;
    char error_[160] = {};
};

} // namespace kestos
