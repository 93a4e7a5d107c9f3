// The device link: the device image, the link state and the five transactions.
#pragma once

#include <cstdint>

#include "link/serial_port.h"

namespace kestos {

constexpr int statusLength = 4;
constexpr int readingsLength = 11;
constexpr int settings1Length = 14;
constexpr int settings2Length = 16;
constexpr int commandAnswerLength = 3;
constexpr uint8_t frameStart = 0x65; // 'e'

// Every answer is kept whole: byte 0 is the 'e', the last byte the checksum.
struct DeviceImage {
    uint8_t statusAnswer[statusLength];
    uint8_t readingsBlock[readingsLength];
    uint8_t settingsBlock1[settings1Length];
    uint8_t settingsBlock2[settings2Length];
    uint8_t commandAnswer[commandAnswerLength];
};

// Why the link is down, for the fitter: each has its own remedy.
enum class LinkDownReason : uint8_t {
    none,        // the link is up, or nothing has been tried yet
    noAnswer,    // the port opened, the controller does not answer (cable, ignition)
    portMissing, // no such port (adapter unplugged, wrong number)
    portBusy,    // another program holds the port
    portSetup,   // the port opened but would not take the line settings
};

struct LinkState {
    int linkDown = 1;
    int failCount = 0;
    int pollInterval = 50;
    int commandDelay = 0;
    unsigned lastByteCount = 0;
    int portOpen = 0;
    const char* portName = "COM1:";
    int firmwareMajor = 0;
    int firmwareMinor = 0;
    int pollPaused = 0;
    int armedInterval = 0;
    // Set where the port is opened and where an answer is missed; read by every page and
    // kestos-cli while `linkDown` is set.
    LinkDownReason downReason = LinkDownReason::none;
};

extern DeviceImage deviceImage;
extern LinkState linkState;

// The port the transactions use; the program installs its platform's port at start.
void setSerialPort(SerialPort* port);
SerialPort* serialPort();

// Back to the start state (image zero, link down), closing the port. For start-up and tests.
void resetLink();

uint8_t frameChecksum(const uint8_t* bytes, int count);

void openPort();
// Each true when the controller's whole, correct answer was taken into the image.
bool pollStatus();
bool pollReadings();
bool pollSettings1();
bool pollSettings2();
void sendCommand(int code, int value);
int firmwareVersion();
void closePort();

// True when the pages may run block polls: link up and firmware major 1.
bool linkUsable();

} // namespace kestos
