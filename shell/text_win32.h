// Every text the program shows is code page 1250; these show it right whatever the system's
// ANSI code page is.
#pragma once

#include <windows.h>

namespace kestos {

// Converts up to `length` bytes (-1: to the terminating zero) into `out`, always terminated.
// Returns the number of UTF-16 units written, without the terminator.
int cp1250ToWide(const char* text, int length, wchar_t* out, int outSize);

void setWindowTextCp1250(HWND window, const char* text);
void setDlgItemTextCp1250(HWND dialog, int id, const char* text);
// A message box with a code page 1250 text and caption; returns the button pressed.
int messageBoxCp1250(HWND owner, const char* text, const char* caption, UINT type);
// Draws `length` bytes of `text` (-1: all of it).
void textOutCp1250(HDC dc, int x, int y, const char* text, int length);

} // namespace kestos
