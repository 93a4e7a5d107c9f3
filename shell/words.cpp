#include "shell/words.h"

namespace kestos {

namespace {

// The sign and digits of a number; `low8` keeps only the low 8 bits of the magnitude, else it
// stops growing past ten digits (enough to saturate any int).
bool readSignedDigits(std::FILE* f, bool low8, bool* negative, long long* magnitude) {
    skipSpace(f);
    int ch = std::fgetc(f);
    *negative = false;
    if (ch == '+' || ch == '-') {
        *negative = ch == '-';
        ch = std::fgetc(f);
    }
    if (ch < '0' || ch > '9') {
        if (ch != EOF) std::ungetc(ch, f);
        return false;
    }
    long long v = 0;
    for (; ch >= '0' && ch <= '9'; ch = std::fgetc(f)) {
        if (low8)
            v = (v * 10 + (ch - '0')) & 0xFF;
        else if (v < 10000000000LL)
            v = v * 10 + (ch - '0');
    }
    if (ch != EOF) std::ungetc(ch, f);
    *magnitude = v;
    return true;
}

} // namespace

bool readInt(std::FILE* f, int* value) {
    bool negative;
    long long v;
    if (!readSignedDigits(f, false, &negative, &v)) return false;
    if (negative) v = -v;
    if (v > 2147483647LL) v = 2147483647LL;
    if (v < -2147483647LL - 1) v = -2147483647LL - 1;
    *value = static_cast<int>(v);
    return true;
}

bool readLow8Bits(std::FILE* f, uint8_t* value) {
    bool negative;
    long long v;
    if (!readSignedDigits(f, true, &negative, &v)) return false;
    *value = static_cast<uint8_t>(negative ? (256 - v) & 0xFF : v);
    return true;
}

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
