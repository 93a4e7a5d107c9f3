#include "shell/config_file.h"

#include <cstring>

#include "link/device_link.h"
#include "link/polling.h"
#include "shell/words.h"

namespace kestos {

ConfigFileContents configFile;

bool imageHoldsAnswer() {
    return deviceImage.readingsBlock[0] == frameStart &&
           deviceImage.settingsBlock1[0] == frameStart &&
           deviceImage.settingsBlock2[0] == frameStart;
}

void currentValues(uint8_t values[parameterCount]) {
    for (int i = 0; i < parameterCount; ++i)
        values[i] = parameterValue(parameters[i]);
}

std::size_t formatConfiguration(const uint8_t values[parameterCount], char* text,
                                std::size_t capacity) {
    std::size_t length = 0;
    auto append = [&](const char* key, int value) {
        int n = value < 0
                    ? std::snprintf(text + length, capacity - length, "%s\r\n", key)
                    : std::snprintf(text + length, capacity - length, "%s %d\r\n", key, value);
        if (n > 0) length += static_cast<std::size_t>(n);
        if (length >= capacity) length = capacity - 1; // cut, never beyond the buffer
    };
    for (int i = 0; i < keyHeaderLines; ++i)
        append(configKeys.keyTable[i], -1);
    for (int i = 0; i < parameterCount; ++i)
        append(configKeys.keyTable[keyHeaderLines + i], values[i]);
    return length;
}

void readConfigurationWords(std::FILE* file, ConfigFileContents& into) {
    std::memset(&into, 0, sizeof into);
    for (int i = 0; i < keyHeaderLines; ++i) {
        if (!readWord(file, into.fileNames[i], keySize, &into.nameTooLong[i])) return;
        into.namesRead = i + 1;
    }
    for (int i = 0; i < parameterCount; ++i) {
        int entry = keyHeaderLines + i;
        // A word longer than the buffer is read whole and marked too long.
        if (!readWord(file, into.fileNames[entry], keySize, &into.nameTooLong[entry])) return;
        into.namesRead = entry + 1;
        if (!readLow8Bits(file, &into.fileValues[i])) return;
        into.valuesRead = i + 1;
    }
}

bool contentsValid(const ConfigFileContents& contents) {
    if (contents.namesRead != keyCount || contents.valuesRead != parameterCount) return false;
    for (int i = 0; i < keyCount; ++i) {
        if (contents.nameTooLong[i] ||
            std::strcmp(contents.fileNames[i], configKeys.keyTable[i]) != 0)
            return false;
    }
    return true;
}

SaveResult saveConfiguration(FileSystem& files, const char* path) {
    if (!imageHoldsAnswer()) return SaveResult::noAnswer;
    uint8_t values[parameterCount];
    currentValues(values);
    char text[configTextSize];
    std::size_t length = formatConfiguration(values, text, sizeof text);
    return files.replaceFile(path, text, length) ? SaveResult::saved : SaveResult::writeFailed;
}

ReadResult readConfiguration(FileSystem& files, const char* path, ConfigFileContents& into) {
    std::FILE* file = files.openForReading(path);
    if (!file) {
        std::memset(&into, 0, sizeof into);
        return ReadResult::cannotOpen;
    }
    readConfigurationWords(file, into);
    std::fclose(file);
    return contentsValid(into) ? ReadResult::valid : ReadResult::invalid;
}

bool readControllerSet() {
    deviceImage = DeviceImage{};
    if (!pollCycle(PollSchedule::parameterPage, false).readings) return false;
    return !linkState.linkDown && imageHoldsAnswer();
}

int compareWithController(const uint8_t values[parameterCount], ShownRow* rows, int capacity) {
    if (!readControllerSet()) return -1;
    uint8_t controller[parameterCount];
    currentValues(controller);
    return shownDifferences(controller, values, rows, capacity);
}

int uploadConfiguration(const ConfigFileContents& contents) {
    for (int i = 0; i < parameterCount; ++i) {
        sendCommand(parameters[i].code, contents.fileValues[i]);
        if (linkState.lastByteCount != commandAnswerLength) return i;
    }
    return parameterCount;
}

} // namespace kestos
