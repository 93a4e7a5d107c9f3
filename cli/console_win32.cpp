#include "cli/console_win32.h"

#include <fcntl.h>
#include <io.h>

#include <vector>

namespace kestos {

namespace {

// How many bytes at the end of `text` begin a character that is not complete yet.
std::size_t cutCharacter(const char* text, std::size_t size) {
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto b = static_cast<unsigned char>(text[size - back]);
        if ((b & 0xC0) == 0x80) continue; // a continuation byte: look further back
        const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

} // namespace

bool writeConsoleUtf8(HANDLE console, const char* text, std::size_t size, std::string& carry) {
    carry.append(text, size);
    const std::size_t whole = carry.size() - cutCharacter(carry.data(), carry.size());
    if (whole == 0) return true;
    const int count = static_cast<int>(whole);
    std::vector<wchar_t> wide(whole);
    const int n = MultiByteToWideChar(CP_UTF8, 0, carry.data(), count, wide.data(), count);
    carry.erase(0, whole);
    for (int at = 0; at < n;) {
        DWORD written = 0;
        if (!WriteConsoleW(console, wide.data() + at, static_cast<DWORD>(n - at), &written,
                           nullptr) ||
            written == 0)
            return false;
        at += static_cast<int>(written);
    }
    return true;
}

CliStream::CliStream(DWORD which, std::FILE* plain) : file_(plain) {
    HANDLE console = GetStdHandle(which);
    DWORD mode = 0;
    int ends[2];
    if (!GetConsoleMode(console, &mode) || _pipe(ends, 4096, _O_BINARY) != 0) return;
    std::FILE* piped = _fdopen(ends[1], "wb");
    if (!piped) {
        _close(ends[0]);
        _close(ends[1]);
        return;
    }
    setvbuf(piped, nullptr, _IONBF, 0); // each write reaches the console at once
    file_ = piped;
    const int from = ends[0];
    copier_ = std::thread([console, from] {
        char buffer[4096];
        std::string carry;
        for (int n; (n = _read(from, buffer, sizeof buffer)) > 0;)
            writeConsoleUtf8(console, buffer, static_cast<std::size_t>(n), carry);
        _close(from);
    });
}

CliStream::~CliStream() {
    if (!copier_.joinable()) return;
    std::fclose(file_); // the copier sees the end of the pipe
    copier_.join();
}

} // namespace kestos
