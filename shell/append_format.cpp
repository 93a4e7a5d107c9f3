#include "shell/append_format.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace kestos {

void appendFormat(std::string& out, const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n > 0) out.append(buffer, std::min(static_cast<std::size_t>(n), sizeof buffer - 1));
}

void formatElapsed(uint32_t ms, char* out, std::size_t size) {
    const uint32_t s = ms / 1000;
    if (s >= 3600)
        std::snprintf(out, size, "%u:%02u:%02u", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(out, size, "%u:%02u", s / 60, s % 60);
}

} // namespace kestos
