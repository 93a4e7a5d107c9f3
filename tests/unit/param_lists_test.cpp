// The parameter pages' lists, check boxes and nibble lists: what each shows, what a choice
// sends, and where the controller's byte puts the selection.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "link/device_link.h"
#include "link/encodings.h"
#include "link/params.h"
#include "pages/params/param_lists.h"
#include "res/resource.h"
#include "shell/language.h"
#include "sim/sim_port.h"
#include "tests/unit/scripted_port.h"
#include "tests/unit/slot_names.h"

using namespace kestos;

namespace {

using Frames = std::vector<std::pair<int, int>>; // (code, value) of each command frame

class ParamLists : public ::testing::Test {
  protected:
    ScriptedPort port;
    void SetUp() override {
        setSerialPort(&port);
        resetLink();
        resetParamsState();
        loadSlotNames("s");
    }
    void TearDown() override {
        setSerialPort(nullptr);
        resetParamsState();
    }
    Frames sent() const {
        Frames f;
        for (const Bytes& w : port.written)
            f.emplace_back(w[1], w[2]);
        return f;
    }
    // The cases' tables name keys at run time.
    static const Parameter& byKey(const char* key) {
        const int i = parameterIndexByKey(key);
        EXPECT_GE(i, 0) << key;
        return parameters[i < 0 ? 0 : i];
    }
    static void set(const char* key, uint8_t v) { setParameterValue(byKey(key), v); }
    static void setSpeed(const Parameter& lo, unsigned rpm) {
        const unsigned period = periodFromRpm(rpm);
        setParameterValue(lo, static_cast<uint8_t>(lowByte(period)));
        setParameterValue(parameters[parameterIndexByCode(lo.code + 1)],
                          static_cast<uint8_t>(highByte(period)));
    }
};

const ParamList& config(int id) {
    return *configListById(id);
}
const ParamList& opts(int id) {
    return *optionsListById(id);
}

std::string text(const ListItems& items, int i) {
    char buffer[64];
    return itemText(items, i, buffer, sizeof buffer);
}

} // namespace

TEST_F(ParamLists, EveryListShowsItsItems) {
    const struct {
        const ListItems& items;
        int count;
        const char* first;
        const char* last;
    } cases[] = {
        {config(IDC_CFG_LAMBDA_TYPE).items, 6, "0-1 V", "0,8-1,6 V"},
        {lambdaPointItems(0), 11, "0,40", "0,60"},
        {lambdaPointItems(5), 16, "1,00", "1,30"},
        {lambdaPointItems(2), 51, "2:00", "3:00"},
        {lambdaPointItems(9), 51, "2:00", "3:00"},
        {config(IDC_CFG_LAMBDA_DELAY).items, 255, "0:05", "21:15"},
        {config(IDC_CFG_EMUL_TYPE).items, 3, "s61", "s63"},
        {config(IDC_CFG_EMUL_BJ_TIME_HI).items, 255, "0,025", "6,375"},
        {config(IDC_CFG_EMUL_BJ_TIME_LO).items, 255, "0,025", "6,375"},
        {config(IDC_CFG_IGNITION_TYPE).items, 18, "s64", "s81"},
        {config(IDC_CFG_LPG_ON_RPM).items, 21, "1500", "3500"},
        {config(IDC_CFG_SWITCH_MODE).items, 2, "s82", "s83"},
        {config(IDC_CFG_TPS_TYPE).items, 6, "s84", "s89"},
        {config(IDC_CFG_TPS_INERT).items, 19, "0,04", "0,40"},
        {config(IDC_CFG_INJECT_DELAY).items, 50, "0,1", "5,0"},
        {config(IDC_CFG_EXTRA_MODE).items, 3, "s181", "s183"},
        {opts(IDC_OPT_ATT_INIT).items, 256, "0", "255"},
        {opts(IDC_OPT_ATT_MIN_BJ).items, 256, "-0", "-255"},
        {opts(IDC_OPT_ATT_MAX_BJ).items, 256, "+0", "+255"},
        {opts(IDC_OPT_ATT_MIN).items, 256, "-0", "-255"},
        {opts(IDC_OPT_ATT_MAX).items, 256, "+0", "+255"},
        {opts(IDC_OPT_ATT_JUMP).items, 256, "0", "255"},
        {opts(IDC_OPT_TPS_JUMP).items, 51, "0,0", "5,0"},
        {opts(IDC_OPT_CUTOFF_RPM).items, 16, "1000", "2500"},
        {opts(IDC_OPT_CUTOFF_STEPS).items, 50, "2", "100"},
        {opts(IDC_OPT_LPG_OFF_RPM).items, 41, "4000", "8000"},
        {opts(IDC_OPT_LPG_ON_TEMP).items, 26, "10", "60"},
        {opts(IDC_OPT_EMUL_TYPE_HI).items, 3, "s129", "s131"},
        {nibbleListById(IDC_EMU_DO_HI_LOW)->items, 16, "-12", "+18"},
        {nibbleListById(IDC_EMU_DO_HI_HIGH)->items, 16, "-10", "+20"},
        {nibbleListById(IDC_EMU_DO_LO_LOW)->items, 16, "-20", "+10"},
        {nibbleListById(IDC_EMU_DO_LO_HIGH)->items, 16, "-16", "+14"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(c.items.count, c.count);
        EXPECT_EQ(text(c.items, 0), c.first);
        EXPECT_EQ(text(c.items, c.count - 1), c.last);
        EXPECT_EQ(text(c.items, c.count), "");
    }
    // Items in between, where a format could go wrong.
    EXPECT_EQ(text(lambdaPointItems(2), 49), "2:98");
    EXPECT_EQ(text(config(IDC_CFG_LAMBDA_DELAY).items, 11), "1:00");
    EXPECT_EQ(text(config(IDC_CFG_EMUL_BJ_TIME_HI).items, 39), "1,000");
    EXPECT_EQ(text(nibbleListById(IDC_EMU_DO_HI_LOW)->items, 6), "0");
    EXPECT_EQ(text(nibbleListById(IDC_EMU_DO_HI_LOW)->items, 7), "+2");
}

TEST_F(ParamLists, ChoosingAnEntrySendsItsFrames) {
    const struct {
        const ParamList& list;
        const char* key; // image byte set before the choice, when not null
        uint8_t current;
        int shownType;
        int position;
        Frames expected;
    } cases[] = {
        {config(IDC_CFG_LAMBDA_TYPE), "LambdaType", 0x21, 0, 5, {{6, 0x51}, {7, 60}}},
        {config(IDC_CFG_LAMBDA_TYPE), "LambdaType", 0x5F, 0, 0, {{6, 0x0F}, {7, 22}}},
        {config(IDC_CFG_LAMBDA_POINT), nullptr, 0, 2, 3, {{7, 103}}},
        {config(IDC_CFG_LAMBDA_POINT), nullptr, 0, 0, 3, {{7, 23}}},
        {config(IDC_CFG_LAMBDA_POINT), nullptr, 0, 5, 15, {{7, 65}}},
        {config(IDC_CFG_LAMBDA_DELAY), nullptr, 0, 0, 0, {{8, 1}}},
        {config(IDC_CFG_EMUL_TYPE), "EmulType", 0xF1, 0, 2, {{9, 0xF2}}},
        {config(IDC_CFG_EMUL_BJ_TIME_HI), nullptr, 0, 0, 254, {{10, 255}}},
        {config(IDC_CFG_IGNITION_TYPE), nullptr, 0, 0, 17, {{23, 18}}},
        {config(IDC_CFG_LPG_ON_RPM), nullptr, 0, 0, 0, {{21, 0x10}, {22, 0x27}}},
        {config(IDC_CFG_SWITCH_MODE), "Options", 0x01, 0, 1, {{5, 0x11}}},
        {config(IDC_CFG_SWITCH_MODE), "Options", 0xFF, 0, 0, {{5, 0xEF}}},
        {config(IDC_CFG_TPS_TYPE), "LambdaType", 0x52, 0, 3, {{6, 0x56}}},
        {config(IDC_CFG_TPS_INERT), nullptr, 0, 0, 0, {{29, 1}}},
        {config(IDC_CFG_INJECT_DELAY), nullptr, 0, 0, 49, {{14, 50}}},
        {config(IDC_CFG_EXTRA_MODE), "Options", 0x13, 0, 1, {{5, 0x92}}},
        {opts(IDC_OPT_ATT_INIT), nullptr, 0, 0, 200, {{18, 200}}},
        {opts(IDC_OPT_ATT_MAX_BJ), nullptr, 0, 0, 7, {{31, 7}}},
        {opts(IDC_OPT_ATT_MIN_BJ), nullptr, 0, 0, 9, {{32, 9}}},
        {opts(IDC_OPT_TPS_JUMP), nullptr, 0, 0, 50, {{19, 250}}},
        {opts(IDC_OPT_CUTOFF_RPM), nullptr, 0, 0, 15, {{24, 0x70}, {25, 0x17}}},
        {opts(IDC_OPT_CUTOFF_STEPS), nullptr, 0, 0, 0, {{26, 2}}},
        {opts(IDC_OPT_LPG_OFF_RPM), nullptr, 0, 0, 40, {{27, 0x53}, {28, 0x07}}},
        {opts(IDC_OPT_LPG_ON_TEMP), nullptr, 0, 0, 25, {{15, 208}}},
        {opts(IDC_OPT_LPG_ON_TEMP), nullptr, 0, 0, 0, {{15, 94}}},
        {opts(IDC_OPT_EMUL_TYPE_HI), "EmulType", 0x03, 0, 2, {{9, 0x23}}},
        // Nothing selected, or a position past the list: nothing is sent.
        {config(IDC_CFG_INJECT_DELAY), nullptr, 0, 0, -1, {}},
        {config(IDC_CFG_LAMBDA_POINT), nullptr, 0, 0, 11, {}},
        {opts(IDC_OPT_ATT_INIT), nullptr, 0, 0, 256, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.list.id << " position " << c.position);
        port.written.clear();
        if (c.key) set(c.key, c.current);
        paramsState.shownLambdaType = c.shownType;
        writeListPosition(c.list, c.position);
        EXPECT_EQ(sent(), c.expected);
    }
}

TEST_F(ParamLists, TheControllersByteSelectsAPosition) {
    const struct {
        const ParamList& list;
        const char* key;
        uint8_t value;
        int shownType;
        int expected; // -1: no selection
    } cases[] = {
        {config(IDC_CFG_LAMBDA_TYPE), "LambdaType", 0x5F, 0, 5},
        {config(IDC_CFG_LAMBDA_TYPE), "LambdaType", 0x6F, 0, -1},
        {config(IDC_CFG_LAMBDA_POINT), "LambdaPoint", 19, 0, 0},
        {config(IDC_CFG_LAMBDA_POINT), "LambdaPoint", 30, 0, 10},
        {config(IDC_CFG_LAMBDA_POINT), "LambdaPoint", 31, 0, -1},
        {config(IDC_CFG_LAMBDA_POINT), "LambdaPoint", 65, 5, 15},
        {config(IDC_CFG_LAMBDA_POINT), "LambdaPoint", 66, 5, -1},
        {config(IDC_CFG_LAMBDA_POINT), "LambdaPoint", 150, 2, 50},
        {config(IDC_CFG_LAMBDA_POINT), "LambdaPoint", 151, 2, -1},
        {config(IDC_CFG_LAMBDA_DELAY), "LambdaDelay", 0, 0, 0},
        {config(IDC_CFG_LAMBDA_DELAY), "LambdaDelay", 255, 0, 254},
        {config(IDC_CFG_EMUL_TYPE), "EmulType", 0x32, 0, 2},
        {config(IDC_CFG_EMUL_TYPE), "EmulType", 0x03, 0, -1},
        {config(IDC_CFG_IGNITION_TYPE), "IgnitionType", 18, 0, 17},
        {config(IDC_CFG_IGNITION_TYPE), "IgnitionType", 19, 0, -1},
        {config(IDC_CFG_SWITCH_MODE), "Options", 0xEF, 0, 0},
        {config(IDC_CFG_TPS_TYPE), "LambdaType", 0x05, 0, 2},
        {config(IDC_CFG_TPS_TYPE), "LambdaType", 0x0F, 0, 5},
        {config(IDC_CFG_TPS_INERT), "TPSInert", 20, 0, -1},
        {config(IDC_CFG_EXTRA_MODE), "Options", 0x81, 0, 0},
        {config(IDC_CFG_EXTRA_MODE), "Options", 0x80, 0, 1},
        {opts(IDC_OPT_TPS_JUMP), "TPSJump", 251, 0, 50},
        {opts(IDC_OPT_TPS_JUMP), "TPSJump", 255, 0, -1},
        {opts(IDC_OPT_CUTOFF_STEPS), "CutOffSteps", 7, 0, 2},
        {opts(IDC_OPT_CUTOFF_STEPS), "CutOffSteps", 1, 0, 0},
        {opts(IDC_OPT_CUTOFF_STEPS), "CutOffSteps", 102, 0, -1},
        {opts(IDC_OPT_LPG_ON_TEMP), "LPGOnTemp", 208, 0, 25},
        {opts(IDC_OPT_LPG_ON_TEMP), "LPGOnTemp", 0, 0, 0},
        {opts(IDC_OPT_LPG_ON_TEMP), "LPGOnTemp", 245, 0, -1},
        {opts(IDC_OPT_EMUL_TYPE_HI), "EmulType", 0x23, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.list.id << " byte " << int(c.value));
        set(c.key, c.value);
        paramsState.shownLambdaType = c.shownType;
        EXPECT_EQ(selectionFor(c.list), c.expected);
    }
    const struct {
        const ParamList& list;
        unsigned rpm;
        int expected;
    } speeds[] = {
        {config(IDC_CFG_LPG_ON_RPM), 1500, 0},  {config(IDC_CFG_LPG_ON_RPM), 3500, 20},
        {config(IDC_CFG_LPG_ON_RPM), 3600, -1}, {config(IDC_CFG_LPG_ON_RPM), 1000, 0},
        {opts(IDC_OPT_CUTOFF_RPM), 2500, 15},   {opts(IDC_OPT_CUTOFF_RPM), 2600, -1},
        {opts(IDC_OPT_LPG_OFF_RPM), 4000, 0},   {opts(IDC_OPT_LPG_OFF_RPM), 6000, 20},
        {opts(IDC_OPT_LPG_OFF_RPM), 8100, -1},
    };
    for (const auto& s : speeds) {
        SCOPED_TRACE(testing::Message() << s.list.id << " at " << s.rpm);
        setSpeed(parameterByKey(s.list.key), s.rpm);
        EXPECT_EQ(selectionFor(s.list), s.expected);
    }
    setSpeed(parameterByKey("LPGOnRPMLo"), 0); // a zero period reads as 0 rpm
    EXPECT_EQ(selectionFor(config(IDC_CFG_LPG_ON_RPM)), 0);
}

TEST_F(ParamLists, CheckBoxesWriteTheirBitOfOptions) {
    const OptionCheck& attInit = *optionCheckById(IDC_OPT_ATT_INIT_CHECK);
    const OptionCheck& jumps = *optionCheckById(IDC_OPT_JUMP_CHECK);
    const struct {
        const OptionCheck& check;
        uint8_t options;
        bool checked;
        int sent;
        uint8_t imageAfter;
    } cases[] = {
        {jumps, 0x01, true, 0x09, 0x01},
        {jumps, 0x09, false, 0x01, 0x09},
        {attInit, 0x05, true, 0x01, 0x01}, // cleared in the image at once
        {attInit, 0x01, false, 0x05, 0x01},
        {*optionCheckById(IDC_OPT_CUTOFF_CHECK), 0x00, true, 0x20, 0x00},
        {*optionCheckById(IDC_OPT_LPG_OFF_CHECK), 0xFF, false, 0xBF, 0xFF},
        {*optionCheckById(IDC_OPT_LPG_ON_TEMP_CHECK), 0x80, true, 0x82, 0x80},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.check.id << " from " << int(c.options));
        port.written.clear();
        set("Options", c.options);
        writeCheck(c.check, c.checked);
        EXPECT_EQ(sent(), (Frames{{5, c.sent}}));
        EXPECT_EQ(parameterValue(parameterByKey("Options")), c.imageAfter);
    }
    set("Options", 0x04);
    EXPECT_FALSE(checkStateFromImage(attInit));
    EXPECT_FALSE(checkStateFromImage(jumps));
    set("Options", 0x08);
    EXPECT_TRUE(checkStateFromImage(attInit));
    EXPECT_TRUE(checkStateFromImage(jumps));
}

TEST_F(ParamLists, NibbleListsWriteOneNibbleAndReadBackFifteenMinusIt) {
    const struct {
        int id;
        uint8_t current;
        int position;
        Frames expected;
        int readBack; // of `current`
    } cases[] = {
        {IDC_EMU_DO_HI_LOW, 0x3A, 0, {{12, 0x3F}}, 5},
        {IDC_EMU_DO_HI_HIGH, 0x3A, 15, {{12, 0x0A}}, 12},
        {IDC_EMU_DO_LO_LOW, 0x12, 10, {{13, 0x15}}, 13},
        {IDC_EMU_DO_LO_HIGH, 0x12, 8, {{13, 0x72}}, 14},
        {IDC_EMU_DO_LO_HIGH, 0x12, -1, {}, 14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const NibbleList& list = *nibbleListById(c.id);
        port.written.clear();
        set("EmulDO_TimeHi", c.current);
        set("EmulDO_TimeLo", c.current);
        EXPECT_EQ(nibblePosition(list), c.readBack);
        writeNibblePosition(list, c.position);
        EXPECT_EQ(sent(), c.expected);
    }
}
