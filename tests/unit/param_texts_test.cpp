// Two sets in the pages' words: each parameter changed alone from the factory set shows the
// label its page gives it and both values as the page shows them, in English and in Polish.
#include <gtest/gtest.h>

#include <string>

#include "link/params.h"
#include "pages/params/param_texts.h"
#include "shell/language.h"
#include "sim/sim_controller.h"

using namespace kestos;

namespace {

struct Change {
    const char* key;
    uint8_t to;
    const char* english; // the page's label (the key where no page shows the change)
    const char* polish;  // code page 1250, as the language file holds it
    const char* from;    // the factory value, then the changed one, as the page shows them
    const char* shown;
    const char* polishFrom = nullptr; // where Polish shows them otherwise
    const char* polishShown = nullptr;
};

const Change changes[parameterCount] = {
    {"Options", 113, "At min. reducer temperature", "Przy min. temperaturze reduktora", "On", "Off",
     "W\xb3.", "Wy\xb3."},
    {"LambdaType", 16, "Lambda sensor type", "Typ sondy lambda", "0-1 V", "0-5 V -"},
    {"LambdaPoint", 24, "Lambda switching point",
     "Punkt prze\xb3\xb9"
     "czania sondy",
     "0,44", "0,48"},
    {"LambdaDelay", 3, "Lambda control delay", "Op\xf3\x9fnienie regulacji lambda", "0:10", "0:15"},
    {"EmulType", 129, "Emulation type", "Typ emulacji", "Timed", "Sensor", "Czasowa", "Z sondy"},
    {"EmulBJ_TimeHi", 41, "Emulation time Hi", "Czas emulacji Hi", "1,000", "1,025"},
    {"EmulBJ_TimeLo", 21, "Emulation time Lo", "Czas emulacji Lo", "0,500", "0,525"},
    {"EmulDO_TimeHi", 168, "Time Hi correction (1)", "Korekta czasu Hi (1)", "0", "+2"},
    {"EmulDO_TimeLo", 101, "Time Lo correction (2)", "Korekta czasu Lo (2)", "0", "+2"},
    {"InjectDelay", 15, "Injection delay", "Op\xf3\x9fnienie wtrysku", "1,0", "1,5"},
    {"LPGOnTemp", 105, "At min. reducer temperature", "Przy min. temperaturze reduktora", "30",
     "14"},
    {"AttMax", 41, "Att range up (driving)", "Zakres Att w g\xf3r\xea (jazda)", "+40", "+41"},
    {"AttMin", 41, "Att range down (driving)", "Zakres Att w d\xf3\xb3 (jazda)", "-40", "-41"},
    {"AttInit", 129, "Manual initial Att",
     "R\xea"
     "czne ustawienie PWA",
     "128", "129"},
    {"TPSJump", 55, "TPS change threshold", "Pr\xf3g zmiany TPS", "1,0", "1,1"},
    {"AttJump", 11, "Att jump size", "Wielko\x9c\xe6 skoku Att", "10", "11"},
    // The Lo byte alone moves the speed by less than the list's 100 rpm: the bytes show it.
    {"LPGOnRPMLo", 16, "LPGOnRPMLo", "LPGOnRPMLo", "76", "16"},
    {"LPGOnRPMHi", 27, "Switch-over speed",
     "Obroty prze\xb3\xb9"
     "czenia na gaz",
     "2000", "2100"},
    {"IgnitionType", 5, "Ignition type", "Typ zap\xb3onu", "Type 4", "Type 5", "Typ 4", "Typ 5"},
    {"CutOffRPMLo", 252, "Minimum engine speed", "Minimalne obroty", "1500", "1400"},
    {"CutOffRPMHi", 36, "Minimum engine speed", "Minimalne obroty", "1500", "1600"},
    {"CutOffSteps", 22, "Leaning from initial Att",
     "Zubo\xbf"
     "enie mieszanki od PWA",
     "20", "22"},
    {"LPGOffRPMLo", 96, "Upper engine speed limit", "G\xf3rne ograniczenie obrot\xf3w", "6000",
     "6200"},
    {"LPGOffRPMHi", 7, "Upper engine speed limit", "G\xf3rne ograniczenie obrot\xf3w", "6000",
     "7500"},
    {"TPSInert", 7, "TPS dead band", "Martwa strefa TPS", "0,12", "0,16"},
    {"AttMax_BJ", 21, "Att range up (idle)", "Zakres Att w g\xf3r\xea (bieg ja\xb3owy)", "+20",
     "+21"},
    {"AttMin_BJ", 21, "Att range down (idle)", "Zakres Att w d\xf3\xb3 (bieg ja\xb3owy)", "-20",
     "-21"},
};

void factorySet(uint8_t (&values)[parameterCount]) {
    for (int i = 0; i < parameterCount; ++i)
        values[i] = sim::Controller::factoryDefault(parameters[i].code);
}

} // namespace

#ifdef KESTOS_LANG_DIR
TEST(ParamTexts, EveryParameterInThePagesWordsInBothLanguages) {
    for (const char* language : {languageEnglish, languagePolish}) {
        const bool english = std::string(language) == languageEnglish;
        ASSERT_TRUE(
            loadLanguageFrom((std::string(KESTOS_LANG_DIR) + "/KestoS_lang." + language).c_str()));
        for (const Change& c : changes) {
            SCOPED_TRACE(std::string(language) + " " + c.key);
            uint8_t a[parameterCount], b[parameterCount];
            factorySet(a);
            factorySet(b);
            const int index = parameterIndexByKey(c.key);
            ASSERT_NE(a[index], c.to);
            b[index] = c.to;
            ShownRow rows[maxShownRows];
            const int n = shownDifferences(a, b, rows, maxShownRows);
            // A new sensor type also changes what the lambda point list shows.
            ASSERT_EQ(n, std::string(c.key) == "LambdaType" ? 2 : 1);
            EXPECT_EQ(rows[0].parameter, index);
            EXPECT_STREQ(rows[0].name, english ? c.english : c.polish);
            const bool own = !english && c.polishFrom;
            EXPECT_STREQ(rows[0].a, own ? c.polishFrom : c.from);
            EXPECT_STREQ(rows[0].b, own ? c.polishShown : c.shown);
        }
    }
    loadLanguageText("", 0);
}
#endif

TEST(ParamTexts, BitsNoPageShowsAndSpeedPairs) {
    uint8_t a[parameterCount], b[parameterCount];
    factorySet(a);
    factorySet(b);
    ShownRow rows[maxShownRows];
    EXPECT_EQ(shownDifferences(a, b, rows, maxShownRows), 0) << "equal sets";

    const int emulType = parameterIndexByKey("EmulType");
    b[emulType] ^= 0x04; // a bit between the two lists' fields
    ASSERT_EQ(shownDifferences(a, b, rows, maxShownRows), 1);
    EXPECT_STREQ(rows[0].name, "EmulType");
    EXPECT_STREQ(rows[0].a, "128");
    EXPECT_STREQ(rows[0].b, "132");

    // Both bytes of a speed: one row, named by the Lo code.
    factorySet(b);
    b[parameterIndexByKey("LPGOnRPMLo")] = 0x00;
    b[parameterIndexByKey("LPGOnRPMHi")] = 0x19;
    ASSERT_EQ(shownDifferences(a, b, rows, maxShownRows), 1);
    EXPECT_EQ(rows[0].parameter, parameterIndexByKey("LPGOnRPMLo"));

    // Every parameter at once stays within the rows, each parameter said.
    for (int i = 0; i < parameterCount; ++i)
        b[i] = static_cast<uint8_t>(a[i] ^ 0x5A);
    const int n = shownDifferences(a, b, rows, maxShownRows);
    EXPECT_LE(n, maxShownRows);
    bool said[parameterCount] = {};
    for (int r = 0; r < n; ++r)
        said[rows[r].parameter] = true;
    for (int i = 0; i < parameterCount; ++i) {
        if (std::string(parameters[i].key).find("RPMHi") == std::string::npos) {
            EXPECT_TRUE(said[i]) << parameters[i].key;
        }
    }
}
