// A simulated controller on the link and files in memory: for the tests of what the program
// writes from the controller's set and sends back to it.
#pragma once

#include <gtest/gtest.h>

#include "link/device_link.h"
#include "shell/config_file.h"
#include "sim/sim_port.h"
#include "tests/unit/memory_files.h"

namespace kestos::test {

class ControllerFiles : public ::testing::Test {
  protected:
    sim::Controller controller;
    sim::SimSerialPort port{controller};
    MemoryFiles files;

    void SetUp() override {
        buildKeyTable();
        setSerialPort(&port);
        resetLink();
    }
    void TearDown() override { setSerialPort(nullptr); }

    // The device image as a page's polls leave it.
    void readController() {
        pollStatus();
        pollReadings();
        pollSettings1();
        pollSettings2();
        ASSERT_TRUE(imageHoldsAnswer());
    }
    // The controller stops answering until the link is down.
    void loseController() {
        controller.faults.silent = true;
        for (int i = 0; i < 3; ++i)
            pollStatus();
        ASSERT_EQ(linkState.linkDown, 1);
    }
};

} // namespace kestos::test
