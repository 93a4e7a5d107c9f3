// The .kss reader on any bytes. Accepted only when all 30 names are the keys, in order, each
// standing whole in the file; an accepted file written again reads back the same values.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/config_file.h"
#include "shell/words.h"

using namespace kestos;

namespace {

// Each key in order, starting a word of the text: after white space, the file's start, or the
// digits of the value before it (as fscanf reads "12Key=", the number ends at the key).
bool keysStandInOrder(const char* text, size_t size) {
    size_t from = 0;
    for (const auto& key : configKeys.keyTable) {
        const size_t length = std::strlen(key);
        bool found = false;
        for (size_t at = from; at + length <= size && !found; ++at) {
            if (std::memcmp(text + at, key, length) != 0) continue;
            const int before = at > 0 ? static_cast<unsigned char>(text[at - 1]) : ' ';
            if (!isSpace(before) && (before < '0' || before > '9')) continue;
            found = true;
            from = at + length;
        }
        if (!found) return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool keysBuilt = (buildKeyTable(), true);
    (void)keysBuilt;
    if (size == 0) return 0;
    std::FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!f) return 0;
    static ConfigFileContents read, again;
    readConfigurationWords(f, read);
    std::fclose(f);
    if (!contentsValid(read)) return 0;
    if (!keysStandInOrder(reinterpret_cast<const char*>(data), size)) std::abort();

    char text[configTextSize];
    const size_t length = formatConfiguration(read.fileValues, text, sizeof text);
    f = fmemopen(text, length, "rb");
    readConfigurationWords(f, again);
    std::fclose(f);
    if (!contentsValid(again) || std::memcmp(read.fileValues, again.fileValues, parameterCount))
        std::abort();
    return 0;
}
