// Reading the program's small text files word by word, as fscanf's %s does, but bounded.
#pragma once

#include <cstddef>
#include <cstdio>

namespace kestos {

// White space as the C library's isspace sees it in the "C" locale.
bool isSpace(int ch);
// Skips white space; the first other character stays unread.
void skipSpace(std::FILE* f);
// The next word into `out`. A word longer than the buffer is cut and the rest of it still
// consumed; `tooLong` (when given) tells. False at end of file (out untouched).
bool readWord(std::FILE* f, char* out, std::size_t outSize, bool* tooLong = nullptr);

} // namespace kestos
