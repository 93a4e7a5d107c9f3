#include "link/params.h"

#include <cstring>

#include "link/device_link.h"
#include "link/encodings.h"

namespace kestos {

int parameterIndexByKey(const char* key) {
    for (int i = 0; i < parameterCount; ++i)
        if (std::strcmp(parameters[i].key, key) == 0) return i;
    return -1;
}

int parameterIndexByCode(int code) {
    for (int i = 0; i < parameterCount; ++i)
        if (parameters[i].code == code) return i;
    return -1;
}

uint8_t parameterValue(const Parameter& p) {
    switch (p.block) {
    case Block::readings: return deviceImage.readingsBlock[p.byte];
    case Block::settings1: return deviceImage.settingsBlock1[p.byte];
    case Block::settings2: return deviceImage.settingsBlock2[p.byte];
    }
    return 0;
}

void setParameterValue(const Parameter& p, uint8_t value) {
    switch (p.block) {
    case Block::readings: deviceImage.readingsBlock[p.byte] = value; return;
    case Block::settings1: deviceImage.settingsBlock1[p.byte] = value; return;
    case Block::settings2: deviceImage.settingsBlock2[p.byte] = value; return;
    }
}

void sendLearnAction() {
    sendCommand(actionCode, actionLearn);
}
void sendFactoryResetAction() {
    sendCommand(actionCode, actionFactoryReset);
}

uint8_t replaceBits(uint8_t current, uint8_t mask, uint8_t bits) {
    return static_cast<uint8_t>((current & ~mask) | (bits & mask));
}

uint8_t optionsWithExtraMode(uint8_t current, int position) {
    constexpr uint8_t mask = options::extraMode1 | options::extraMode2;
    if (position == 0) return replaceBits(current, mask, options::extraMode1);
    if (position == 1) return replaceBits(current, mask, options::extraMode2);
    return replaceBits(current, mask, 0);
}

int extraModePosition(uint8_t v) {
    if (v & options::extraMode1) return 0;
    if (v & options::extraMode2) return 1;
    return 2;
}

int emulTypeLow(uint8_t v) {
    return v & 0x03;
}
int emulTypeHigh(uint8_t v) {
    return (v >> 4) & 0x03;
}
uint8_t emulTypeWithLow(uint8_t current, int position) {
    return replaceBits(current, 0x03, static_cast<uint8_t>(position & 0x03));
}
uint8_t emulTypeWithHigh(uint8_t current, int position) {
    return replaceBits(current, 0x30, static_cast<uint8_t>((position & 0x03) << 4));
}

int lambdaSensorType(uint8_t v) {
    return v >> 4;
}
uint8_t lambdaTypeWithSensor(uint8_t current, int sensorType) {
    return replaceBits(current, 0xF0, static_cast<uint8_t>((sensorType & 0x0F) << 4));
}

namespace {
const uint8_t lambdaCodes[6] = {0, 1, 2, 6, 7, 8};
}

int lambdaCodePosition(uint8_t v) {
    int code = v & 0x0F;
    if (code <= 1) return code;
    if (code <= 5) return 2;
    if (code == 6) return 3;
    if (code == 7) return 4;
    return 5;
}

uint8_t lambdaTypeWithCodePosition(uint8_t current, int position) {
    if (position < 0 || position > 5) position = 0;
    return replaceBits(current, 0x0F, lambdaCodes[position]);
}

uint8_t lambdaPointDefault(int sensorType) {
    if (sensorType == 0) return 22;
    if (sensorType == 5) return 60;
    return 127;
}

unsigned speedValue(const SpeedParameter& s) {
    const Parameter& lo = parameters[parameterIndexByCode(s.loCode)];
    const Parameter& hi = parameters[parameterIndexByCode(s.loCode + 1)];
    return rpmFromPeriod(parameterValue(hi), parameterValue(lo));
}

int speedListPosition(const SpeedParameter& s, unsigned rpm) {
    if (rpm < s.baseRpm) return 0;
    return static_cast<int>((rpm - s.baseRpm) / 100);
}

void sendSpeed(const SpeedParameter& s, unsigned rpm) {
    unsigned period = periodFromRpm(rpm);
    sendCommand(s.loCode, lowByte(period));
    sendCommand(s.loCode + 1, highByte(period));
}

} // namespace kestos
