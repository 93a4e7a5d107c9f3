// The link's transactions and state machine against a scripted port whose every answer the
// test chooses, so that each rule shows on its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "link/device_link.h"
#include "tests/unit/scripted_port.h"

using namespace kestos;

namespace {

Bytes withChecksum(Bytes b) {
    b.push_back(frameChecksum(b.data(), static_cast<int>(b.size())));
    return b;
}
Bytes statusOk(uint8_t firmware = 0x04) {
    return withChecksum({0x65, 0x00, firmware});
}
Bytes block(int length, uint8_t fill) {
    Bytes b(static_cast<size_t>(length - 1), fill);
    b[0] = 0x65;
    return withChecksum(b);
}

class DeviceLink : public ::testing::Test {
  protected:
    ScriptedPort port;
    void SetUp() override {
        setSerialPort(&port);
        resetLink();
        port.calls.clear();
    }
    void TearDown() override { setSerialPort(nullptr); }
    bool blocksAreZero() const {
        for (uint8_t b : deviceImage.readingsBlock)
            if (b) return false;
        for (uint8_t b : deviceImage.settingsBlock1)
            if (b) return false;
        for (uint8_t b : deviceImage.settingsBlock2)
            if (b) return false;
        return true;
    }
    void bringUp() {
        port.answers.push_back(statusOk());
        pollStatus();
        ASSERT_EQ(linkState.linkDown, 0);
    }
};

} // namespace

TEST_F(DeviceLink, PollRequestsAreTheFourConstantFrames) {
    pollStatus();
    pollReadings();
    pollSettings1();
    pollSettings2();
    ASSERT_EQ(port.written.size(), 4u);
    EXPECT_EQ(port.written[0], (Bytes{0x65, 0x01, 0x01, 0x67}));
    EXPECT_EQ(port.written[1], (Bytes{0x65, 0x02, 0x02, 0x69}));
    EXPECT_EQ(port.written[2], (Bytes{0x65, 0x03, 0x03, 0x6B}));
    EXPECT_EQ(port.written[3], (Bytes{0x65, 0x04, 0x04, 0x6D}));
}

TEST_F(DeviceLink, SendCommandBuildsItsFrameFromTheLowBytes) {
    sendCommand(5, 0x84);
    sendCommand(0x105, 0x184);
    ASSERT_EQ(port.written.size(), 2u);
    EXPECT_EQ(port.written[0], (Bytes{0x65, 0x05, 0x84, 0xEE}));
    EXPECT_EQ(port.written[1], (Bytes{0x65, 0x05, 0x84, 0xEE}));
}

TEST_F(DeviceLink, TransactionsPurgeInTheirOwnOrder) {
    port.answers.push_back(statusOk());
    pollStatus();
    EXPECT_EQ(port.calls,
              (std::vector<std::string>{"open COM1:", "purgeTx", "purgeRx", "write", "read 4"}));
    port.calls.clear();
    port.answers.push_back(block(11, 1));
    pollReadings();
    EXPECT_EQ(port.calls, (std::vector<std::string>{"purgeTx", "write", "read 11"}));
    port.calls.clear();
    port.answers.push_back({0x65, 0, 0});
    sendCommand(8, 3);
    EXPECT_EQ(port.calls,
              (std::vector<std::string>{"purgeRx", "purgeTx", "write", "read 3", "purgeRx"}));
}

TEST_F(DeviceLink, StartWithoutControllerGoesDownOnTheThirdPollAndStaysAtTwo) {
    // Something in the blocks, so that the clearing shows.
    std::memset(deviceImage.readingsBlock, 7, sizeof deviceImage.readingsBlock);
    std::memset(deviceImage.settingsBlock1, 7, sizeof deviceImage.settingsBlock1);
    std::memset(deviceImage.settingsBlock2, 7, sizeof deviceImage.settingsBlock2);
    deviceImage.statusAnswer[1] = 9;

    const struct {
        int failCount, pollInterval, portOpen, opens;
        bool cleared;
    } after[] = {{1, 50, 1, 1, false},
                 {2, 50, 1, 1, false},
                 {2, 500, 0, 1, true},
                 {2, 500, 0, 2, true},
                 {2, 500, 0, 3, true}};
    for (const auto& a : after) {
        pollStatus();
        EXPECT_EQ(linkState.linkDown, 1);
        EXPECT_EQ(linkState.failCount, a.failCount);
        EXPECT_EQ(linkState.pollInterval, a.pollInterval);
        EXPECT_EQ(linkState.portOpen, a.portOpen);
        EXPECT_EQ(port.opens, a.opens);
        EXPECT_EQ(blocksAreZero(), a.cleared);
    }
    EXPECT_EQ(deviceImage.statusAnswer[1], 9) << "the status answer is never cleared";
}

TEST_F(DeviceLink, FirstGoodAnswerAfterLinkDownBringsItUp) {
    for (int i = 0; i < 4; ++i)
        pollStatus();
    ASSERT_EQ(linkState.pollInterval, 500);
    port.answers.push_back(statusOk(0x24));
    pollStatus();
    EXPECT_EQ(linkState.linkDown, 0);
    EXPECT_EQ(linkState.failCount, 0);
    EXPECT_EQ(linkState.pollInterval, 50);
    EXPECT_EQ(Bytes(deviceImage.statusAnswer, deviceImage.statusAnswer + 4), statusOk(0x24));
    EXPECT_EQ(firmwareVersion(), 2);
    EXPECT_EQ(linkState.firmwareMinor, 4);
}

// The reason is the open's while the port will not open, the controller's once it does; a good
// answer clears it, and a port that comes back is judged afresh at its next open.
TEST_F(DeviceLink, TheLinkKeepsWhyItIsDown) {
    EXPECT_EQ(linkState.downReason, LinkDownReason::none) << "nothing tried yet";
    const struct {
        OpenFailure failure;
        LinkDownReason reason;
    } cases[] = {{OpenFailure::none, LinkDownReason::noAnswer},
                 {OpenFailure::missing, LinkDownReason::portMissing},
                 {OpenFailure::busy, LinkDownReason::portBusy},
                 {OpenFailure::setup, LinkDownReason::portSetup}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.failure));
        resetLink();
        port.failure = c.failure;
        for (int i = 0; i < 4; ++i) // down, the port dropped and opened again
            pollStatus();
        EXPECT_EQ(linkState.linkDown, 1);
        EXPECT_EQ(linkState.downReason, c.reason);
        // The adapter is back, the controller still silent: the reopen says so.
        port.failure = OpenFailure::none;
        for (int i = 0; i < 3; ++i)
            pollStatus();
        EXPECT_EQ(linkState.downReason, LinkDownReason::noAnswer);
        port.answers.push_back(statusOk());
        pollStatus();
        EXPECT_EQ(linkState.linkDown, 0);
        EXPECT_EQ(linkState.downReason, LinkDownReason::none);
    }
}

TEST_F(DeviceLink, StatusWithBadChecksumClosesThePortAndCountsNothing) {
    bringUp();
    port.answers.push_back(withChecksum({0x65, 0x00, 0x05}));
    pollStatus();
    port.answers.push_back({0x65, 0x01, 0x04, 0x00});
    pollStatus();
    EXPECT_EQ(linkState.portOpen, 0);
    EXPECT_EQ(linkState.failCount, 0);
    EXPECT_EQ(linkState.linkDown, 0);
    EXPECT_EQ(deviceImage.statusAnswer[2], 0x05) << "the bad answer must not be stored";
}

TEST_F(DeviceLink, ShortAnswersAreRefusedEvenWhenZerosWouldCompleteThem) {
    bringUp();
    const DeviceImage before = deviceImage;
    port.answers.push_back({0x65, 0x9B}); // 65 9B 00 00 would sum right
    pollStatus();
    port.answers.push_back({0x65, 0x9B}); // and so would 65 9B and nine zeros
    pollReadings();
    EXPECT_EQ(0, std::memcmp(&before, &deviceImage, sizeof before)) << "nothing taken";
    EXPECT_EQ(linkState.portOpen, 0) << "judged as a garbled answer";

    bringUp();
    port.calls.clear();
    port.answers.push_back({0x65}); // 0x65 + 0 + 0 != 0: a checksum fault
    pollStatus();
    EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "purgeRx"), 3)
        << "before the write, after the short read and on the bad checksum";
    EXPECT_EQ(linkState.portOpen, 0);
    EXPECT_EQ(linkState.failCount, 0);
    port.answers.push_back({0x00, 0x65, 0x01});
    pollStatus();
    EXPECT_EQ(linkState.failCount, 1);
}

TEST_F(DeviceLink, BlockAnswersAreStoredWholeOnlyWhenTheirChecksumFits) {
    bringUp();
    port.answers.push_back(block(11, 3));
    pollReadings();
    EXPECT_EQ(Bytes(deviceImage.readingsBlock, deviceImage.readingsBlock + 11), block(11, 3));
    port.answers.push_back(block(14, 4));
    pollSettings1();
    EXPECT_EQ(Bytes(deviceImage.settingsBlock1, deviceImage.settingsBlock1 + 14), block(14, 4));
    port.answers.push_back(block(16, 5));
    pollSettings2();
    EXPECT_EQ(Bytes(deviceImage.settingsBlock2, deviceImage.settingsBlock2 + 16), block(16, 5));
    EXPECT_EQ(linkState.portOpen, 1);

    Bytes bad = block(11, 6);
    bad.back() ^= 1;
    port.answers.push_back(bad);
    pollReadings();
    EXPECT_EQ(deviceImage.readingsBlock[1], 3) << "previous contents stay";
    EXPECT_EQ(linkState.portOpen, 0);
    EXPECT_EQ(linkState.failCount, 0);
}

TEST_F(DeviceLink, BlockAnswerWithoutLeadingByteChangesNothing) {
    bringUp();
    port.answers.push_back(block(14, 4));
    pollSettings1();
    Bytes wrong = block(14, 8);
    wrong[0] = 0x66;
    port.answers.push_back(wrong);
    pollSettings1();
    EXPECT_EQ(deviceImage.settingsBlock1[1], 4);
    EXPECT_EQ(linkState.portOpen, 1);
    port.answers.push_back({});
    pollSettings2();
    EXPECT_EQ(linkState.portOpen, 1) << "silence is not a checksum fault";
    EXPECT_EQ(linkState.linkDown, 0);
}

TEST_F(DeviceLink, OtherFirmwareMajorStopsBlockPollsAndCommands) {
    for (uint8_t major = 2; major <= 8; ++major) {
        resetLink();
        port.written.clear();
        port.answers.push_back(statusOk(static_cast<uint8_t>((major - 1) << 5)));
        pollStatus();
        EXPECT_EQ(linkState.linkDown, 0);
        EXPECT_FALSE(linkUsable());
        EXPECT_EQ(linkState.firmwareMajor, major);
        linkState.lastByteCount = 77;
        sendCommand(30, 50);
        EXPECT_EQ(port.written.size(), 1u) << "only the status frame";
        EXPECT_EQ(linkState.lastByteCount, 0u) << "a held-back frame has no answer";
    }
}

TEST_F(DeviceLink, SendCommandPassesTheGateBeforeAnyStatusAnswer) {
    EXPECT_EQ(linkState.linkDown, 1);
    port.answers.push_back({0x65, 0x1E, 0x32});
    sendCommand(30, 50);
    ASSERT_EQ(port.written.size(), 1u);
    EXPECT_EQ(port.written[0], (Bytes{0x65, 0x1E, 0x32, 0xB5}));
    EXPECT_EQ(linkState.lastByteCount, 3u);
    EXPECT_EQ(linkState.failCount, 0) << "a command never counts failures";
}

TEST_F(DeviceLink, SendCommandWaitsCommandDelayAndKeepsNoStaleAnswer) {
    linkState.commandDelay = 250;
    port.answers.push_back({0x65, 0x33, 0x00});
    sendCommand(30, 51);
    EXPECT_EQ(port.sleeps, (std::vector<unsigned>{250}));
    EXPECT_EQ(deviceImage.commandAnswer[1], 0x33);

    // No answer to the next command: it must not still read as the previous one.
    sendCommand(30, 51);
    EXPECT_EQ(linkState.lastByteCount, 0u);
    EXPECT_EQ(deviceImage.commandAnswer[1], 0);
    EXPECT_EQ(linkState.portOpen, 1) << "a command never closes the port";
}

TEST_F(DeviceLink, ClosePortIsSafeTwiceAndTheNextTransactionReopens) {
    bringUp();
    closePort();
    closePort();
    EXPECT_EQ(linkState.portOpen, 0);
    EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "close"), 1);
    linkState.portName = "COM3:";
    pollStatus();
    EXPECT_EQ(linkState.portOpen, 1);
    EXPECT_NE(std::find(port.calls.begin(), port.calls.end(), "open COM3:"), port.calls.end());
    linkState.portName = "COM1:";
}

TEST_F(DeviceLink, WithoutAPortEveryPollIsSilence) {
    setSerialPort(nullptr);
    for (int i = 0; i < 3; ++i)
        pollStatus();
    EXPECT_EQ(linkState.pollInterval, 500);
    EXPECT_EQ(linkState.lastByteCount, 0u);
}
