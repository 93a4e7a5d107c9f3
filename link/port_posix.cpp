#include "link/port_posix.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace kestos {

namespace {

long long nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Waits until fd is ready for `events` or `ms` pass; true when ready.
bool waitFor(int fd, short events, long long ms) {
    if (ms < 0) ms = 0;
    pollfd p{fd, events, 0};
    for (;;) {
        int r = ::poll(&p, 1, static_cast<int>(ms));
        if (r > 0) return true;
        if (r == 0) return false;
        if (errno != EINTR) return false;
    }
}

} // namespace

void PosixSerialPort::fail(const char* what) {
    std::snprintf(error_, sizeof error_, "%s: %s", what, std::strerror(errno));
}

void PosixSerialPort::open(const char* name) {
    close();
    error_[0] = 0;
    openFailure_ = OpenFailure::none;
    fd_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        openFailure_ = errno == EBUSY || errno == EACCES ? OpenFailure::busy : OpenFailure::missing;
        fail(name);
        return;
    }
    termios t{};
    if (tcgetattr(fd_, &t) != 0) {
        openFailure_ = OpenFailure::setup;
        fail("tcgetattr");
        close(); // not a terminal: never used as one
        return;
    }
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd_, TCSANOW, &t) != 0) {
        openFailure_ = OpenFailure::setup;
        fail("tcsetattr");
        close();
        return;
    }
    // DTR and RTS inactive; a pseudo-terminal has no modem lines, so a refusal is fine.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)ioctl(fd_, TIOCMBIC, &lines);
}

void PosixSerialPort::purgeTx() {
    if (fd_ >= 0) tcflush(fd_, TCOFLUSH);
}

void PosixSerialPort::purgeRx() {
    if (fd_ >= 0) tcflush(fd_, TCIFLUSH);
}

unsigned PosixSerialPort::write(const uint8_t* data, unsigned count) {
    if (fd_ < 0) return 0;
    const long long deadline =
        nowMs() + writeTotalTimeoutConstantMs + writeTotalTimeoutMultiplierMs * count;
    unsigned done = 0;
    while (done < count) {
        ssize_t n = ::write(fd_, data + done, count - done);
        if (n > 0) {
            done += static_cast<unsigned>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            fail("write");
            break;
        }
        if (!waitFor(fd_, POLLOUT, deadline - nowMs())) break;
    }
    return done;
}

unsigned PosixSerialPort::read(uint8_t* data, unsigned count) {
    if (fd_ < 0) return 0;
    const long long deadline =
        nowMs() + readTotalTimeoutConstantMs + readTotalTimeoutMultiplierMs * count;
    long long lastByte = 0;
    unsigned got = 0;
    while (got < count) {
        ssize_t n = ::read(fd_, data + got, count - got);
        if (n > 0) {
            got += static_cast<unsigned>(n);
            lastByte = nowMs();
            continue; // return at once when the last byte is in
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            // A pty whose other side has gone reports EIO: treat as silence.
            if (errno != EIO) fail("read");
            break;
        }
        long long now = nowMs();
        long long wait = deadline - now;
        if (got > 0) {
            long long gap = lastByte + readIntervalTimeoutMs - now;
            if (gap < wait) wait = gap;
        }
        if (wait <= 0) break;
        if (!waitFor(fd_, POLLIN, wait)) {
            if (got > 0 || nowMs() >= deadline) break;
        }
    }
    return got;
}

void PosixSerialPort::sleepMs(unsigned ms) {
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

void PosixSerialPort::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

} // namespace kestos
