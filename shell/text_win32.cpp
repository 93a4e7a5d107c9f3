#include "shell/text_win32.h"

#include <cstring>

namespace kestos {

namespace {
constexpr UINT codePage = 1250;
constexpr int maxText = 512;
} // namespace

int cp1250ToWide(const char* text, int length, wchar_t* out, int outSize) {
    if (outSize <= 0) return 0;
    out[0] = 0;
    if (!text) return 0;
    if (length < 0) length = static_cast<int>(std::strlen(text));
    if (length == 0) return 0;
    int n = MultiByteToWideChar(codePage, 0, text, length, out, outSize - 1);
    if (n <= 0) {
        // Too long for the buffer: take what fits.
        n = MultiByteToWideChar(codePage, 0, text, length < outSize - 1 ? length : outSize - 1, out,
                                outSize - 1);
        if (n < 0) n = 0;
    }
    out[n] = 0;
    return n;
}

void setWindowTextCp1250(HWND window, const char* text) {
    wchar_t wide[maxText];
    cp1250ToWide(text, -1, wide, maxText);
    SetWindowTextW(window, wide);
}

void setDlgItemTextCp1250(HWND dialog, int id, const char* text) {
    HWND item = GetDlgItem(dialog, id);
    if (item) setWindowTextCp1250(item, text);
}

int messageBoxCp1250(HWND owner, const char* text, const char* caption, UINT type) {
    wchar_t wideText[maxText], wideCaption[maxText];
    cp1250ToWide(text, -1, wideText, maxText);
    cp1250ToWide(caption, -1, wideCaption, maxText);
    return MessageBoxW(owner, wideText, wideCaption, type);
}

void textOutCp1250(HDC dc, int x, int y, const char* text, int length) {
    wchar_t wide[maxText];
    int n = cp1250ToWide(text, length, wide, maxText);
    TextOutW(dc, x, y, wide, n);
}

} // namespace kestos
