#include "sim/sim_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "link/params.h"

namespace kestos::sim {

namespace {

// Whole decimal number in [lo, hi], nothing else in the text.
bool parseNumber(const char* text, unsigned long lo, unsigned long hi, unsigned long& out) {
    if (!text || !*text || *text == '-' || *text == '+') return false;
    char* end = nullptr;
    errno = 0;
    unsigned long v = std::strtoul(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool parseFirmware(const char* text, int& major, int& minor) {
    const char* dot = text ? std::strchr(text, '.') : nullptr;
    if (!dot) return false;
    std::string majorText(text, dot);
    unsigned long ma = 0, mi = 0;
    if (!parseNumber(majorText.c_str(), 1, 8, ma) || !parseNumber(dot + 1, 0, 31, mi)) return false;
    major = static_cast<int>(ma);
    minor = static_cast<int>(mi);
    return true;
}

} // namespace

const char* simUsage() {
    return "usage: kestos-sim [options]\n"
           "A simulated LPG injection controller on a pseudo-terminal.\n"
           "  --link PATH          make PATH a symlink to the pty (replaces an old symlink)\n"
           "  --log FILE           log every frame with a time stamp in ms ('-' for stdout)\n"
           "  --no-byte-timing     answer at once instead of at 9600 baud\n"
           "  --delay MS           wait MS milliseconds before every answer\n"
           "  --silent             answer nothing (SIGUSR1: silent, SIGUSR2: answer again)\n"
           "  --silent-after N     go silent after N answered frames\n"
           "  --bad-checksum       every answer's checksum off by one\n"
           "  --short              every answer two bytes short\n"
           "  --garbage            every answer starts with 0x00\n"
           "  --firmware MAJ.MIN   firmware version reported (1..8 . 0..31, default 1.4)\n"
           "  --keep KEY           answer writes of parameter KEY (a .kss key) but keep its value\n"
           "  --seed N             seed of the bench programme's randomness (default 1)\n"
           "  --warm               start with a warm engine at idle instead of a cold start\n"
           "  --cycle-faults MS    every MS ms the next fault: none, silent, bad checksum, short,\n"
           "                       garbage, delay 60 ms, silent after 20 frames, and round again;\n"
           "                       SIGUSR2 ends the cycle with no fault\n"
           "  --learn-outcome X    how learning ends: ok (default), fail or hold\n"
           "  --replay LOG         answer status and readings from a readings log (.msl), the\n"
           "                       settings from its header; silent where its link was down\n"
           "  --speed N            replay N times as fast: 1 (default), 2, 4 or 8\n"
           "  --help               this text\n";
}

bool parseSimOptions(int argc, const char* const* argv, SimOptions& out, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needValue = [&]() {
            if (value) return true;
            error = arg + " needs a value";
            return false;
        };
        unsigned long n = 0;
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--no-byte-timing") {
            out.byteTiming = false;
        } else if (arg == "--silent") {
            out.faults.silent = true;
        } else if (arg == "--bad-checksum") {
            out.faults.badChecksum = true;
        } else if (arg == "--short") {
            out.faults.shortAnswers = true;
        } else if (arg == "--garbage") {
            out.faults.garbageFirstByte = true;
        } else if (arg == "--replay") {
            if (!needValue()) return false;
            out.replayPath = value;
            ++i;
        } else if (arg == "--speed") {
            if (!needValue()) return false;
            if (!parseNumber(value, 1, 8, n) || (n & (n - 1)) != 0) {
                error = "--speed wants 1, 2, 4 or 8";
                return false;
            }
            out.replaySpeed = static_cast<int>(n);
            ++i;
        } else if (arg == "--link" || arg == "--log") {
            if (!needValue()) return false;
            if (!*value) {
                error = arg + " needs a non-empty value";
                return false;
            }
            (arg == "--link" ? out.linkPath : out.logPath) = value;
            ++i;
        } else if (arg == "--delay") {
            if (!needValue()) return false;
            if (!parseNumber(value, 0, 60000, n)) {
                error = "--delay wants milliseconds 0..60000";
                return false;
            }
            out.faults.delayMs = static_cast<unsigned>(n);
            ++i;
        } else if (arg == "--silent-after") {
            if (!needValue()) return false;
            if (!parseNumber(value, 0, 2000000000, n)) {
                error = "--silent-after wants a frame count";
                return false;
            }
            out.faults.silentAfterFrames = static_cast<long>(n);
            ++i;
        } else if (arg == "--firmware") {
            if (!needValue()) return false;
            if (!parseFirmware(value, out.faults.firmwareMajor, out.faults.firmwareMinor)) {
                error = "--firmware wants MAJOR.MINOR, major 1..8, minor 0..31";
                return false;
            }
            ++i;
        } else if (arg == "--keep") {
            if (!needValue()) return false;
            const int index = parameterIndexByKey(value);
            if (index < 0) {
                error = "--keep wants a parameter key such as InjectDelay";
                return false;
            }
            out.faults.keepCode = parameters[index].code;
            ++i;
        } else if (arg == "--cycle-faults") {
            if (!needValue()) return false;
            if (!parseNumber(value, 1, 3600000, n)) {
                error = "--cycle-faults wants milliseconds 1..3600000";
                return false;
            }
            out.cycleFaultsMs = static_cast<unsigned>(n);
            ++i;
        } else if (arg == "--seed") {
            if (!needValue()) return false;
            if (!parseNumber(value, 0, 0xFFFFFFFFul, n)) {
                error = "--seed wants a number 0..4294967295";
                return false;
            }
            out.seed = static_cast<uint32_t>(n);
            ++i;
        } else if (arg == "--warm") {
            out.startWarm = true;
        } else if (arg == "--learn-outcome") {
            if (!needValue()) return false;
            const std::string v = value;
            if (v == "ok")
                out.learnOutcome = LearnOutcome::success;
            else if (v == "fail")
                out.learnOutcome = LearnOutcome::failed;
            else if (v == "hold")
                out.learnOutcome = LearnOutcome::heldFault;
            else {
                error = "--learn-outcome wants ok, fail or hold";
                return false;
            }
            ++i;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

} // namespace kestos::sim
