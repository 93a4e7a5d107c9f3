#include "cli/cli_app.h"

#include <cctype>
#include <csignal>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "link/device_link.h"
#include "link/encodings.h"
#include "link/params.h"
#include "link/polling.h"
#include "cli/log_plot.h"
#include "link/port_names.h"
#include "link/port_search.h"
#include "shell/backups.h"
#include "shell/config_file.h"
#include "shell/drive_log.h"
#include "shell/link_reason.h"
#include "shell/recording.h"
#include "shell/texts.h"

namespace kestos {

namespace {

const char usageText[] =
    "usage: kestos-cli --port PORT|auto [--json] COMMAND\n"
    "       kestos-cli [--json] ports [--probe]\n"
    "       kestos-cli [--json] diff A.kss B.kss\n"
    "       kestos-cli plot LOG --svg OUT.svg\n"
    "commands:\n"
    "  status              one status poll; prints the link state\n"
    "  read                status, then the three block polls; prints the blocks and parameters\n"
    "  watch [--ticks N]   N ticks of the Readings page's polling cycle (default 10)\n"
    "  send CODE VALUE     one command frame; prints the answer\n"
    "  save FILE           reads the controller's set and saves it as a configuration file\n"
    "  load FILE [--backup DIR] [--no-verify]\n"
    "                      checks FILE, saves the controller's current set to DIR first when\n"
    "                      asked, sends the 27 parameters and reads them back to check them\n"
    "  diff A B            the settings whose values differ between two files, as the pages\n"
    "                      show them; with --port, diff FILE compares FILE with the controller\n"
    "  record FILE [--seconds N]\n"
    "                      polls status and readings back to back and writes a readings log\n"
    "                      until Ctrl-C or N seconds; a progress line each second\n"
    "  plot LOG --svg OUT  draws a readings log as an SVG picture\n"
    "  ports [--probe]     the serial ports present; with --probe, which answers as a controller\n"
    "PORT auto finds the controller first: one status request on each port present.\n"
    "exit codes: 0 done (diff: equal), 1 files differ, 2 usage, 3 no answer or link down,\n"
    "            4 not a configuration file or readings log, or cannot read it,\n"
    "            5 cannot write a file, 6 load: a parameter did not take\n";

struct Options {
    const char* port = nullptr;
    const char* backup = nullptr;
    bool json = false;
    const char* command = nullptr;
    const char* args[2] = {};
    int argCount = 0;
    long ticks = 10;
    long seconds = 0; // record: 0 runs until Ctrl-C
    const char* svg = nullptr;
    bool verify = true; // load: read back and compare after sending
    bool probe = false; // ports: ask each for a status answer
};

// The settings that differ, for diff and the check after load.
ShownRow shownRows[maxShownRows];

// Whole-string decimal or 0x-hex number within [lo, hi].
bool parseNumber(const char* text, long lo, long hi, long& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    long v = std::strtol(text, &end, 0);
    if (*end != 0 || v < lo || v > hi) return false;
    value = v;
    return true;
}

int usage(std::FILE* err, const char* why) {
    if (why) std::fprintf(err, "kestos-cli: %s\n", why);
    std::fputs(usageText, err);
    return exitUsage;
}

bool parse(int argc, char** argv, Options& o, std::FILE* err, int& status) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--port") == 0 && i + 1 < argc) {
            o.port = argv[++i];
        } else if (std::strcmp(a, "--backup") == 0 && i + 1 < argc) {
            o.backup = argv[++i];
        } else if (std::strcmp(a, "--json") == 0) {
            o.json = true;
        } else if (std::strcmp(a, "--ticks") == 0 && i + 1 < argc) {
            if (!parseNumber(argv[++i], 1, 1000000, o.ticks)) {
                status = usage(err, "--ticks takes a number from 1 to 1000000");
                return false;
            }
        } else if (std::strcmp(a, "--seconds") == 0 && i + 1 < argc) {
            if (!parseNumber(argv[++i], 1, 604800, o.seconds)) {
                status = usage(err, "--seconds takes a number from 1 to 604800");
                return false;
            }
        } else if (std::strcmp(a, "--probe") == 0) {
            o.probe = true;
        } else if (std::strcmp(a, "--no-verify") == 0) {
            o.verify = false;
        } else if (std::strcmp(a, "--svg") == 0 && i + 1 < argc) {
            o.svg = argv[++i];
        } else if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            status = usage(err, nullptr);
            return false;
        } else if (a[0] == '-' && a[1] == '-') {
            status = usage(err, "unknown or incomplete option");
            return false;
        } else if (!o.command) {
            o.command = a;
        } else if (o.argCount < 2) {
            o.args[o.argCount++] = a;
        } else {
            status = usage(err, "too many arguments");
            return false;
        }
    }
    if (!o.command) {
        status = usage(err, "no command");
        return false;
    }
    if (!o.port && std::strcmp(o.command, "diff") != 0 && std::strcmp(o.command, "plot") != 0 &&
        std::strcmp(o.command, "ports") != 0) {
        status = usage(err, "--port is required");
        return false;
    }
    return true;
}

void printBytes(std::FILE* out, const uint8_t* b, int n, bool json) {
    for (int i = 0; i < n; ++i) {
        if (json)
            std::fprintf(out, "%s%u", i ? "," : "", b[i]);
        else
            std::fprintf(out, "%s%02X", i ? " " : "", b[i]);
    }
}

void printLinkState(std::FILE* out, bool json) {
    if (json) {
        std::fprintf(out,
                     "\"linkDown\":%d,\"failCount\":%d,\"pollInterval\":%d,"
                     "\"firmwareMajor\":%d,\"firmwareMinor\":%d",
                     linkState.linkDown, linkState.failCount, linkState.pollInterval,
                     linkState.firmwareMajor, linkState.firmwareMinor);
    } else {
        std::fprintf(out,
                     "linkDown=%d failCount=%d pollInterval=%d firmwareMajor=%d "
                     "firmwareMinor=%d",
                     linkState.linkDown, linkState.failCount, linkState.pollInterval,
                     linkState.firmwareMajor, linkState.firmwareMinor);
    }
}

struct NamedBlock {
    const char* name;
    const uint8_t* bytes;
    int length;
};

int commandStatus(const Options& o, std::FILE* out) {
    pollStatus();
    firmwareVersion();
    if (o.json) std::fputc('{', out);
    printLinkState(out, o.json);
    std::fputs(o.json ? "}\n" : "\n", out);
    return linkState.linkDown ? exitNoAnswer : exitDone;
}

int commandRead(const Options& o, std::FILE* out, std::FILE* err) {
    const bool usable = pollCycle(PollSchedule::parameterPage, false).readings;
    const NamedBlock blocks[] = {
        {"statusAnswer", deviceImage.statusAnswer, statusLength},
        {"readingsBlock", deviceImage.readingsBlock, readingsLength},
        {"settingsBlock1", deviceImage.settingsBlock1, settings1Length},
        {"settingsBlock2", deviceImage.settingsBlock2, settings2Length},
    };
    if (o.json) {
        std::fputc('{', out);
        printLinkState(out, true);
        for (const NamedBlock& b : blocks) {
            std::fprintf(out, ",\"%s\":[", b.name);
            printBytes(out, b.bytes, b.length, true);
            std::fputc(']', out);
        }
        for (const Parameter& p : parameters)
            std::fprintf(out, ",\"%s\":%u", p.key, parameterValue(p));
        std::fputs("}\n", out);
    } else {
        printLinkState(out, false);
        std::fputc('\n', out);
        for (const NamedBlock& b : blocks) {
            std::fprintf(out, "%s:", b.name);
            for (int i = 0; i < b.length; ++i)
                std::fprintf(out, " %02X", b.bytes[i]);
            std::fputc('\n', out);
        }
        for (const Parameter& p : parameters)
            std::fprintf(out, "%s=%u\n", p.key, parameterValue(p));
    }
    if (linkState.linkDown) {
        std::fprintf(err, "kestos-cli: the controller does not answer\n");
        return exitNoAnswer;
    }
    if (!usable) {
        std::fprintf(err, "kestos-cli: firmware %d.%d is not supported; blocks not read\n",
                     linkState.firmwareMajor, linkState.firmwareMinor);
        return exitNoAnswer;
    }
    return exitDone;
}

int commandWatch(const Options& o, SerialPort& port, std::FILE* out) {
    for (long tick = 1; tick <= o.ticks; ++tick) {
        PollsRun run = pollCycle(PollSchedule::readingsPage, false);
        const char* names[4] = {};
        int n = 0;
        if (run.status) names[n++] = "status";
        if (run.readings) names[n++] = "readings";
        if (run.settings1) names[n++] = "settings1";
        if (run.settings2) names[n++] = "settings2";
        if (o.json) {
            std::fprintf(out, "{\"tick\":%ld,", tick);
            printLinkState(out, true);
            std::fputs(",\"polls\":[", out);
            for (int i = 0; i < n; ++i)
                std::fprintf(out, "%s\"%s\"", i ? "," : "", names[i]);
            std::fputs("]}\n", out);
        } else {
            std::fprintf(out, "tick %ld ", tick);
            printLinkState(out, false);
            std::fputs(" polls=", out);
            for (int i = 0; i < n; ++i)
                std::fprintf(out, "%s%s", i ? "," : "", names[i]);
            std::fputc('\n', out);
        }
        std::fflush(out);
        if (tick < o.ticks) port.sleepMs(static_cast<unsigned>(linkState.pollInterval));
    }
    return linkState.linkDown ? exitNoAnswer : exitDone;
}

int commandSend(const Options& o, std::FILE* out, std::FILE* err) {
    long code = 0, value = 0;
    if (o.argCount != 2 || !parseNumber(o.args[0], 0, 255, code) ||
        !parseNumber(o.args[1], 0, 255, value))
        return usage(err, "send takes CODE and VALUE, each 0..255");
    sendCommand(static_cast<int>(code), static_cast<int>(value));
    if (o.json) {
        std::fprintf(out, "{\"lastByteCount\":%u,\"commandAnswer\":[", linkState.lastByteCount);
        printBytes(out, deviceImage.commandAnswer, commandAnswerLength, true);
        std::fputs("]}\n", out);
    } else {
        std::fprintf(out, "lastByteCount=%u commandAnswer:", linkState.lastByteCount);
        for (uint8_t b : deviceImage.commandAnswer)
            std::fprintf(out, " %02X", b);
        std::fputc('\n', out);
    }
    if (linkState.lastByteCount != commandAnswerLength) {
        std::fprintf(err, "kestos-cli: the controller did not answer the command\n");
        return exitNoAnswer;
    }
    return exitDone;
}

// A file name as a JSON string: Windows paths carry backslashes.
void printJsonString(std::FILE* out, const char* text) {
    std::fputc('"', out);
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        if (*c == '"' || *c == '\\')
            std::fprintf(out, "\\%c", *c);
        else if (*c < 0x20)
            std::fprintf(out, "\\u%04x", *c);
        else
            std::fputc(*c, out);
    }
    std::fputc('"', out);
}

int commandSave(const Options& o, FileSystem& files, std::FILE* out, std::FILE* err) {
    if (o.argCount != 1) return usage(err, "save takes FILE");
    if (!readControllerSet()) {
        std::fprintf(err, "kestos-cli: the controller's set could not be read; no file written\n");
        return exitNoAnswer;
    }
    SaveResult result = saveConfiguration(files, o.args[0]);
    if (result != SaveResult::saved) {
        std::fprintf(err, "kestos-cli: cannot write %s\n", o.args[0]);
        return result == SaveResult::noAnswer ? exitNoAnswer : exitWriteFailed;
    }
    if (o.json) {
        std::fputs("{\"file\":", out);
        printJsonString(out, o.args[0]);
        std::fprintf(out, ",\"parameters\":%d}\n", parameterCount);
    } else {
        std::fprintf(out, "saved %d parameters to %s\n", parameterCount, o.args[0]);
    }
    return exitDone;
}

int badFile(std::FILE* err, const char* path, ReadResult result) {
    if (result == ReadResult::cannotOpen)
        std::fprintf(err, "kestos-cli: cannot open %s\n", path);
    else
        std::fprintf(err, "kestos-cli: %s is not a KestoS configuration file\n", path);
    return exitBadFile;
}

void printLoadResult(const Options& o, std::FILE* out, int sent, const char* backup) {
    if (o.json) {
        std::fprintf(out, "{\"sent\":%d,\"parameters\":%d,\"backup\":", sent, parameterCount);
        if (backup[0])
            printJsonString(out, backup);
        else
            std::fputs("null", out);
        std::fputs("}\n", out);
    } else {
        if (backup[0]) std::fprintf(out, "backup %s\n", backup);
        std::fprintf(out, "sent %d of %d parameters\n", sent, parameterCount);
    }
}

int commandLoad(const Options& o, FileSystem& files, std::FILE* out, std::FILE* err) {
    if (o.argCount != 1) return usage(err, "load takes FILE");
    ReadResult read = readConfiguration(files, o.args[0], configFile);
    if (read != ReadResult::valid) {
        badFile(err, o.args[0], read);
        std::fputs("kestos-cli: nothing sent\n", err);
        return exitBadFile;
    }
    char backup[pathSize] = "";
    if (o.backup) {
        // A backup asked for on the command line is a condition, not a wish.
        if (!readControllerSet()) {
            std::fprintf(err, "kestos-cli: the controller's set could not be read for the "
                              "backup; nothing sent\n");
            printLoadResult(o, out, 0, backup);
            return exitNoAnswer;
        }
        if (!backupBeforeOverwrite(files, o.backup, &backup)) {
            std::fprintf(err, "kestos-cli: cannot write a backup in %s; nothing sent\n", o.backup);
            return exitWriteFailed;
        }
    } else {
        pollStatus();
    }
    int sent = 0;
    if (!linkState.linkDown && firmwareVersion() == 1) sent = uploadConfiguration(configFile);
    printLoadResult(o, out, sent, backup);
    if (sent < parameterCount) {
        std::fprintf(err,
                     "kestos-cli: the controller did not answer; %d of %d parameters were sent "
                     "and stay in effect\n",
                     sent, parameterCount);
        return exitNoAnswer;
    }
    if (!o.verify) return exitDone;
    const int count = compareWithController(configFile.fileValues, shownRows, maxShownRows);
    if (count < 0) {
        std::fputs("kestos-cli: the controller did not answer the check after sending\n", err);
        return exitNoAnswer;
    }
    if (count == 0) {
        if (!o.json) std::fprintf(out, "checked %d of %d parameters\n", sent, parameterCount);
        return exitDone;
    }
    std::fputs("kestos-cli: the controller did not take (controller -> file):\n", err);
    for (int i = 0; i < count; ++i)
        std::fprintf(err, "  %s: %s -> %s\n", parameters[shownRows[i].parameter].key,
                     shownRows[i].a, shownRows[i].b);
    return exitNotTaken;
}

// Rows of differing settings: "Key: a -> b" (the page's label after the key where a language
// names it), or a JSON list.
void printRows(const Options& o, std::FILE* out, const ShownRow* rows, int count) {
    if (o.json) std::fputs("{\"differences\":[", out);
    for (int i = 0; i < count; ++i) {
        const ShownRow& r = rows[i];
        const char* key = parameters[r.parameter].key;
        if (o.json) {
            std::fprintf(out, "%s{\"key\":\"%s\",\"name\":", i ? "," : "", key);
            printJsonString(out, r.name);
            std::fputs(",\"a\":", out);
            printJsonString(out, r.a);
            std::fputs(",\"b\":", out);
            printJsonString(out, r.b);
            std::fputc('}', out);
        } else if (std::strcmp(key, r.name) == 0) {
            std::fprintf(out, "%s: %s -> %s\n", key, r.a, r.b);
        } else {
            std::fprintf(out, "%s (%s): %s -> %s\n", key, r.name, r.a, r.b);
        }
    }
    if (o.json) std::fprintf(out, "],\"equal\":%s}\n", count ? "false" : "true");
}

int commandDiff(const Options& o, FileSystem& files, std::FILE* out, std::FILE* err) {
    static ConfigFileContents a, b;
    if (o.port) { // the file against the controller: the controller is "a"
        if (o.argCount != 1) return usage(err, "diff with --port takes one file");
        ReadResult read = readConfiguration(files, o.args[0], b);
        if (read != ReadResult::valid) return badFile(err, o.args[0], read);
        const int count = compareWithController(b.fileValues, shownRows, maxShownRows);
        if (count < 0) {
            std::fputs("kestos-cli: the controller's set could not be read\n", err);
            return exitNoAnswer;
        }
        printRows(o, out, shownRows, count);
        return count ? exitDiffer : exitDone;
    }
    if (o.argCount != 2) return usage(err, "diff takes two files");
    ReadResult readA = readConfiguration(files, o.args[0], a);
    if (readA != ReadResult::valid) return badFile(err, o.args[0], readA);
    ReadResult readB = readConfiguration(files, o.args[1], b);
    if (readB != ReadResult::valid) return badFile(err, o.args[1], readB);
    const int count = shownDifferences(a.fileValues, b.fileValues, shownRows, maxShownRows);
    printRows(o, out, shownRows, count);
    return count ? exitDiffer : exitDone;
}

volatile std::sig_atomic_t interrupted = 0;
extern "C" void onInterrupt(int) {
    interrupted = 1;
}

const SerialPort* recordingPort = nullptr;
uint32_t recordingClock() {
    return recordingPort->clockMs();
}

int commandRecord(const Options& o, SerialPort& port, FileSystem& files, std::FILE* out,
                  std::FILE* err) {
    if (o.argCount != 1) return usage(err, "record takes FILE");
    // The header holds the set as read now; no file when the controller does not answer.
    pollCycle(PollSchedule::parameterPage, false);
    if (linkState.linkDown) {
        std::fprintf(err, "kestos-cli: the controller does not answer; no file written\n");
        return exitNoAnswer;
    }
    recordingPort = &port;
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local || !startRecordingTo(files, o.args[0], *local, recordingClock, o.port)) {
        std::fprintf(err, "kestos-cli: cannot create %s\n", o.args[0]);
        return exitWriteFailed;
    }
    interrupted = 0;
    void (*previous)(int) = std::signal(SIGINT, onInterrupt);
    afterPollTick = recordPollTick;
    uint32_t shown = 0;
    auto progress = [&] {
        std::fprintf(out, "%.1f s  %ld rows  link %s\n", recordingElapsedMs() / 1000.0,
                     recordingState.rows, linkState.linkDown ? "down" : "up");
        std::fflush(out);
    };
    while (!interrupted && recordingState.active &&
           (o.seconds == 0 || recordingElapsedMs() < static_cast<uint32_t>(o.seconds) * 1000)) {
        pollCycle(PollSchedule::scopePage, false);
        if (recordingElapsedMs() - shown >= 1000) {
            shown = recordingElapsedMs() / 1000 * 1000;
            progress();
        }
    }
    afterPollTick = nullptr;
    std::signal(SIGINT, previous ? previous : SIG_DFL);
    const long rows = recordingState.rows;
    stopRecording(); // a failed write, now or before, leaves writeFailed set
    if (recordingState.writeFailed) {
        std::fprintf(err, "kestos-cli: writing %s failed; the rows written so far are kept\n",
                     o.args[0]);
        return exitWriteFailed;
    }
    std::fprintf(out, "recorded %ld rows to %s\n", rows, o.args[0]);
    return exitDone;
}

int commandPlot(const Options& o, FileSystem& files, std::FILE* err) {
    if (o.argCount != 1 || !o.svg) return usage(err, "plot takes LOG and --svg OUT.svg");
    std::FILE* file = files.openForReading(o.args[0]);
    if (!file) {
        std::fprintf(err, "kestos-cli: cannot open %s\n", o.args[0]);
        return exitBadFile;
    }
    DriveLog log;
    std::string error;
    const bool read = readDriveLog(file, log, error);
    std::fclose(file);
    if (!read) {
        std::fprintf(err, "kestos-cli: %s: %s\n", o.args[0], error.c_str());
        return exitBadFile;
    }
    const std::string svg = plotDriveLog(log, o.args[0]);
    if (!files.replaceFile(o.svg, svg.data(), svg.size())) {
        std::fprintf(err, "kestos-cli: cannot write %s\n", o.svg);
        return exitWriteFailed;
    }
    return exitDone;
}

// What a port name opens by: COMn as Windows takes it, a device path as it is.
bool windowsNames = false;
const char* openNameOf(const std::string& name) {
    return windowsNames ? comOpenName(comNumberOf(name.c_str())) : name.c_str();
}

const char* resultWord(PortProbe::Result r) {
    switch (r) {
    case PortProbe::Result::controller: return "controller";
    case PortProbe::Result::noAnswer: return "no answer";
    case PortProbe::Result::busy: return "busy";
    case PortProbe::Result::cannotOpen: return "cannot open";
    }
    return "";
}

std::vector<std::string> namesOf(const std::vector<PresentPort>& ports) {
    std::vector<std::string> names;
    for (const PresentPort& p : ports)
        names.push_back(p.name);
    return names;
}

int commandPorts(const Options& o, const std::vector<PresentPort>& present, std::FILE* out) {
    std::vector<PortProbe> probes;
    if (o.probe) probes = probePorts(namesOf(present), openNameOf, true);
    bool found = false;
    if (o.json) std::fputs("{\"ports\":[", out);
    for (std::size_t i = 0; i < present.size(); ++i) {
        const PresentPort& p = present[i];
        const PortProbe* probe = i < probes.size() ? &probes[i] : nullptr;
        found = found || (probe && probe->result == PortProbe::Result::controller);
        if (o.json) {
            std::fputs(i ? ",{\"name\":" : "{\"name\":", out);
            printJsonString(out, p.name.c_str());
            std::fputs(",\"device\":", out);
            printJsonString(out, p.device.c_str());
            if (probe) {
                std::fputs(",\"answer\":", out);
                printJsonString(out, resultWord(probe->result));
                std::fputs(",\"reason\":", out);
                printJsonString(out, probe->reason.c_str());
            }
            std::fputc('}', out);
        } else {
            std::fprintf(
                out, "%s%s%s%s%s%s%s\n", p.name.c_str(), p.device.empty() ? "" : "\t",
                p.device.c_str(), probe ? "\t" : "", probe ? resultWord(probe->result) : "",
                probe && !probe->reason.empty() ? ": " : "", probe ? probe->reason.c_str() : "");
        }
    }
    if (o.json) std::fputs("]}\n", out);
    return o.probe && !found ? exitNoAnswer : exitDone;
}

// --port auto: the first port that answers, or the message that none did.
bool findPort(const std::vector<PresentPort>& present, std::string& found, std::FILE* err) {
    const std::vector<PortProbe> probes = probePorts(namesOf(present), openNameOf, false);
    if (!probes.empty() && probes.back().result == PortProbe::Result::controller) {
        found = probes.back().name;
        return true;
    }
    std::fputs("kestos-cli: no controller answered", err);
    const char* sep = " on ";
    for (const PortProbe& p : probes) {
        std::fprintf(err, "%s%s", sep, p.name.c_str());
        if (p.result != PortProbe::Result::noAnswer)
            std::fprintf(err, " (%s)", resultWord(p.result));
        sep = ", ";
    }
    if (probes.empty()) std::fputs(": no serial port is present", err);
    std::fputc('\n', err);
    return false;
}

} // namespace

int runCli(int argc, char** argv, SerialPort& port, FileSystem& files, bool windowsPortNames,
           std::FILE* out, std::FILE* err, std::vector<PresentPort> (*listPorts)()) {
    Options o;
    int status = exitUsage;
    if (!parse(argc, argv, o, err, status)) return status;
    buildKeyTable(); // the program builds it at start-up; the files need it here too

    enum class Command { status, read, watch, send, save, load, diff, record, plot, ports } command;
    if (std::strcmp(o.command, "status") == 0 && o.argCount == 0)
        command = Command::status;
    else if (std::strcmp(o.command, "read") == 0 && o.argCount == 0)
        command = Command::read;
    else if (std::strcmp(o.command, "watch") == 0 && o.argCount == 0)
        command = Command::watch;
    else if (std::strcmp(o.command, "send") == 0)
        command = Command::send;
    else if (std::strcmp(o.command, "save") == 0)
        command = Command::save;
    else if (std::strcmp(o.command, "load") == 0)
        command = Command::load;
    else if (std::strcmp(o.command, "diff") == 0)
        command = Command::diff;
    else if (std::strcmp(o.command, "record") == 0)
        command = Command::record;
    else if (std::strcmp(o.command, "plot") == 0)
        command = Command::plot;
    else if (std::strcmp(o.command, "ports") == 0 && o.argCount == 0)
        command = Command::ports;
    else
        return usage(err, "unknown command");
    if (o.backup && command != Command::load) return usage(err, "--backup goes with load");
    if (o.seconds && command != Command::record) return usage(err, "--seconds goes with record");
    if (o.svg && command != Command::plot) return usage(err, "--svg goes with plot");
    if (!o.verify && command != Command::load) return usage(err, "--no-verify goes with load");
    if (o.probe && command != Command::ports) return usage(err, "--probe goes with ports");
    if (command == Command::diff && !o.port) return commandDiff(o, files, out, err);
    if (command == Command::plot) return commandPlot(o, files, err);

    // The link keeps a pointer to the name; it is put back before the caller's strings go.
    const char* previousName = linkState.portName;
    windowsNames = windowsPortNames;
    const bool automatic = o.port && std::strcmp(o.port, "auto") == 0;
    if (o.port && !automatic && windowsPortNames && !comNumberOf(o.port))
        return usage(err, "PORT is COM1 to COM255, or auto");
    setSerialPort(&port);
    const std::vector<PresentPort> present = listPorts && (automatic || command == Command::ports)
                                                 ? listPorts()
                                                 : std::vector<PresentPort>{};
    static std::string chosen;
    chosen = o.port ? o.port : "";
    if (automatic && !findPort(present, chosen, err)) {
        setSerialPort(nullptr);
        return exitNoAnswer;
    }
    linkState.portName = chosen.empty() ? previousName : openNameOf(chosen);

    int result = exitDone;
    switch (command) {
    case Command::status: result = commandStatus(o, out); break;
    case Command::read: result = commandRead(o, out, err); break;
    case Command::watch: result = commandWatch(o, port, out); break;
    case Command::send: result = commandSend(o, out, err); break;
    case Command::save: result = commandSave(o, files, out, err); break;
    case Command::load: result = commandLoad(o, files, out, err); break;
    case Command::record: result = commandRecord(o, port, files, out, err); break;
    case Command::diff: result = commandDiff(o, files, out, err); break;
    case Command::ports: result = commandPorts(o, present, out); break;
    case Command::plot: break;
    }

    // Exit 3 says why, in the words of the Readings page's status area.
    char reason[namedTextSize + 64];
    linkDownReasonText(reason, sizeof reason);
    if (result == exitNoAnswer && reason[0] && command != Command::ports)
        std::fprintf(err, "kestos-cli: %s\n", reason);
    if (port.lastError()[0] && command != Command::ports)
        std::fprintf(err, "kestos-cli: port %s: %s\n", chosen.c_str(), port.lastError());
    closePort();
    setSerialPort(nullptr);
    linkState.portName = previousName;
    return result;
}

} // namespace kestos
