// kestos-cli's output: Polish letters reach a console as its characters, whatever the console's
// code page, and a pipe or file gets the UTF-8 bytes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "cli/console_win32.h"

using namespace kestos;

namespace {

const char polish[] = "Zapisano \xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xC4\x99\xC5\x9B\xC5\x82"
                      "\xC4\x85 \xC5\x81\xC3\xB3" "d\xC5\xBA.kss"; // "Zapisano żółć ęślą Łódź.kss"
const wchar_t polishWide[] = L"Zapisano \u017C\u00F3\u0142\u0107 \u0119\u015B\u0142\u0105 "
                             L"\u0141\u00F3d\u017A.kss";

// The characters of the console's first row, trailing blanks cut.
std::wstring firstRow(HANDLE console) {
    wchar_t row[128] = {};
    DWORD read = 0;
    ReadConsoleOutputCharacterW(console, row, 127, COORD{0, 0}, &read);
    std::wstring s(row, read);
    return s.substr(0, s.find_last_not_of(L' ') + 1);
}

} // namespace

TEST(CliConsole, PolishLettersReachTheConsoleAsCharacters) {
    const HANDLE savedOut = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE savedErr = GetStdHandle(STD_ERROR_HANDLE);
    const HANDLE savedIn = GetStdHandle(STD_INPUT_HANDLE);
    // A console of the test's own: the one Wine may have attached reads nothing back.
    FreeConsole();
    const bool made = AllocConsole() != 0;
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || !GetConsoleMode(console, &mode)) {
        if (console != INVALID_HANDLE_VALUE) CloseHandle(console);
        console = GetStdHandle(STD_OUTPUT_HANDLE); // where AllocConsole put it
        if (!GetConsoleMode(console, &mode)) console = INVALID_HANDLE_VALUE;
    }
    if (console == INVALID_HANDLE_VALUE) {
        if (made) FreeConsole();
        GTEST_SKIP() << "this Wine gives the test no console to write to (AllocConsole "
                     << made << ", error " << GetLastError() << ")";
    }
    SetConsoleOutputCP(852); // a Polish console's code page, in which UTF-8 bytes are garbage

    // Straight, with a character cut between two writes.
    SetConsoleCursorPosition(console, COORD{0, 0});
    std::string carry;
    const std::size_t cut = 10; // inside the two bytes of 'ż'
    EXPECT_TRUE(writeConsoleUtf8(console, polish, cut, carry));
    EXPECT_EQ(carry.size(), 1u) << "the first byte of a character waits for the rest";
    EXPECT_TRUE(writeConsoleUtf8(console, polish + cut, sizeof polish - 1 - cut, carry));
    EXPECT_TRUE(carry.empty());
    EXPECT_EQ(firstRow(console), polishWide);

    // Through the stream kestos-cli writes to when its output is that console.
    DWORD blanks = 0;
    FillConsoleOutputCharacterW(console, L' ', 200, COORD{0, 0}, &blanks);
    SetConsoleCursorPosition(console, COORD{0, 0});
    SetStdHandle(STD_OUTPUT_HANDLE, console);
    {
        const CliStream out(STD_OUTPUT_HANDLE, stdout);
        EXPECT_NE(out.file(), stdout);
        std::fputs(polish, out.file());
    }
    EXPECT_EQ(firstRow(console), polishWide);

    CloseHandle(console);
    if (made) FreeConsole();
    SetStdHandle(STD_OUTPUT_HANDLE, savedOut);
    SetStdHandle(STD_ERROR_HANDLE, savedErr);
    SetStdHandle(STD_INPUT_HANDLE, savedIn);
}
