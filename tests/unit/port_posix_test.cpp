// The POSIX port and kestos-cli against kestos-sim over a real pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "link/device_link.h"
#include "link/params.h"
#include "link/port_posix.h"

extern char** environ;

using namespace kestos;

namespace {

std::string tempDir() {
    char pattern[] = "/tmp/kestos-pty-XXXXXX";
    const char* d = mkdtemp(pattern);
    return d ? d : "/tmp";
}

// kestos-sim on a pty for the life of the object.
class Simulator {
  public:
    explicit Simulator(std::vector<std::string> extra = {}) {
        dir_ = tempDir();
        link_ = dir_ + "/vcom";
        std::vector<std::string> args = {KESTOS_SIM_PATH, "--link", link_};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, KESTOS_SIM_PATH, nullptr, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        for (int i = 0; i < 100 && !ready(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ~Simulator() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
        unlink(link_.c_str());
        rmdir(dir_.c_str());
    }
    bool ready() const {
        struct stat st {};
        return stat(link_.c_str(), &st) == 0;
    }
    void signal(int sig) const { kill(pid_, sig); }
    const std::string& link() const { return link_; }

  private:
    std::string dir_, link_;
    pid_t pid_ = -1;
};

struct CliRun {
    int exitCode = -1;
    std::string out;
};

CliRun runCli(const std::string& args, const std::string& environment = "") {
    CliRun r;
    std::string cmd = environment + KESTOS_CLI_PATH + " " + args + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    int status = pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

class PosixPort : public ::testing::Test {
  protected:
    PosixSerialPort port;
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

TEST_F(PosixPort, PollsAndCommandsReachTheSimulator) {
    Simulator sim;
    ASSERT_TRUE(sim.ready());
    linkState.portName = sim.link().c_str();
    pollStatus();
    ASSERT_EQ(linkState.linkDown, 0) << port.lastError();
    EXPECT_EQ(firmwareVersion(), 1);
    EXPECT_EQ(linkState.firmwareMinor, 4);
    pollReadings();
    pollSettings1();
    pollSettings2();
    EXPECT_EQ(deviceImage.readingsBlock[0], 0x65);
    EXPECT_EQ(deviceImage.settingsBlock1[0], 0x65);
    EXPECT_EQ(deviceImage.settingsBlock2[0], 0x65);
    EXPECT_EQ(frameChecksum(deviceImage.settingsBlock2, 15), deviceImage.settingsBlock2[15]);

    const Parameter& p = parameters[parameterIndexByKey("LPGOnTemp")];
    sendCommand(p.code, 208);
    EXPECT_EQ(linkState.lastByteCount, 3u);
    pollSettings1();
    EXPECT_EQ(parameterValue(p), 208);
}

TEST_F(PosixPort, SilentLineTimesOutAndTakesTheLinkDown) {
    Simulator sim({"--silent"});
    ASSERT_TRUE(sim.ready());
    linkState.portName = sim.link().c_str();
    auto start = std::chrono::steady_clock::now();
    pollStatus();
    auto waited = std::chrono::steady_clock::now() - start;
    // The read must wait for its time-out (100 ms + 10 ms a byte), not give up at once.
    EXPECT_GE(waited, std::chrono::milliseconds(100));
    pollStatus();
    pollStatus();
    EXPECT_EQ(linkState.linkDown, 1);
    EXPECT_EQ(linkState.pollInterval, 500);
    EXPECT_EQ(linkState.portOpen, 0);
}

TEST_F(PosixPort, LinkRecoversWhenTheSimulatorAnswersAgain) {
    Simulator sim;
    ASSERT_TRUE(sim.ready());
    linkState.portName = sim.link().c_str();
    pollStatus();
    ASSERT_EQ(linkState.linkDown, 0);
    // The simulator takes its signal when it gets to it: poll until the link shows it, for at
    // most a few seconds (each unanswered poll waits its read time-out).
    auto pollUntilLinkDown = [](int down) {
        for (int i = 0; i < 30 && linkState.linkDown != down; ++i)
            pollStatus();
        return linkState.linkDown;
    };
    sim.signal(SIGUSR1); // silent
    EXPECT_EQ(pollUntilLinkDown(1), 1);
    sim.signal(SIGUSR2); // answering again
    EXPECT_EQ(pollUntilLinkDown(0), 0);
    EXPECT_EQ(linkState.pollInterval, 50);
}

TEST_F(PosixPort, MissingDeviceIsSilenceWithAReason) {
    linkState.portName = "/nonexistent/tty";
    pollStatus();
    EXPECT_EQ(linkState.failCount, 1);
    EXPECT_NE(std::string(port.lastError()).find("/nonexistent/tty"), std::string::npos);
}

TEST(KestosCli, ReadPrintsTheControllerAsJson) {
    Simulator sim;
    ASSERT_TRUE(sim.ready());
    CliRun r = runCli("--port " + sim.link() + " --json read");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("\"linkDown\":0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"firmwareMajor\":1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"settingsBlock2\":[101,"), std::string::npos) << r.out;
    for (const Parameter& p : parameters)
        EXPECT_NE(r.out.find(std::string(1, '"').append(p.key).append("\":")), std::string::npos)
            << p.key;
}

TEST(KestosCli, ExitCodesTellUsageAndSilence) {
    Simulator silent({"--silent"});
    ASSERT_TRUE(silent.ready());
    EXPECT_EQ(runCli("--port " + silent.link() + " status").exitCode, 3);
    EXPECT_EQ(runCli("--port " + silent.link() + " send 5 300").exitCode, 2);
    EXPECT_EQ(runCli("status").exitCode, 2);
    EXPECT_EQ(runCli("--port " + silent.link() + " fly").exitCode, 2);
}

TEST(KestosCli, WatchRunsTheReadingsCycle) {
    Simulator sim;
    ASSERT_TRUE(sim.ready());
    CliRun r = runCli("--port " + sim.link() + " --json watch --ticks 5");
    EXPECT_EQ(r.exitCode, 0);
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < r.out.size()) {
        size_t nl = r.out.find('\n', at);
        lines.push_back(r.out.substr(at, nl - at));
        at = nl == std::string::npos ? r.out.size() : nl + 1;
    }
    ASSERT_EQ(lines.size(), 5u) << r.out;
    EXPECT_NE(lines[0].find("\"polls\":[\"status\",\"readings\"]"), std::string::npos);
    EXPECT_NE(lines[3].find("\"polls\":[\"status\",\"readings\",\"settings1\",\"settings2\"]"),
              std::string::npos)
        << lines[3];
    EXPECT_NE(lines[4].find("\"tick\":5,"), std::string::npos);
}

// ports --probe and --port auto with kestos-sim's pty standing in for a USB adapter: a folder
// in place of /dev with ttyUSB0 the answering simulator and ttyUSB1 a silent one.
TEST(KestosCli, PortsProbeAndAutoFindTheSimulator) {
    Simulator answering, silent({"--silent"});
    ASSERT_TRUE(answering.ready() && silent.ready());
    const std::string dev = tempDir();
    ASSERT_EQ(symlink(silent.link().c_str(), (dev + "/ttyUSB0").c_str()), 0);
    ASSERT_EQ(symlink(answering.link().c_str(), (dev + "/ttyUSB1").c_str()), 0);
    const std::string env = "KESTOS_SERIAL_DIR=" + dev + " ";
    CliRun listed = runCli("ports --probe", env);
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, dev + "/ttyUSB0\tno answer\n" + dev + "/ttyUSB1\tcontroller\n");
    CliRun automatic = runCli("--port auto --json status", env);
    EXPECT_EQ(automatic.exitCode, 0);
    EXPECT_NE(automatic.out.find("\"linkDown\":0"), std::string::npos) << automatic.out;
    unlink((dev + "/ttyUSB1").c_str());
    EXPECT_EQ(runCli("--port auto status", env).exitCode, 3) << "none answers";
    unlink((dev + "/ttyUSB0").c_str());
    rmdir(dev.c_str());
}
