#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "shell/language.h"
#include "shell/settings.h"

using namespace kestos;

namespace {

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        resetLanguageState();
        resetSettingsState();
        std::random_device rd;
        dir_ = std::filesystem::temp_directory_path() /
               ("kestos_ini_" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
        resetLanguageState();
        resetSettingsState();
    }

    std::string dir() const { return dir_.string(); }
    std::filesystem::path file() const { return dir_ / "KestoS.ini"; }

    void put(const std::string& bytes) {
        std::ofstream out(file(), std::ios::binary);
        out << bytes;
    }
    std::string contents() const {
        std::ifstream in(file(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    SettingsReadResult read() { return readSettings(dir().c_str()); }
    std::string code() const { return languageState.languageCode; }

    std::filesystem::path dir_;
};

const std::string defaults = "[Ustawienia]\r\nCommPort= 1\r\nLanguage= pol\r\n";

} // namespace

TEST_F(SettingsFile, FirstStartCreatesTheFileWithTheDefaults) {
    SettingsReadResult r = read();
    EXPECT_TRUE(r.created);
    EXPECT_TRUE(r.written);
    EXPECT_EQ(r.portNumber, 1);
    EXPECT_EQ(settingsState.portNumber, 1);
    EXPECT_EQ(code(), "pol");
    EXPECT_EQ(contents(), defaults);
    // Read back as any later start would.
    resetLanguageState();
    resetSettingsState();
    r = read();
    EXPECT_FALSE(r.created);
    EXPECT_EQ(r.portNumber, 1);
    EXPECT_EQ(code(), "pol");
}

TEST_F(SettingsFile, PortLineWithLanguageChangeWritesTheSamePortBack) {
    const std::string original = "[Ustawienia]\r\nCommPort= 3\r\nLanguage= pol\r\n";
    put(original);
    read();
    setLanguageCode("ang");
    ASSERT_TRUE(writeSettings(dir().c_str()));
    EXPECT_EQ(contents(), "[Ustawienia]\r\nCommPort= 3\r\nLanguage= ang\r\n");
}

TEST_F(SettingsFile, PortOutsideOneToFourIsComOneUntilTheNextWrite) {
    const std::string original = "[Ustawienia]\r\nCommPort= 7\r\nLanguage= pol\r\n";
    put(original);
    SettingsReadResult r = read();
    EXPECT_EQ(r.portNumber, 1);
    EXPECT_STREQ(portNameFor(r.portNumber), "COM1:");
    EXPECT_EQ(contents(), original);
    ASSERT_TRUE(writeSettings(dir().c_str()));
    EXPECT_EQ(contents(), defaults);
}

// Whatever the file says, reading it never writes it.
TEST_F(SettingsFile, WordsAreTakenByPosition) {
    const std::string longKey(200, 'K');
    const struct {
        const char* name;
        std::string text;
        int port;
        const char* code;
    } cases[] = {
        {"CRLF", "[Ustawienia]\r\nCommPort= 3\r\nLanguage= ang\r\n", 3, "ang"},
        {"foreign code kept", "[Ustawienia]\r\nCommPort= 2\r\nLanguage= deu\r\n", 2, "deu"},
        {"empty file", "", 1, ""},
        {"LF only", "[Ustawienia]\nCommPort= 4\nLanguage= ang\n", 4, "ang"},
        {"keys not compared", "[X]\nFoo= 2\nBar= ang", 2, "ang"},
        {"tabs and blank lines", "\t[Ustawienia]\n\n CommPort=\t\t4 \n\nLanguage=\tpol", 4, "pol"},
        {"digits then text", "[Ustawienia]\r\nCommPort= 2x\r\nLanguage= ang\r\n", 2, "Language="},
        {"sign alone", "[Ustawienia]\r\nCommPort= -\r\nLanguage= ang\r\n", 1, "ang"},
        {"negative", "[Ustawienia]\r\nCommPort= -3\r\nLanguage= ang\r\n", 1, "ang"},
        {"plus sign", "[Ustawienia]\r\nCommPort= +2\r\nLanguage= ang\r\n", 2, "ang"},
        {"huge number", "[Ustawienia]\r\nCommPort= 4294967297\r\nLanguage= ang\r\n", 1, "ang"},
        {"zero", "[Ustawienia]\r\nCommPort= 0\r\nLanguage= ang\r\n", 1, "ang"},
        {"ends after port", "[Ustawienia]\r\nCommPort= 2\r\n", 2, ""},
        {"ends after key", "[Ustawienia]\r\nCommPort= 2\r\nLanguage=", 2, ""},
        {"port without space", "[Ustawienia]\r\nCommPort=3\r\nLanguage= ang\r\n", 1, "ang"},
        // The key word and the value are one word, so the language read meets the end.
        {"language without space", "[Ustawienia]\r\nCommPort= 2\r\nLanguage=ang\r\n", 2, ""},
        {"long key words", longKey + "\r\n" + longKey + " 3\r\n" + longKey + " ang\r\n", 3, "ang"},
    };
    for (const auto& c : cases) {
        resetLanguageState();
        resetSettingsState();
        put(c.text);
        SettingsReadResult r = read();
        EXPECT_FALSE(r.created) << c.name;
        EXPECT_EQ(r.portNumber, c.port) << c.name;
        EXPECT_EQ(settingsState.portNumber, c.port) << c.name;
        EXPECT_EQ(code(), c.code) << c.name;
        EXPECT_EQ(contents(), c.text) << c.name;
    }
}

TEST_F(SettingsFile, LongLanguageWordIsCutTo63) {
    std::string word;
    for (int i = 0; i < 100; ++i)
        word += static_cast<char>('a' + i % 26);
    put("[Ustawienia]\r\nCommPort= 4\r\nLanguage= " + word + "\r\n");
    SettingsReadResult r = read();
    EXPECT_EQ(r.portNumber, 4);
    EXPECT_EQ(code(), word.substr(0, 63));
    ASSERT_TRUE(writeSettings(dir().c_str()));
    EXPECT_EQ(contents(),
              "[Ustawienia]\r\nCommPort= 4\r\nLanguage= " + word.substr(0, 63) + "\r\n");
}

TEST_F(SettingsFile, WriteUsesCrLfOnEveryPlatform) {
    settingsState.portNumber = 2;
    setLanguageCode("ang");
    ASSERT_TRUE(writeSettings(dir().c_str()));
    EXPECT_EQ(contents(), "[Ustawienia]\r\nCommPort= 2\r\nLanguage= ang\r\n");
    // Replaces, never appends.
    settingsState.portNumber = 4;
    ASSERT_TRUE(writeSettings(dir().c_str()));
    EXPECT_EQ(contents(), "[Ustawienia]\r\nCommPort= 4\r\nLanguage= ang\r\n");
}

TEST_F(SettingsFile, UnwritableLocationHarmsNothing) {
    const std::string missing = (dir_ / "no_such_dir").string();
    settingsState.portNumber = 3;
    setLanguageCode("ang");
    EXPECT_FALSE(writeSettings(missing.c_str()));
    EXPECT_EQ(settingsState.portNumber, 3);
    EXPECT_EQ(code(), "ang");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "no_such_dir"));

    // A first start there still runs with the defaults.
    resetLanguageState();
    resetSettingsState();
    SettingsReadResult r = readSettings(missing.c_str());
    EXPECT_TRUE(r.created);
    EXPECT_FALSE(r.written);
    EXPECT_EQ(r.portNumber, 1);
    EXPECT_EQ(code(), "pol");
}

TEST_F(SettingsFile, TooLongDirectoryIsRefused) {
    std::string longDir(600, 'd');
    char path[64];
    EXPECT_FALSE(settingsFilePath(path, sizeof path, longDir.c_str()));
    EXPECT_FALSE(writeSettings(longDir.c_str()));
}

TEST(SettingsPort, OneToFourNameTheirPortAndAnyOtherNumberIsComOne) {
    for (int n : {-1, 0, 1, 2, 3, 4, 5, 7, 100}) {
        const int valid = n >= 1 && n <= 4 ? n : 1;
        EXPECT_EQ(validPortNumber(n), valid) << n;
        std::string name = "COM";
        name += static_cast<char>('0' + valid);
        name += ':';
        EXPECT_EQ(portNameFor(n), name) << n;
    }
}

TEST(SettingsPort, FilePathUsesThePlatformSeparator) {
    char path[64];
    ASSERT_TRUE(settingsFilePath(path, sizeof path));
    EXPECT_STREQ(path, "KestoS.ini");
    ASSERT_TRUE(settingsFilePath(path, sizeof path, "d"));
#ifdef _WIN32
    EXPECT_STREQ(path, "d\\KestoS.ini");
#else
    EXPECT_STREQ(path, "d/KestoS.ini");
#endif
}

// A port above COM4 is a fourth line; CommPort= keeps the last of COM1..COM4, so a reader of
// the three lines still reads a valid file.
TEST_F(SettingsFile, APortAboveFourIsAFourthLine) {
    const struct {
        const char* name;
        std::string text;
        int comNumber;
    } cases[] = {
        {"three lines", defaults, 1},
        {"COM7", defaults + "CommPortName= COM7\r\n", 7},
        {"COM12", "[Ustawienia]\r\nCommPort= 3\r\nLanguage= ang\r\nCommPortName= COM12\r\n", 12},
        {"not a port", defaults + "CommPortName= LPT1\r\n", 1},
        {"out of range", defaults + "CommPortName= COM256\r\n", 1},
        {"no value", defaults + "CommPortName=\r\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSettingsState();
        put(c.text);
        read();
        EXPECT_EQ(settingsState.comNumber, c.comNumber);
    }
    settingsState.portNumber = 3;
    settingsState.comNumber = 12;
    ASSERT_TRUE(writeSettings(dir().c_str()));
    EXPECT_EQ(contents(),
              "[Ustawienia]\r\nCommPort= 3\r\nLanguage= pol\r\nCommPortName= COM12\r\n");
    settingsState.comNumber = 3;
    ASSERT_TRUE(writeSettings(dir().c_str()));
    EXPECT_EQ(contents(), "[Ustawienia]\r\nCommPort= 3\r\nLanguage= pol\r\n")
        << "COM1..COM4: the three lines alone";
}

TEST(PortNames, OpenNamesAndMenuNames) {
    const struct {
        int n;
        const char* open;
    } names[] = {{1, "COM1:"},           {4, "COM4:"}, {9, "COM9:"},  {10, "\\\\.\\COM10"},
                 {255, "\\\\.\\COM255"}, {0, "COM1:"}, {256, "COM1:"}};
    for (const auto& c : names)
        EXPECT_STREQ(comOpenName(c.n), c.open) << c.n;
    const struct {
        const char* text;
        int n;
    } numbers[] = {{"COM7", 7},     {"com7", 7},   {"COM7:", 7}, {"\\\\.\\COM12", 12},
                   {"COM255", 255}, {"COM256", 0}, {"COM0", 0},  {"COM07", 0},
                   {"COM7x", 0},    {"LPT1", 0},   {"", 0},      {"COM", 0}};
    for (const auto& c : numbers)
        EXPECT_EQ(comNumberOf(c.text), c.n) << c.text;
}
