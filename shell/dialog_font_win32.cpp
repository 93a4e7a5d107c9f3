#include "shell/dialog_font_win32.h"

#include <cwchar>

namespace kestos {

namespace {

// One replacement a template font size, kept for the program's life: pages are made again at
// every switch, and a font each time would leak or churn GDI objects.
struct FittedFont {
    LONG height;
    LONG weight;
    HFONT font;
};
constexpr int fittedFontsKept = 8;
FittedFont fittedFonts[fittedFontsKept];
int fittedFontCount = 0;

HFONT fittedFontFor(const LOGFONTW& from) {
    for (int i = 0; i < fittedFontCount; ++i)
        if (fittedFonts[i].height == from.lfHeight && fittedFonts[i].weight == from.lfWeight)
            return fittedFonts[i].font;
    if (fittedFontCount == fittedFontsKept) return nullptr;
    LOGFONTW lf = from;
    lf.lfCharSet = EASTEUROPE_CHARSET;
    std::wcsncpy(lf.lfFaceName, L"Tahoma", LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
    HFONT font = CreateFontIndirectW(&lf);
    if (font) fittedFonts[fittedFontCount++] = {from.lfHeight, from.lfWeight, font};
    return font;
}

// Whether the font GDI chose for `font` has no glyph for one of the Polish letters. A font
// that cannot say (GetGlyphIndices fails) is taken to lack them.
bool lacksPolishLetters(HFONT font) {
    static const wchar_t letters[] = L"\x0105\x0107\x0119\x0142\x0144\x00F3\x015B\x017A\x017C"
                                     L"\x0104\x0106\x0118\x0141\x0143\x00D3\x015A\x0179\x017B";
    constexpr int count = static_cast<int>(sizeof letters / sizeof letters[0]) - 1;
    WORD glyphs[count];
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const DWORD n = GetGlyphIndicesW(dc, letters, count, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (n != static_cast<DWORD>(count)) return true;
    for (WORD g : glyphs)
        if (g == 0xFFFF) return true;
    return false;
}

BOOL CALLBACK setChildFont(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

bool runningUnderWine() {
    static const bool wine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

} // namespace

void fitDialogFont(HWND dialog) {
    if (!dialog || !runningUnderWine()) return;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    if (!font || GetObjectW(font, sizeof lf, &lf) == 0) return;
    // Wine makes the template's font in the default character set, whatever the template
    // asks for, so what counts is whether the chosen font has the letters.
    if (!lacksPolishLetters(font)) return;
    HFONT fitted = fittedFontFor(lf);
    // The dialog keeps its own font (it deletes it with itself); only its controls change.
    if (fitted) EnumChildWindows(dialog, setChildFont, reinterpret_cast<LPARAM>(fitted));
}

} // namespace kestos
