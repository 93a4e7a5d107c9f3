// The Win32 port under Wine: COM1 is kestos-sim, COM3 a silent kestos-sim, COM4 has no
// device behind it (scripts/wine_tests.sh sets this up).
#include <gtest/gtest.h>

#include <string>

#include "link/device_link.h"
#include "link/params.h"
#include "link/port_win32.h"

using namespace kestos;

namespace {

class Win32Port : public ::testing::Test {
  protected:
    Win32SerialPort port;
    void SetUp() override {
        setSerialPort(&port);
        resetLink();
    }
    void TearDown() override {
        closePort();
        setSerialPort(nullptr);
        linkState.portName = "COM1:";
    }
};

} // namespace

// 9600 baud, 8 data bits, no parity, one stop bit and no flow control: what COM1 takes and
// reads back. RTS and DTR are held off (Wine reads them back on from a pty).
TEST(Win32PortSettings, ComOneTakesTheLineSettings) {
    HANDLE h =
        CreateFileA("COM1:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    DCB wanted = Win32SerialPort::settings();
    EXPECT_NE(wanted.XonChar, wanted.XoffChar) << "Windows refuses a DCB with XON equal to XOFF";
    EXPECT_EQ(wanted.fRtsControl, static_cast<DWORD>(RTS_CONTROL_DISABLE));
    EXPECT_EQ(wanted.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));
    EXPECT_TRUE(SetCommState(h, &wanted)) << GetLastError();
    DCB got{};
    got.DCBlength = sizeof got;
    ASSERT_TRUE(GetCommState(h, &got));
    CloseHandle(h);
    EXPECT_EQ(got.BaudRate, 9600u);
    EXPECT_EQ(got.ByteSize, 8);
    EXPECT_EQ(got.Parity, NOPARITY);
    EXPECT_EQ(got.StopBits, ONESTOPBIT);
    EXPECT_TRUE(got.fBinary);
    EXPECT_FALSE(got.fOutxCtsFlow || got.fOutxDsrFlow || got.fOutX || got.fInX || got.fParity ||
                 got.fErrorChar || got.fNull || got.fAbortOnError || got.fDsrSensitivity);
}

TEST_F(Win32Port, PollsAndCommandsReachTheSimulator) {
    pollStatus();
    ASSERT_EQ(linkState.linkDown, 0) << port.lastError();
    EXPECT_EQ(firmwareVersion(), 1);
    pollReadings();
    pollSettings1();
    pollSettings2();
    EXPECT_EQ(deviceImage.readingsBlock[0], 0x65);
    EXPECT_EQ(frameChecksum(deviceImage.settingsBlock1, 13), deviceImage.settingsBlock1[13]);
    EXPECT_EQ(frameChecksum(deviceImage.settingsBlock2, 15), deviceImage.settingsBlock2[15]);

    const Parameter& p = parameters[parameterIndexByKey("InjectDelay")];
    uint8_t before = parameterValue(p);
    uint8_t wanted = before == 12 ? 13 : 12;
    sendCommand(p.code, wanted);
    EXPECT_EQ(linkState.lastByteCount, 3u);
    pollSettings1();
    EXPECT_EQ(parameterValue(p), wanted);
    sendCommand(p.code, before);
}

TEST_F(Win32Port, SilentControllerTakesTheLinkDown) {
    linkState.portName = "COM3:";
    DWORD start = GetTickCount();
    pollStatus();
    EXPECT_GE(GetTickCount() - start, 100u) << "the read must wait for its time-out";
    pollStatus();
    pollStatus();
    EXPECT_EQ(linkState.linkDown, 1);
    EXPECT_EQ(linkState.pollInterval, 500);
    EXPECT_EQ(linkState.portOpen, 0);
}

// Each cause of a dead link keeps its own reason. Every port is opened as \\.\COMn, the name
// the port's error text gives.
TEST_F(Win32Port, EachDeadPortKeepsItsReason) {
    const struct {
        const char* name;
        LinkDownReason reason;
        const char* error;
    } cases[] = {
        {"COM3:", LinkDownReason::noAnswer, ""},             // a silent simulator
        {"COM4:", LinkDownReason::portMissing, "SetCommState"}, // its device file is gone
        {"COM5:", LinkDownReason::portSetup, "SetCommState"},   // a plain file
        {"COM9:", LinkDownReason::portMissing, "\\\\.\\COM9: error 2"}, // not mapped at all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetLink();
        linkState.portName = c.name;
        for (int i = 0; i < 3; ++i)
            pollStatus();
        EXPECT_EQ(linkState.linkDown, 1);
        EXPECT_EQ(linkState.failCount, 2);
        EXPECT_EQ(linkState.downReason, c.reason);
        EXPECT_EQ(std::string(port.lastError()).rfind(c.error, 0), 0u) << port.lastError();
        closePort();
    }
}

TEST_F(Win32Port, CloseIsSafeTwice) {
    port.close();
    port.open("COM1:");
    port.close();
    port.close();
    EXPECT_EQ(port.read(nullptr, 0), 0u);
}
