// The replay controller: a log's answers at their times, pause and speed, silence where the
// link was down, the header's blocks and writes, on the controller's own clock.
#include <gtest/gtest.h>

#include <vector>

#include "tests/unit/memory_files.h"

#include "link/device_link.h"
#include "link/params.h"
#include "shell/append_format.h"
#include "shell/replay_session.h"
#include "sim/live_port.h"
#include "sim/replay.h"
#include "sim/sim_controller.h"
#include "sim/sim_port.h"

using namespace kestos;

namespace {

using Bytes = std::vector<uint8_t>;

DriveLogRow row(uint32_t timeMs, uint8_t tag, bool linkUp = true) {
    DriveLogRow r;
    r.timeMs = timeMs;
    r.linkUp = linkUp;
    const uint8_t status[statusLength] = {0x65, 0x01, 0x04, 0x6A};
    std::copy(status, status + statusLength, r.statusAnswer);
    r.readingsBlock[0] = frameStart;
    for (int i = 1; i < readingsLength - 1; ++i)
        r.readingsBlock[i] = static_cast<uint8_t>(tag + i);
    r.readingsBlock[10] = frameChecksum(r.readingsBlock, readingsLength - 1);
    return r;
}

Bytes ask(sim::Controller& c, uint8_t code, uint8_t value = 0) {
    uint8_t frame[4] = {frameStart, code, code < 5 ? code : value, 0};
    frame[3] = frameChecksum(frame, 3);
    Bytes answer;
    c.receive(frame, 4, answer);
    return answer;
}

uint8_t readingsTag(sim::Controller& c) {
    const Bytes a = ask(c, 2);
    return a.size() == readingsLength ? static_cast<uint8_t>(a[1] - 1) : 0;
}

} // namespace

TEST(Replay, ServesTheLogsAnswersAtTheirTimesWithPauseAndSpeed) {
    DriveLog log;
    log.rows = {row(1000, 10), row(1100, 20), row(1200, 0, false), row(1300, 30)};
    sim::Replay replay(log);
    sim::Controller c;
    c.attachReplay(&replay);
    EXPECT_EQ(replay.lengthMs(), 300u);

    EXPECT_EQ(readingsTag(c), 10) << "the first row at the start";
    EXPECT_EQ(ask(c, 1), Bytes(log.rows[0].statusAnswer, log.rows[0].statusAnswer + 4));
    c.advance(99);
    EXPECT_EQ(readingsTag(c), 10);
    c.advance(1);
    EXPECT_EQ(readingsTag(c), 20);

    replay.setPaused(true);
    c.advance(500);
    EXPECT_EQ(replay.positionMs(), 100u) << "paused";
    replay.setPaused(false);
    c.advance(100);
    EXPECT_TRUE(ask(c, 1).empty()) << "the link was down here";
    EXPECT_TRUE(ask(c, 3).empty()) << "the whole controller is silent";

    replay.setSpeed(8);
    c.advance(13);
    EXPECT_EQ(readingsTag(c), 30) << "104 ms of log in 13 ms at 8x";
    EXPECT_TRUE(replay.ended());
    c.advance(1000);
    EXPECT_EQ(readingsTag(c), 30) << "the end holds the last row";
}

TEST(Replay, BlocksComeFromTheHeaderAndTakeWrites) {
    sim::Controller plain;
    DriveLog log;
    log.rows = {row(0, 10)};
    sim::Replay withoutBlocks(log);
    sim::Controller a;
    a.attachReplay(&withoutBlocks);
    EXPECT_EQ(ask(a, 3), plain.settings1Answer()) << "a log without blocks: the factory set";

    log.header.hasBlocks = true;
    Bytes s1 = plain.settings1Answer(), s2 = plain.settings2Answer();
    s1[5] = 0x33;
    s1.back() = frameChecksum(s1.data(), settings1Length - 1);
    std::copy(s1.begin(), s1.end(), log.header.settingsBlock1);
    std::copy(s2.begin(), s2.end(), log.header.settingsBlock2);
    std::copy(log.rows[0].readingsBlock, log.rows[0].readingsBlock + readingsLength,
              log.header.readingsBlock);
    sim::Replay replay(log);
    sim::Controller c;
    c.attachReplay(&replay);
    EXPECT_EQ(ask(c, 3), s1);
    EXPECT_EQ(ask(c, 4), s2);

    // A write changes the replay controller's copy, and what it answers.
    const Parameter& p = parameters[0];
    ASSERT_EQ(ask(c, static_cast<uint8_t>(p.code), 0x21).size(), commandAnswerLength);
    EXPECT_EQ(c.parameter(p.code), 0x21);
    const Parameter& attInit = parameterByKey("AttInit");
    ask(c, static_cast<uint8_t>(attInit.code), 0x55);
    const Bytes readings = ask(c, 2);
    ASSERT_EQ(readings.size(), readingsLength);
    EXPECT_EQ(readings[4], 0x55) << "AttInit as written";
    EXPECT_EQ(readings[10], frameChecksum(readings.data(), readingsLength - 1));
}

namespace {

// The program's port on a clock the test moves: sleeping moves it too.
class FakeClockPort final : public sim::LivePort {
  public:
    using LivePort::LivePort;
    uint32_t now = 5000;
    uint32_t clockMs() const override { return now; }
    void sleepMs(unsigned ms) override { now += ms; }
};

struct LinkOnPort {
    explicit LinkOnPort(SerialPort* port) {
        resetLink();
        setSerialPort(port);
    }
    ~LinkOnPort() {
        resetReplaySession();
        resetLink();
        setSerialPort(nullptr);
        linkState = LinkState{}; // the port's name too: later tests expect the default
    }
};

DriveLog threeRows() {
    DriveLog log;
    log.rows = {row(0, 10), row(1000, 0, false), row(2000, 30)};
    return log;
}

} // namespace

TEST(LivePort, AnswersAtOnceOnItsClockAndWaitsOutAMissingAnswer) {
    sim::Replay replay(threeRows());
    sim::Controller c;
    c.attachReplay(&replay);
    FakeClockPort port(c);
    port.restartClock();
    LinkOnPort link(&port);

    ASSERT_TRUE(pollStatus());
    ASSERT_TRUE(pollReadings());
    EXPECT_EQ(deviceImage.readingsBlock[1], 11);
    EXPECT_EQ(port.now, 5000u) << "an answer costs no time";

    port.now = 6000;
    EXPECT_FALSE(pollStatus()) << "the link was down a second in";
    EXPECT_EQ(port.now, 6000 + readTotalTimeoutConstantMs + 4 * readTotalTimeoutMultiplierMs)
        << "a missing answer waits out the read time-out";

    port.now = 7000;
    ASSERT_TRUE(pollStatus());
    ASSERT_TRUE(pollReadings());
    EXPECT_EQ(deviceImage.readingsBlock[1], 31) << "the controller's time follows the clock";
}

TEST(ReplaySession, ARefusedLogChangesNothing) {
    test::MemoryFiles files;
    files.files["garbage.msl"] = "not a log\r\n";
    DriveLog empty;
    files.files["empty.msl"] = formatDriveLog(empty);
    sim::Controller c;
    sim::SimSerialPort port(c);
    LinkOnPort link(&port);
    linkState.portName = "COM3:";
    for (const char* path : {"missing.msl", "garbage.msl", "empty.msl"}) {
        SCOPED_TRACE(path);
        std::string error;
        EXPECT_FALSE(startReplay(files, path, error));
        EXPECT_FALSE(error.empty()) << "the fitter is told why";
        EXPECT_EQ(liveSource(), LiveSource::port);
        EXPECT_EQ(serialPort(), &port);
        EXPECT_STREQ(linkState.portName, "COM3:");
    }
}

TEST(ReplaySession, StandsInForThePortUntilStopped) {
    test::MemoryFiles files;
    files.files["/logs/drive.msl"] = formatDriveLog(threeRows());
    sim::Controller car;
    sim::SimSerialPort port(car);
    LinkOnPort link(&port);
    linkState.portName = "COM2:";
    ASSERT_TRUE(pollStatus());
    ASSERT_EQ(linkState.linkDown, 0);

    std::string error;
    ASSERT_TRUE(startReplay(files, "/logs/drive.msl", error)) << error;
    EXPECT_EQ(linkState.linkDown, 1) << "the car's image is gone until the replay answers";
    EXPECT_NE(serialPort(), &port);
    ASSERT_TRUE(pollStatus());
    ASSERT_TRUE(pollReadings());
    EXPECT_EQ(deviceImage.readingsBlock[1], 11) << "the log's first row";
    EXPECT_EQ(port.frames().size(), 1u) << "the car hears nothing more";

    char title[256];
    titleWithReplay("KestoS - Readings", title, sizeof title);
    EXPECT_STREQ(title, "KestoS - Readings - Replay: drive.msl 0:00 / 0:02");
    setReplayPaused(true);
    setReplaySpeed(4);
    EXPECT_EQ(replaySpeed(), 4);
    titleWithReplay("KestoS - Readings", title, sizeof title);
    EXPECT_STREQ(title, "KestoS - Readings - Replay: drive.msl 0:00 / 0:02, paused");

    startDemo(); // straight from a replay: Stop still goes back to the car
    titleWithReplay("KestoS - Readings", title, sizeof title);
    EXPECT_STREQ(title, "KestoS - Readings - Demo");
    ASSERT_TRUE(pollReadings());
    EXPECT_TRUE(deviceImage.readingsBlock[7] & sim::bits::engineRunning) << "a warm engine";

    stopReplay();
    EXPECT_EQ(liveSource(), LiveSource::port);
    EXPECT_EQ(serialPort(), &port);
    EXPECT_STREQ(linkState.portName, "COM2:");
    EXPECT_EQ(linkState.linkDown, 1);
    EXPECT_TRUE(pollStatus());
    EXPECT_EQ(port.frames().size(), 2u) << "polls reach the car again";
    titleWithReplay("KestoS - Readings", title, sizeof title);
    EXPECT_STREQ(title, "KestoS - Readings");
}

TEST(ReplaySession, ElapsedTimes) {
    const struct {
        uint32_t ms;
        const char* text;
    } cases[] = {{0, "0:00"},
                 {59999, "0:59"},
                 {61000, "1:01"},
                 {3600000, "1:00:00"},
                 {36061000, "10:01:01"}};
    for (const auto& c : cases) {
        char out[24];
        formatElapsed(c.ms, out, sizeof out);
        EXPECT_STREQ(out, c.text) << c.ms;
    }
}
