// The link's state machine against the simulated controller under each fault switch, on the
// in-process port's virtual clock.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "link/device_link.h"
#include "link/params.h"
#include "link/polling.h"
#include "sim/sim_port.h"

using namespace kestos;

namespace {

class LinkFaults : public ::testing::Test {
  protected:
    sim::Controller controller;
    sim::SimSerialPort port{controller};
    void SetUp() override {
        setSerialPort(&port);
        resetLink();
        pollingState = PollingState{};
    }
    void TearDown() override { setSerialPort(nullptr); }

    // One Readings page tick, then the wait the page's timer would make.
    PollsRun tick() {
        PollsRun run = pollCycle(PollSchedule::readingsPage, false);
        port.sleepMs(static_cast<unsigned>(linkState.pollInterval));
        return run;
    }
    // The requests of one tick of `schedule` by their second byte: 1 status, 2 readings, 3 and
    // 4 the settings blocks.
    std::vector<int> requests(PollSchedule schedule, bool aboutOpen = false) {
        port.clearFrames();
        pollCycle(schedule, aboutOpen);
        std::vector<int> sent;
        for (const auto& f : port.frames())
            sent.push_back(f[1]);
        return sent;
    }
    static bool zero(const uint8_t* b, size_t n) {
        for (size_t i = 0; i < n; ++i)
            if (b[i]) return false;
        return true;
    }
    bool blocksCleared() const {
        return zero(deviceImage.readingsBlock, sizeof deviceImage.readingsBlock) &&
               zero(deviceImage.settingsBlock1, sizeof deviceImage.settingsBlock1) &&
               zero(deviceImage.settingsBlock2, sizeof deviceImage.settingsBlock2);
    }
};

using Requests = std::vector<int>;

} // namespace

TEST_F(LinkFaults, HealthyControllerFillsTheImageOnTheFourthTick) {
    const bool settingsOnTick[8] = {false, false, false, true, false, false, false, true};
    for (bool expected : settingsOnTick) {
        PollsRun run = tick();
        EXPECT_TRUE(run.status && run.readings);
        EXPECT_EQ(run.settings1, expected);
        EXPECT_EQ(run.settings2, expected);
    }
    EXPECT_EQ(linkState.linkDown, 0);
    EXPECT_EQ(linkState.pollInterval, 50);
    for (const Parameter& p : parameters)
        EXPECT_EQ(parameterValue(p), controller.parameter(p.code)) << p.key;
}

TEST_F(LinkFaults, SettingsCountSurvivesTheIdlingOfThePage) {
    tick();
    tick();
    PollsRun idle = pollCycle(PollSchedule::readingsPage, true); // the About dialog is open
    EXPECT_FALSE(idle.status);
    linkState.pollPaused = 1;
    EXPECT_FALSE(pollCycle(PollSchedule::readingsPage, false).status);
    linkState.pollPaused = 0;
    tick();
    EXPECT_TRUE(tick().settings1) << "the fourth polling tick, not the sixth call";
}

// Switches under which no status answer starts with 'e': the link goes down on the third.
TEST_F(LinkFaults, SilenceAndGarbageTakeTheLinkDown) {
    const struct {
        const char* name;
        void (*apply)(sim::Faults&);
    } cases[] = {
        {"silent", [](sim::Faults& f) { f.silent = true; }},
        {"garbage first byte", [](sim::Faults& f) { f.garbageFirstByte = true; }},
        {"late beyond the time-out", [](sim::Faults& f) { f.delayMs = 1000; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        controller.faults = sim::Faults{};
        resetLink();
        for (int i = 0; i < 4; ++i)
            tick(); // up, with the settings read
        ASSERT_EQ(linkState.linkDown, 0);
        ASSERT_FALSE(blocksCleared());
        c.apply(controller.faults);
        unsigned opensBefore = port.opens();
        const int failCounts[4] = {1, 2, 2, 2};
        for (int i = 0; i < 4; ++i) {
            PollsRun run = tick();
            EXPECT_EQ(linkState.failCount, failCounts[i]);
            EXPECT_EQ(linkState.linkDown, i >= 2 ? 1 : 0);
            EXPECT_EQ(linkState.pollInterval, i >= 2 ? 500 : 50);
            EXPECT_EQ(run.readings, i < 2) << "no block polls once the link is down";
        }
        EXPECT_TRUE(blocksCleared());
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(port.opens() - opensBefore, 1u) << "reopened once, by the fourth poll";
    }
}

TEST_F(LinkFaults, BadChecksumsCloseThePortButNeverCount) {
    controller.faults.badChecksum = true;
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(linkState.failCount, 0);
    EXPECT_EQ(linkState.linkDown, 1) << "a garbled controller is never seen up";
    EXPECT_EQ(port.opens(), 5u) << "closed by every poll, reopened by the next";
    EXPECT_EQ(deviceImage.statusAnswer[0], 0);
}

TEST_F(LinkFaults, ShortAnswersFailTheirChecksum) {
    for (int i = 0; i < 4; ++i)
        tick();
    uint8_t before[settings2Length];
    std::memcpy(before, deviceImage.settingsBlock2, sizeof before);
    controller.faults.shortAnswers = true;
    pollSettings2();
    EXPECT_EQ(std::memcmp(before, deviceImage.settingsBlock2, sizeof before), 0);
    EXPECT_FALSE(port.isOpen());
    pollStatus();
    EXPECT_EQ(linkState.failCount, 0);
    EXPECT_EQ(linkState.linkDown, 0);
}

TEST_F(LinkFaults, ControllerThatGoesSilentAfterSomeFrames) {
    controller.faults.silentAfterFrames = 10;
    int upTicks = 0;
    for (int i = 0; i < 12; ++i)
        if (tick().readings) ++upTicks;
    EXPECT_EQ(linkState.linkDown, 1);
    EXPECT_TRUE(blocksCleared());
    EXPECT_GE(upTicks, 4);
}

TEST_F(LinkFaults, LinkComesBackAndRefillsOnTheSameTick) {
    controller.faults.silent = true;
    for (int i = 0; i < 3; ++i)
        tick();
    ASSERT_EQ(linkState.linkDown, 1);
    controller.faults.silent = false;
    pollingState.settingsPollCount = 3;
    PollsRun run = tick();
    EXPECT_EQ(linkState.linkDown, 0);
    EXPECT_EQ(linkState.failCount, 0);
    EXPECT_EQ(linkState.pollInterval, 50);
    EXPECT_TRUE(run.readings && run.settings1 && run.settings2);
    EXPECT_FALSE(blocksCleared());
}

TEST_F(LinkFaults, SmallDelaysAreAbsorbedByTheTimeOut) {
    controller.faults.delayMs = 60;
    for (int i = 0; i < 8; ++i)
        tick();
    EXPECT_EQ(linkState.linkDown, 0);
    EXPECT_EQ(linkState.failCount, 0);
    EXPECT_EQ(deviceImage.settingsBlock1[0], 0x65);
}

TEST_F(LinkFaults, OtherFirmwareMajorKeepsOnlyTheStatusPoll) {
    controller.faults.firmwareMajor = 3;
    controller.faults.firmwareMinor = 7;
    for (int i = 0; i < 5; ++i) {
        PollsRun run = tick();
        EXPECT_TRUE(run.status);
        EXPECT_FALSE(run.readings);
    }
    EXPECT_EQ(linkState.linkDown, 0);
    EXPECT_EQ(firmwareVersion(), 3);
    EXPECT_EQ(linkState.firmwareMinor, 7);
    port.clearFrames();
    sendLearnAction();
    EXPECT_TRUE(port.frames().empty()) << "commands are gated by the major version";
}

TEST_F(LinkFaults, UploadStopsMeaningfullyWhenTheControllerGoesAway) {
    for (int i = 0; i < 4; ++i)
        tick();
    controller.faults.silentAfterFrames = static_cast<long>(controller.framesAnswered()) + 10;
    int answered = 0;
    for (const Parameter& p : parameters) {
        sendCommand(p.code, parameterValue(p));
        if (linkState.lastByteCount != commandAnswerLength) break;
        ++answered;
    }
    EXPECT_EQ(answered, 10);
    EXPECT_EQ(deviceImage.commandAnswer[0], 0) << "a missing answer leaves no stale bytes";
}

TEST_F(LinkFaults, FactoryResetAnswersFiftyOne) {
    for (int i = 0; i < 4; ++i)
        tick();
    linkState.commandDelay = 250;
    double before = port.nowMs();
    sendFactoryResetAction();
    EXPECT_GE(port.nowMs() - before, 250.0);
    EXPECT_EQ(linkState.lastByteCount, 3u);
    EXPECT_EQ(deviceImage.commandAnswer[1], 51);
}

TEST_F(LinkFaults, EachScheduleRunsItsTransactions) {
    struct Case {
        const char* what;
        PollSchedule schedule;
        bool aboutOpen;
        bool listDropped;
        std::vector<Requests> ticks;
    };
    const Case cases[] = {
        {"parameter page", PollSchedule::parameterPage, false, false, {{1, 2, 3, 4}, {1, 2, 3, 4}}},
        {"parameter page, list dropped", PollSchedule::parameterPage, false, true, {{}}},
        {"emulation dialog", PollSchedule::emulationDialog, false, false, {{1, 3}}},
        {"emulation dialog, list dropped", PollSchedule::emulationDialog, false, true, {{}}},
        {"readings page",
         PollSchedule::readingsPage,
         false,
         false,
         {{1, 2}, {1, 2}, {1, 2}, {1, 2, 3, 4}, {1, 2}}},
        {"readings page, About open", PollSchedule::readingsPage, true, false, {{}}},
        {"readings page, list dropped", PollSchedule::readingsPage, false, true, {{}}},
        {"oscilloscope", PollSchedule::scopePage, false, false, {{1, 2, 3}, {1, 2}, {1, 2}}},
        {"oscilloscope, list dropped", PollSchedule::scopePage, false, true, {{1, 2, 3}}},
        {"oscilloscope, About open", PollSchedule::scopePage, true, false, {{}}},
        {"no timer", PollSchedule::none, false, false, {{}}},
    };
    for (const Case& c : cases) {
        SetUp();
        linkState.pollPaused = c.listDropped;
        for (size_t t = 0; t < c.ticks.size(); ++t)
            EXPECT_EQ(requests(c.schedule, c.aboutOpen), c.ticks[t]) << c.what << ", tick " << t + 1;
    }
}

TEST_F(LinkFaults, OscilloscopeReadsTheLabelsAgainWhenTheLinkReturns) {
    EXPECT_EQ(requests(PollSchedule::scopePage), (Requests{1, 2, 3}));
    controller.faults.silent = true;
    for (int i = 0; i < 3; ++i)
        requests(PollSchedule::scopePage);
    ASSERT_EQ(linkState.linkDown, 1);
    EXPECT_EQ(requests(PollSchedule::scopePage), (Requests{1})) << "the link is down";
    controller.faults.silent = false;
    EXPECT_EQ(requests(PollSchedule::scopePage), (Requests{1, 2, 3}));
    EXPECT_EQ(requests(PollSchedule::scopePage), (Requests{1, 2}));
}

TEST_F(LinkFaults, ADeadLinkStillTicksAndAsksForTheSlowTimer) {
    linkState.armedInterval = linkState.pollInterval;
    EXPECT_FALSE(timerNeedsRearm());
    controller.faults.silent = true;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(pollCycle(PollSchedule::parameterPage, false).status) << "the view refreshes";
    EXPECT_EQ(linkState.pollInterval, 500);
    EXPECT_TRUE(timerNeedsRearm());
    linkState.armedInterval = linkState.pollInterval; // what arming records
    EXPECT_FALSE(timerNeedsRearm());
}
