#include "shell/words.h"

namespace kestos {

bool isSpace(int ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

void skipSpace(std::FILE* f) {
    int ch;
    while ((ch = std::fgetc(f)) != EOF && isSpace(ch)) {
    }
    if (ch != EOF) std::ungetc(ch, f);
}

bool readWord(std::FILE* f, char* out, std::size_t outSize, bool* tooLong) {
    skipSpace(f);
    int ch = std::fgetc(f);
    if (ch == EOF) return false;
    std::size_t n = 0;
    bool cut = false;
    while (ch != EOF && !isSpace(ch)) {
        if (n + 1 < outSize)
            out[n++] = static_cast<char>(ch);
        else
            cut = true;
        ch = std::fgetc(f);
    }
    if (ch != EOF) std::ungetc(ch, f);
    out[n] = '\0';
    if (tooLong) *tooLong = cut;
    return true;
}

} // namespace kestos
