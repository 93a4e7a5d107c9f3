#include <gtest/gtest.h>

#include <cstring>

#include "link/encodings.h"

using namespace kestos;

TEST(Encodings, RoundNearestRoundsHalvesDownAndTruncatesNegatives) {
    const struct {
        double x;
        int expected;
    } cases[] = {{2.5, 2},   {2.500001, 3}, {2.51, 3}, {2.49, 2},   {0.0, 0},
                 {-1.7, -1}, {-0.4, 0},     {7.0, 7},  {99.99, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(roundNearest(c.x), c.expected) << c.x;
}

TEST(Encodings, TempFromCodeTellingValues) {
    const struct {
        unsigned code;
        int celsius;
    } cases[] = {{0, 0},    {67, 0},   {68, 0},   {69, 0},   {70, 1},   {94, 10},   {120, 20},
                 {197, 50}, {199, 51}, {200, 51}, {208, 60}, {245, 99}, {246, 100}, {255, 110}};
    for (const auto& c : cases)
        EXPECT_EQ(tempFromCode(c.code), c.celsius) << c.code;
}

TEST(Encodings, CodeFromTempTellingValues) {
    const struct {
        int celsius;
        int code;
    } cases[] = {{0, 68},   {1, 71},    {10, 94},   {50, 197},  {51, 200},
                 {60, 208}, {100, 246}, {101, 245}, {150, 245}, {-5, 55}};
    for (const auto& c : cases)
        EXPECT_EQ(codeFromTemp(c.celsius), c.code) << c.celsius;
}

TEST(Encodings, OfferedSwitchOnTemperaturesSurviveTheRoundTrip) {
    for (int t = 10; t <= 60; t += 2)
        EXPECT_EQ(tempFromCode(codeFromTemp(t)), t) << t;
}

TEST(Encodings, TempTextHasTwoDigitsAndClampsAtOneHundred) {
    const struct {
        unsigned code;
        const char* text;
    } cases[] = {{0, "00"}, {81, "05"}, {94, "10"}, {246, "100"}, {255, "100"}};
    for (const auto& c : cases) {
        tempText(c.code);
        EXPECT_STREQ(textBuffer, c.text) << c.code;
    }
}

TEST(Encodings, RpmFromPeriodRoundsToFiftyWithHalvesDown) {
    const struct {
        unsigned period;
        unsigned rpm;
    } cases[] = {{0, 0},        {10000, 1500}, {4285, 3500}, {9836, 1500}, {9829, 1550},
                 {15000, 1000}, {3750, 4000},  {1875, 8000}, {65535, 250}, {1, 15000000}};
    for (const auto& c : cases)
        EXPECT_EQ(rpmFromPeriod(static_cast<int>(c.period >> 8), c.period & 0xFF), c.rpm)
            << c.period;
}

TEST(Encodings, PeriodBytesOfEngineSpeeds) {
    EXPECT_EQ(periodFromRpm(1500), 10000u);
    EXPECT_EQ(lowByte(10000), 0x10);
    EXPECT_EQ(highByte(10000), 0x27);
    EXPECT_EQ(periodFromRpm(3500), 4285u);
    EXPECT_EQ(lowByte(4285), 0xBD);
    EXPECT_EQ(highByte(4285), 0x10);
    EXPECT_EQ(highByte(0x12345), 0x23); // only bits 8..15
}

TEST(Encodings, EverySpeedOfTheListsReadsBackToItself) {
    for (unsigned rpm = 1000; rpm <= 8000; rpm += 100) {
        unsigned p = periodFromRpm(rpm);
        EXPECT_EQ(rpmFromPeriod(highByte(p), static_cast<unsigned>(lowByte(p))), rpm) << rpm;
    }
}
