#include "link/port_names.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace kestos {

const char* comOpenName(int comNumber) {
    static char names[maxComNumber + 1][12];
    if (comNumber < 1 || comNumber > maxComNumber) comNumber = 1;
    char* name = names[comNumber];
    if (!name[0]) {
        if (comNumber < 10)
            std::snprintf(name, sizeof names[0], "COM%d:", comNumber);
        else
            std::snprintf(name, sizeof names[0], "\\\\.\\COM%d", comNumber);
    }
    return name;
}

namespace {

// A COM port's number in `comFormat`, any other name as it is.
void comNameAs(const char* comFormat, const char* portName, char* out, std::size_t size) {
    if (size == 0) return;
    if (const int n = comNumberOf(portName))
        std::snprintf(out, size, comFormat, n);
    else
        std::snprintf(out, size, "%s", portName ? portName : "");
}

} // namespace

void deviceNameOf(const char* portName, char* out, std::size_t size) {
    comNameAs("\\\\.\\COM%d", portName, out, size);
}

void shownPortName(const char* portName, char* out, std::size_t size) {
    comNameAs("COM%d", portName, out, size);
}

int comNumberOf(const char* name) {
    if (!name) return 0;
    if (std::strncmp(name, "\\\\.\\", 4) == 0) name += 4;
    if (std::strlen(name) < 4 || std::toupper(static_cast<unsigned char>(name[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(name[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(name[2])) != 'M')
        return 0;
    int n = 0;
    const char* p = name + 3;
    if (*p < '1' || *p > '9') return 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        n = n * 10 + (*p - '0');
        if (n > maxComNumber) return 0;
    }
    if (*p == ':') ++p;
    return *p ? 0 : n;
}

} // namespace kestos
