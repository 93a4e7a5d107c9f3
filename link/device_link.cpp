#include "link/device_link.h"

#include <cstring>

namespace kestos {

DeviceImage deviceImage;
LinkState linkState;

namespace {

SerialPort* port = nullptr;

const uint8_t statusRequest[4] = {0x65, 0x01, 0x01, 0x67};
const uint8_t readingsRequest[4] = {0x65, 0x02, 0x02, 0x69};
const uint8_t settings1Request[4] = {0x65, 0x03, 0x03, 0x6B};
const uint8_t settings2Request[4] = {0x65, 0x04, 0x04, 0x6D};

// Every transaction goes through these, so that a program without a port installed
// behaves like one whose controller never answers.
void ensureOpen() {
    if (!linkState.portOpen) {
        openPort();
        linkState.portOpen = 1;
    }
}
void purgeTx() {
    if (port) port->purgeTx();
}
void purgeRx() {
    if (port) port->purgeRx();
}
unsigned writeFrame(const uint8_t* frame) {
    linkState.lastByteCount = port ? port->write(frame, 4) : 0;
    return linkState.lastByteCount;
}
unsigned readAnswer(uint8_t* buffer, unsigned count) {
    linkState.lastByteCount = port ? port->read(buffer, count) : 0;
    return linkState.lastByteCount;
}
// A port that opened well and still gave no whole answer: the controller is the cause.
void missedAnswer() {
    if (linkState.downReason == LinkDownReason::none)
        linkState.downReason = LinkDownReason::noAnswer;
}
void dropPort() {
    if (port) port->close();
    linkState.portOpen = 0;
}

bool pollBlock(const uint8_t* request, uint8_t* block, int length) {
    ensureOpen();
    purgeTx();
    writeFrame(request);
    uint8_t answer[settings2Length] = {};
    unsigned got = readAnswer(answer, static_cast<unsigned>(length));
    if (got < static_cast<unsigned>(length)) purgeRx();
    if (answer[0] != frameStart) return false;
    // A short answer is never taken: its missing bytes would read as zeros, and zeros can
    // make the checksum come out right.
    if (got == static_cast<unsigned>(length) &&
        frameChecksum(answer, length - 1) == answer[length - 1]) {
        std::memcpy(block, answer, static_cast<size_t>(length));
        return true;
    }
    dropPort();
    return false;
}

} // namespace

void setSerialPort(SerialPort* p) {
    port = p;
}

SerialPort* serialPort() {
    return port;
}

void resetLink() {
    if (port) port->close();
    const char* name = linkState.portName;
    deviceImage = DeviceImage{};
    linkState = LinkState{};
    linkState.portName = name;
}

uint8_t frameChecksum(const uint8_t* bytes, int count) {
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<uint8_t>(sum & 0xFFu);
}

void openPort() {
    if (port) port->open(linkState.portName);
    switch (port ? port->openFailure() : OpenFailure::none) {
    case OpenFailure::none: linkState.downReason = LinkDownReason::none; break;
    case OpenFailure::missing: linkState.downReason = LinkDownReason::portMissing; break;
    case OpenFailure::busy: linkState.downReason = LinkDownReason::portBusy; break;
    case OpenFailure::setup: linkState.downReason = LinkDownReason::portSetup; break;
    }
}

bool pollStatus() {
    ensureOpen();
    purgeTx();
    purgeRx();
    writeFrame(statusRequest);
    uint8_t answer[statusLength] = {};
    unsigned got = readAnswer(answer, statusLength);
    if (got < statusLength) purgeRx();
    if (answer[0] == frameStart) {
        if (got == statusLength && frameChecksum(answer, 3) == answer[3]) {
            linkState.linkDown = 0;
            linkState.downReason = LinkDownReason::none;
            linkState.failCount = 0;
            linkState.pollInterval = 50;
            std::memcpy(deviceImage.statusAnswer, answer, statusLength);
            return true;
        }
        purgeRx();
        dropPort();
        missedAnswer();
        return false;
    }
    missedAnswer();
    linkState.failCount += 1;
    if (linkState.failCount >= 3) {
        purgeRx();
        purgeTx();
        dropPort();
        linkState.linkDown = 1;
        linkState.failCount -= 1;
        linkState.pollInterval = 500;
        std::memset(deviceImage.readingsBlock, 0, sizeof deviceImage.readingsBlock);
        std::memset(deviceImage.settingsBlock1, 0, sizeof deviceImage.settingsBlock1);
        std::memset(deviceImage.settingsBlock2, 0, sizeof deviceImage.settingsBlock2);
    }
    return false;
}

bool pollReadings() {
    return pollBlock(readingsRequest, deviceImage.readingsBlock, readingsLength);
}
bool pollSettings1() {
    return pollBlock(settings1Request, deviceImage.settingsBlock1, settings1Length);
}
bool pollSettings2() {
    return pollBlock(settings2Request, deviceImage.settingsBlock2, settings2Length);
}

void sendCommand(int code, int value) {
    // A frame the firmware gate holds back has no answer: callers judge by this count, and
    // an earlier transaction's must not stand for it.
    linkState.lastByteCount = 0;
    if (firmwareVersion() != 1) return;
    uint8_t frame[4] = {frameStart, static_cast<uint8_t>(code & 0xFF),
                        static_cast<uint8_t>(value & 0xFF), 0};
    frame[3] = frameChecksum(frame, 3);
    ensureOpen();
    purgeRx();
    purgeTx();
    writeFrame(frame);
    if (port && linkState.commandDelay > 0)
        port->sleepMs(static_cast<unsigned>(linkState.commandDelay));
    // Cleared first: bytes that do not arrive must not keep a previous answer's values,
    // or a dead controller would seem to confirm a second factory reset.
    std::memset(deviceImage.commandAnswer, 0, sizeof deviceImage.commandAnswer);
    readAnswer(deviceImage.commandAnswer, commandAnswerLength);
    purgeRx();
}

int firmwareVersion() {
    uint8_t b = deviceImage.statusAnswer[2];
    linkState.firmwareMajor = (b >> 5) + 1;
    linkState.firmwareMinor = b & 0x1F;
    return linkState.firmwareMajor;
}

void closePort() {
    if (linkState.portOpen && port) port->close();
    linkState.portOpen = 0;
}

bool linkUsable() {
    return !linkState.linkDown && firmwareVersion() == 1;
}

} // namespace kestos
