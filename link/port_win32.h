// Serial port on the Win32 communications API ("COM1:".."COM9:", "\\.\COM10" and on).
#pragma once

#include <windows.h>

#include "link/serial_port.h"

namespace kestos {

class Win32SerialPort final : public SerialPort {
  public:
    Win32SerialPort() = default;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;
    ~Win32SerialPort() override { close(); }

    void open(const char* name) override;
    void purgeTx() override;
    void purgeRx() override;
    unsigned write(const uint8_t* data, unsigned count) override;
    unsigned read(uint8_t* data, unsigned count) override;
    void sleepMs(unsigned ms) override;
    void close() override;
    const char* lastError() const override { return error_; }
    OpenFailure openFailure() const override { return openFailure_; }

    // The DCB that open() applies; exposed so that tests can check what Windows is given.
    static DCB settings();

  private:
    void fail(const char* what);
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    OpenFailure openFailure_ = OpenFailure::none;
    char error_[200] = {};
};

} // namespace kestos
