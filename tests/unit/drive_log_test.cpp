// Readings logs: the format read back as written, what the reader refuses, and the recording
// against the simulated controller across a link loss.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "link/device_link.h"
#include "link/polling.h"
#include "shell/drive_log.h"
#include "shell/recording.h"
#include "shell/texts.h"
#include "sim/sim_port.h"
#include "tests/unit/memory_files.h"

using namespace kestos;

namespace {

DriveLog sampleLog(bool blocks) {
    DriveLog log;
    log.header = {"2026-12-09 15:31:58", "KestoS 1.04", "1.04", "\\\\.\\COM12", blocks, {}, {}, {}};
    if (!blocks) std::strcpy(log.header.firmware, "-");
    for (int i = 0; blocks && i < settings2Length; ++i) {
        if (i < readingsLength) log.header.readingsBlock[i] = static_cast<uint8_t>(0x65 + i);
        if (i < settings1Length) log.header.settingsBlock1[i] = static_cast<uint8_t>(0xF0 - i);
        log.header.settingsBlock2[i] = static_cast<uint8_t>(i * 17);
    }
    DriveLogRow up{
        43, 2150, 45, 498, 140, 128, -4, true, false, false, true, true, {0x65, 0x01, 0x04, 0x6A},
        {}};
    for (int i = 0; i < readingsLength; ++i)
        up.readingsBlock[i] = static_cast<uint8_t>(0xA0 + i);
    DriveLogRow later = up;
    later.timeMs = 3601234;
    later.lpgOff = later.cutOff = true;
    DriveLogRow down;
    down.timeMs = 1500;
    log.rows = {up, down, later};
    log.markers = {{1, 43}, {2, 2000}, {3, 3601300}};
    return log;
}

void expectSameLog(const DriveLog& a, const DriveLog& b) {
    EXPECT_STREQ(a.header.started, b.header.started);
    EXPECT_STREQ(a.header.program, b.header.program);
    EXPECT_STREQ(a.header.firmware, b.header.firmware);
    EXPECT_STREQ(a.header.port, b.header.port);
    EXPECT_EQ(a.header.hasBlocks, b.header.hasBlocks);
    EXPECT_EQ(0, std::memcmp(a.header.readingsBlock, b.header.readingsBlock, readingsLength));
    EXPECT_EQ(0, std::memcmp(a.header.settingsBlock1, b.header.settingsBlock1, settings1Length));
    EXPECT_EQ(0, std::memcmp(a.header.settingsBlock2, b.header.settingsBlock2, settings2Length));
    EXPECT_EQ(a.rows, b.rows);
    EXPECT_EQ(a.markers, b.markers);
}

bool readText(const std::string& text, DriveLog& log, std::string& error) {
    return readDriveLogText(text.data(), text.size(), log, error);
}

} // namespace

TEST(DriveLog, ReadsBackWhatItWrote) {
    for (bool blocks : {true, false}) {
        const DriveLog written = sampleLog(blocks);
        const std::string text = formatDriveLog(written);
        DriveLog read;
        std::string error;
        ASSERT_TRUE(readText(text, read, error)) << error;
        expectSameLog(written, read);
        EXPECT_FALSE(read.lastLineCut);
        // The layout the viewers look for: names, then units, then rows; dot decimals, tabs.
        EXPECT_NE(text.find("\nTime\tRPM\tLambda\tTPS\t"), std::string::npos);
        EXPECT_NE(text.find("\ns\trpm\tV\tV\t"), std::string::npos);
        EXPECT_NE(
            text.find("\n0.043\t2150\t0.45\t4.98\t140\t128\t-4\t1\t0\t0\t1\t1\t6501046A\tA0A1"),
            std::string::npos);
        EXPECT_NE(text.find("\nMARK 002 - 2.000 s\n3601.234"), std::string::npos)
            << "a marker stands before the rows after it";
        EXPECT_EQ(text.find(','), std::string::npos);
        EXPECT_EQ(text.find('\r'), std::string::npos);
    }
}

TEST(DriveLog, TakesALastLineCutOffAndRefusesAnythingElse) {
    const std::string text = formatDriveLog(sampleLog(true));
    DriveLog log;
    std::string error;
    for (std::size_t cut : {1u, 20u}) {
        ASSERT_TRUE(readText(text.substr(0, text.size() - cut), log, error)) << cut << error;
        EXPECT_TRUE(log.lastLineCut);
        EXPECT_EQ(log.rows.size(), 3u) << "only the marker line was cut";
    }
    const std::size_t lastRow = text.rfind("\n3601.234");
    ASSERT_TRUE(readText(text.substr(0, lastRow + 8), log, error));
    EXPECT_EQ(log.rows.size(), 2u);

    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_TRUE(readText(crlf, log, error)) << "a copy with Windows line ends";

    const std::size_t rows = text.find("\n0.043") + 1;
    const struct {
        std::string text;
        const char* says;
    } refused[] = {
        {"", "not a KestoS readings log"},
        {"[Ustawienia]\r\nCommPort= 1\r\n", "not a KestoS readings log"},
        {text.substr(0, rows - 10), "header"},
        {text.substr(0, rows - 1) + "x\n", "units"},
        {text.substr(0, rows) + "0.043\t2150\n", "line 11"},
        {text.substr(0, rows) + "-0.043" + text.substr(rows + 5), "line 11"},
        {text.substr(0, rows) + "0.43" + text.substr(rows + 5), "line 11"},
        {text.substr(0, rows) + "MARK 1 - 2.000 s\n", "line 11"},
        {text.substr(0, rows) + "\n" + text.substr(rows), "line 11"},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(readText(r.text, log, error)) << r.says;
        EXPECT_NE(error.find(r.says), std::string::npos) << error;
    }
    const std::size_t hex = text.find("6501046A");
    std::string badHex = text;
    badHex[hex] = 'G';
    EXPECT_FALSE(readText(badHex, log, error));
}

namespace {

class Recording : public ::testing::Test {
  protected:
    static sim::SimSerialPort* clockPort;
    static uint32_t clock() { return clockPort->clockMs(); }
    sim::Controller controller;
    sim::SimSerialPort port{controller};
    test::MemoryFiles files;
    void SetUp() override {
        port.byteTiming = true;
        clockPort = &port;
        setSerialPort(&port);
        resetLink();
        pollingState = PollingState{};
        resetRecordingState();
        afterPollTick = recordPollTick;
    }
    void TearDown() override {
        afterPollTick = nullptr;
        resetRecordingState();
        setSerialPort(nullptr);
        resetLink();
    }
    void ticks(int n, PollSchedule schedule) {
        for (int i = 0; i < n; ++i) {
            pollCycle(schedule, false);
            port.sleepMs(static_cast<unsigned>(linkState.pollInterval));
        }
    }
};
sim::SimSerialPort* Recording::clockPort = nullptr;

} // namespace

TEST_F(Recording, RowsFollowTheAnswersAcrossPagesAndALinkLoss) {
    std::tm when{};
    when.tm_year = 126;
    when.tm_mon = 11;
    when.tm_mday = 9;
    when.tm_hour = 8;
    ASSERT_TRUE(startRecording(files, logFolder, when, clock, "COM1:"));
    ASSERT_TRUE(startRecording(files, logFolder, when, clock, "COM1:")); // the same second
    const std::string path = recordingState.path;
    EXPECT_EQ(path, "Logs/KestoS-20261209-080000_02.msl");
    ticks(8, PollSchedule::readingsPage);
    EXPECT_EQ(addRecordingMarker(), 1);
    ticks(5, PollSchedule::scopePage);
    const long beforeLoss = recordingState.rows;
    EXPECT_EQ(beforeLoss, 13);
    controller.faults.silent = true;
    ticks(6, PollSchedule::readingsPage);
    EXPECT_EQ(recordingState.rows, beforeLoss + 1) << "one row says the link is down";
    controller.faults.silent = false;
    ticks(4, PollSchedule::readingsPage);
    EXPECT_EQ(addRecordingMarker(), 2);

    char title[128];
    titleWithRecording("Readings", title, sizeof title);
    EXPECT_EQ(std::string(title).rfind("Readings - Recording 0:", 0), 0u) << title;
    EXPECT_NE(std::string(title).find(", marker 2"), std::string::npos) << title;
    ASSERT_TRUE(stopRecording());
    titleWithRecording("Readings", title, sizeof title);
    EXPECT_STREQ(title, "Readings");

    DriveLog log;
    std::string error;
    ASSERT_TRUE(readText(files.files[path], log, error)) << error;
    EXPECT_STREQ(log.header.port, "COM1:");
    EXPECT_STREQ(log.header.started, "2026-12-09 08:00:00");
    ASSERT_EQ(log.rows.size(), 18u);
    ASSERT_EQ(log.markers.size(), 2u);
    EXPECT_GT(log.markers[0].timeMs, log.rows[7].timeMs) << "marked after row 8";
    EXPECT_LT(log.markers[0].timeMs, log.rows[8].timeMs) << "and before row 9";
    // The raw answers are whole and correct: the simulator's (compared byte for byte with
    // what it sent in the end-to-end test).
    const DriveLogRow& last = log.rows.back();
    EXPECT_EQ(frameChecksum(last.readingsBlock, readingsLength - 1), last.readingsBlock[10]);
    EXPECT_EQ(frameChecksum(last.statusAnswer, statusLength - 1), last.statusAnswer[3]);
    EXPECT_FALSE(log.rows[13].linkUp);
}

TEST_F(Recording, NoFileNoRecording) {
    files.failWrites = true;
    EXPECT_FALSE(startRecording(files, logFolder, std::tm{}, clock, "COM1:"));
    EXPECT_FALSE(recordingState.active);
    ticks(2, PollSchedule::readingsPage);
    EXPECT_EQ(recordingState.rows, 0);
    EXPECT_EQ(addRecordingMarker(), 0);
}
