// Configuration files: written from the device image, read back by the format's rules and
// sent to the controller.
#include <gtest/gtest.h>

#include <string>

#include "link/device_link.h"
#include "shell/config_file.h"
#include "tests/unit/controller_files.h"

using namespace kestos;

namespace {

class ConfigFile : public test::ControllerFiles {
  protected:
    std::string savedText() {
        readController();
        EXPECT_EQ(saveConfiguration(files, "a.kss"), SaveResult::saved);
        return files.files["a.kss"];
    }
    ReadResult read(const std::string& text, ConfigFileContents& into) {
        files.files["in.kss"] = text;
        return readConfiguration(files, "in.kss", into);
    }
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// `text` with the value of `key` written as `value`.
std::string withValue(const std::string& text, const std::string& key, const std::string& value) {
    size_t from = text.find(key + "= ") + key.size() + 2, to = text.find('\r', from);
    return text.substr(0, from) + value + text.substr(to);
}

std::string withoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

} // namespace

TEST_F(ConfigFile, SavedFileSendsTheSameValuesInKeyTableOrder) {
    for (int code = 5; code <= 32; ++code)
        if (code != 30) controller.setParameter(code, static_cast<uint8_t>(code * 7 + 3));
    std::string text = savedText();
    EXPECT_EQ(text.substr(0, 49), "[Kesto_S]\r\nVersion=1.2\r\n[Configuration]\r\nOptions=");
    EXPECT_EQ(text.substr(text.size() - 16), "AttMin_BJ= 227\r\n"); // code 32

    ConfigFileContents contents;
    ASSERT_EQ(read(text, contents), ReadResult::valid);
    sim::Controller other;
    sim::SimSerialPort otherPort{other};
    closePort();
    setSerialPort(&otherPort);
    EXPECT_EQ(uploadConfiguration(contents), parameterCount);
    ASSERT_EQ(otherPort.frames().size(), 27u);
    int expected = 5;
    for (const auto& frame : otherPort.frames()) {
        EXPECT_EQ(frame[1], expected);
        EXPECT_EQ(frame[2], controller.parameter(expected));
        EXPECT_EQ(other.parameter(expected), controller.parameter(expected));
        expected = expected == 29 ? 31 : expected + 1;
    }
}

// Valid cases also show the value read for LambdaDelay: values keep their low 8 bits.
TEST_F(ConfigFile, ReadingRules) {
    const std::string good = savedText();
    const std::string lf = withoutCarriageReturns(good);
    const int delay = parameterValue(parameterByKey("LambdaDelay")), invalid = -1;
    const struct {
        const char* what;
        std::string text;
        int lambdaDelay;
    } cases[] = {
        {"as saved", good, delay},
        {"line feeds only", lf, delay},
        {"blank lines and tabs", replaced(lf, "\nOptions=", "\n\n\t\nOptions="), delay},
        {"key and value split by a line break", replaced(good, "Options= ", "Options=\r\n"), delay},
        {"300", withValue(good, "LambdaDelay", "300"), 44},
        {"256", withValue(good, "LambdaDelay", "256"), 0},
        {"-1", withValue(good, "LambdaDelay", "-1"), 255},
        {"+7", withValue(good, "LambdaDelay", "+7"), 7},
        {"twenty digits", withValue(good, "LambdaDelay", "12345678901234567890"), 210},
        {"key glued to its value", replaced(good, "Options= ", "Options="), invalid},
        {"another version line", replaced(good, "Version=1.2", "Version=1.3"), invalid},
        {"key of another case", replaced(good, "AttMax=", "attmax="), invalid},
        {"missing last value", withValue(good, "AttMin_BJ", ""), invalid},
        {"last line missing", good.substr(0, good.rfind("AttMin_BJ")), invalid},
        {"word longer than the buffer", replaced(good, "[Kesto_S]", std::string(40, 'K')), invalid},
        {"value that is not a number", withValue(good, "AttMax", "x"), invalid},
        {"empty file", "", invalid},
    };
    for (const auto& c : cases) {
        ConfigFileContents contents;
        bool valid = read(c.text, contents) == ReadResult::valid;
        EXPECT_EQ(valid, c.lambdaDelay != invalid) << c.what;
        if (valid) {
            EXPECT_EQ(contents.fileValues[parameterIndexByKey("LambdaDelay")], c.lambdaDelay)
                << c.what;
        }
    }
    ConfigFileContents contents;
    EXPECT_EQ(readConfiguration(files, "missing.kss", contents), ReadResult::cannotOpen);
}

TEST_F(ConfigFile, UploadStopsAtTheFirstMissingAnswer) {
    readController();
    ConfigFileContents contents;
    ASSERT_EQ(read(withoutCarriageReturns(savedText()), contents), ReadResult::valid);
    for (uint8_t& v : contents.fileValues)
        v = static_cast<uint8_t>(v ^ 0x01);
    port.clearFrames();
    controller.faults.silentAfterFrames = static_cast<long>(controller.framesAnswered()) + 10;
    EXPECT_EQ(uploadConfiguration(contents), 10);
    EXPECT_EQ(port.frames().size(), 11u) << "the eleventh frame goes unanswered, no further";
    for (int i = 0; i < parameterCount; ++i) {
        int code = parameters[i].code;
        EXPECT_EQ(controller.parameter(code) == contents.fileValues[i], i < 10) << code;
    }
}

TEST_F(ConfigFile, NothingIsSavedWithoutTheControllersAnswer) {
    files.files["a.kss"] = "old";
    EXPECT_EQ(saveConfiguration(files, "a.kss"), SaveResult::noAnswer) << "never answered";
    readController();
    loseController();
    EXPECT_EQ(saveConfiguration(files, "a.kss"), SaveResult::noAnswer) << "link went down";
    EXPECT_EQ(files.files["a.kss"], "old");
}
