// The settings file reader on any bytes: a port 1..4 and a terminated language word.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/language.h"
#include "shell/settings.h"

using namespace kestos;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0; // fmemopen refuses an empty buffer
    std::FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!f) return 0;
    resetSettingsState();
    resetLanguageState();
    readSettingsFrom(f);
    std::fclose(f);
    if (settingsState.portNumber < 1 || settingsState.portNumber > 4) std::abort();
    if (!std::memchr(languageState.languageCode, 0, languageCodeSize)) std::abort();
    return 0;
}
