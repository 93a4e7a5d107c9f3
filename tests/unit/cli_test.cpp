// kestos-cli's command line and output, on the in-process simulator.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "link/device_link.h"
#include "link/polling.h"
#include "shell/drive_log.h"
#include "shell/language.h"
#include "sim/sim_port.h"
#include "tests/unit/memory_files.h"
#include "tests/unit/ports_by_name.h"

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
    test::MemoryFiles files;
    void SetUp() override {
        resetLink();
        pollingState = PollingState{};
        resetLanguageState(); // kestos-cli loads no language: files name settings by key
    }
    void TearDown() override { linkState.portName = "COM1:"; }

    // Windows names and a list of ports present come with `through`, a port of the test's.
    CliRun run(std::vector<std::string> args, bool windowsNames = false,
               SerialPort* through = nullptr, std::vector<PresentPort> (*listPorts)() = nullptr) {
        args.insert(args.begin(), "kestos-cli");
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        int code = runCli(static_cast<int>(argv.size()), argv.data(), through ? *through : port,
                          files, windowsNames, out, err, listPorts);
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

TEST_F(Cli, WindowsPortNamesAreAnyComPort) {
    const struct {
        const char* given;
        const char* opened;
    } good[] = {{"COM1", "COM1:"},          {"com3", "COM3:"},         {"COM4:", "COM4:"},
                {"COM7", "COM7:"},          {"COM12", "\\\\.\\COM12"}, {"\\\\.\\COM3", "COM3:"},
                {"COM255", "\\\\.\\COM255"}};
    for (const auto& g : good) {
        CliRun r = run({"--port", g.given, "status"}, true);
        EXPECT_EQ(r.code, exitDone) << g.given;
        EXPECT_EQ(port.lastOpenedName(), g.opened);
    }
    for (const char* name : {"COM0", "LPT1", "COM256", "/dev/ttyS0"})
        EXPECT_EQ(run({"--port", name, "status"}, true).code, exitUsage) << name;
}

namespace {

// COM1 is silent and COM3 busy; the controller answers on COM7.
std::vector<PresentPort> threePorts() {
    return {{"COM1", "Serial0"}, {"COM3", "Serial2"}, {"COM7", "VCP0"}};
}

} // namespace

TEST_F(Cli, PortsProbeAndAutoFindTheController) {
    PortsByName byName(controller, port, {"COM7:"}, {"COM3:"});
    auto runOn = [&](std::vector<std::string> args,
                     std::vector<PresentPort> (*ports)() = threePorts) {
        return run(std::move(args), true, &byName, ports);
    };
    CliRun listed = runOn({"ports"});
    EXPECT_EQ(listed.code, exitDone);
    EXPECT_EQ(listed.out, "COM1\tSerial0\nCOM3\tSerial2\nCOM7\tVCP0\n");
    CliRun probed = runOn({"--json", "ports", "--probe"});
    EXPECT_EQ(probed.code, exitDone);
    EXPECT_NE(probed.out.find("{\"name\":\"COM3\",\"device\":\"Serial2\",\"answer\":\"busy\","
                              "\"reason\":\"in use\"}"),
              std::string::npos)
        << probed.out;
    EXPECT_NE(probed.out.find("\"COM7\",\"device\":\"VCP0\",\"answer\":\"controller\""),
              std::string::npos);
    EXPECT_NE(probed.out.find("\"COM1\",\"device\":\"Serial0\",\"answer\":\"no answer\""),
              std::string::npos);

    CliRun automatic = runOn({"--port", "auto", "status"});
    EXPECT_EQ(automatic.code, exitDone) << automatic.err;
    EXPECT_EQ(port.lastOpenedName(), "COM7:");

    auto noController = [] { return std::vector<PresentPort>{{"COM1", ""}, {"COM3", ""}}; };
    CliRun none = runOn({"--port", "auto", "status"}, noController);
    EXPECT_EQ(none.code, exitNoAnswer);
    EXPECT_EQ(none.err, "kestos-cli: no controller answered on COM1, COM3 (busy)\n");
    EXPECT_EQ(runOn({"ports", "--probe"}, noController).code, exitNoAnswer);
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
    EXPECT_NE(r.err.find("does not answer\nkestos-cli: No answer on sim\n"), std::string::npos)
        << r.err;
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

TEST_F(Cli, SaveLoadAndDiffFiles) {
    controller.setParameter(21, 0x4C); // LPGOnRPMLo: with Hi 0x1D, 2000 rpm
    controller.setParameter(22, 0x1D);
    CliRun saved = run({"--port", "p", "save", "a.kss"});
    ASSERT_EQ(saved.code, exitDone) << saved.err;
    const std::string a = files.files["a.kss"];
    EXPECT_EQ(a.find("[Kesto_S]\r\nVersion=1.2\r\n"), 0u);
    EXPECT_NE(a.find("LPGOnRPMLo= 76\r\nLPGOnRPMHi= 29\r\n"), std::string::npos);

    files.files["b.kss"] = a;
    EXPECT_EQ(run({"diff", "a.kss", "b.kss"}).code, exitDone);
    files.files["b.kss"].replace(a.find("LPGOnRPMHi= 29"), 14, "LPGOnRPMHi= 25");
    CliRun diff = run({"diff", "a.kss", "b.kss"});
    EXPECT_EQ(diff.code, exitDiffer);
    EXPECT_EQ(diff.out, "LPGOnRPMHi: 2000 -> 2300\n") << "the speed, as the page's list shows it";
    CliRun json = run({"--json", "diff", "a.kss", "b.kss"});
    EXPECT_EQ(json.out, "{\"differences\":[{\"key\":\"LPGOnRPMHi\",\"name\":\"LPGOnRPMHi\","
                        "\"a\":\"2000\",\"b\":\"2300\"}],\"equal\":false}\n");
    CliRun withController = run({"--port", "p", "diff", "b.kss"});
    EXPECT_EQ(withController.code, exitDiffer);
    EXPECT_EQ(withController.out, "LPGOnRPMHi: 2000 -> 2300\n") << "the controller first";

    port.clearFrames();
    CliRun loaded = run({"--port", "p", "--json", "load", "b.kss", "--backup", "Backup"});
    ASSERT_EQ(loaded.code, exitDone) << loaded.err;
    EXPECT_EQ(controller.parameter(22), 25);
    ASSERT_EQ(files.namesIn("Backup").size(), 1u);
    const std::string backup = "Backup/" + *files.namesIn("Backup").begin();
    EXPECT_EQ(files.files[backup], a) << "the controller's set before the upload";
    EXPECT_EQ(loaded.out, "{\"sent\":27,\"parameters\":27,\"backup\":\"" + backup + "\"}\n");
    EXPECT_EQ(port.frames().size(), 4u + 27u + 4u)
        << "status, three block polls, 27 commands, the four polls of the check";
    EXPECT_EQ(run({"--port", "p", "diff", "b.kss"}).code, exitDone);

    controller.faults.keepCode = 14; // InjectDelay: answered, not taken
    files.files["c.kss"] = a;
    files.files["c.kss"].replace(a.find("InjectDelay= "), 15, "InjectDelay= 40");
    CliRun kept = run({"--port", "p", "load", "c.kss"});
    EXPECT_EQ(kept.code, exitNotTaken);
    EXPECT_NE(kept.err.find("  InjectDelay: "), std::string::npos) << kept.err;
    EXPECT_EQ(run({"--port", "p", "load", "c.kss", "--no-verify"}).code, exitDone);
}

TEST_F(Cli, FileCommandsFailWithoutHarm) {
    files.files["bad.kss"] = "[Kesto_S]\r\nVersion=1.3\r\n";
    files.files["good.kss"].clear();
    ASSERT_EQ(run({"--port", "p", "save", "good.kss"}).code, exitDone);
    port.clearFrames();
    const struct {
        std::vector<std::string> args;
        int code;
        const char* message;
    } cases[] = {
        {{"--port", "p", "load", "bad.kss"}, exitBadFile, "not a KestoS configuration file"},
        {{"--port", "p", "load", "none.kss"}, exitBadFile, "cannot open none.kss"},
        {{"diff", "good.kss", "bad.kss"}, exitBadFile, "bad.kss is not"},
        {{"--port", "p", "save", "x.kss", "--backup", "B"}, exitUsage, "--backup goes with load"},
    };
    for (const auto& c : cases) {
        CliRun r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.back();
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_TRUE(port.frames().empty()) << "a rejected file sends nothing";

    files.failWrites = true;
    EXPECT_EQ(run({"--port", "p", "load", "good.kss", "--backup", "B"}).code, exitWriteFailed);
    EXPECT_EQ(run({"--port", "p", "save", "new.kss"}).code, exitWriteFailed);
    files.failWrites = false;

    controller.faults.silentAfterFrames = static_cast<long>(controller.framesAnswered()) + 11;
    CliRun partial = run({"--port", "p", "load", "good.kss"});
    EXPECT_EQ(partial.code, exitNoAnswer);
    EXPECT_EQ(partial.out, "sent 10 of 27 parameters\n") << "status, then ten commands";
    controller.faults.silent = true;
    EXPECT_EQ(run({"--port", "p", "save", "late.kss"}).code, exitNoAnswer);
    EXPECT_FALSE(files.files.count("late.kss"));
}

TEST_F(Cli, RecordWritesALogAtTheWireRateAndPlotDrawsIt) {
    port.byteTiming = true; // 9600 baud on the virtual clock
    CliRun r = run({"--port", "p", "record", "drive.msl", "--seconds", "2"});
    ASSERT_EQ(r.code, exitDone) << r.err;
    EXPECT_NE(r.out.find("1.0 s  "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("link up"), std::string::npos) << r.out;
    DriveLog log;
    std::string error;
    const std::string& text = files.files["drive.msl"];
    ASSERT_TRUE(readDriveLogText(text.data(), text.size(), log, error)) << error;
    EXPECT_TRUE(log.header.hasBlocks);
    // Status and readings are 23 bytes of 10 bits on the wire: 41.7 rows a second at most.
    EXPECT_GE(log.rows.size(), 79u);
    EXPECT_LE(log.rows.size(), 84u);
    EXPECT_GE(log.rows.back().timeMs, 1950u);

    files.files["marked.msl"] = text + "MARK 001 - 1.000 s\n";
    ASSERT_EQ(run({"plot", "marked.msl", "--svg", "drive.svg"}).code, exitDone);
    const std::string& svg = files.files["drive.svg"];
    std::size_t panels = 0;
    for (std::size_t at = 0; (at = svg.find("class=\"panel\"", at)) != std::string::npos; ++at)
        ++panels;
    EXPECT_EQ(panels, 5u);
    EXPECT_NE(svg.find("class=\"marker\""), std::string::npos);
    EXPECT_EQ(svg.rfind("</svg>\n"), svg.size() - 7);

    files.files["cut.msl"] = "not a log\n";
    CliRun bad = run({"plot", "cut.msl", "--svg", "x.svg"});
    EXPECT_EQ(bad.code, exitBadFile);
    EXPECT_NE(bad.err.find("not a KestoS readings log"), std::string::npos) << bad.err;
    EXPECT_EQ(run({"--port", "p", "status", "--seconds", "2"}).code, exitUsage);

    controller.faults.silent = true;
    resetLink();
    CliRun down = run({"--port", "p", "record", "late.msl"});
    EXPECT_EQ(down.code, exitNoAnswer);
    EXPECT_FALSE(files.files.count("late.msl")) << "no file with the link down";
}
