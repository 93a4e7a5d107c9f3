#include "sim/sim_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "link/encodings.h"
#include "link/params.h"
#include "sim/sim_options.h"
#include "sim/sim_port.h"

namespace {

using kestos::Block;
using kestos::codeFromTemp;
using kestos::parameters;
using kestos::rpmFromPeriod;
using kestos::tempFromCode;
using kestos::sim::Controller;
using kestos::sim::LearnOutcome;
namespace bits = kestos::sim::bits;

using Bytes = std::vector<uint8_t>;

Bytes request(uint8_t a, uint8_t b) {
    return {0x65, a, b, static_cast<uint8_t>((0x65 + a + b) & 0xFF)};
}

Bytes feed(Controller& c, const Bytes& bytes) {
    Bytes answer;
    c.receive(bytes.data(), bytes.size(), answer);
    return answer;
}

Bytes ask(Controller& c, uint8_t a, uint8_t b) {
    return feed(c, request(a, b));
}

bool checksumOk(const Bytes& v) {
    if (v.size() < 2) return false;
    unsigned s = 0;
    for (size_t i = 0; i + 1 < v.size(); ++i)
        s += v[i];
    return (s & 0xFF) == v.back();
}

Bytes readings(Controller& c) {
    return ask(c, 2, 2);
}
uint8_t state(Controller& c) {
    return readings(c).at(8);
}

Bytes blockOf(Controller& c, Block b) {
    switch (b) {
    case Block::readings: return c.readingsAnswer();
    case Block::settings1: return c.settings1Answer();
    case Block::settings2: return c.settings2Answer();
    }
    return {};
}

void sendSpeed(Controller& c, int loCode, unsigned rpm) {
    unsigned period = 15000000u / rpm;
    ask(c, static_cast<uint8_t>(loCode), static_cast<uint8_t>(period & 0xFF));
    ask(c, static_cast<uint8_t>(loCode + 1), static_cast<uint8_t>(period >> 8));
}

// A warm engine pinned at a speed, given time for the controller to react.
void pin(Controller& c, unsigned rpm, int celsius, unsigned settleMs = 100) {
    c.holdEngine(true);
    c.setEngine(rpm, celsius);
    c.advance(settleMs);
}

// ---- frames ----

struct RequestCase {
    uint8_t a, b;
    size_t length;
};

TEST(SimFrames, AnswersEveryRequestWithItsLengthAndChecksum) {
    const RequestCase cases[] = {
        {1, 1, 4},  {2, 2, 11},  {3, 3, 14},  {4, 4, 16}, {5, 0x84, 3}, {18, 0, 3},
        {29, 1, 3}, {30, 50, 3}, {30, 51, 3}, {30, 7, 3}, {31, 9, 3},   {32, 255, 3},
    };
    for (const RequestCase& rc : cases) {
        Controller c;
        Bytes a = ask(c, rc.a, rc.b);
        SCOPED_TRACE(testing::Message() << "request " << int(rc.a) << "/" << int(rc.b));
        ASSERT_EQ(a.size(), rc.length);
        EXPECT_EQ(a.front(), 0x65);
        EXPECT_TRUE(checksumOk(a));
    }
}

TEST(SimFrames, EveryParameterCodeGetsAThreeByteAnswer) {
    Controller c;
    for (const auto& p : parameters) {
        Bytes a = ask(c, p.code, 0x42);
        ASSERT_EQ(a.size(), 3u) << p.key;
        EXPECT_EQ(a[0], 0x65) << p.key;
        EXPECT_TRUE(checksumOk(a)) << p.key;
    }
}

TEST(SimFrames, CommandAnswerEchoesTheValue) {
    Controller c;
    const uint8_t cases[][2] = {{5, 0x84}, {7, 22}, {18, 0}, {32, 255}, {30, 50}, {30, 51}};
    for (const auto& cs : cases) {
        Bytes a = ask(c, cs[0], cs[1]);
        ASSERT_EQ(a.size(), 3u);
        EXPECT_EQ(a[1], cs[1]) << "code " << int(cs[0]);
    }
}

TEST(SimFrames, StatusCarriesTheFirmwareByte) {
    struct Case {
        int major, minor;
        uint8_t byte;
    };
    const Case cases[] = {{1, 4, 0x04}, {1, 0, 0x00}, {2, 0, 0x20}, {3, 17, 0x51}, {8, 31, 0xFF}};
    for (const Case& cs : cases) {
        Controller c;
        c.faults.firmwareMajor = cs.major;
        c.faults.firmwareMinor = cs.minor;
        Bytes a = ask(c, 1, 1);
        ASSERT_EQ(a.size(), 4u);
        EXPECT_EQ(a[2], cs.byte) << cs.major << "." << cs.minor;
        EXPECT_TRUE(checksumOk(a));
    }
}

TEST(SimFrames, DefaultStatusAnswerIsFirmwareOnePointFour) {
    Controller c;
    EXPECT_EQ(ask(c, 1, 1), (Bytes{0x65, 0x01, 0x04, 0x6A}));
}

TEST(SimFrames, UnknownRequestsGetNoAnswer) {
    const uint8_t cases[][2] = {{1, 2}, {2, 1}, {3, 4}, {4, 3}, {0, 0}, {33, 1}, {0xFF, 0xFF}};
    for (const auto& cs : cases) {
        Controller c;
        EXPECT_TRUE(ask(c, cs[0], cs[1]).empty()) << int(cs[0]) << "/" << int(cs[1]);
        EXPECT_EQ(c.framesAnswered(), 0u);
    }
}

TEST(SimFrames, FrameWithWrongChecksumGetsNoAnswerAndChangesNothing) {
    Controller c;
    EXPECT_TRUE(feed(c, {0x65, 5, 0x00, 0x00}).empty());
    EXPECT_EQ(c.parameter(5), Controller::factoryDefault(5));
}

TEST(SimFrames, RequestSplitAcrossCallsIsAnsweredOnItsLastByte) {
    Controller c;
    Bytes r = request(3, 3);
    for (size_t i = 0; i + 1 < r.size(); ++i) {
        EXPECT_TRUE(feed(c, {r[i]}).empty());
        EXPECT_EQ(c.pendingRequestBytes(), i + 1);
    }
    EXPECT_EQ(feed(c, {r.back()}).size(), 14u);
}

TEST(SimFrames, FindsTheFrameAfterJunkAndBrokenFrames) {
    Controller c;
    // junk, a frame with a bad checksum, then a good one
    Bytes a = feed(c, {0x00, 0x12, 0x65, 0x01, 0x01, 0x00, 0x65, 0x01, 0x01, 0x67});
    EXPECT_EQ(a, c.statusAnswer());
    EXPECT_EQ(c.framesReceived(), 1u);
    EXPECT_EQ(c.bytesDiscarded(), 6u);
}

TEST(SimFrames, LostByteCostsOnlyOneFrame) {
    Controller c;
    // status frame missing its third byte, then a readings request
    Bytes a = feed(c, {0x65, 0x01, 0x67, 0x65, 0x02, 0x02, 0x69});
    EXPECT_EQ(a.size(), 11u);
}

TEST(SimFrames, DropPartialForgetsAnIncompleteFrame) {
    Controller kept, dropped;
    feed(kept, {0x65, 0x01});
    feed(dropped, {0x65, 0x01});
    dropped.dropPartial();
    EXPECT_EQ(dropped.pendingRequestBytes(), 0u);
    const Bytes rest = {0x01, 0x67, 0x65, 0x01, 0x01, 0x67};
    // Kept, the stale half completes a frame of its own and the tool gets two answers.
    EXPECT_EQ(feed(kept, rest).size(), 8u);
    EXPECT_EQ(feed(dropped, rest).size(), 4u);
}

TEST(SimFrames, CountsFramesReceivedAndAnswered) {
    Controller c;
    ask(c, 1, 1);
    ask(c, 2, 2);
    ask(c, 0, 0); // unknown
    EXPECT_EQ(c.framesReceived(), 3u);
    EXPECT_EQ(c.framesAnswered(), 2u);
}

// ---- parameters ----

TEST(SimParameters, CommandWritesAppearAtTheirBlockPositions) {
    for (const auto& p : parameters) {
        Controller c;
        c.holdEngine(true);
        const uint8_t def = Controller::factoryDefault(p.code);
        const uint8_t value = static_cast<uint8_t>(def ^ 0x5A);
        const Bytes s1 = c.settings1Answer(), s2 = c.settings2Answer();

        Bytes a = ask(c, p.code, value);
        ASSERT_EQ(a.size(), 3u) << p.key;
        Bytes block = blockOf(c, p.block);
        EXPECT_EQ(block.at(p.byte), value) << p.key;
        EXPECT_TRUE(checksumOk(block)) << p.key;
        EXPECT_EQ(c.parameter(p.code), value) << p.key;

        // Nothing else moved.
        for (const auto& q : parameters) {
            if (q.code != p.code) {
                EXPECT_EQ(c.parameter(q.code), Controller::factoryDefault(q.code))
                    << p.key << " disturbed " << q.key;
            }
        }
        const Bytes n1 = c.settings1Answer(), n2 = c.settings2Answer();
        for (size_t i = 1; i + 1 < n1.size(); ++i) {
            if (!(p.block == Block::settings1 && i == p.byte)) {
                EXPECT_EQ(n1[i], s1[i]) << p.key;
            }
        }
        for (size_t i = 1; i + 1 < n2.size(); ++i) {
            if (!(p.block == Block::settings2 && i == p.byte)) {
                EXPECT_EQ(n2[i], s2[i]) << p.key;
            }
        }
    }
}

TEST(SimParameters, AllTwentySevenHoldDistinctValuesAtOnce) {
    Controller c;
    for (const auto& p : parameters)
        ask(c, p.code, static_cast<uint8_t>(p.code + 100));
    for (const auto& p : parameters) {
        EXPECT_EQ(blockOf(c, p.block).at(p.byte), p.code + 100) << p.key;
        EXPECT_EQ(c.parameter(p.code), p.code + 100) << p.key;
    }
}

TEST(SimParameters, AttInitIsReadingsByteFour) {
    Controller c;
    ask(c, 18, 77);
    EXPECT_EQ(readings(c).at(4), 77);
    c.setParameter(18, 200);
    EXPECT_EQ(readings(c).at(4), 200);
}

TEST(SimParameters, NoCodeOutsideTheTableIsStored) {
    Controller c;
    EXPECT_EQ(c.parameter(30), 0);
    EXPECT_EQ(c.parameter(4), 0);
    c.setParameter(30, 9); // ignored
    for (const auto& p : parameters)
        EXPECT_EQ(c.parameter(p.code), Controller::factoryDefault(p.code));
}

// ---- factory reset ----

TEST(SimFactoryReset, AnswersFiftyOneAndRestoresDefaults) {
    Controller c, fresh;
    for (const auto& p : parameters)
        ask(c, p.code, static_cast<uint8_t>(~p.code));
    Bytes a = ask(c, 30, 51);
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[1], 0x33);
    EXPECT_TRUE(checksumOk(a));
    for (const auto& p : parameters)
        EXPECT_EQ(c.parameter(p.code), Controller::factoryDefault(p.code)) << p.key;
    EXPECT_EQ(c.settings1Answer(), fresh.settings1Answer());
    EXPECT_EQ(c.settings2Answer(), fresh.settings2Answer());
}

TEST(SimFactoryReset, StopsLearningAndClearsItsOutcome) {
    Controller c;
    pin(c, 800, 80);
    c.learnOutcome = LearnOutcome::failed;
    ask(c, 30, 50);
    c.advance(5000);
    ASSERT_TRUE(state(c) & bits::learnFailed);
    ask(c, 30, 50);
    ASSERT_TRUE(c.learning());
    ask(c, 30, 51);
    EXPECT_FALSE(c.learning());
    EXPECT_EQ(state(c) & (bits::learning | bits::learnFailed | bits::learnFault), 0);
}

// ---- defaults ----

int speedOf(int loCode) {
    return static_cast<int>(
        rpmFromPeriod(Controller::factoryDefault(loCode + 1), Controller::factoryDefault(loCode)));
}

TEST(SimDefaults, InsideTheRangesThePagesOffer) {
    auto d = [](int code) { return int(Controller::factoryDefault(code)); };
    struct Case {
        const char* key;
        std::function<bool()> ok;
    };
    auto speedOk = [&](int loCode, int lo, int hi) {
        int rpm = speedOf(loCode);
        unsigned period = 15000000u / unsigned(rpm);
        return rpm >= lo && rpm <= hi && rpm % 100 == 0 && d(loCode) == int(period & 0xFF) &&
               d(loCode + 1) == int(period >> 8);
    };
    const Case cases[] = {
        {"LambdaType",
         [&] {
             int lo = d(6) & 0x0F;
             return (d(6) >> 4) <= 5 &&
                    (lo == 0 || lo == 1 || lo == 2 || lo == 6 || lo == 7 || lo == 8);
         }},
        {"LambdaPoint",
         [&] {
             int type = d(6) >> 4;
             if (type == 0) return d(7) >= 20 && d(7) <= 30;
             if (type == 5) return d(7) >= 50 && d(7) <= 65;
             return d(7) >= 100 && d(7) <= 150;
         }},
        {"LambdaDelay", [&] { return d(8) >= 1; }},
        {"EmulType", [&] { return (d(9) & 3) <= 2 && ((d(9) >> 4) & 3) <= 2; }},
        {"EmulBJ_TimeHi", [&] { return d(10) >= 1; }},
        {"EmulBJ_TimeLo", [&] { return d(11) >= 1; }},
        {"InjectDelay", [&] { return d(14) >= 1 && d(14) <= 50; }},
        {"LPGOnTemp",
         [&] {
             for (int t = 10; t <= 60; t += 2)
                 if (d(15) == codeFromTemp(t)) return true;
             return false;
         }},
        {"TPSJump", [&] { return d(19) % 5 == 0 && d(19) <= 250; }},
        {"LPGOnRPM", [&] { return speedOk(21, 1500, 3500); }},
        {"IgnitionType", [&] { return d(23) >= 1 && d(23) <= 18; }},
        {"CutOffRPM", [&] { return speedOk(24, 1000, 2500); }},
        {"CutOffSteps", [&] { return d(26) >= 2 && d(26) <= 100 && d(26) % 2 == 0; }},
        {"LPGOffRPM", [&] { return speedOk(27, 4000, 8000); }},
        {"TPSInert", [&] { return d(29) >= 1 && d(29) <= 19; }},
    };
    for (const Case& cs : cases)
        EXPECT_TRUE(cs.ok()) << cs.key;
}

TEST(SimDefaults, AreTheDocumentedFactorySettings) {
    EXPECT_EQ(Controller::factoryDefault(7), 22);
    EXPECT_EQ(Controller::factoryDefault(6) >> 4, 0);
    EXPECT_EQ(Controller::factoryDefault(15), codeFromTemp(30));
    EXPECT_EQ(speedOf(21), 2000);
    EXPECT_EQ(speedOf(24), 1500);
    EXPECT_EQ(speedOf(27), 6000);
    // Full status report, so the Readings page shows learning and switching states.
    EXPECT_TRUE(Controller::factoryDefault(9) & 0x80);
    Controller c;
    for (const auto& p : parameters)
        EXPECT_EQ(c.parameter(p.code), Controller::factoryDefault(p.code));
}

// ---- learning ----

TEST(SimLearning, RunsForAFewSecondsAndSucceedsByDefault) {
    Controller c;
    pin(c, 800, 80);
    EXPECT_EQ(ask(c, 30, 50).at(1), 50);
    EXPECT_TRUE(c.learning());
    EXPECT_TRUE(state(c) & bits::learning);
    c.advance(2000);
    EXPECT_TRUE(state(c) & bits::learning);
    c.advance(3000);
    EXPECT_FALSE(c.learning());
    EXPECT_EQ(state(c) & (bits::learning | bits::learnFailed | bits::learnFault), 0);
}

TEST(SimLearning, SecondRequestStopsIt) {
    Controller c;
    pin(c, 800, 80);
    ask(c, 30, 50);
    c.advance(1000);
    ask(c, 30, 50);
    EXPECT_FALSE(c.learning());
    EXPECT_EQ(state(c) & (bits::learning | bits::learnFailed | bits::learnFault), 0);
    c.advance(6000);
    EXPECT_EQ(state(c) & (bits::learning | bits::learnFailed | bits::learnFault), 0);
}

TEST(SimLearning, OutcomesShowInTheReadingsBits) {
    struct Case {
        LearnOutcome outcome;
        uint8_t atEnd;   // outcome bits right after learning
        uint8_t laterOn; // and some seconds later
    };
    const Case cases[] = {
        {LearnOutcome::success, 0, 0},
        {LearnOutcome::failed, bits::learnFailed, bits::learnFailed},
        {LearnOutcome::heldFault, bits::learnFailed | bits::learnFault, bits::learnFailed},
    };
    const uint8_t outcomeBits = bits::learnFailed | bits::learnFault;
    for (const Case& cs : cases) {
        Controller c;
        pin(c, 800, 80);
        c.learnOutcome = cs.outcome;
        ask(c, 30, 50);
        c.advance(4500);
        uint8_t b = state(c);
        EXPECT_FALSE(b & bits::learning);
        EXPECT_EQ(b & outcomeBits, cs.atEnd) << int(cs.outcome);
        c.advance(4000);
        EXPECT_EQ(state(c) & outcomeBits, cs.laterOn) << int(cs.outcome);
    }
}

TEST(SimLearning, FailsWhenTheEngineStops) {
    Controller c;
    pin(c, 800, 80);
    ask(c, 30, 50);
    c.advance(1000);
    c.setEngine(0, 80);
    c.advance(4000);
    EXPECT_TRUE(state(c) & bits::learnFailed);
}

TEST(SimLearning, NewRunClearsTheLastOutcome) {
    Controller c;
    pin(c, 800, 80);
    c.learnOutcome = LearnOutcome::failed;
    ask(c, 30, 50);
    c.advance(5000);
    ASSERT_TRUE(state(c) & bits::learnFailed);
    c.learnOutcome = LearnOutcome::success;
    ask(c, 30, 50);
    EXPECT_EQ(state(c) & (bits::learnFailed | bits::learning), bits::learning);
    c.advance(5000);
    EXPECT_EQ(state(c) & bits::learnFailed, 0);
}

TEST(SimLearning, OtherActionValuesDoNothing) {
    Controller c;
    pin(c, 800, 80);
    ask(c, 30, 52);
    EXPECT_FALSE(c.learning());
    EXPECT_EQ(c.settings1Answer(), Controller().settings1Answer());
}

// ---- switching to gas ----

TEST(SimGas, FollowsTheSwitchOnTemperatureAndSpeed) {
    struct Case {
        int celsius;
        unsigned rpm;
        bool gas;
        uint8_t conditionBits; // temperature and speed bits of byte 8
    };
    const Case cases[] = {
        {20, 2500, false, 0},
        {29, 2500, false, 0},
        {30, 2500, true, bits::tempReached | bits::speedReached},
        {35, 1900, false, bits::tempReached},
        {35, 2000, false, bits::tempReached}, // must pass the speed, not just reach it
        {35, 2100, true, bits::tempReached | bits::speedReached},
        {80, 3000, true, bits::tempReached | bits::speedReached},
    };
    for (const Case& cs : cases) {
        Controller c;
        pin(c, cs.rpm, cs.celsius);
        uint8_t b = state(c);
        SCOPED_TRACE(testing::Message() << cs.celsius << " C " << cs.rpm << " rpm");
        EXPECT_EQ(c.onGas(), cs.gas);
        EXPECT_EQ(bool(b & bits::gas), cs.gas);
        EXPECT_EQ(b & (bits::tempReached | bits::speedReached), cs.conditionBits);
    }
}

TEST(SimGas, StaysOnGasBackAtIdle) {
    Controller c;
    pin(c, 2500, 60);
    ASSERT_TRUE(c.onGas());
    pin(c, 800, 60);
    EXPECT_TRUE(c.onGas());
}

TEST(SimGas, FollowsAChangedSwitchOnTemperature) {
    Controller c;
    pin(c, 2500, 35);
    ASSERT_TRUE(c.onGas());
    ask(c, 15, static_cast<uint8_t>(codeFromTemp(40)));
    c.advance(100);
    EXPECT_FALSE(c.onGas());
    EXPECT_EQ(state(c) & (bits::tempReached | bits::gas), 0);
    pin(c, 2500, 41);
    EXPECT_TRUE(c.onGas());
}

TEST(SimGas, FollowsAChangedSwitchOnSpeed) {
    Controller c;
    sendSpeed(c, 21, 3000);
    pin(c, 2500, 60);
    EXPECT_FALSE(c.onGas());
    pin(c, 3100, 60);
    EXPECT_TRUE(c.onGas());
}

TEST(SimGas, TemperatureIgnoredWhileOptionsBit1IsClear) {
    Controller c;
    ask(c, 5, static_cast<uint8_t>(Controller::factoryDefault(5) & ~0x02));
    pin(c, 2500, 15);
    EXPECT_TRUE(c.onGas());
    EXPECT_TRUE(state(c) & bits::tempReached);
}

TEST(SimGas, SwitchesOnTheWayDownWhileOptionsBit4IsClear) {
    Controller c;
    ask(c, 5, static_cast<uint8_t>(Controller::factoryDefault(5) & ~0x10));
    pin(c, 1800, 60);
    EXPECT_FALSE(c.onGas());
    pin(c, 2500, 60);
    EXPECT_FALSE(c.onGas());
    EXPECT_EQ(state(c) & bits::speedReached, 0);
    pin(c, 1800, 60);
    EXPECT_TRUE(c.onGas());
    EXPECT_TRUE(state(c) & bits::speedReached);
}

TEST(SimGas, StoppedEngineIsOnPetrolWithItsRunningBitClear) {
    Controller c;
    pin(c, 2500, 60);
    ASSERT_TRUE(c.onGas());
    pin(c, 0, 60);
    Bytes r = readings(c);
    EXPECT_FALSE(c.onGas());
    EXPECT_EQ(r[7] & bits::engineRunning, 0);
    EXPECT_EQ(r[8] & (bits::gas | bits::speedReached), 0);
}

TEST(SimGas, LpgOffAboveTheSwitchOffSpeedOnlyWithOptionsBit6) {
    struct Case {
        bool option;
        unsigned rpm;
        bool lpgOff;
        bool gas;
    };
    const Case cases[] = {
        {true, 5900, false, true},
        {true, 6100, true, false},
        {true, 7000, true, false},
        {false, 7000, false, true},
    };
    for (const Case& cs : cases) {
        Controller c;
        uint8_t opts = Controller::factoryDefault(5);
        ask(c, 5, static_cast<uint8_t>(cs.option ? opts | 0x40 : opts & ~0x40));
        pin(c, cs.rpm, 80);
        uint8_t b = state(c);
        SCOPED_TRACE(testing::Message() << cs.option << " " << cs.rpm);
        EXPECT_EQ(bool(b & bits::lpgOff), cs.lpgOff);
        EXPECT_EQ(bool(b & bits::gas), cs.gas);
    }
}

TEST(SimGas, BackOnGasWellBelowTheSwitchOffSpeed) {
    Controller c;
    pin(c, 6500, 80);
    ASSERT_TRUE(state(c) & bits::lpgOff);
    pin(c, 5950, 80); // inside the hysteresis
    EXPECT_TRUE(state(c) & bits::lpgOff);
    pin(c, 5000, 80);
    EXPECT_EQ(state(c) & bits::lpgOff, 0);
    EXPECT_TRUE(c.onGas());
}

TEST(SimGas, LpgOffShowsEvenBeforeTheEngineIsWarm) {
    Controller c;
    pin(c, 6500, 15);
    uint8_t b = state(c);
    EXPECT_TRUE(b & bits::lpgOff);
    EXPECT_EQ(b & (bits::gas | bits::tempReached), 0);
}

TEST(SimGas, CutOffOnOverRunOnlyWithOptionsBit5) {
    struct Case {
        bool option;
        unsigned rpm;
        unsigned throttle;
        bool cutOff;
    };
    const Case cases[] = {
        {true, 3000, 0, true},
        {true, 3000, 30, false},
        {true, 1400, 0, false},
        {false, 3000, 0, false},
    };
    for (const Case& cs : cases) {
        Controller c;
        uint8_t opts = Controller::factoryDefault(5);
        ask(c, 5, static_cast<uint8_t>(cs.option ? opts | 0x20 : opts & ~0x20));
        pin(c, 3000, 80); // switch to gas first
        ASSERT_TRUE(c.onGas());
        c.setEngine(cs.rpm, 80);
        c.setThrottle(cs.throttle);
        c.advance(100);
        SCOPED_TRACE(testing::Message() << cs.option << " " << cs.rpm << " " << cs.throttle);
        EXPECT_EQ(bool(state(c) & bits::cutOff), cs.cutOff);
    }
}

TEST(SimGas, NoCutOffOnPetrol) {
    Controller c;
    pin(c, 3000, 15); // cold: petrol
    c.setThrottle(0);
    c.advance(100);
    EXPECT_EQ(state(c) & bits::cutOff, 0);
}

// ---- readings ----

TEST(SimReadings, EnginePeriodInBytesFiveAndSix) {
    struct Case {
        unsigned rpm;
        uint8_t lo, hi;
    };
    const Case cases[] = {
        {800, 0x3E, 0x49},  {1500, 0x10, 0x27}, {3000, 0x88, 0x13},
        {6000, 0xC4, 0x09}, {0, 0xFF, 0xFF},
    };
    for (const Case& cs : cases) {
        Controller c;
        pin(c, cs.rpm, 80);
        Bytes r = readings(c);
        EXPECT_EQ(r[5], cs.lo) << cs.rpm;
        EXPECT_EQ(r[6], cs.hi) << cs.rpm;
        unsigned shown = r[6] == 255 ? 0 : rpmFromPeriod(r[6], r[5]);
        EXPECT_EQ(shown, cs.rpm);
    }
}

TEST(SimReadings, TpsLampFollowsTheThrottle) {
    struct Case {
        unsigned percent;
        uint8_t lamp;
    };
    const Case cases[] = {{0, bits::lampClosed}, {4, bits::lampClosed}, {10, bits::lampPart},
                          {50, bits::lampHigh},  {80, bits::lampFull},  {100, bits::lampFull}};
    int lastTps = -1;
    for (const Case& cs : cases) {
        Controller c;
        pin(c, 800, 80);
        c.setThrottle(cs.percent);
        Bytes r = readings(c);
        EXPECT_EQ(r[7] & bits::lampMask, cs.lamp) << cs.percent;
        EXPECT_GE(int(r[1]), lastTps) << cs.percent;
        lastTps = r[1];
    }
    EXPECT_GT(lastTps, 200); // about 4.5 V at full throttle
}

TEST(SimReadings, TpsInputTypeShapesByteOne) {
    struct Case {
        uint8_t type; // low nibble of LambdaType
        uint8_t closed, open;
    };
    // plain: 0.5 V .. 4.5 V; type 1 falls as the throttle opens; 6 and 7 are a switch
    const Case cases[] = {{0, 26, 230}, {1, 229, 25}, {6, 0, 255}, {7, 0, 255}};
    for (const Case& cs : cases) {
        Controller c;
        ask(c, 6, cs.type);
        pin(c, 800, 80);
        c.setThrottle(0);
        EXPECT_EQ(readings(c)[1], cs.closed) << int(cs.type);
        c.setThrottle(100);
        EXPECT_EQ(readings(c)[1], cs.open) << int(cs.type);
    }
}

TEST(SimReadings, CoolantCodeInByteNine) {
    for (int t : {0, 10, 15, 30, 51, 60, 90, 100}) {
        Controller c;
        pin(c, 800, t);
        uint8_t code = readings(c)[9];
        EXPECT_EQ(code, codeFromTemp(t)) << t;
        // The two conversions are not exact inverses above 51 deg C.
        EXPECT_NEAR(tempFromCode(code), t, 1) << t;
    }
}

TEST(SimReadings, LambdaSwitchesRichAndLeanAroundThePoint) {
    Controller c(3);
    pin(c, 800, 80, 20000); // sensor warm
    const double point = c.parameter(7) * 0.02;
    std::set<int> colours;
    for (int i = 0; i < 400; ++i) {
        c.advance(10);
        Bytes r = readings(c);
        const double volts = r[2] * 196.0 / 10000.0;
        const int colour = r[7] & bits::lambdaColourMask;
        colours.insert(colour);
        if (colour == bits::lambdaRich) {
            EXPECT_GT(volts, point);
        }
        if (colour == bits::lambdaLean) {
            EXPECT_LT(volts, point);
        }
        ASSERT_TRUE(colour == 1 || colour == 2 || colour == 4) << colour;
    }
    EXPECT_TRUE(colours.count(bits::lambdaRich));
    EXPECT_TRUE(colours.count(bits::lambdaLean));
}

TEST(SimReadings, FallingLambdaProbeReadsLowWhenRich) {
    Controller c(3);
    ask(c, 6, 0x30); // "5-0 V -"
    ask(c, 7, 127);
    pin(c, 800, 80, 20000);
    int seen = 0;
    for (int i = 0; i < 400; ++i) {
        c.advance(10);
        Bytes r = readings(c);
        if ((r[7] & 7) == bits::lambdaRich) {
            EXPECT_LT(r[2] * 196.0 / 10000.0, 127 * 0.02);
            ++seen;
        }
    }
    EXPECT_GT(seen, 0);
}

TEST(SimReadings, ColdLambdaProbeReadsTheSwitchingPoint) {
    Controller c;
    pin(c, 800, 80, 1000);
    Bytes r = readings(c);
    EXPECT_EQ(r[7] & 7, bits::lambdaNear);
    EXPECT_NEAR(r[2] * 196.0 / 10000.0, c.parameter(7) * 0.02, 0.02);
}

TEST(SimReadings, AttMovesAroundAttInitInsideItsLimits) {
    Controller c(5);
    pin(c, 2500, 80, 100); // switch to gas
    ASSERT_TRUE(c.onGas());
    pin(c, 800, 80, 100);
    const int init = c.parameter(18);
    EXPECT_EQ(readings(c)[3], init); // held until the probe is warm and the delay has passed
    std::set<int> seen;
    for (int i = 0; i < 3000; ++i) {
        c.advance(10);
        if (i == 1500) c.setThrottle(40);
        Bytes r = readings(c);
        const bool idle = (r[7] & bits::lampMask) == bits::lampClosed;
        const int up = c.parameter(idle ? 31 : 16), down = c.parameter(idle ? 32 : 17);
        EXPECT_LE(r[3], init + up);
        EXPECT_GE(r[3], init - down);
        EXPECT_EQ(r[4], init);
        seen.insert(r[3]);
    }
    EXPECT_GT(seen.size(), 3u);
}

// ---- the bench programme ----

struct BenchSample {
    unsigned rpm;
    uint8_t b7, b8;
    int celsius;
};

std::vector<BenchSample> runBench(Controller& c, unsigned ms, unsigned step = 50) {
    std::vector<BenchSample> out;
    for (unsigned t = 0; t < ms; t += step) {
        c.advance(step);
        Bytes r = c.readingsAnswer();
        unsigned rpm = r[6] == 255 ? 0 : rpmFromPeriod(r[6], r[5]);
        out.push_back({rpm, r[7], r[8], tempFromCode(r[9])});
    }
    return out;
}

TEST(SimBench, StartsStoppedThenIdlesAndRevs) {
    Controller c;
    Bytes r = c.readingsAnswer();
    EXPECT_EQ(r[6], 255);
    EXPECT_EQ(r[7] & bits::engineRunning, 0);

    auto s = runBench(c, 120000);
    unsigned lo = 100000, hi = 0;
    for (size_t i = 200; i < s.size(); ++i) { // from 10 s on
        lo = std::min(lo, s[i].rpm);
        hi = std::max(hi, s[i].rpm);
        EXPECT_TRUE(s[i].b7 & bits::engineRunning);
    }
    EXPECT_GE(lo, 700u);
    EXPECT_LE(lo, 1000u);
    EXPECT_GE(hi, 5800u);
    EXPECT_LE(hi, 7000u);
    // Warm idle near 800.
    unsigned warmIdle = 100000;
    for (size_t i = s.size() - 600; i < s.size(); ++i)
        warmIdle = std::min(warmIdle, s[i].rpm);
    EXPECT_NEAR(double(warmIdle), 800.0, 60.0);
}

TEST(SimBench, WarmsFromCold) {
    Controller c;
    auto s = runBench(c, 180000, 1000);
    EXPECT_LE(s.front().celsius, 20);
    EXPECT_GE(s.back().celsius, 60);
    for (size_t i = 1; i < s.size(); ++i)
        EXPECT_GE(s[i].celsius, s[i - 1].celsius);
}

TEST(SimBench, ShowsEveryStateAFitterSees) {
    Controller c;
    auto s = runBench(c, 180000);
    auto any = [&](auto pred) { return std::any_of(s.begin(), s.end(), pred); };
    EXPECT_TRUE(any([](const BenchSample& x) { return !(x.b7 & bits::engineRunning); }));
    EXPECT_TRUE(any([](const BenchSample& x) {
        return (x.b7 & bits::engineRunning) && !(x.b8 & bits::tempReached);
    }));
    EXPECT_TRUE(any([](const BenchSample& x) {
        return (x.b8 & bits::tempReached) && !(x.b8 & bits::speedReached);
    }));
    EXPECT_TRUE(any([](const BenchSample& x) { return x.b8 & bits::gas; }));
    EXPECT_TRUE(any([](const BenchSample& x) { return x.b8 & bits::lpgOff; }));
    EXPECT_TRUE(any([](const BenchSample& x) { return x.b8 & bits::cutOff; }));
    for (uint8_t lamp : {bits::lampClosed, bits::lampPart, bits::lampHigh, bits::lampFull})
        EXPECT_TRUE(any([&](const BenchSample& x) { return (x.b7 & bits::lampMask) == lamp; }))
            << int(lamp);
    for (uint8_t colour : {bits::lambdaLean, bits::lambdaNear, bits::lambdaRich})
        EXPECT_TRUE(any([&](const BenchSample& x) { return (x.b7 & 7) == colour; })) << int(colour);
    // Exactly one lamp at a time; LPG OFF and gas never together.
    for (const BenchSample& x : s) {
        const int lamp = x.b7 & bits::lampMask;
        EXPECT_TRUE(lamp == 0x10 || lamp == 0x20 || lamp == 0x40 || lamp == 0x80);
        EXPECT_FALSE((x.b8 & bits::lpgOff) && (x.b8 & bits::gas));
    }
}

TEST(SimBench, SameSeedSameRunOtherSeedOtherRun) {
    Controller a(7), b(7), other(8);
    bool differs = false;
    for (int i = 0; i < 2000; ++i) {
        a.advance(30);
        b.advance(30);
        other.advance(30);
        ASSERT_EQ(a.readingsAnswer(), b.readingsAnswer()) << i;
        differs = differs || a.readingsAnswer() != other.readingsAnswer();
    }
    EXPECT_TRUE(differs);
}

TEST(SimBench, AdvanceInPiecesEqualsAdvanceAtOnce) {
    Controller whole(4), pieces(4);
    whole.advance(20000);
    for (int i = 0; i < 20000; ++i)
        pieces.advance(1);
    EXPECT_EQ(whole.readingsAnswer(), pieces.readingsAnswer());
}

TEST(SimBench, HoldFreezesSpeedAndTemperature) {
    Controller c;
    c.advance(20000);
    c.holdEngine(true);
    const unsigned rpm = c.engineRpm();
    const double t = c.coolantCelsius();
    c.advance(30000);
    EXPECT_EQ(c.engineRpm(), rpm);
    EXPECT_EQ(c.coolantCelsius(), t);
    c.holdEngine(false);
    c.advance(30000);
    EXPECT_GT(c.coolantCelsius(), t);
}

TEST(SimBench, PowerOnStartsAgainFromCold) {
    Controller c;
    c.advance(100000);
    ask(c, 7, 25);
    c.powerOn();
    EXPECT_EQ(c.engineRpm(), 0u);
    EXPECT_LE(c.coolantCelsius(), 20.0);
    EXPECT_EQ(c.parameter(7), Controller::factoryDefault(7));
}

// ---- fault switches ----

TEST(SimFaults, EachSwitchBendsTheAnswerItsWay) {
    enum Kind { silent, badChecksum, shortAnswers, garbage };
    for (Kind k : {silent, badChecksum, shortAnswers, garbage}) {
        for (uint8_t req : {1, 2, 3, 4}) {
            Controller c;
            c.holdEngine(true);
            Bytes good = ask(c, req, req);
            switch (k) {
            case silent: c.faults.silent = true; break;
            case badChecksum: c.faults.badChecksum = true; break;
            case shortAnswers: c.faults.shortAnswers = true; break;
            case garbage: c.faults.garbageFirstByte = true; break;
            }
            Bytes a = ask(c, req, req);
            SCOPED_TRACE(testing::Message() << "fault " << k << " request " << int(req));
            switch (k) {
            case silent: EXPECT_TRUE(a.empty()); break;
            case badChecksum:
                ASSERT_EQ(a.size(), good.size());
                EXPECT_EQ(a.back(), uint8_t(good.back() + 1));
                EXPECT_TRUE(std::equal(a.begin(), a.end() - 1, good.begin()));
                break;
            case shortAnswers:
                ASSERT_EQ(a.size(), good.size() - 2);
                EXPECT_TRUE(std::equal(a.begin(), a.end(), good.begin()));
                break;
            case garbage:
                ASSERT_EQ(a.size(), good.size());
                EXPECT_EQ(a[0], 0x00);
                EXPECT_TRUE(std::equal(a.begin() + 1, a.end(), good.begin() + 1));
                break;
            }
        }
    }
}

TEST(SimFaults, ShortCommandAnswerIsOneByte) {
    Controller c;
    c.faults.shortAnswers = true;
    EXPECT_EQ(ask(c, 5, 1).size(), 1u);
}

TEST(SimFaults, SilentAfterFrames) {
    Controller c;
    c.faults.silentAfterFrames = 3;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ask(c, 1, 1).size(), 4u) << i;
    EXPECT_TRUE(ask(c, 1, 1).empty());
    EXPECT_TRUE(ask(c, 5, 1).empty());
    EXPECT_EQ(c.framesAnswered(), 3u);
    EXPECT_EQ(c.framesReceived(), 5u);
}

TEST(SimFaults, SilentControllerNeitherAnswersNorActs) {
    Controller c;
    c.faults.silent = true;
    EXPECT_TRUE(ask(c, 7, 25).empty());
    EXPECT_TRUE(ask(c, 30, 50).empty());
    EXPECT_EQ(c.parameter(7), Controller::factoryDefault(7));
    EXPECT_FALSE(c.learning());
    c.faults.silent = false;
    EXPECT_EQ(ask(c, 7, 25).size(), 3u);
    EXPECT_EQ(c.parameter(7), 25);
}

TEST(SimFaults, DelayIsOnlyStoredForThePort) {
    Controller c, plain;
    c.faults.delayMs = 300;
    EXPECT_EQ(ask(c, 1, 1), ask(plain, 1, 1));
}

TEST(SimFaults, FirmwareOutsideItsFieldsIsClamped) {
    Controller c;
    c.faults.firmwareMajor = 12;
    c.faults.firmwareMinor = 40;
    EXPECT_EQ(ask(c, 1, 1)[2], (7 << 5) | (40 & 0x1F));
}

// ---- through the in-process port ----

TEST(SimPort, InProcessPortCarriesAStatusFrame) {
    Controller c;
    kestos::sim::SimSerialPort port(c);
    port.open("COM1:");
    Bytes r = request(1, 1);
    ASSERT_EQ(port.write(r.data(), 4), 4u);
    uint8_t buf[4] = {};
    ASSERT_EQ(port.read(buf, 4), 4u);
    EXPECT_EQ(Bytes(buf, buf + 4), c.statusAnswer());
}

TEST(SimPort, ByteTimingMakesTheClockMove) {
    Controller c;
    kestos::sim::SimSerialPort port(c);
    port.byteTiming = true;
    port.open("COM1:");
    Bytes r = request(4, 4);
    port.write(r.data(), 4);
    uint8_t buf[16] = {};
    ASSERT_EQ(port.read(buf, 16), 16u);
    EXPECT_NEAR(port.nowMs(), 20 * 10000.0 / 9600.0, 0.01);
}

// ---- command line ----

TEST(SimOptions, ParsesEveryOption) {
    const char* argv[] = {
        "kestos-sim",      "--link", "/tmp/x",     "--log",          "-",       "--no-byte-timing",
        "--delay",         "120",    "--silent",   "--bad-checksum", "--short", "--garbage",
        "--silent-after",  "9",      "--firmware", "2.17",           "--seed",  "42",
        "--learn-outcome", "hold",   "--warm"};
    kestos::sim::SimOptions o;
    std::string error;
    ASSERT_TRUE(kestos::sim::parseSimOptions(int(std::size(argv)), argv, o, error)) << error;
    EXPECT_EQ(o.linkPath, "/tmp/x");
    EXPECT_EQ(o.logPath, "-");
    EXPECT_FALSE(o.byteTiming);
    EXPECT_EQ(o.faults.delayMs, 120u);
    EXPECT_TRUE(o.faults.silent);
    EXPECT_TRUE(o.faults.badChecksum);
    EXPECT_TRUE(o.faults.shortAnswers);
    EXPECT_TRUE(o.faults.garbageFirstByte);
    EXPECT_EQ(o.faults.silentAfterFrames, 9);
    EXPECT_EQ(o.faults.firmwareMajor, 2);
    EXPECT_EQ(o.faults.firmwareMinor, 17);
    EXPECT_EQ(o.seed, 42u);
    EXPECT_EQ(o.learnOutcome, LearnOutcome::heldFault);
    EXPECT_TRUE(o.startWarm);
    EXPECT_FALSE(o.help);
}

TEST(SimOptions, RejectsBadArguments) {
    const std::vector<std::vector<const char*>> cases = {
        {"--delay"},
        {"--delay", "-5"},
        {"--delay", "abc"},
        {"--firmware", "9.1"},
        {"--firmware", "1.32"},
        {"--firmware", "14"},
        {"--firmware", "0.0"},
        {"--silent-after", "x"},
        {"--seed", "1e3"},
        {"--link", ""},
        {"--learn-outcome", "maybe"},
        {"--frobnicate"},
    };
    for (const auto& args : cases) {
        std::vector<const char*> argv = {"kestos-sim"};
        argv.insert(argv.end(), args.begin(), args.end());
        kestos::sim::SimOptions o;
        std::string error;
        EXPECT_FALSE(kestos::sim::parseSimOptions(int(argv.size()), argv.data(), o, error))
            << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(SimOptions, UsageListsEveryOption) {
    const std::string usage = kestos::sim::simUsage();
    for (const char* opt : {"--link", "--log", "--no-byte-timing", "--delay", "--silent",
                            "--silent-after", "--bad-checksum", "--short", "--garbage",
                            "--firmware", "--seed", "--warm", "--learn-outcome", "--help"})
        EXPECT_NE(usage.find(opt), std::string::npos) << opt;
}

} // namespace

TEST(SimBench, WarmStartReachesGasWithinTheFirstRev) {
    kestos::sim::Controller c;
    c.startWarm();
    EXPECT_FALSE(c.onGas()) << "idling below the switch-on speed";
    bool gas = false;
    for (int ms = 0; ms < 15000 && !gas; ms += 10) {
        c.advance(10);
        gas = c.onGas();
    }
    EXPECT_TRUE(gas);
}
