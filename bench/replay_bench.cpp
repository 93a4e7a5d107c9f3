// How closely a replay keeps the recorded timing, on the program's own replay port (the
// simulated controller on the real clock). A log of `minutes` (10 by default) with a row every
// 24 ms, each row's readings answer marked with its number, is played at 1x and 8x; the bench
// asks for readings at each row's recorded time and notes when the answer came back and
// whose row it was. Spread = time served - time recorded (both from the replay's start, in
// the log's time). Prints the distribution, never pass/fail.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "link/device_link.h"
#include "shell/drive_log.h"
#include "sim/live_port.h"
#include "sim/replay.h"
#include "sim/sim_controller.h"

namespace {

using namespace kestos;
using Clock = std::chrono::steady_clock;

constexpr uint32_t rowGapMs = 24;

DriveLog numberedLog(unsigned minutes) {
    DriveLog log;
    const uint32_t rows = minutes * 60000 / rowGapMs;
    log.rows.resize(rows);
    for (uint32_t i = 0; i < rows; ++i) {
        DriveLogRow& r = log.rows[i];
        r.timeMs = i * rowGapMs;
        r.linkUp = true;
        const uint8_t status[statusLength] = {0x65, 0x01, 0x04, 0x6A};
        std::copy(status, status + statusLength, r.statusAnswer);
        r.readingsBlock[0] = frameStart;
        r.readingsBlock[1] = static_cast<uint8_t>(i);
        r.readingsBlock[2] = static_cast<uint8_t>(i >> 8);
        r.readingsBlock[3] = static_cast<uint8_t>(i >> 16);
        r.readingsBlock[10] = frameChecksum(r.readingsBlock, readingsLength - 1);
    }
    return log;
}

double percentile(std::vector<double>& v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * double(v.size() - 1))];
}

void play(const DriveLog& log, int speed) {
    sim::Replay replay(log);
    replay.setSpeed(speed);
    sim::Controller controller;
    controller.powerOn();
    controller.attachReplay(&replay);
    sim::LivePort port(controller);
    const uint8_t request[4] = {frameStart, 0x02, 0x02, 0x69};
    std::vector<double> spread;
    spread.reserve(log.rows.size());
    long wrongRow = 0;
    port.restartClock();
    const Clock::time_point start = Clock::now();
    for (const DriveLogRow& row : log.rows) {
        std::this_thread::sleep_until(start +
                                      std::chrono::microseconds(row.timeMs * 1000LL / speed));
        port.write(request, 4);
        uint8_t answer[readingsLength] = {};
        if (port.read(answer, readingsLength) != readingsLength) {
            ++wrongRow;
            continue;
        }
        const double served =
            std::chrono::duration<double, std::milli>(Clock::now() - start).count() * speed;
        const uint32_t number = answer[1] | answer[2] << 8 | answer[3] << 16;
        if (number != row.timeMs / rowGapMs) ++wrongRow;
        spread.push_back(served - row.timeMs);
    }
    std::printf("%dx: %zu rows, spread ms (log time) median %.2f  p90 %.2f  p99 %.2f  max %.2f;"
                "  real-time median %.3f; answers of another row %ld\n",
                speed, log.rows.size(), percentile(spread, 0.5), percentile(spread, 0.9),
                percentile(spread, 0.99), percentile(spread, 1.0), percentile(spread, 0.5) / speed,
                wrongRow);
}

} // namespace

int main(int argc, char** argv) {
    const unsigned minutes = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 10;
    const DriveLog log = numberedLog(minutes ? minutes : 10);
    for (int speed : {8, 1})
        play(log, speed);
    return 0;
}
