// printf onto the end of a string, for the text files the program writes (logs, pictures).
#pragma once

#include <string>

namespace kestos {

// Each call's text is cut at 511 bytes.
void appendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

} // namespace kestos
