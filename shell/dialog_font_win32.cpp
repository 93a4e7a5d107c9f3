#include "shell/dialog_font_win32.h"

#include <cstring>
#include <cwchar>
#include <vector>

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

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// Steps over a menu or class field of a template: none (0), an ordinal (0xFFFF, n) or a string.
const WORD* skipNameOrOrdinal(const WORD* at, const WORD* end) {
    if (at >= end) return end;
    if (*at == 0xFFFF) return at + 2;
    while (at < end && *at)
        ++at;
    return at + 1;
}

// The point size of an extended template that sets its font, or null.
WORD* pointSizeOf(std::vector<WORD>& words, std::size_t bytes) {
    // DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, style (two words each for the three
    // DWORDs), cDlgItems, x, y, cx, cy; 13 words.
    constexpr std::size_t headerWords = 13;
    if (bytes < headerWords * 2 || words[0] != 1 || words[1] != 0xFFFF) return nullptr;
    const DWORD style = words[6] | static_cast<DWORD>(words[7]) << 16;
    if (!(style & DS_SETFONT)) return nullptr;
    const WORD* end = words.data() + bytes / 2;
    const WORD* at = skipNameOrOrdinal(words.data() + headerWords, end); // menu
    at = skipNameOrOrdinal(at, end);                                       // class
    while (at < end && *at) // title
        ++at;
    ++at;
    return at < end ? words.data() + (at - words.data()) : nullptr;
}

} // namespace

HWND createPageDialog(HINSTANCE instance, int templateId, HWND parent, DLGPROC proc,
                      LPARAM param) {
    const int dpi = screenDpi();
    HRSRC found = dpi == 96 ? nullptr : FindResourceW(instance, MAKEINTRESOURCEW(templateId),
                                                      MAKEINTRESOURCEW(5)); // RT_DIALOG
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(instance, found) : 0;
    if (bytes && size >= 2 && size < 0x10000) { // a template is far smaller
        std::vector<WORD> copy((size + 1) / 2); // word-aligned, as a template must be
        std::memcpy(copy.data(), bytes, size);
        if (WORD* points = pointSizeOf(copy, size)) {
            const int scaled = *points * 96 / dpi;
            *points = static_cast<WORD>(scaled > 0 ? scaled : 1);
            return CreateDialogIndirectParamW(instance,
                                              reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()),
                                              parent, proc, param);
        }
    }
    return CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), parent, proc, param);
}

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
