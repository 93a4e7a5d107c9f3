#include "link/encodings.h"

#include <cstdio>

namespace kestos {

char textBuffer[textBufferSize];

int roundNearest(double x) {
    int r = static_cast<int>(x);
    if ((x - r) * 100.0 > 50.0) r += 1;
    return r;
}

int tempFromCode(unsigned code) {
    if (code < 68) return 0;
    if (code < 200) return roundNearest((static_cast<double>(code) - 68.0) / 2.582);
    return roundNearest(static_cast<double>(code) * 1.057 - 160.0);
}

int codeFromTemp(int t) {
    if (t == 0) return 68;
    if (t < 51) return roundNearest(t * 2.582 + 68.0);
    if (t < 101) return roundNearest((t + 160.0) / 1.057);
    return 245;
}

void tempText(unsigned code) {
    long t = tempFromCode(code);
    if (t > 100) t = 100;
    std::snprintf(textBuffer, sizeof textBuffer, "%02ld", t);
}

unsigned rpmFromPeriod(int hi, unsigned lo) {
    unsigned period = static_cast<unsigned>(hi) * 256u + lo;
    if (period == 0) return 0;
    unsigned q = 15000000u / period;
    return static_cast<unsigned>(roundNearest(q / 50.0)) * 50u;
}

int lowByte(unsigned v) {
    return static_cast<int>(v & 0xFFu);
}
int highByte(unsigned v) {
    return static_cast<int>((v & 0xFF00u) >> 8);
}

unsigned periodFromRpm(unsigned rpm) {
    return rpm == 0 ? 0 : 15000000u / rpm;
}

} // namespace kestos
