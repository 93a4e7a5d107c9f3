#include "shell/drive_log.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "kestos_version.h"
#include "link/encodings.h"
#include "link/image_fields.h"
#include "shell/append_format.h"
#include "shell/config_file.h"

namespace kestos {

namespace {

constexpr const char* titleLine = "\"KestoS readings log\"";
constexpr const char* namesLine = "Time\tRPM\tLambda\tTPS\tAtt\tAttInit\tTemperature\tGas\tLPG "
                                  "OFF\tCUT-OFF\tLearning\tLink\tStatus\tReadings";
constexpr const char* unitsLine = "s\trpm\tV\tV\t-\t-\tC\t-\t-\t-\t-\t-\thex\thex";
constexpr int rowFields = 14;

// Header texts stay inside their quotes and on their line.
template <std::size_t size> void copyText(char (&to)[size], std::string_view from) {
    std::size_t n = from.size() < size - 1 ? from.size() : size - 1;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(from[i]);
        to[i] = c < 0x20 || c == '"' || c == 0x7F ? '?' : static_cast<char>(c);
    }
    to[n] = '\0';
}

void appendBlock(std::string& out, const char* name, const uint8_t* bytes, int length, bool has) {
    appendFormat(out, "\"%s: ", name);
    if (!has) out += '-';
    for (int i = 0; has && i < length; ++i)
        appendFormat(out, i ? " %02X" : "%02X", bytes[i]);
    out += "\"\n";
}

std::size_t finish(const std::string& s, char* text, std::size_t capacity) {
    if (capacity == 0) return 0;
    const std::size_t n = s.size() < capacity - 1 ? s.size() : capacity - 1;
    std::memcpy(text, s.data(), n);
    text[n] = '\0';
    return n;
}

void appendCentivolts(std::string& out, int centivolts) {
    const unsigned magnitude =
        static_cast<unsigned>(centivolts < 0 ? -static_cast<long>(centivolts) : centivolts);
    appendFormat(out, "%s%u.%02u", centivolts < 0 ? "-" : "", magnitude / 100, magnitude % 100);
}

void appendRow(std::string& out, const DriveLogRow& r) {
    appendFormat(out, "%u.%03u\t%u\t", static_cast<unsigned>(r.timeMs / 1000),
                 static_cast<unsigned>(r.timeMs % 1000), r.rpm);
    appendCentivolts(out, r.lambdaCentivolts);
    out += '\t';
    appendCentivolts(out, r.tpsCentivolts);
    appendFormat(out, "\t%u\t%u\t%d\t%d\t%d\t%d\t%d\t%d\t", r.att, r.attInit, r.temperature, r.gas,
                 r.lpgOff, r.cutOff, r.learning, r.linkUp);
    for (uint8_t b : r.statusAnswer)
        appendFormat(out, "%02X", b);
    out += '\t';
    for (uint8_t b : r.readingsBlock)
        appendFormat(out, "%02X", b);
    out += '\n';
}

void appendMarker(std::string& out, const DriveLogMarker& m) {
    appendFormat(out, "MARK %03d - %u.%03u s\n", m.number, static_cast<unsigned>(m.timeMs / 1000),
                 static_cast<unsigned>(m.timeMs % 1000));
}

void appendHeader(std::string& out, const DriveLogHeader& h) {
    out += titleLine;
    out += '\n';
    appendFormat(out, "\"Started: %s\"\n\"Program: %s\"\n\"Firmware: %s\"\n\"Port: %s\"\n",
                 h.started, h.program, h.firmware, h.port);
    appendBlock(out, "Readings block", h.readingsBlock, readingsLength, h.hasBlocks);
    appendBlock(out, "Settings block 1", h.settingsBlock1, settings1Length, h.hasBlocks);
    appendBlock(out, "Settings block 2", h.settingsBlock2, settings2Length, h.hasBlocks);
    out += namesLine;
    out += '\n';
    out += unitsLine;
    out += '\n';
}

// ---- reading: every field whole, in the form the writer gives it

bool readNumber(std::string_view s, unsigned long max, unsigned long& value) {
    if (s.empty() || s.size() > 10 || s[0] < '0' || s[0] > '9') return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size() && value <= max;
}

bool readSigned(std::string_view s, long long limit, long long& value) {
    const bool negative = !s.empty() && s[0] == '-';
    unsigned long magnitude = 0;
    if (!readNumber(negative ? s.substr(1) : s, static_cast<unsigned long>(limit), magnitude))
        return false;
    value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return true;
}

// "units.fraction" with exactly `digits` fraction digits, in those units' 10^digits parts.
bool readFixed(std::string_view s, int digits, long long limit, long long& value) {
    const std::size_t dot = s.find('.');
    if (dot == std::string_view::npos || s.size() - dot - 1 != static_cast<std::size_t>(digits))
        return false;
    long long whole = 0;
    unsigned long fraction = 0;
    if (!readSigned(s.substr(0, dot), limit, whole) ||
        !readNumber(s.substr(dot + 1), 999, fraction))
        return false;
    const long long scale = digits == 3 ? 1000 : 100;
    const auto part = static_cast<long long>(fraction);
    value = whole * scale + (s[0] == '-' ? -part : part);
    return s != "-0.00";
}

bool readFlag(std::string_view s, bool& flag) {
    if (s != "0" && s != "1") return false;
    flag = s == "1";
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// `length` bytes as hex digits, `spaced` with one space between bytes.
bool readHex(std::string_view s, uint8_t* bytes, int length, bool spaced) {
    const std::size_t expected =
        static_cast<std::size_t>(length) * 2 + (spaced ? static_cast<std::size_t>(length) - 1 : 0);
    if (s.size() != expected) return false;
    for (int i = 0; i < length; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * (spaced ? 3 : 2);
        const int hi = hexDigit(s[at]), lo = hexDigit(s[at + 1]);
        if (hi < 0 || lo < 0 || (spaced && i > 0 && s[at - 1] != ' ')) return false;
        bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return true;
}

bool readRow(std::string_view line, DriveLogRow& r) {
    std::string_view f[rowFields];
    int n = 0;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        if (n == rowFields) return false;
        f[n++] = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    long long time = 0, lambda = 0, tps = 0, temperature = 0;
    unsigned long rpm = 0, att = 0, attInit = 0;
    if (n != rowFields || f[0].find('-') != std::string_view::npos ||
        !readFixed(f[0], 3, 4000000, time) || !readNumber(f[1], 99999, rpm) ||
        !readFixed(f[2], 2, 99, lambda) || !readFixed(f[3], 2, 99, tps) ||
        !readNumber(f[4], 255, att) || !readNumber(f[5], 255, attInit) ||
        !readSigned(f[6], 999, temperature) || !readFlag(f[7], r.gas) ||
        !readFlag(f[8], r.lpgOff) || !readFlag(f[9], r.cutOff) || !readFlag(f[10], r.learning) ||
        !readFlag(f[11], r.linkUp) || !readHex(f[12], r.statusAnswer, statusLength, false) ||
        !readHex(f[13], r.readingsBlock, readingsLength, false))
        return false;
    r.timeMs = static_cast<uint32_t>(time);
    r.rpm = static_cast<unsigned>(rpm);
    r.lambdaCentivolts = static_cast<int>(lambda);
    r.tpsCentivolts = static_cast<int>(tps);
    r.att = static_cast<unsigned>(att);
    r.attInit = static_cast<unsigned>(attInit);
    r.temperature = static_cast<int>(temperature);
    return true;
}

bool readMarker(std::string_view line, DriveLogMarker& m) {
    constexpr std::string_view head = "MARK ", middle = " - ", tail = " s";
    if (line.substr(0, head.size()) != head || line.size() < head.size() + tail.size())
        return false;
    line.remove_prefix(head.size());
    const std::size_t dash = line.find(middle);
    if (dash == std::string_view::npos || dash < 3 ||
        line.substr(line.size() - tail.size()) != tail)
        return false;
    unsigned long number = 0;
    long long time = 0;
    const std::string_view timeText =
        line.substr(dash + middle.size(), line.size() - tail.size() - dash - middle.size());
    if (!readNumber(line.substr(0, dash), 999999, number) || timeText.find('-') != timeText.npos ||
        !readFixed(timeText, 3, 4000000, time))
        return false;
    m.number = static_cast<int>(number);
    m.timeMs = static_cast<uint32_t>(time);
    return true;
}

// A quoted information line: the known ones fill the header, others are passed over.
bool readInformation(std::string_view line, DriveLogHeader& h, int& blocksSeen) {
    if (line.size() < 2 || line.front() != '"' || line.back() != '"') return false;
    line = line.substr(1, line.size() - 2);
    auto value = [&](std::string_view key, std::string_view& v) {
        if (line.substr(0, key.size()) != key) return false;
        v = line.substr(key.size());
        return true;
    };
    std::string_view v;
    if (value("Started: ", v)) {
        copyText(h.started, v);
    } else if (value("Program: ", v)) {
        copyText(h.program, v);
    } else if (value("Firmware: ", v)) {
        copyText(h.firmware, v);
    } else if (value("Port: ", v)) {
        copyText(h.port, v);
    } else {
        struct Block {
            std::string_view key;
            uint8_t* bytes;
            int length;
        };
        const Block blocks[3] = {{"Readings block: ", h.readingsBlock, readingsLength},
                                 {"Settings block 1: ", h.settingsBlock1, settings1Length},
                                 {"Settings block 2: ", h.settingsBlock2, settings2Length}};
        for (const Block& b : blocks) {
            if (!value(b.key, v)) continue;
            if (v == "-") return true;
            if (!readHex(v, b.bytes, b.length, true)) return false;
            ++blocksSeen;
            return true;
        }
    }
    return true;
}

} // namespace

DriveLogHeader headerFromImage(const char* started, const char* port) {
    DriveLogHeader h;
    copyText(h.started, started);
    copyText(h.program, "KestoS " KESTOS_VERSION_TEXT);
    if (linkState.linkDown) {
        copyText(h.firmware, "-");
    } else {
        firmwareVersion();
        char text[driveLogTextSize];
        std::snprintf(text, sizeof text, "%d.%02d", linkState.firmwareMajor,
                      linkState.firmwareMinor);
        copyText(h.firmware, text);
    }
    copyText(h.port, port ? port : "");
    h.hasBlocks = imageHoldsAnswer();
    if (h.hasBlocks) {
        std::memcpy(h.readingsBlock, deviceImage.readingsBlock, readingsLength);
        std::memcpy(h.settingsBlock1, deviceImage.settingsBlock1, settings1Length);
        std::memcpy(h.settingsBlock2, deviceImage.settingsBlock2, settings2Length);
    }
    return h;
}

DriveLogRow rowFromImage(uint32_t timeMs, bool linkUp) {
    DriveLogRow r;
    r.timeMs = timeMs;
    r.rpm = image::engineSpeed();
    // As the readouts show them: volts to two places, cut rather than rounded.
    const int lambda = image::lambdaCode() * 196, tps = image::tpsCode() * 196;
    r.lambdaCentivolts = lambda / 100;
    r.tpsCentivolts = (image::setting("LambdaType") & 0x0F) == 1 ? (50000 - tps) / 100 : tps / 100;
    r.att = image::att();
    r.attInit = image::attInit();
    r.temperature = tempFromCode(image::reducerTemperatureCode());
    const uint8_t state = image::stateBits();
    r.gas = state & 0x01;
    r.learning = state & 0x02;
    r.lpgOff = state & 0x04;
    r.cutOff = state & 0x08;
    r.linkUp = linkUp;
    std::memcpy(r.statusAnswer, deviceImage.statusAnswer, statusLength);
    std::memcpy(r.readingsBlock, deviceImage.readingsBlock, readingsLength);
    return r;
}

std::size_t formatDriveLogHeader(const DriveLogHeader& header, char* text, std::size_t capacity) {
    std::string s;
    appendHeader(s, header);
    return finish(s, text, capacity);
}

std::size_t formatDriveLogRow(const DriveLogRow& row, char* text, std::size_t capacity) {
    std::string s;
    s.reserve(128);
    appendRow(s, row);
    return finish(s, text, capacity);
}

std::size_t formatDriveLogMarker(const DriveLogMarker& marker, char* text, std::size_t capacity) {
    std::string s;
    appendMarker(s, marker);
    return finish(s, text, capacity);
}

std::string formatDriveLog(const DriveLog& log) {
    std::string s;
    appendHeader(s, log.header);
    // Rows and markers interleave by time; a marker goes before the rows that come after it.
    std::size_t m = 0;
    for (const DriveLogRow& r : log.rows) {
        while (m < log.markers.size() && log.markers[m].timeMs < r.timeMs)
            appendMarker(s, log.markers[m++]);
        appendRow(s, r);
    }
    while (m < log.markers.size())
        appendMarker(s, log.markers[m++]);
    return s;
}

bool readDriveLogText(const char* text, std::size_t length, DriveLog& log, std::string& error) {
    log = DriveLog{};
    enum class Part { title, information, units, rows } part = Part::title;
    int blocksSeen = 0;
    int lineNumber = 0;
    std::string_view rest(text, length);
    auto fail = [&](const char* what) {
        error = "line " + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    while (!rest.empty()) {
        ++lineNumber;
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos) {
            // The writer ends every line: this one was cut off by a crash or a pulled cable.
            if (part != Part::rows) return fail("the log ends inside its header");
            log.lastLineCut = true;
            break;
        }
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        switch (part) {
        case Part::title:
            if (line != titleLine) {
                error = "not a KestoS readings log";
                return false;
            }
            part = Part::information;
            break;
        case Part::information:
            if (line == namesLine) {
                part = Part::units;
            } else if (!readInformation(line, log.header, blocksSeen)) {
                return fail("an information line that cannot be read");
            }
            break;
        case Part::units:
            if (line != unitsLine) return fail("the units line is not the one of this format");
            part = Part::rows;
            break;
        case Part::rows: {
            DriveLogMarker marker;
            DriveLogRow row;
            if (line.substr(0, 4) == "MARK") {
                if (!readMarker(line, marker)) return fail("a marker line that cannot be read");
                log.markers.push_back(marker);
            } else if (readRow(line, row)) {
                log.rows.push_back(row);
            } else {
                return fail("a row that cannot be read");
            }
            break;
        }
        }
    }
    if (part == Part::title) {
        error = "not a KestoS readings log";
        return false;
    }
    if (part != Part::rows) return fail("the log ends inside its header");
    log.header.hasBlocks = blocksSeen == 3;
    if (!log.header.hasBlocks) {
        std::memset(log.header.readingsBlock, 0, readingsLength);
        std::memset(log.header.settingsBlock1, 0, settings1Length);
        std::memset(log.header.settingsBlock2, 0, settings2Length);
    }
    return true;
}

bool readDriveLog(std::FILE* file, DriveLog& log, std::string& error) {
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    if (std::ferror(file)) {
        error = "the file cannot be read";
        return false;
    }
    return readDriveLogText(text.data(), text.size(), log, error);
}

} // namespace kestos
