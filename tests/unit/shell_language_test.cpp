#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "shell/language.h"
#include "shell/texts.h"

using namespace kestos;

namespace {

void setSlot(int n, const char* text) {
    std::strncpy(languageState.languageTable[n], text, languageSlotSize - 1);
    languageState.languageTable[n][languageSlotSize - 1] = '\0';
}

void load(const std::string& text) {
    loadLanguageText(text.data(), text.size());
}

class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("kestos_lang_" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

void writeBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

class LanguageLoader : public ::testing::Test {
  protected:
    void SetUp() override { resetLanguageState(); }
    void TearDown() override { resetLanguageState(); }
};

} // namespace

TEST_F(LanguageLoader, Rules) {
    const struct Case {
        const char* name;
        std::string text;
        std::vector<std::pair<int, std::string>> before; // slots filled before loading
        std::vector<std::pair<int, std::string>> after;
    } cases[] = {
        {"key and text", "Title=KestoS\n", {}, {{0, "KestoS"}}},
        {"space after '=' is text", "a= hello \nb=world\n", {}, {{0, " hello "}, {1, "world"}}},
        {"no trailing line break", "a=x", {}, {{0, "x"}}},
        {"key part ignored, value may be anything", "=x y\n", {}, {{0, "x y"}}},
        {"line without '=' keeps its slot but counts",
         "no equals here\nb=x\n",
         {{0, "old"}},
         {{0, "old"}, {1, "x"}}},
        {"second '=' restarts the slot", "k=abc=def\n", {}, {{0, "def"}}},
        {"character after '=' is not examined", "k==x\n", {}, {{0, "=x"}}},
        {"lone '=' as text", "k==\nb=y\n", {}, {{0, "="}, {1, "y"}}},
        {"empty value empties its slot and ends the line",
         "k=\nb=two\nc=three\n",
         {{0, "old"}},
         {{0, ""}, {1, "two"}, {2, "three"}}},
        {"trailing '=' in a text is an empty restart",
         "k=abc=\nb=two\n",
         {},
         {{0, ""}, {1, "two"}}},
        {"file ending right after '=' leaves the slot",
         "a=x\nb=",
         {{1, "old"}},
         {{0, "x"}, {1, "old"}}},
        {"CR LF is one line break", "a=x\r\nb=y\r\n", {}, {{0, "x"}, {1, "y"}}},
        {"empty value before CR LF", "a=\r\nb=y\r\n", {{0, "old"}}, {{0, ""}, {1, "y"}}},
        {"lone CR stays text", "a=x\ry\nb=z", {}, {{0, "x\ry"}, {1, "z"}}},
        {"CR at the very end stays text", "a=x\r", {}, {{0, "x\r"}}},
        {"empty lines count", "a=1\n\n\nd=4\n", {{1, "one"}}, {{0, "1"}, {1, "one"}, {3, "4"}}},
        {"code page 1250 bytes pass through", "a=\xA3\xB9ka\n", {}, {{0, "\xA3\xB9ka"}}},
    };
    for (const Case& c : cases) {
        resetLanguageState();
        for (const auto& [n, t] : c.before)
            setSlot(n, t.c_str());
        load(c.text);
        for (const auto& [n, t] : c.after)
            EXPECT_EQ(std::string(slotText(n)), t) << c.name;
    }
}

TEST_F(LanguageLoader, LongTextIsCutTo63Characters) {
    std::string value(100, 'x');
    for (int i = 0; i < 100; ++i)
        value[i] = static_cast<char>('a' + i % 26);
    load("k=" + value + "\nb=ok\n");
    EXPECT_EQ(std::string(slotText(0)), value.substr(0, 63));
    EXPECT_EQ(std::strlen(languageState.languageTable[0]), 63u);
    EXPECT_EQ(std::string(slotText(1)), "ok");
}

TEST_F(LanguageLoader, ExactlyFullTextFits) {
    std::string value(63, 'q');
    load("k=" + value + "\n");
    EXPECT_EQ(std::string(slotText(0)), value);
}

TEST_F(LanguageLoader, RestartAfterAFullSlotStillWorks) {
    load("k=" + std::string(80, 'a') + "=tail\n");
    EXPECT_EQ(std::string(slotText(0)), "tail");
    resetLanguageState();
    load("k=" + std::string(40, 'a') + "=tail\n");
    EXPECT_EQ(std::string(slotText(0)), "tail");
}

TEST_F(LanguageLoader, LinesBeyondTheTableAreIgnored) {
    setLanguageCode("pol");
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "k=L" + std::to_string(i) + "\n";
    text += "tail=" + std::string(200, 'z');
    load(text);
    EXPECT_EQ(std::string(slotText(0)), "L0");
    EXPECT_EQ(std::string(slotText(183)), "L183");
    EXPECT_EQ(std::string(languageState.languageCode), "pol");
}

TEST_F(LanguageLoader, ShorterFileKeepsOlderTexts) {
    load("a=1\nb=2\nc=3\n");
    load("a=x\n");
    EXPECT_EQ(std::string(slotText(0)), "x");
    EXPECT_EQ(std::string(slotText(1)), "2");
    EXPECT_EQ(std::string(slotText(2)), "3");
}

TEST_F(LanguageLoader, SlotTextOutsideTheTableIsEmpty) {
    load("a=x\n");
    EXPECT_STREQ(slotText(-1), "");
    EXPECT_STREQ(slotText(184), "");
    EXPECT_STREQ(slotText(100000), "");
}

TEST_F(LanguageLoader, FilePathUsesThePlatformSeparator) {
#ifdef _WIN32
    const char* expected = "Lang\\KestoS_lang.pol";
    const char* withDir = "d\\Lang\\KestoS_lang.ang";
#else
    const char* expected = "Lang/KestoS_lang.pol";
    const char* withDir = "d/Lang/KestoS_lang.ang";
#endif
    char path[128];
    ASSERT_TRUE(languageFilePath(path, sizeof path, "pol"));
    EXPECT_STREQ(path, expected);
    ASSERT_TRUE(languageFilePath(path, sizeof path, "ang", "d"));
    EXPECT_STREQ(path, withDir);
    // An empty code leaves the path ending with the dot.
    ASSERT_TRUE(languageFilePath(path, sizeof path, ""));
    EXPECT_EQ(path[std::strlen(path) - 1], '.');
    char small[8];
    EXPECT_FALSE(languageFilePath(small, sizeof small, "pol"));
    EXPECT_STREQ(small, "");
}

TEST_F(LanguageLoader, LoadsTheFileOfTheCode) {
    TempDir dir;
    writeBytes(dir.path() / "Lang" / "KestoS_lang.ang", "T0=Readings\r\nT1= Options\r\n");
    writeBytes(dir.path() / "Lang" / "KestoS_lang.pol", "T0=Odczyty\r\n");
    setLanguageCode("ang");
    EXPECT_TRUE(loadLanguage(dir.str().c_str()));
    EXPECT_EQ(std::string(slotText(0)), "Readings");
    EXPECT_EQ(std::string(slotText(1)), " Options");
    setLanguageCode("pol");
    EXPECT_TRUE(loadLanguage(dir.str().c_str()));
    EXPECT_EQ(std::string(slotText(0)), "Odczyty");
    EXPECT_EQ(std::string(slotText(1)), " Options");
}

TEST_F(LanguageLoader, MissingFileKeepsTheTable) {
    TempDir dir;
    load("a=kept\n");
    setLanguageCode("deu");
    EXPECT_FALSE(loadLanguage(dir.str().c_str()));
    EXPECT_EQ(std::string(slotText(0)), "kept");
    EXPECT_FALSE(loadLanguageFrom((dir.path() / "nothing").string().c_str()));
    EXPECT_EQ(std::string(slotText(0)), "kept");
}

TEST_F(LanguageLoader, FileAndTextGiveTheSameTable) {
    TempDir dir;
    std::string text;
    for (int i = 0; i < 190; ++i) {
        if (i % 7 == 3) {
            text += "x\r\n";
            continue;
        }
        text += 'k';
        text += std::to_string(i);
        text += "=v";
        text.append(static_cast<size_t>(i % 70), 'w');
        text += "\r\n";
    }
    writeBytes(dir.path() / "f.txt", text);
    ASSERT_TRUE(loadLanguageFrom((dir.path() / "f.txt").string().c_str()));
    LanguageState fromFile = languageState;
    resetLanguageState();
    load(text);
    EXPECT_EQ(std::memcmp(&fromFile, &languageState, sizeof languageState), 0);
}

TEST(LanguageCode, SetIsCutTo63Characters) {
    resetLanguageState();
    std::string code(100, 'c');
    setLanguageCode(code.c_str());
    EXPECT_EQ(std::string(languageState.languageCode), code.substr(0, 63));
    setLanguageCode(nullptr);
    EXPECT_STREQ(languageState.languageCode, "");
}

TEST(LanguageCode, OnlyAngSelectsEnglish) {
    EXPECT_EQ(languageMenuId("ang"), 193);
    EXPECT_EQ(schemaBitmapId("ang"), 207);
    EXPECT_EQ(checkedLanguageItem("ang"), 40036);
    EXPECT_EQ(clearedLanguageItem("ang"), 40035);
    for (const char* code : {"pol", "deu", "", "ANG", "ang "}) {
        EXPECT_EQ(languageMenuId(code), 148) << code;
        EXPECT_EQ(schemaBitmapId(code), 206) << code;
        EXPECT_EQ(checkedLanguageItem(code), 40035) << code;
        EXPECT_EQ(clearedLanguageItem(code), 40036) << code;
    }
}

// Texts beyond the 184 slots: by key, after the table, with the built-in English otherwise.
TEST_F(LanguageLoader, NamedTextsAfterTheTable) {
    std::string table;
    for (int i = 0; i < languageSlotCount; ++i) {
        table += std::to_string(i); // (a literal + string here trips GCC 12's -Wrestrict)
        table += "=slot\r\n";
    }
    const struct {
        const char* after; // what follows the 184 lines
        const char* shown;
    } cases[] = {
        {"io_error_caption=B\xB3\xB9\x64\r\n", "B\xB3\xB9\x64"}, // cp1250, CR LF dropped
        {"other=x\nio_error_caption=a=b", "a=b"},                // the first '=' ends the key
        {"io_error_caption=\r\n", "I/O Error"},                  // empty: never a blank
        {"io_error_captions=x\n", "I/O Error"},                  // not the key
        {"", "I/O Error"},                                       // an older file
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.after);
        load(table + c.after);
        EXPECT_STREQ(text(Text::ioErrorCaption), c.shown);
        EXPECT_STREQ(slotText(183), "slot") << "the slots are read as before";
    }
    load(table + "io_error_caption=Polish\n");
    load("io_error_caption=in a slot\n");
    EXPECT_STREQ(text(Text::ioErrorCaption), "I/O Error")
        << "a key within the table is a slot, and the text of the language before is gone";
}

#ifdef KESTOS_LANG_DIR
// Both shipped files have every named text after their 184 slots.
TEST(ShippedLanguageFiles, HaveEveryNamedTextAfterTheSlots) {
    for (const char* code : {languagePolish, languageEnglish}) {
        std::ifstream in(std::string(KESTOS_LANG_DIR) + "/KestoS_lang." + code, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        std::size_t at = 0;
        for (int lines = 0; at < bytes.size() && lines < languageSlotCount; ++at)
            if (bytes[at] == '\n') ++lines;
        for (const TextEntry& e : textEntries)
            EXPECT_NE(bytes.find(std::string("\n") + e.key + "=", at - 1), std::string::npos)
                << code << ": " << e.key;
    }
}
#endif
