#include "sim/pty_front.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace kestos::sim {

namespace {

constexpr double byteMs = 10.0 * 1000.0 / 9600.0; // 8N1: ten bits a byte
constexpr int requestLength = 4;
// A pause this long inside a frame means the rest is lost; start again with the next 'e'.
constexpr double resyncGapMs = 50.0;

} // namespace

PtyFront::PtyFront(Controller& controller, const SimOptions& options, SignalFlags& flags)
    : controller_(controller), options_(options), flags_(flags) {
    clock_gettime(CLOCK_MONOTONIC, &start_);
}

PtyFront::~PtyFront() {
    removeLink();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
    if (log_ && ownLog_) std::fclose(log_);
}

bool PtyFront::open(std::string& error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error = std::string("cannot make a pty: ") + std::strerror(errno);
        return false;
    }
    const char* name = ptsname(master_);
    if (!name) {
        error = std::string("ptsname: ") + std::strerror(errno);
        return false;
    }
    slaveName_ = name;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);

    slave_ = ::open(slaveName_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        error = "cannot open " + slaveName_ + ": " + std::strerror(errno);
        return false;
    }
    // Raw, so no byte is translated or echoed back to us, whatever the client sets later.
    termios t{};
    if (tcgetattr(slave_, &t) == 0) {
        cfmakeraw(&t);
        cfsetispeed(&t, B9600);
        cfsetospeed(&t, B9600);
        tcsetattr(slave_, TCSANOW, &t);
    }

    if (!options_.linkPath.empty()) {
        struct stat st {};
        const char* path = options_.linkPath.c_str();
        if (lstat(path, &st) == 0) {
            if (!S_ISLNK(st.st_mode)) {
                error = options_.linkPath + " exists and is not a symlink; not replacing it";
                return false;
            }
            if (unlink(path) != 0) {
                error = "cannot remove old " + options_.linkPath + ": " + std::strerror(errno);
                return false;
            }
        }
        if (symlink(slaveName_.c_str(), path) != 0) {
            error = "cannot make " + options_.linkPath + ": " + std::strerror(errno);
            return false;
        }
        linkMade_ = true;
    }

    if (options_.logPath == "-") {
        log_ = stdout;
    } else if (!options_.logPath.empty()) {
        log_ = std::fopen(options_.logPath.c_str(), "w");
        if (!log_) {
            error = "cannot write " + options_.logPath + ": " + std::strerror(errno);
            return false;
        }
        ownLog_ = true;
    }
    return true;
}

void PtyFront::removeLink() {
    if (!linkMade_) return;
    linkMade_ = false;
    // Only our own link: another simulator may have taken the path over meanwhile.
    char target[4096];
    ssize_t n = readlink(options_.linkPath.c_str(), target, sizeof target - 1);
    if (n < 0) return;
    target[n] = '\0';
    if (slaveName_ == target) unlink(options_.linkPath.c_str());
}

double PtyFront::nowMs() const {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec - start_.tv_sec) * 1000.0 + double(t.tv_nsec - start_.tv_nsec) / 1e6;
}

void PtyFront::sleepUntil(double ms) const {
    // Absolute deadlines: paced bytes do not drift however long each write takes.
    double whole = std::floor(ms / 1000.0);
    timespec t = start_;
    t.tv_sec += static_cast<time_t>(whole);
    t.tv_nsec += static_cast<long>((ms - whole * 1000.0) * 1e6);
    while (t.tv_nsec >= 1000000000L) {
        t.tv_nsec -= 1000000000L;
        ++t.tv_sec;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR)
        if (flags_.quit) return;
}

void PtyFront::advanceModel() {
    double now = nowMs();
    if (now - modelMs_ < 1.0) return;
    auto whole = static_cast<unsigned>(now - modelMs_);
    controller_.advance(whole);
    modelMs_ += whole;
}

void PtyFront::logLine(double ms, const char* tag, const uint8_t* bytes, size_t count,
                       const char* note) {
    if (!log_) return;
    std::fprintf(log_, "%10.3f %s", ms, tag);
    for (size_t i = 0; i < count; ++i)
        std::fprintf(log_, " %02X", bytes[i]);
    if (note) std::fprintf(log_, " (%s)", note);
    std::fputc('\n', log_);
    std::fflush(log_);
}

void PtyFront::discardInput(const char* why) {
    uint8_t buf[256];
    for (;;) {
        ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) return;
        logLine(nowMs(), "DROP", buf, static_cast<size_t>(n), why);
    }
}

void PtyFront::dropPartial() {
    if (!fed_.empty()) logLine(nowMs(), "DROP", fed_.data(), fed_.size(), "incomplete frame");
    fed_.clear();
    controller_.dropPartial();
}

void PtyFront::takeBytes(const uint8_t* bytes, size_t count, double at) {
    if (controller_.pendingRequestBytes() > 0 && at - lastRxMs_ > resyncGapMs) dropPartial();
    std::vector<uint8_t> answer;
    for (size_t i = 0; i < count; ++i) {
        if (controller_.pendingRequestBytes() == 0) {
            // Bytes before a frame start are dropped by the model; log them with the frame.
            if (bytes[i] == 0x65) frameStartMs_ = at;
        }
        const unsigned long before = controller_.framesReceived();
        fed_.push_back(bytes[i]);
        controller_.receive(&bytes[i], 1, answer);
        lastRxMs_ = at;
        if (controller_.framesReceived() == before) continue;

        // A whole frame: what preceded its last four bytes was junk.
        if (fed_.size() > requestLength)
            logLine(at, "DROP", fed_.data(), fed_.size() - requestLength, "no frame");
        const uint8_t* frame = fed_.data() + fed_.size() - requestLength;
        logLine(at, "RX", frame, requestLength, answer.empty() ? "no answer" : nullptr);
        fed_.clear();
        if (answer.empty()) continue;

        // The controller is busy answering; whatever else came with this frame is lost.
        if (i + 1 < count) logLine(at, "DROP", bytes + i + 1, count - i - 1, "busy");
        sendAnswer(answer, frameStartMs_);
        return;
    }
    // Bytes dropped while hunting for a frame start are logged once the frame is found or
    // the gap runs out; keep only what may still belong to a frame.
    if (controller_.pendingRequestBytes() == 0 && !fed_.empty()) {
        logLine(at, "DROP", fed_.data(), fed_.size(), "no frame");
        fed_.clear();
    }
}

void PtyFront::sendAnswer(const std::vector<uint8_t>& answer, double requestStartMs) {
    const size_t n = answer.size();
    if (!options_.byteTiming) {
        sleepUntil(requestStartMs + controller_.faults.delayMs);
        if (flags_.quit) return;
        const double at = nowMs();
        discardInput("busy");
        if (::write(master_, answer.data(), n) < 0 && errno != EAGAIN) return;
        logLine(at, "TX", answer.data(), n);
        return;
    }
    // On a real line the request itself takes four byte times to arrive, and each answer
    // byte one more.
    const double startMs = requestStartMs + requestLength * byteMs + controller_.faults.delayMs;
    double firstByteMs = 0;
    for (size_t i = 0; i < n; ++i) {
        sleepUntil(startMs + double(i + 1) * byteMs);
        if (flags_.quit) return;
        if (i == 0) firstByteMs = nowMs();
        // Requests that came in while we were busy are stale: drop them before the last byte
        // goes out, so nothing the tool sends after it can be lost.
        if (i + 1 == n) discardInput("busy");
        if (::write(master_, &answer[i], 1) < 0 && errno != EAGAIN) return;
    }
    logLine(firstByteMs, "TX", answer.data(), n);
}

// A soak's controller: one fault after another, each for the same time, and round again.
void PtyFront::cycleFaults() {
    static const char* const names[] = {"none",    "silent",   "bad checksum",   "short",
                                        "garbage", "delay 60", "silent after 20"};
    constexpr int steps = sizeof names / sizeof *names;
    if (faultStep_ == cyclingStopped) return;
    const int step = static_cast<int>(nowMs() / options_.cycleFaultsMs) % steps;
    if (step == faultStep_) return;
    faultStep_ = step;
    Faults& f = controller_.faults;
    const int major = f.firmwareMajor, minor = f.firmwareMinor;
    f = Faults{};
    f.firmwareMajor = major, f.firmwareMinor = minor;
    switch (step) {
    case 1: f.silent = true; break;
    case 2: f.badChecksum = true; break;
    case 3: f.shortAnswers = true; break;
    case 4: f.garbageFirstByte = true; break;
    case 5: f.delayMs = 60; break;
    case 6: f.silentAfterFrames = static_cast<long>(controller_.framesAnswered()) + 20; break;
    default: break;
    }
    logLine(nowMs(), "--", nullptr, 0, names[step]);
}

int PtyFront::run() {
    // Whatever was queued before we started is not for us.
    discardInput("stale");
    uint8_t buf[256];
    while (!flags_.quit) {
        if (flags_.goSilent) {
            flags_.goSilent = 0;
            controller_.faults.silent = true;
            logLine(nowMs(), "--", nullptr, 0, "silent");
        }
        if (flags_.goLoud) {
            flags_.goLoud = 0;
            if (options_.cycleFaultsMs) { // the soak is over: no more faults
                const Faults was = controller_.faults;
                controller_.faults = Faults{};
                controller_.faults.firmwareMajor = was.firmwareMajor;
                controller_.faults.firmwareMinor = was.firmwareMinor;
                faultStep_ = cyclingStopped;
            }
            controller_.faults.silent = false;
            logLine(nowMs(), "--", nullptr, 0, "answering");
        }
        advanceModel();
        if (options_.cycleFaultsMs) cycleFaults();

        int timeout = 100;
        if (controller_.pendingRequestBytes() > 0) {
            double left = lastRxMs_ + resyncGapMs - nowMs();
            if (left <= 0) {
                dropPartial();
                continue;
            }
            timeout = static_cast<int>(std::ceil(left));
        }
        pollfd p{master_, POLLIN, 0};
        int r = poll(&p, 1, timeout);
        if (r < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "kestos-sim: poll: %s\n", std::strerror(errno));
            return 1;
        }
        if (r == 0) continue;
        if (!(p.revents & POLLIN)) {
            // Hang-up without data (no one holds the slave): wait for the tool to reopen it.
            usleep(20000);
            continue;
        }
        ssize_t n = ::read(master_, buf, sizeof buf);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            if (errno == EIO) {
                usleep(20000);
                continue;
            }
            std::fprintf(stderr, "kestos-sim: read: %s\n", std::strerror(errno));
            return 1;
        }
        if (n == 0) continue;
        advanceModel();
        takeBytes(buf, static_cast<size_t>(n), nowMs());
    }
    return 0;
}

} // namespace kestos::sim
