// Reading the program's small text files word by word, as fscanf's %s does, but bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace kestos {

// White space as the C library's isspace sees it in the "C" locale.
bool isSpace(int ch);
// Skips white space; the first other character stays unread.
void skipSpace(std::FILE* f);
// The next word into `out`. A word longer than the buffer is cut and the rest of it still
// consumed; `tooLong` (when given) tells. False at end of file (out untouched).
bool readWord(std::FILE* f, char* out, std::size_t outSize, bool* tooLong = nullptr);

// A number as fscanf's %d reads it: white space, an optional sign, at least one digit; what
// follows the digits stays unread, and on a failure only the white space and a lone sign are
// consumed. The two differ only in what they keep of a large value.
bool readInt(std::FILE* f, int* value);          // saturates at the ends of int
bool readLow8Bits(std::FILE* f, uint8_t* value); // the low 8 bits, a minus as 256 - v

} // namespace kestos
