// The controller's one-byte parameters: codes, keys, where each sits in the device image,
// and the helpers that build the bytes the pages write.
#pragma once

#include <cstdint>
#include <string_view>

namespace kestos {

enum class Block : uint8_t { readings, settings1, settings2 };

struct Parameter {
    uint8_t code;    // command code sent as the first payload byte
    const char* key; // configuration-file key, without the '='
    Block block;     // which stored answer holds the current value
    uint8_t byte;    // index into that answer (byte 0 is the leading 'e')
};

constexpr int parameterCount = 27;
// Codes 5..29 in key order, then 31 and 32; code 30 is the action and has no key.
inline constexpr Parameter parameters[parameterCount] = {
    {5, "Options", Block::settings1, 1},        {6, "LambdaType", Block::settings1, 2},
    {7, "LambdaPoint", Block::settings1, 3},    {8, "LambdaDelay", Block::settings1, 4},
    {9, "EmulType", Block::settings1, 5},       {10, "EmulBJ_TimeHi", Block::settings1, 6},
    {11, "EmulBJ_TimeLo", Block::settings1, 7}, {12, "EmulDO_TimeHi", Block::settings1, 8},
    {13, "EmulDO_TimeLo", Block::settings1, 9}, {14, "InjectDelay", Block::settings1, 10},
    {15, "LPGOnTemp", Block::settings1, 11},    {16, "AttMax", Block::settings2, 1},
    {17, "AttMin", Block::settings2, 2},        {18, "AttInit", Block::readings, 4},
    {19, "TPSJump", Block::settings2, 3},       {20, "AttJump", Block::settings2, 4},
    {21, "LPGOnRPMLo", Block::settings2, 5},    {22, "LPGOnRPMHi", Block::settings2, 6},
    {23, "IgnitionType", Block::settings2, 7},  {24, "CutOffRPMLo", Block::settings2, 8},
    {25, "CutOffRPMHi", Block::settings2, 9},   {26, "CutOffSteps", Block::settings2, 10},
    {27, "LPGOffRPMLo", Block::settings2, 11},  {28, "LPGOffRPMHi", Block::settings2, 12},
    {29, "TPSInert", Block::settings1, 12},     {31, "AttMax_BJ", Block::settings2, 13},
    {32, "AttMin_BJ", Block::settings2, 14},
};

// Index into `parameters` of a key or a code, -1 when unknown.
int parameterIndexByKey(const char* key);
int parameterIndexByCode(int code);

// The current value of a parameter as last read from the controller.
uint8_t parameterValue(const Parameter& p);
// Overwrites that value in the device image (until the next poll brings the controller's).
void setParameterValue(const Parameter& p, uint8_t value);
// A key the program itself names, looked up when it is compiled: a key that is not in the
// table does not build. (Keys read from files go through `parameterIndexByKey`.)
struct ParamKey {
    int index;
    consteval ParamKey(const char* key) : index(knownIndex(key)) {}

  private:
    static consteval int knownIndex(const char* key) {
        for (int i = 0; i < parameterCount; ++i)
            if (std::string_view(parameters[i].key) == key) return i;
        throw "not a parameter key"; // not a constant expression: the build stops here
    }
};
inline const Parameter& parameterByKey(ParamKey key) {
    return parameters[key.index];
}

// Action code and its two values.
constexpr int actionCode = 30;
constexpr int actionLearn = 50;
constexpr int actionFactoryReset = 51;
void sendLearnAction();
void sendFactoryResetAction();

// Options (code 5) bits.
namespace options {
constexpr uint8_t extraMode1 = 0x01;    // extra mode list: "Mode 1"
constexpr uint8_t lpgOnTemp = 0x02;     // shows the switch-on temperature list
constexpr uint8_t attInitHidden = 0x04; // clear: the AttInit list is shown
constexpr uint8_t jumps = 0x08;         // AttJump and TPSJump lists shown
constexpr uint8_t switchOnRise = 0x10;  // switch-over mode list: "RPM rise"
constexpr uint8_t cutOff = 0x20;        // cut-off speed and steps shown
constexpr uint8_t lpgOffSpeed = 0x40;   // switch-off speed shown
constexpr uint8_t extraMode2 = 0x80;    // extra mode list: "Mode 2"
} // namespace options

// The Options byte with only the bits of `mask` replaced by those of `bits`.
uint8_t replaceBits(uint8_t current, uint8_t mask, uint8_t bits);
// The Configuration page's extra mode list: position 0 sets bit 0, 1 sets bit 7, 2 clears both.
uint8_t optionsWithExtraMode(uint8_t current, int position);
int extraModePosition(uint8_t options);

// EmulType (code 9): bits 0..1 and 4..5 are two list positions; the other bits are kept.
int emulTypeLow(uint8_t v);
int emulTypeHigh(uint8_t v);
uint8_t emulTypeWithLow(uint8_t current, int position);
uint8_t emulTypeWithHigh(uint8_t current, int position);

// LambdaType (code 6): high nibble the sensor type 0..5, low nibble a code chosen by position.
int lambdaSensorType(uint8_t v);
uint8_t lambdaTypeWithSensor(uint8_t current, int sensorType);
int lambdaCodePosition(uint8_t v);
uint8_t lambdaTypeWithCodePosition(uint8_t current, int position);
// The LambdaPoint default sent after the sensor type changes.
uint8_t lambdaPointDefault(int sensorType);

// Engine-speed parameters: the Lo code and the list base in rpm.
struct SpeedParameter {
    uint8_t loCode;   // the Hi code is loCode + 1
    unsigned baseRpm; // list position 0
    unsigned maxRpm;
};
constexpr SpeedParameter lpgOnSpeed{21, 1500, 3500};
constexpr SpeedParameter cutOffSpeed{24, 1000, 2500};
constexpr SpeedParameter lpgOffSpeed{27, 4000, 8000};

// The speed stored in the device image for an engine-speed parameter.
unsigned speedValue(const SpeedParameter& s);
// (rpm - base) / 100, or 0 below the base.
int speedListPosition(const SpeedParameter& s, unsigned rpm);
// Sends the period of `rpm` as the Lo and Hi codes.
void sendSpeed(const SpeedParameter& s, unsigned rpm);

} // namespace kestos
