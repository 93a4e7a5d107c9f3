// Configuration files (.kss): the controller's 27 parameters as "Key= value" lines under
// three header lines, written from the device image and sent back one command frame each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "link/params.h"
#include "pages/params/param_texts.h"
#include "shell/config_keys.h"
#include "shell/file_system.h"

namespace kestos {

// What a file held: the 30 words where the keys belong and the 27 values after them.
struct ConfigFileContents {
    char fileNames[keyCount][keySize];
    uint8_t fileValues[parameterCount];
    int namesRead;
    int valuesRead;
    bool nameTooLong[keyCount];
};
// The last file the program read.
extern ConfigFileContents configFile;

// A whole file: 3 header lines and 27 lines of at most 29 + 1 + 3 characters, with CR LF.
constexpr std::size_t configTextSize = 1200;

// True when each of the three blocks holds a controller's answer (leading 'e'): only then
// is the image worth saving.
bool imageHoldsAnswer();
// The 27 values in key table order, as the device image holds them.
void currentValues(uint8_t values[parameterCount]);
// The file's text for `values`; returns its length.
std::size_t formatConfiguration(const uint8_t values[parameterCount], char* text,
                                std::size_t capacity);

// Reads words and values as the file format allows: any white space between them, values
// as an optional sign and digits kept as their low 8 bits. Stops at the first word or
// number that cannot be read.
void readConfigurationWords(std::FILE* file, ConfigFileContents& into);
// Every name equals its key table entry and every value was read.
bool contentsValid(const ConfigFileContents& contents);

enum class SaveResult { saved, noAnswer, writeFailed };
SaveResult saveConfiguration(FileSystem& files, const char* path);

enum class ReadResult { valid, cannotOpen, invalid };
ReadResult readConfiguration(FileSystem& files, const char* path, ConfigFileContents& into);

// Sends the 27 values of `contents` in key table order; stops at the first answer that is
// not 3 bytes. Returns the number of parameters the controller answered.
int uploadConfiguration(const ConfigFileContents& contents);

// Status and the three blocks read afresh (nothing older counts); true when the image then
// holds the controller's whole set.
bool readControllerSet();
// The controller's set, read afresh, against `values`: the rows that differ, in the pages'
// words (the controller's value first). -1 when the set could not be read.
int compareWithController(const uint8_t values[parameterCount], ShownRow* rows, int capacity);

} // namespace kestos
