// Readings logs (.msl): what the controller reported during a drive, as tab-separated text
// that the common engine-log viewers open. Quoted lines of information, a line of column
// names, a line of units, then one row per status and readings answer; "MARK nnn" lines are
// the fitter's markers. Dot decimals, LF line ends.
//
//   "KestoS readings log"
//   "Started: 2026-12-09 15:31:58"
//   "Program: KestoS 1.04"
//   "Firmware: 1.03"            ("-" while the controller did not answer)
//   "Port: COM1:"
//   "Readings block: 65 ..."    (the three blocks as last read; "-" when the image lacks them)
//   "Settings block 1: 65 ..."
//   "Settings block 2: 65 ..."
//   Time  RPM  Lambda  TPS  Att  AttInit  Temperature  Gas  LPG OFF  CUT-OFF  Learning  Link
//   Status  Readings
//   s  rpm  V  V  -  -  C  -  -  -  -  -  hex  hex
//   12.345  2000  0.45  1.20  128  128  62  1  0  0  0  1  65xxxxxx  65xxxxxxxxxxxxxxxxxxxx
//   MARK 001 - 12.400 s
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "link/device_link.h"

namespace kestos {

constexpr const char* driveLogExtension = ".msl";
constexpr std::size_t driveLogTextSize = 64;

struct DriveLogHeader {
    char started[20] = {}; // "YYYY-MM-DD HH:MM:SS", local time
    char program[driveLogTextSize] = {};
    char firmware[driveLogTextSize] = {}; // "1.03", or "-"
    char port[driveLogTextSize] = {};
    bool hasBlocks = false; // the three blocks below hold the controller's answers
    uint8_t readingsBlock[readingsLength] = {};
    uint8_t settingsBlock1[settings1Length] = {};
    uint8_t settingsBlock2[settings2Length] = {};
};

// One row: the values the Readings page shows, and the answers they came from.
struct DriveLogRow {
    uint32_t timeMs = 0; // from the start of the recording
    unsigned rpm = 0;
    int lambdaCentivolts = 0;
    int tpsCentivolts = 0;
    unsigned att = 0, attInit = 0;
    int temperature = 0; // degrees C
    bool gas = false, lpgOff = false, cutOff = false, learning = false;
    bool linkUp = false;
    uint8_t statusAnswer[statusLength] = {};
    uint8_t readingsBlock[readingsLength] = {};
    bool operator==(const DriveLogRow&) const = default;
};

struct DriveLogMarker {
    int number = 0;
    uint32_t timeMs = 0;
    bool operator==(const DriveLogMarker&) const = default;
};

// A whole log as read back; rows and markers each in file order.
struct DriveLog {
    DriveLogHeader header;
    std::vector<DriveLogRow> rows;
    std::vector<DriveLogMarker> markers;
    bool lastLineCut = false; // the file ended inside a line (a crash), which was left out
};

// The header from what the program knows now: the image, the link and the port's name.
DriveLogHeader headerFromImage(const char* started, const char* port);
// A row from the device image as it is now.
DriveLogRow rowFromImage(uint32_t timeMs, bool linkUp);

// Each returns the text's length; the text is cut (and terminated) at `capacity`.
std::size_t formatDriveLogHeader(const DriveLogHeader& header, char* text, std::size_t capacity);
std::size_t formatDriveLogRow(const DriveLogRow& row, char* text, std::size_t capacity);
std::size_t formatDriveLogMarker(const DriveLogMarker& marker, char* text, std::size_t capacity);
// The whole log, as the writer would have written it.
std::string formatDriveLog(const DriveLog& log);

// Reads what the writer writes, a last line cut off included. False, with a message for the
// fitter in `error` (the line number where it applies), for anything else.
bool readDriveLog(std::FILE* file, DriveLog& log, std::string& error);
bool readDriveLogText(const char* text, std::size_t length, DriveLog& log, std::string& error);

} // namespace kestos
