#include "shell/language.h"

#include <cstdio>
#include <cstring>

#include "res/resource.h"
#include "shell/file_system.h"
#include "shell/texts.h"

namespace kestos {

LanguageState languageState;

namespace {

constexpr int maxTextLength = languageSlotSize - 1;

// Appends text to out at *used; false when it does not fit.
bool appendText(char* out, std::size_t outSize, std::size_t* used, const char* text) {
    std::size_t n = std::strlen(text);
    if (*used + n >= outSize) return false;
    std::memcpy(out + *used, text, n);
    *used += n;
    out[*used] = '\0';
    return true;
}

// One pass of the loader. Bytes are fed as read; a CR LF pair counts as one line break (as the
// text mode of the platform the files are written for), a lone CR is kept as text.
struct Loader {
    int line = 0;   // slot of the current line; languageSlotCount once past the table
    int length = 0; // characters in the current slot while copying
    bool copying = false;
    bool afterEquals = false; // the next character starts the slot, whatever it is
    bool pendingCR = false;

    char* slot() { return line < languageSlotCount ? languageState.languageTable[line] : nullptr; }

    void endLine() {
        if (line < languageSlotCount) ++line;
        copying = false;
    }

    void take(char ch) {
        if (afterEquals) {
            afterEquals = false;
            if (ch == '\n') {
                // An empty value: the slot becomes empty and the line still ends here.
                if (char* s = slot()) s[0] = '\0';
                endLine();
                return;
            }
            if (char* s = slot()) {
                s[0] = ch;
                s[1] = '\0';
            }
            length = 1;
            copying = true;
            return;
        }
        if (ch == '\n') {
            endLine();
            return;
        }
        if (copying && length < maxTextLength) {
            if (char* s = slot()) {
                s[length] = ch;
                s[length + 1] = '\0';
            }
            ++length;
        }
        if (ch == '=') afterEquals = true;
    }

    void feed(char byte) {
        if (pendingCR) {
            pendingCR = false;
            if (byte == '\n') {
                take('\n');
                return;
            }
            take('\r');
        }
        if (byte == '\r') {
            pendingCR = true;
            return;
        }
        take(byte);
    }

    // A trailing CR is text; a pending '=' is dropped, so a file that ends right after '='
    // leaves that slot as it was.
    void finish() {
        if (pendingCR) {
            pendingCR = false;
            take('\r');
        }
    }
};

} // namespace

void resetLanguageState() {
    std::memset(&languageState, 0, sizeof languageState);
    resetNamedTexts();
}

const char* slotText(int n) {
    if (n < 0 || n >= languageSlotCount) return "";
    return languageState.languageTable[n];
}

void setLanguageCode(const char* code) {
    int n = 0;
    if (code)
        for (; n < languageCodeSize - 1 && code[n]; ++n)
            languageState.languageCode[n] = code[n];
    languageState.languageCode[n] = '\0';
}

bool languageFilePath(char* out, std::size_t outSize, const char* code, const char* dir) {
    if (outSize == 0) return false;
    out[0] = '\0';
    const char sep[2] = {pathSeparator, '\0'};
    std::size_t used = 0;
    bool ok = true;
    if (dir && dir[0])
        ok = appendText(out, outSize, &used, dir) && appendText(out, outSize, &used, sep);
    ok = ok && appendText(out, outSize, &used, "Lang") && appendText(out, outSize, &used, sep) &&
         appendText(out, outSize, &used, "KestoS_lang.") &&
         appendText(out, outSize, &used, code ? code : "");
    if (!ok) out[0] = '\0';
    return ok;
}

bool loadLanguage(const char* dir) {
    char path[512];
    if (!languageFilePath(path, sizeof path, languageState.languageCode, dir)) return false;
    return loadLanguageFrom(path);
}

bool loadLanguageFrom(const char* path) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    // The named texts of the language before fall back to English, not to that language.
    resetNamedTexts();
    Loader loader;
    NamedTextReader named;
    char buffer[256];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        for (std::size_t i = 0; i < got; ++i) {
            loader.feed(buffer[i]);
            named.feed(buffer[i]);
        }
    loader.finish();
    named.finish();
    std::fclose(f);
    return true;
}

void loadLanguageText(const char* text, std::size_t length) {
    resetNamedTexts();
    Loader loader;
    for (std::size_t i = 0; i < length; ++i)
        loader.feed(text[i]);
    loader.finish();
    loadNamedTexts(text, length);
}

bool isEnglishCode(const char* code) {
    return code && std::strcmp(code, languageEnglish) == 0;
}

int languageMenuId(const char* code) {
    return isEnglishCode(code) ? IDR_MENU_EN : IDR_MENU_PL;
}
int schemaBitmapId(const char* code) {
    return isEnglishCode(code) ? IDB_SCHEMA_EN : IDB_SCHEMA_PL;
}
int checkedLanguageItem(const char* code) {
    return isEnglishCode(code) ? IDM_LANG_ENGLISH : IDM_LANG_POLISH;
}
int clearedLanguageItem(const char* code) {
    return isEnglishCode(code) ? IDM_LANG_POLISH : IDM_LANG_ENGLISH;
}

} // namespace kestos
