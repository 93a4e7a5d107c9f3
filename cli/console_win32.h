// kestos-cli's output on Windows. A console shows what WriteConsoleW gives it, whatever its code
// page (UTF-8 bytes come out garbled in a cp852 console); a file or a pipe gets the UTF-8 bytes
// as they are.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <thread>

namespace kestos {

// Writes UTF-8 text to a console as UTF-16. A character cut at the end waits in `carry` for the
// next call. False when the console refused the text.
bool writeConsoleUtf8(HANDLE console, const char* text, std::size_t size, std::string& carry);

// A standard stream (STD_OUTPUT_HANDLE or STD_ERROR_HANDLE) as kestos-cli writes to it: `plain`
// itself when it is not a console, else a pipe whose bytes a thread writes to the console.
class CliStream {
  public:
    CliStream(DWORD which, std::FILE* plain);
    ~CliStream(); // all that was written has reached the console
    CliStream(const CliStream&) = delete;
    CliStream& operator=(const CliStream&) = delete;
    std::FILE* file() const { return file_; }

  private:
    std::FILE* file_;
    std::thread copier_;
};

} // namespace kestos
