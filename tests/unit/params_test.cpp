#include <gtest/gtest.h>

#include <set>

#include "link/device_link.h"
#include "link/encodings.h"
#include "link/params.h"
#include "tests/unit/scripted_port.h"

using namespace kestos;

TEST(Parameters, CodesFollowTheKeyOrderAndSkipTheActionCode) {
    int expected = 5;
    for (const Parameter& p : parameters) {
        if (expected == actionCode) ++expected;
        EXPECT_EQ(p.code, expected) << p.key;
        ++expected;
    }
    EXPECT_EQ(expected, 33);
    EXPECT_EQ(parameterIndexByCode(actionCode), -1);
}

TEST(Parameters, EverySettingsByteIsExactlyOneParameter) {
    std::set<std::pair<int, int>> seen;
    for (const Parameter& p : parameters)
        EXPECT_TRUE(seen.insert({static_cast<int>(p.block), p.byte}).second) << p.key;
    for (int b = 1; b <= 12; ++b)
        EXPECT_TRUE(seen.count({static_cast<int>(Block::settings1), b})) << "settings1 " << b;
    for (int b = 1; b <= 14; ++b)
        EXPECT_TRUE(seen.count({static_cast<int>(Block::settings2), b})) << "settings2 " << b;
    const Parameter& attInit = parameters[parameterIndexByKey("AttInit")];
    EXPECT_EQ(attInit.block, Block::readings);
    EXPECT_EQ(attInit.byte, 4);
    EXPECT_EQ(parameterIndexByKey("Szybkosc_BJ"), -1);
}

TEST(Parameters, ValueComesFromTheDeviceImage) {
    resetLink();
    deviceImage.settingsBlock1[12] = 9;
    deviceImage.settingsBlock2[14] = 44;
    deviceImage.readingsBlock[4] = 128;
    EXPECT_EQ(parameterValue(parameters[parameterIndexByKey("TPSInert")]), 9);
    EXPECT_EQ(parameterValue(parameters[parameterIndexByKey("AttMin_BJ")]), 44);
    EXPECT_EQ(parameterValue(parameters[parameterIndexByKey("AttInit")]), 128);
    resetLink();
}

TEST(Parameters, OptionsListWritesOnlyItsTwoBits) {
    const struct {
        uint8_t current;
        int position;
        uint8_t expected;
    } cases[] = {{0x00, 0, 0x01}, {0x80, 0, 0x01}, {0x7E, 1, 0xFE},
                 {0xFF, 2, 0x7E}, {0x81, 2, 0x00}, {0x42, 0, 0x43}};
    for (const auto& c : cases) {
        EXPECT_EQ(optionsWithExtraMode(c.current, c.position), c.expected);
        EXPECT_EQ(extraModePosition(c.expected), c.position);
    }
    EXPECT_EQ(replaceBits(0xF0, options::attInitHidden, 0), 0xF0);
    EXPECT_EQ(replaceBits(0xF4, options::attInitHidden, 0), 0xF0);
}

TEST(Parameters, EmulTypeKeepsTheBitsNoListOwns) {
    EXPECT_EQ(emulTypeWithLow(0xCC, 2), 0xCE);
    EXPECT_EQ(emulTypeWithHigh(0xCC, 2), 0xEC);
    EXPECT_EQ(emulTypeLow(0xEE), 2);
    EXPECT_EQ(emulTypeHigh(0xEE), 2);
}

TEST(Parameters, LambdaTypeNibbles) {
    const uint8_t sent[6] = {0, 1, 2, 6, 7, 8};
    for (int pos = 0; pos < 6; ++pos) {
        uint8_t v = lambdaTypeWithCodePosition(0x30, pos);
        EXPECT_EQ(v, 0x30 | sent[pos]);
        EXPECT_EQ(lambdaCodePosition(v), pos);
    }
    const int positionOfCode[16] = {0, 1, 2, 2, 2, 2, 3, 4, 5, 5, 5, 5, 5, 5, 5, 5};
    for (int code = 0; code < 16; ++code)
        EXPECT_EQ(lambdaCodePosition(static_cast<uint8_t>(code)), positionOfCode[code]) << code;
    EXPECT_EQ(lambdaTypeWithSensor(0x27, 5), 0x57);
    EXPECT_EQ(lambdaSensorType(0x57), 5);
    EXPECT_EQ(lambdaPointDefault(0), 22);
    EXPECT_EQ(lambdaPointDefault(5), 60);
    for (int t = 1; t <= 4; ++t)
        EXPECT_EQ(lambdaPointDefault(t), 127);
}

TEST(Parameters, SpeedsAreSentAsPeriodBytesAndReadBackToTheirListPosition) {
    ScriptedPort port;
    setSerialPort(&port);
    resetLink();
    sendSpeed(lpgOnSpeed, 1500);
    sendSpeed(lpgOnSpeed, 3500);
    ASSERT_EQ(port.written.size(), 4u);
    EXPECT_EQ(port.written[0][1], 21);
    EXPECT_EQ(port.written[0][2], 0x10);
    EXPECT_EQ(port.written[1][1], 22);
    EXPECT_EQ(port.written[1][2], 0x27);
    EXPECT_EQ(port.written[2][2], 0xBD);
    EXPECT_EQ(port.written[3][2], 0x10);

    for (const SpeedParameter* s : {&lpgOnSpeed, &cutOffSpeed, &lpgOffSpeed}) {
        const Parameter& lo = parameters[parameterIndexByCode(s->loCode)];
        const Parameter& hi = parameters[parameterIndexByCode(s->loCode + 1)];
        ASSERT_EQ(lo.block, Block::settings2);
        ASSERT_EQ(hi.byte, lo.byte + 1);
        for (unsigned rpm = s->baseRpm; rpm <= s->maxRpm; rpm += 100) {
            unsigned period = periodFromRpm(rpm);
            deviceImage.settingsBlock2[lo.byte] = static_cast<uint8_t>(lowByte(period));
            deviceImage.settingsBlock2[hi.byte] = static_cast<uint8_t>(highByte(period));
            EXPECT_EQ(speedListPosition(*s, speedValue(*s)),
                      static_cast<int>((rpm - s->baseRpm) / 100))
                << rpm;
        }
    }
    EXPECT_EQ(speedListPosition(cutOffSpeed, 0), 0) << "a zeroed image shows the first entry";
    setSerialPort(nullptr);
    resetLink();
}

TEST(Parameters, ActionsUseCodeThirty) {
    ScriptedPort port;
    setSerialPort(&port);
    resetLink();
    sendLearnAction();
    sendFactoryResetAction();
    ASSERT_EQ(port.written.size(), 2u);
    EXPECT_EQ(port.written[0], (Bytes{0x65, 0x1E, 0x32, 0xB5}));
    EXPECT_EQ(port.written[1], (Bytes{0x65, 0x1E, 0x33, 0xB6}));
    setSerialPort(nullptr);
    resetLink();
}
