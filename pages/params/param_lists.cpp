#include "pages/params/param_lists.h"

#include <cstdio>

#include "link/device_link.h"
#include "link/encodings.h"
#include "res/resource.h"
#include "shell/language.h"

namespace kestos {

ParamsState paramsState;

void resetParamsState() {
    paramsState = ParamsState{};
}

namespace {

constexpr ListItems numbers(int count, long first, long step, long divisor, const char* format,
                            const char* positiveFormat = nullptr) {
    return {ItemSource::numbers, count, {first, step, divisor, format, positiveFormat}, 0, nullptr};
}
constexpr ListItems slots(int firstSlot, int count) {
    return {ItemSource::slots, count, {}, firstSlot, nullptr};
}

constexpr ParamList linearList(int id, ParamKey key, ListItems items, int scale, int offset,
                               Quantity quantity = Quantity::byte,
                               const SpeedParameter* speed = nullptr) {
    return {id, key, items, ListRule::linear, quantity, scale, offset, nullptr, nullptr, speed};
}
// An engine speed in steps of 100 rpm from the parameter's base to its top, written as a period.
constexpr ParamList speedList(int id, ParamKey key, const SpeedParameter& speed) {
    const int base = static_cast<int>(speed.baseRpm);
    const int count = static_cast<int>(speed.maxRpm - speed.baseRpm) / 100 + 1;
    return linearList(id, key, numbers(count, base, 100, 0, "%ld"), 100, base, Quantity::rpm,
                      &speed);
}
constexpr ParamList fieldList(int id, ParamKey key, ListItems items,
                              uint8_t (*compose)(uint8_t, int), int (*decompose)(uint8_t),
                              ListRule rule = ListRule::field) {
    return {id, key, items, rule, Quantity::byte, 1, 0, compose, decompose, nullptr};
}

const char* const lambdaTypeTexts[6] = {"0-1 V",   "0-5 V -", "0-5 V +",
                                        "5-0 V -", "5-0 V +", "0,8-1,6 V"};

uint8_t optionsWithSwitchMode(uint8_t current, int position) {
    return replaceBits(current, options::switchOnRise, position ? options::switchOnRise : 0);
}
int switchModePosition(uint8_t v) {
    return (v & options::switchOnRise) ? 1 : 0;
}

// 0,025 .. 6,375 s in steps of 25 ms, shared by both emulation times.
constexpr ListItems emulTimeItems = numbers(255, 25, 25, 1000, "%ld,%03ld");
constexpr ListItems attItems(const char* format) {
    return numbers(256, 0, 1, 0, format);
}

// The lambda point list of the Configuration page by sensor type: 0-1 V, 0,8-1,6 V, and the 0-5 V
// kinds.
constexpr ListItems lambdaPointType0 = numbers(11, 40, 2, 0, "0,%ld");
constexpr ListItems lambdaPointType5 = numbers(16, 0, 2, 0, "1,%02ld");
constexpr ListItems lambdaPointOther = numbers(51, 200, 2, 100, "%ld:%02ld");

constexpr NibbleList nibble(int id, ParamKey key, int shift, long first) {
    return {id, key, shift, numbers(16, first, 2, 0, "%ld", "+%ld")};
}

} // namespace

const ParamList configLists[configListCount] = {
    fieldList(IDC_CFG_LAMBDA_TYPE, "LambdaType", {ItemSource::fixed, 6, {}, 0, lambdaTypeTexts},
              lambdaTypeWithSensor, lambdaSensorType, ListRule::sensorType),
    {IDC_CFG_LAMBDA_POINT, "LambdaPoint", lambdaPointType0, ListRule::lambdaPoint, Quantity::byte,
     1, 0, nullptr, nullptr, nullptr},
    linearList(IDC_CFG_LAMBDA_DELAY, "LambdaDelay", numbers(255, 5, 5, 60, "%ld:%02ld"), 1, 1),
    fieldList(IDC_CFG_EMUL_TYPE, "EmulType", slots(61, 3), emulTypeWithLow, emulTypeLow),
    linearList(IDC_CFG_EMUL_BJ_TIME_HI, "EmulBJ_TimeHi", emulTimeItems, 1, 1),
    linearList(IDC_CFG_EMUL_BJ_TIME_LO, "EmulBJ_TimeLo", emulTimeItems, 1, 1),
    linearList(IDC_CFG_IGNITION_TYPE, "IgnitionType", slots(64, 18), 1, 1),
    speedList(IDC_CFG_LPG_ON_RPM, "LPGOnRPMLo", lpgOnSpeed),
    fieldList(IDC_CFG_SWITCH_MODE, "Options", slots(82, 2), optionsWithSwitchMode,
              switchModePosition),
    fieldList(IDC_CFG_TPS_TYPE, "LambdaType", slots(84, 6), lambdaTypeWithCodePosition,
              lambdaCodePosition),
    linearList(IDC_CFG_TPS_INERT, "TPSInert", numbers(19, 4, 2, 100, "%ld,%02ld"), 1, 1),
    linearList(IDC_CFG_INJECT_DELAY, "InjectDelay", numbers(50, 1, 1, 10, "%ld,%ld"), 1, 1),
    fieldList(IDC_CFG_EXTRA_MODE, "Options", slots(181, 3), optionsWithExtraMode,
              extraModePosition),
};

const ParamList optionsLists[optionsListCount] = {
    linearList(IDC_OPT_ATT_INIT, "AttInit", attItems("%ld"), 1, 0),
    linearList(IDC_OPT_ATT_MAX_BJ, "AttMax_BJ", attItems("+%ld"), 1, 0),
    linearList(IDC_OPT_ATT_MIN_BJ, "AttMin_BJ", attItems("-%ld"), 1, 0),
    linearList(IDC_OPT_ATT_MAX, "AttMax", attItems("+%ld"), 1, 0),
    linearList(IDC_OPT_ATT_MIN, "AttMin", attItems("-%ld"), 1, 0),
    linearList(IDC_OPT_ATT_JUMP, "AttJump", attItems("%ld"), 1, 0),
    linearList(IDC_OPT_TPS_JUMP, "TPSJump", numbers(51, 0, 1, 10, "%ld,%ld"), 5, 0),
    speedList(IDC_OPT_CUTOFF_RPM, "CutOffRPMLo", cutOffSpeed),
    linearList(IDC_OPT_CUTOFF_STEPS, "CutOffSteps", numbers(50, 2, 2, 0, "%ld"), 2, 2),
    speedList(IDC_OPT_LPG_OFF_RPM, "LPGOffRPMLo", lpgOffSpeed),
    linearList(IDC_OPT_LPG_ON_TEMP, "LPGOnTemp", numbers(26, 10, 2, 0, "%ld"), 2, 10,
               Quantity::celsius),
    fieldList(IDC_OPT_EMUL_TYPE_HI, "EmulType", slots(129, 3), emulTypeWithHigh, emulTypeHigh),
};

const OptionCheck optionChecks[optionChecksCount] = {
    {IDC_OPT_ATT_INIT_CHECK,
     options::attInitHidden,
     true,
     {IDC_OPT_ATT_INIT, IDC_OPT_ATT_INIT_UNIT},
     5},
    {IDC_OPT_JUMP_CHECK,
     options::jumps,
     false,
     {IDC_OPT_ATT_JUMP, IDC_OPT_TPS_JUMP, IDC_OPT_ATT_JUMP_LABEL, IDC_OPT_TPS_JUMP_LABEL,
      IDC_OPT_ATT_JUMP_UNIT, IDC_OPT_TPS_JUMP_UNIT},
     2},
    {IDC_OPT_CUTOFF_CHECK,
     options::cutOff,
     false,
     {IDC_OPT_CUTOFF_RPM, IDC_OPT_CUTOFF_STEPS, IDC_OPT_CUTOFF_RPM_LABEL,
      IDC_OPT_CUTOFF_STEPS_LABEL, IDC_OPT_CUTOFF_RPM_UNIT, IDC_OPT_CUTOFF_STEPS_UNIT},
     2},
    {IDC_OPT_LPG_OFF_CHECK,
     options::lpgOffSpeed,
     false,
     {IDC_OPT_LPG_OFF_RPM, IDC_OPT_LPG_OFF_RPM_UNIT},
     1},
    {IDC_OPT_LPG_ON_TEMP_CHECK,
     options::lpgOnTemp,
     false,
     {IDC_OPT_LPG_ON_TEMP, IDC_OPT_LPG_ON_TEMP_UNIT},
     2},
};

// Item i of each list shows 2i minus a constant: -12..+18, -10..+20, -20..+10, -16..+14.
const NibbleList nibbleLists[nibbleListCount] = {
    nibble(IDC_EMU_DO_HI_LOW, "EmulDO_TimeHi", 0, -12),
    nibble(IDC_EMU_DO_HI_HIGH, "EmulDO_TimeHi", 4, -10),
    nibble(IDC_EMU_DO_LO_LOW, "EmulDO_TimeLo", 0, -20),
    nibble(IDC_EMU_DO_LO_HIGH, "EmulDO_TimeLo", 4, -16),
};

const LabelSlot configLabels[configLabelCount] = {
    {IDC_CFG_GROUP1, 35},
    {IDC_CFG_GROUP2, 36},
    {IDC_CFG_GROUP3, 37},
    {IDC_CFG_GROUP4, 38},
    {IDC_CFG_GROUP5, 39},
    {IDC_CFG_LAMBDA_TYPE_LABEL, 40},
    {IDC_CFG_LAMBDA_POINT_LABEL, 41},
    {IDC_CFG_LAMBDA_DELAY_LABEL, 42},
    {IDC_CFG_EMUL_TYPE_LABEL, 43},
    {IDC_CFG_EMUL_BJ_TIME_HI_LABEL, 44},
    {IDC_CFG_EMUL_BJ_TIME_LO_LABEL, 45},
    {IDC_CFG_IGNITION_TYPE_LABEL, 46},
    {IDC_CFG_LPG_ON_RPM_LABEL, 47},
    {IDC_CFG_SWITCH_MODE_LABEL, 48},
    {IDC_CFG_TPS_TYPE_LABEL, 49},
    {IDC_CFG_TPS_INERT_LABEL, 50},
    {IDC_CFG_INJECT_DELAY_LABEL, 51},
    {IDC_CFG_EXTRA_MODE_LABEL, 52},
    {IDC_CFG_LAMBDA_POINT_UNIT, 53},
    {IDC_CFG_LAMBDA_DELAY_UNIT, 54},
    {IDC_CFG_EMUL_BJ_TIME_HI_UNIT, 55},
    {IDC_CFG_EMUL_BJ_TIME_LO_UNIT, 56},
    {IDC_CFG_LPG_ON_RPM_UNIT, 57},
    {IDC_CFG_TPS_INERT_UNIT, 58},
    {IDC_CFG_INJECT_DELAY_UNIT, 59},
};

const LabelSlot optionsLabels[optionsLabelCount] = {
    {IDC_OPT_GROUP1, 92},
    {IDC_OPT_GROUP2, 93},
    {IDC_OPT_GROUP3, 94},
    {IDC_OPT_GROUP4, 95},
    {IDC_OPT_GROUP5, 96},
    {IDC_OPT_EMULATION, 97},
    {IDC_OPT_ATT_INIT_CHECK, 104},
    {IDC_OPT_ATT_MIN_BJ_LABEL, 105},
    {IDC_OPT_ATT_MAX_BJ_LABEL, 106},
    {IDC_OPT_ATT_MIN_LABEL, 107},
    {IDC_OPT_ATT_MAX_LABEL, 108},
    {IDC_OPT_JUMP_CHECK, 109},
    {IDC_OPT_ATT_JUMP_LABEL, 110},
    {IDC_OPT_TPS_JUMP_LABEL, 111},
    {IDC_OPT_CUTOFF_CHECK, 112},
    {IDC_OPT_CUTOFF_RPM_LABEL, 113},
    {IDC_OPT_CUTOFF_STEPS_LABEL, 114},
    {IDC_OPT_LPG_OFF_CHECK, 115},
    {IDC_OPT_LPG_ON_TEMP_CHECK, 116},
    {IDC_OPT_EMUL_TYPE_HI_LABEL, 117},
    {IDC_OPT_ATT_INIT_UNIT, 118},
    {IDC_OPT_ATT_MIN_BJ_UNIT, 119},
    {IDC_OPT_ATT_MAX_BJ_UNIT, 120},
    {IDC_OPT_ATT_MIN_UNIT, 121},
    {IDC_OPT_ATT_MAX_UNIT, 122},
    {IDC_OPT_ATT_JUMP_UNIT, 123},
    {IDC_OPT_TPS_JUMP_UNIT, 124},
    {IDC_OPT_CUTOFF_RPM_UNIT, 125},
    {IDC_OPT_CUTOFF_STEPS_UNIT, 126},
    {IDC_OPT_LPG_OFF_RPM_UNIT, 127},
    {IDC_OPT_LPG_ON_TEMP_UNIT, 128},
};

const LabelSlot emulationLabels[emulationLabelCount] = {
    {IDC_EMU_DO_HI_LOW_LABEL, 99},
    {IDC_EMU_DO_HI_HIGH_LABEL, 100},
    {IDC_EMU_DO_LO_LOW_LABEL, 101},
    {IDC_EMU_DO_LO_HIGH_LABEL, 102},
    {1 /* IDOK */, 103},
};

const int emulTimeControls[7] = {IDC_CFG_EMUL_BJ_TIME_HI,
                                 IDC_CFG_EMUL_BJ_TIME_LO,
                                 IDC_CFG_EMUL_BJ_TIME_HI_LABEL,
                                 IDC_CFG_EMUL_BJ_TIME_LO_LABEL,
                                 IDC_CFG_EMUL_BJ_TIME_HI_UNIT,
                                 IDC_CFG_EMUL_BJ_TIME_LO_UNIT,
                                 0};
const int tpsInertControls[4] = {IDC_CFG_TPS_INERT, IDC_CFG_TPS_INERT_LABEL, IDC_CFG_TPS_INERT_UNIT,
                                 0};

bool emulTimesEnabled() {
    return emulTypeLow(parameterValue(parameterByKey("EmulType"))) == 0;
}

bool tpsInertEnabled() {
    return (parameterValue(parameterByKey("LambdaType")) & 0x02) == 0;
}

int lambdaPointOffset(int sensorType) {
    if (sensorType == 0) return 20;
    if (sensorType == 5) return 50;
    return 100;
}

const ListItems& lambdaPointItems(int sensorType) {
    if (sensorType == 0) return lambdaPointType0;
    if (sensorType == 5) return lambdaPointType5;
    return lambdaPointOther;
}

const ListItems& currentItems(const ParamList& list) {
    if (list.rule == ListRule::lambdaPoint) return lambdaPointItems(paramsState.shownLambdaType);
    return list.items;
}

const char* itemText(const ListItems& items, int index, char* buffer, std::size_t size) {
    if (index < 0 || index >= items.count) return "";
    switch (items.source) {
    case ItemSource::slots: return slotText(items.firstSlot + index);
    case ItemSource::fixed: return items.texts[index];
    case ItemSource::numbers: break;
    }
    const NumberItems& n = items.numbers;
    const long v = n.first + n.step * index;
    const char* format = (n.positiveFormat && v > 0) ? n.positiveFormat : n.format;
    if (n.divisor)
        std::snprintf(buffer, size, format, v / n.divisor, v % n.divisor);
    else
        std::snprintf(buffer, size, format, v);
    return buffer;
}

namespace {

int linearOffset(const ParamList& list) {
    return list.rule == ListRule::lambdaPoint ? lambdaPointOffset(paramsState.shownLambdaType)
                                              : list.offset;
}

} // namespace

void writeListPosition(const ParamList& list, int position) {
    // A list reports -1 when nothing is selected: there is nothing to write then.
    if (position < 0 || position >= currentItems(list).count) return;
    const Parameter& p = parameterByKey(list.key);
    switch (list.rule) {
    case ListRule::field: sendCommand(p.code, list.compose(parameterValue(p), position)); return;
    case ListRule::sensorType:
        sendCommand(p.code, list.compose(parameterValue(p), position));
        sendCommand(parameterByKey("LambdaPoint").code, lambdaPointDefault(position));
        return;
    case ListRule::linear:
    case ListRule::lambdaPoint: break;
    }
    const int quantity = position * list.scale + linearOffset(list);
    switch (list.quantity) {
    case Quantity::byte: sendCommand(p.code, quantity); return;
    case Quantity::celsius: sendCommand(p.code, codeFromTemp(quantity)); return;
    case Quantity::rpm: sendSpeed(*list.speed, static_cast<unsigned>(quantity)); return;
    }
}

long quantityInSet(const ParamList& list, const uint8_t values[parameterCount]) {
    const uint8_t v = values[list.key.index];
    switch (list.quantity) {
    case Quantity::rpm:
        return rpmFromPeriod(values[parameterIndexByCode(list.speed->loCode + 1)],
                             values[parameterIndexByCode(list.speed->loCode)]);
    case Quantity::celsius: return tempFromCode(v);
    case Quantity::byte: break;
    }
    return v;
}

int positionInSet(const ParamList& list, const uint8_t values[parameterCount], int sensorType) {
    const uint8_t v = values[list.key.index];
    if (list.rule == ListRule::field || list.rule == ListRule::sensorType) return list.decompose(v);
    const long quantity = quantityInSet(list, values);
    const int offset =
        list.rule == ListRule::lambdaPoint ? lambdaPointOffset(sensorType) : list.offset;
    if (quantity < offset) return 0;
    return static_cast<int>((quantity - offset) / list.scale);
}

int readBackPosition(const ParamList& list) {
    uint8_t values[parameterCount];
    for (int i = 0; i < parameterCount; ++i)
        values[i] = parameterValue(parameters[i]);
    return positionInSet(list, values, paramsState.shownLambdaType);
}

int selectionFor(const ParamList& list) {
    const int position = readBackPosition(list);
    return position < currentItems(list).count ? position : -1;
}

bool checkStateOf(const OptionCheck& check, uint8_t options) {
    return ((options & check.bit) != 0) != check.inverted;
}

bool checkStateFromImage(const OptionCheck& check) {
    return checkStateOf(check, parameterValue(parameterByKey("Options")));
}

void writeCheck(const OptionCheck& check, bool checked) {
    const Parameter& p = parameterByKey("Options");
    const bool set = checked != check.inverted;
    const uint8_t value = replaceBits(parameterValue(p), check.bit, set ? check.bit : 0);
    sendCommand(p.code, value);
    // Checking the inverted box clears its bit in the image at once, before any read-back.
    if (check.inverted && checked) setParameterValue(p, value);
}

void writeNibblePosition(const NibbleList& list, int position) {
    if (position < 0 || position > 15) return;
    const Parameter& p = parameterByKey(list.key);
    const uint8_t mask = static_cast<uint8_t>(0x0F << list.shift);
    const uint8_t nibble = static_cast<uint8_t>((15 - position) << list.shift);
    sendCommand(p.code, replaceBits(parameterValue(p), mask, nibble));
}

int nibblePositionOf(const NibbleList& list, uint8_t value) {
    return 15 - ((value >> list.shift) & 0x0F);
}

int nibblePosition(const NibbleList& list) {
    return nibblePositionOf(list, parameterValue(parameterByKey(list.key)));
}

namespace {

template <class T, int N> const T* findById(const T (&table)[N], int id) {
    for (const T& entry : table)
        if (entry.id == id) return &entry;
    return nullptr;
}

} // namespace

const ParamList* configListById(int id) {
    return findById(configLists, id);
}
const ParamList* optionsListById(int id) {
    return findById(optionsLists, id);
}
const OptionCheck* optionCheckById(int id) {
    return findById(optionChecks, id);
}
const NibbleList* nibbleListById(int id) {
    return findById(nibbleLists, id);
}

} // namespace kestos
