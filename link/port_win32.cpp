#include "link/port_win32.h"

#include <cstdio>
#include <cstring>

#include "link/port_names.h"

namespace kestos {

void Win32SerialPort::fail(const char* what) {
    DWORD code = GetLastError();
    char text[120] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, sizeof text - 1, nullptr);
    // FormatMessage ends its text with a line break.
    for (size_t n = std::strlen(text); n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r');)
        text[--n] = 0;
    std::snprintf(error_, sizeof error_, "%s: error %lu %s", what, static_cast<unsigned long>(code),
                  text);
}

DCB Win32SerialPort::settings() {
    DCB dcb;
    std::memset(&dcb, 0, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = CBR_9600;
    dcb.fBinary = TRUE; // Windows supports binary mode only
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fAbortOnError = FALSE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    // Unused with software flow control off, but Windows refuses equal XON and XOFF characters.
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

void Win32SerialPort::open(const char* name) {
    close();
    error_[0] = 0;
    openFailure_ = OpenFailure::none;
    char device[32];
    deviceNameOf(name, device, sizeof device);
    handle_ =
        CreateFileA(device, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        // Not reported to the caller: the status polls that follow count the silence. A port
        // another program has open fails with access denied: serial ports open exclusively.
        const DWORD code = GetLastError();
        openFailure_ = code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION
                           ? OpenFailure::busy
                           : OpenFailure::missing;
        fail(device);
        return;
    }
    DCB dcb = settings();
    if (!SetCommState(handle_, &dcb)) {
        // A port that will not take the line settings is not used, as one that did not open.
        // Wine opens a port whose device file has gone (an unplugged USB adapter leaves its
        // mapping dangling) and fails its first serial call as an unknown function; a device
        // that has gone answers the same on Windows.
        const DWORD code = GetLastError();
        openFailure_ = code == ERROR_INVALID_FUNCTION || code == ERROR_FILE_NOT_FOUND ||
                               code == ERROR_DEVICE_NOT_CONNECTED || code == ERROR_BAD_UNIT
                           ? OpenFailure::missing
                           : OpenFailure::setup;
        fail("SetCommState");
        close();
        return;
    }
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = readIntervalTimeoutMs;
    t.ReadTotalTimeoutMultiplier = readTotalTimeoutMultiplierMs;
    t.ReadTotalTimeoutConstant = readTotalTimeoutConstantMs;
    t.WriteTotalTimeoutMultiplier = writeTotalTimeoutMultiplierMs;
    t.WriteTotalTimeoutConstant = writeTotalTimeoutConstantMs;
    if (!SetCommTimeouts(handle_, &t)) {
        // Without its time-outs a read could wait for ever: the port is not used.
        openFailure_ = OpenFailure::setup;
        fail("SetCommTimeouts");
        close();
    }
}

void Win32SerialPort::purgeTx() {
    if (handle_ != INVALID_HANDLE_VALUE) PurgeComm(handle_, PURGE_TXCLEAR);
}

void Win32SerialPort::purgeRx() {
    if (handle_ != INVALID_HANDLE_VALUE) PurgeComm(handle_, PURGE_RXCLEAR);
}

unsigned Win32SerialPort::write(const uint8_t* data, unsigned count) {
    if (handle_ == INVALID_HANDLE_VALUE) return 0;
    DWORD done = 0;
    if (!WriteFile(handle_, data, count, &done, nullptr)) fail("WriteFile");
    return done;
}

unsigned Win32SerialPort::read(uint8_t* data, unsigned count) {
    if (handle_ == INVALID_HANDLE_VALUE) return 0;
    DWORD done = 0;
    if (!ReadFile(handle_, data, count, &done, nullptr)) fail("ReadFile");
    return done;
}

void Win32SerialPort::sleepMs(unsigned ms) {
    Sleep(ms);
}

void Win32SerialPort::close() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

} // namespace kestos
