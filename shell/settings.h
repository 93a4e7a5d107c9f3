// The program settings file KestoS.ini: the COM port and the language, kept between runs.
#pragma once

#include <cstddef>
#include <cstdio>

#include "link/port_names.h"

namespace kestos {

constexpr char settingsFileName[] = "KestoS.ini";
constexpr int defaultPortNumber = 1;

struct SettingsState {
    int portNumber = 0; // 1..4 once the file has been read: CommPort=, the last of COM1..COM4
    int comNumber = 0;  // the port in use: portNumber, or the one a fourth line names (1..255)
};

extern SettingsState settingsState;

// Back to the value at load. For start-up and tests.
void resetSettingsState();

// 1..4 stay, anything else is port 1.
constexpr int validPortNumber(int n) {
    return n >= 1 && n <= 4 ? n : defaultPortNumber;
}

// "[dir/]KestoS.ini" with the platform's separator; false when it does not fit.
bool settingsFilePath(char* out, std::size_t outSize, const char* dir = nullptr);

struct SettingsReadResult {
    int portNumber; // 1..4
    bool created;   // the file did not open and the defaults were used
    bool written;   // when created: the defaults reached the file
};

// "COM1:".."COM4:" for 1..4, "COM1:" otherwise.
const char* portNameFor(int portNumber);

// Reads the file by position (section word; key word and a decimal number; key word and the
// language word; where there is one, a key word and a port name such as COM7), sets
// `portNumber`, `comNumber` and `languageCode`. A file that does not open is created
// with the defaults, which are used for this run whether or not the write succeeded.
SettingsReadResult readSettings(const char* dir = nullptr);
// The reading rules on an open file: sets `portNumber` and `languageCode`.
void readSettingsFrom(std::FILE* f);

// Replaces the file with the three lines from `portNumber` and `languageCode`, and a fourth
// `CommPortName= COMn` when the port in use is above 4; CR LF ended on every platform. False when
// the file could not be written; nothing else is touched.
bool writeSettings(const char* dir = nullptr);

} // namespace kestos
