// Which transactions each window's tick runs, against the simulated controller.
#include <gtest/gtest.h>

#include <vector>

#include "link/device_link.h"
#include "link/polling.h"
#include "sim/sim_port.h"

using namespace kestos;

namespace {

class Polling : public ::testing::Test {
  protected:
    sim::Controller controller;
    sim::SimSerialPort port{controller};
    void SetUp() override {
        setSerialPort(&port);
        resetLink();
        pollingState = PollingState{};
    }
    void TearDown() override {
        setSerialPort(nullptr);
        resetLink();
    }
    // The requests of one tick by their second byte: 1 status, 2 readings, 3 and 4 the
    // settings blocks.
    std::vector<int> tick(PollSchedule schedule, bool aboutOpen = false) {
        port.clearFrames();
        pollCycle(schedule, aboutOpen);
        std::vector<int> requests;
        for (const auto& f : port.frames())
            requests.push_back(f[1]);
        return requests;
    }
};

using Requests = std::vector<int>;

} // namespace

TEST_F(Polling, EachScheduleRunsItsTransactions) {
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
            EXPECT_EQ(tick(c.schedule, c.aboutOpen), c.ticks[t]) << c.what << ", tick " << t + 1;
    }
}

TEST_F(Polling, OscilloscopeReadsTheLabelsAgainWhenTheLinkReturns) {
    EXPECT_EQ(tick(PollSchedule::scopePage), (Requests{1, 2, 3}));
    controller.faults.silent = true;
    for (int i = 0; i < 3; ++i)
        tick(PollSchedule::scopePage);
    ASSERT_EQ(linkState.linkDown, 1);
    EXPECT_EQ(tick(PollSchedule::scopePage), (Requests{1})) << "the link is down";
    controller.faults.silent = false;
    EXPECT_EQ(tick(PollSchedule::scopePage), (Requests{1, 2, 3}));
    EXPECT_EQ(tick(PollSchedule::scopePage), (Requests{1, 2}));
}

TEST_F(Polling, ADeadLinkStillTicksAndAsksForTheSlowTimer) {
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
