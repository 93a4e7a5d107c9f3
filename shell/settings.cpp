#include "shell/settings.h"

#include <cstdio>
#include <cstring>

#include "shell/file_system.h"
#include "shell/language.h"
#include "shell/words.h"

namespace kestos {

SettingsState settingsState;

void resetSettingsState() {
    settingsState = SettingsState{};
}

const char* portNameFor(int portNumber) {
    return comOpenName(validPortNumber(portNumber));
}

bool settingsFilePath(char* out, std::size_t outSize, const char* dir) {
    if (outSize == 0) return false;
    int n;
    if (dir && dir[0])
        n = std::snprintf(out, outSize, "%s%c%s", dir, pathSeparator, settingsFileName);
    else
        n = std::snprintf(out, outSize, "%s", settingsFileName);
    if (n < 0 || static_cast<std::size_t>(n) >= outSize) {
        out[0] = '\0';
        return false;
    }
    return true;
}

SettingsReadResult readSettings(const char* dir) {
    char path[512];
    std::FILE* f = settingsFilePath(path, sizeof path, dir) ? std::fopen(path, "rb") : nullptr;
    if (!f) {
        settingsState.portNumber = settingsState.comNumber = defaultPortNumber;
        setLanguageCode(languagePolish);
        bool written = writeSettings(dir);
        return {defaultPortNumber, true, written};
    }
    readSettingsFrom(f);
    std::fclose(f);
    return {settingsState.portNumber, false, false};
}

void readSettingsFrom(std::FILE* f) {
    // Values are taken by position; the section and key words are not compared.
    char word[languageCodeSize];
    int port = 0;
    readWord(f, word, sizeof word);
    readWord(f, word, sizeof word);
    readInt(f, &port);
    readWord(f, word, sizeof word);
    readWord(f, languageState.languageCode, sizeof languageState.languageCode);
    settingsState.portNumber = validPortNumber(port);
    // A fourth line names a port above COM4; a reader of three lines never sees it.
    char name[16] = {};
    const int named =
        readWord(f, word, sizeof word) && readWord(f, name, sizeof name) ? comNumberOf(name) : 0;
    settingsState.comNumber = named ? named : settingsState.portNumber;
}

bool writeSettings(const char* dir) {
    char path[512];
    if (!settingsFilePath(path, sizeof path, dir)) return false;
    // Built first so a failed open or write leaves nothing half-done in memory.
    char text[200];
    int n = std::snprintf(text, sizeof text, "[Ustawienia]\r\nCommPort= %d\r\nLanguage= %s\r\n",
                          settingsState.portNumber, languageState.languageCode);
    if (n > 0 && settingsState.comNumber > 4 && settingsState.comNumber <= maxComNumber)
        n += std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n),
                           "CommPortName= COM%d\r\n", settingsState.comNumber);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof text) return false;
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    bool ok = std::fwrite(text, 1, static_cast<std::size_t>(n), f) == static_cast<std::size_t>(n);
    if (std::fclose(f) != 0) ok = false;
    return ok;
}

} // namespace kestos
