// kestos-cli's command line and output, on the in-process simulator.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "link/device_link.h"
#include "pages/readings/readings_poll.h"
#include "sim/sim_port.h"

using namespace kestos;

namespace {

struct CliRun {
    int code;
    std::string out, err;
};

std::string slurp(std::FILE* f) {
    std::string s;
    std::rewind(f);
    char buf[1024];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        s.append(buf, n);
    std::fclose(f);
    return s;
}

class Cli : public ::testing::Test {
  protected:
    sim::Controller controller;
    sim::SimSerialPort port{controller};
    void SetUp() override {
        resetLink();
        readingsPollState = ReadingsPollState{};
    }
    void TearDown() override { linkState.portName = "COM1:"; }

    CliRun run(std::vector<std::string> args, bool windowsNames = false) {
        args.insert(args.begin(), "kestos-cli");
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        int code = runCli(static_cast<int>(argv.size()), argv.data(), port, windowsNames, out, err);
        return {code, slurp(out), slurp(err)};
    }
};

} // namespace

TEST_F(Cli, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"status"},
        {"--port", "p"},
        {"--port", "p", "fly"},
        {"--port", "p", "send", "5"},
        {"--port", "p", "send", "5", "256"},
        {"--port", "p", "send", "x", "1"},
        {"--port", "p", "watch", "--ticks", "0"},
        {"--port", "p", "--colour", "status"},
        {"--port", "p", "status", "extra"},
    };
    for (const auto& args : bad) {
        CliRun r = run(args);
        EXPECT_EQ(r.code, exitUsage) << (args.empty() ? "" : args.back());
        EXPECT_NE(r.err.find("usage:"), std::string::npos);
    }
    EXPECT_TRUE(port.frames().empty()) << "nothing reaches the line on a usage error";
}

TEST_F(Cli, WindowsPortNamesAreComOneToFour) {
    const struct {
        const char* given;
        const char* opened;
    } good[] = {{"COM1", "COM1:"}, {"com3", "COM3:"}, {"COM4:", "COM4:"}};
    for (const auto& g : good) {
        CliRun r = run({"--port", g.given, "status"}, true);
        EXPECT_EQ(r.code, exitDone) << g.given;
        EXPECT_EQ(port.lastOpenedName(), g.opened);
    }
    for (const char* name : {"COM5", "COM0", "LPT1", "COM12", "/dev/ttyS0"})
        EXPECT_EQ(run({"--port", name, "status"}, true).code, exitUsage) << name;
}

TEST_F(Cli, StatusAndReadPrintTheLinkStateAndBlocks) {
    CliRun r = run({"--port", "sim", "--json", "read"});
    EXPECT_EQ(r.code, exitDone);
    EXPECT_EQ(r.out.rfind("{\"linkDown\":0,\"failCount\":0,\"pollInterval\":50,"
                          "\"firmwareMajor\":1,\"firmwareMinor\":4,\"statusAnswer\":[101,",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find("\"AttMin_BJ\":"), std::string::npos);
    EXPECT_EQ(r.out.back(), '\n');

    r = run({"--port", "sim", "status"});
    EXPECT_EQ(r.out, "linkDown=0 failCount=0 pollInterval=50 firmwareMajor=1 firmwareMinor=4\n");
    EXPECT_FALSE(linkState.portOpen) << "the port is closed at the end";
}

TEST_F(Cli, SilentControllerExitsWithThree) {
    controller.faults.silent = true;
    CliRun r = run({"--port", "sim", "read"});
    EXPECT_EQ(r.code, exitNoAnswer);
    EXPECT_NE(r.err.find("does not answer"), std::string::npos);
    EXPECT_EQ(run({"--port", "sim", "send", "30", "50"}).code, exitNoAnswer);
}

TEST_F(Cli, OtherFirmwareReadsNoBlocks) {
    controller.faults.firmwareMajor = 2;
    CliRun r = run({"--port", "sim", "read"});
    EXPECT_EQ(r.code, exitNoAnswer);
    EXPECT_NE(r.err.find("firmware 2."), std::string::npos);
    EXPECT_NE(r.out.find("readingsBlock: 00 00"), std::string::npos) << r.out;
}

TEST_F(Cli, SendPrintsTheAnswer) {
    CliRun r = run({"--port", "sim", "--json", "send", "0x0F", "94"});
    EXPECT_EQ(r.code, exitDone);
    EXPECT_EQ(r.out, "{\"lastByteCount\":3,\"commandAnswer\":[101,94,195]}\n");
    EXPECT_EQ(controller.parameter(15), 94);
}

TEST_F(Cli, WatchWaitsThePollIntervalBetweenTicks) {
    CliRun r = run({"--port", "sim", "watch", "--ticks", "4"});
    EXPECT_EQ(r.code, exitDone);
    EXPECT_NE(r.out.find("tick 4 linkDown=0"), std::string::npos);
    EXPECT_NE(r.out.find("polls=status,readings,settings1,settings2\n"), std::string::npos);
    EXPECT_GE(port.nowMs(), 3 * 50.0);
}
