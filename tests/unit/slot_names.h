// A language table whose slot n reads "<prefix>n", so that tests can tell which slot a text
// came from.
#pragma once

#include <string>

#include "shell/language.h"

inline void loadSlotNames(const char* prefix) {
    std::string lang;
    for (int n = 0; n < kestos::languageSlotCount; ++n)
        lang += "k=" + std::string(prefix) + std::to_string(n) + "\r\n";
    kestos::loadLanguageText(lang.data(), lang.size());
}
