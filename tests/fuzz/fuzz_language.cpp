// The language file loader on any bytes: every slot stays a terminated text of its 64 bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "shell/language.h"

using namespace kestos;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    resetLanguageState();
    setLanguageCode("pol");
    loadLanguageText(reinterpret_cast<const char*>(data), size);
    for (const auto& slot : languageState.languageTable)
        if (!std::memchr(slot, 0, languageSlotSize)) std::abort();
    if (std::strcmp(languageState.languageCode, "pol") != 0) std::abort();
    return 0;
}
