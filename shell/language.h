// The language table: fixed text slots filled from "Lang\KestoS_lang.<code>", and the choices
// that follow from the language code (menu, schema picture, checked language item).
#pragma once

#include <cstddef>

namespace kestos {

constexpr int languageSlotCount = 184;
constexpr int languageSlotSize = 64; // 63 characters and the terminating zero
constexpr int languageCodeSize = 64;

struct LanguageState {
    char languageTable[languageSlotCount][languageSlotSize];
    char languageCode[languageCodeSize];
};

extern LanguageState languageState;

// All slots and the code empty, as at load. For start-up and tests.
void resetLanguageState();

// Text of slot n (code page 1250 bytes); "" for n outside the table.
const char* slotText(int n);

// Copies a code into `languageCode`, cut to 63 characters.
void setLanguageCode(const char* code);

// Builds "[dir/]Lang/KestoS_lang.<code>" with the platform's separator; false when it does
// not fit (out is then empty). No dir means the working directory.
bool languageFilePath(char* out, std::size_t outSize, const char* code, const char* dir = nullptr);

// Fills the table from the file of `languageCode`. False when the file could not be opened;
// the table then keeps its contents.
bool loadLanguage(const char* dir = nullptr);
bool loadLanguageFrom(const char* path);

// The loader's rules on text already in memory; the same as reading a file of these bytes.
void loadLanguageText(const char* text, std::size_t length);

constexpr char languagePolish[] = "pol";
constexpr char languageEnglish[] = "ang";

// Only "ang" selects English; every other code, empty included, selects Polish.
bool isEnglishCode(const char* code);
int languageMenuId(const char* code);      // 193 or 148
int schemaBitmapId(const char* code);      // 207 or 206
int checkedLanguageItem(const char* code); // 40036 or 40035
int clearedLanguageItem(const char* code); // 40035 or 40036

} // namespace kestos
