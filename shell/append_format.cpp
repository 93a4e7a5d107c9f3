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

} // namespace kestos
