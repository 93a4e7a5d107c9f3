// printf onto the end of a string, for the text files the program writes (logs, pictures), and
// the times it shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestos {

// Each call's text is cut at 511 bytes.
void appendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// A time the title bar shows: "m:ss", or "h:mm:ss" from an hour on.
void formatElapsed(uint32_t ms, char* out, std::size_t size);

} // namespace kestos
