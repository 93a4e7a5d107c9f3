#include "shell/texts.h"

#include <cstdio>
#include <cstring>

#include "shell/language.h"

namespace kestos {

namespace {

// Whether each text came from the file, and its bytes.
struct NamedTexts {
    bool loaded[textCount];
    char text[textCount][namedTextSize];
};
NamedTexts namedTexts;

static_assert(
    [] {
        for (int i = 0; i < textCount; ++i)
            if (static_cast<int>(textEntries[i].id) != i) return false;
        return true;
    }(),
    "textEntries lists the texts in the order of Text");

// One `key=text` line (without its line break); unknown keys and empty texts are left out.
void takeLine(const char* line, std::size_t length) {
    const char* equals = static_cast<const char*>(std::memchr(line, '=', length));
    if (!equals) return;
    const std::size_t keyLength = static_cast<std::size_t>(equals - line);
    std::size_t textLength = length - keyLength - 1;
    if (textLength == 0) return;
    if (textLength > namedTextSize - 1) textLength = namedTextSize - 1;
    for (int i = 0; i < textCount; ++i) {
        const char* key = textEntries[i].key;
        if (std::strlen(key) != keyLength || std::memcmp(key, line, keyLength) != 0) continue;
        std::memcpy(namedTexts.text[i], equals + 1, textLength);
        namedTexts.text[i][textLength] = '\0';
        namedTexts.loaded[i] = true;
    }
}

} // namespace

const char* text(Text id) {
    const int i = static_cast<int>(id);
    if (i < 0 || i >= textCount) return "";
    return namedTexts.loaded[i] ? namedTexts.text[i] : textEntries[i].english;
}

namespace {

// `id`'s text with its first `mark` replaced by `with`.
void replaceFirst(Text id, const char* mark, const char* with, char* out, std::size_t size) {
    const char* t = text(id);
    const char* at = std::strstr(t, mark);
    if (at)
        std::snprintf(out, size, "%.*s%s%s", static_cast<int>(at - t), t, with, at + 2);
    else
        std::snprintf(out, size, "%s", t);
}

} // namespace

void textWithNumber(Text id, int n, char* out, std::size_t size) {
    char number[16];
    std::snprintf(number, sizeof number, "%d", n);
    replaceFirst(id, "%d", number, out, size);
}

void textWithWord(Text id, const char* word, char* out, std::size_t size) {
    replaceFirst(id, "%s", word, out, size);
}

void resetNamedTexts() {
    std::memset(&namedTexts, 0, sizeof namedTexts);
}

void NamedTextReader::feed(char byte) {
    if (byte != '\n') {
        if (linesSeen >= languageSlotCount && length < sizeof line) line[length] = byte;
        ++length;
        return;
    }
    if (linesSeen < languageSlotCount) {
        ++linesSeen;
    } else {
        finish();
    }
    length = 0;
}

void NamedTextReader::finish() {
    if (linesSeen < languageSlotCount || length == 0) return;
    // A line too long for the reader is left out whole rather than cut at a guess.
    if (length > sizeof line) return;
    std::size_t n = length;
    if (line[n - 1] == '\r') --n;
    takeLine(line, n);
    length = 0;
}

void loadNamedTexts(const char* bytes, std::size_t length) {
    NamedTextReader reader;
    for (std::size_t i = 0; i < length; ++i)
        reader.feed(bytes[i]);
    reader.finish();
}

} // namespace kestos
