// The device image by name: which byte of which stored answer holds each live value, so the
// pages' readouts show their wiring. Bytes are numbered as stored, the leading 'e' being 0.
// Settings are read through their parameter keys (checked when compiled).
#pragma once

#include <cstdint>

#include "link/device_link.h"
#include "link/encodings.h"
#include "link/params.h"

namespace kestos::image {

// readingsBlock, byte by byte.
inline uint8_t tpsCode() { // TPS input, volts = code x 196 / 10000
    return deviceImage.readingsBlock[1];
}
inline uint8_t lambdaCode() { // lambda input, volts as the TPS
    return deviceImage.readingsBlock[2];
}
inline uint8_t att() { // the mixture correction 0..255
    return deviceImage.readingsBlock[3];
}
inline uint8_t attInit() { // the Att marker, the AttInit parameter
    return parameterValue(parameterByKey("AttInit"));
}
inline uint8_t enginePeriodLow() {
    return deviceImage.readingsBlock[5];
}
inline uint8_t enginePeriodHigh() { // 255: the engine stands
    return deviceImage.readingsBlock[6];
}
// Bits 0..2 the lambda slider's colour code, bit 3 the engine running, bit 4 the TPS switch,
// bits 4..7 the lit TPS lamp.
inline uint8_t indicatorBits() {
    return deviceImage.readingsBlock[7];
}
// Bit 0 gas, bit 1 learning, bit 2 LPG OFF, bit 3 CUT-OFF; the rest is the status area's.
inline uint8_t stateBits() {
    return deviceImage.readingsBlock[8];
}
inline uint8_t reducerTemperatureCode() {
    return deviceImage.readingsBlock[9];
}

// The engine speed in rpm, 0 while the engine stands.
inline unsigned engineSpeed() {
    return enginePeriodHigh() == 255 ? 0 : rpmFromPeriod(enginePeriodHigh(), enginePeriodLow());
}

// A setting as last read.
inline uint8_t setting(ParamKey key) {
    return parameterValue(parameterByKey(key));
}

} // namespace kestos::image
