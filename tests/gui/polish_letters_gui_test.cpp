// Polish letters on the pages whose labels come from dialog templates. Under Wine in a locale
// that is not Polish, the templates' "MS Sans Serif" falls back to a Western font that draws
// them as the box it draws for a character no font has. Each letter, drawn alone in a label of
// the page, must differ from that box. (The gui_polish_letters_en test runs this in English.)
#include "tests/support/main_window_fixture.h"

#include <string>

#include "res/resource.h"

namespace {
class PolishLetters : public kestos::test::MainWindow {};
} // namespace

TEST_F(PolishLetters, TemplateLabelsDrawTheLettersNotTheMissingGlyph) {
    // Where the label is dark once it shows `text` alone (it is left-aligned: a glyph's shape).
    auto drawn = [this](HWND label, const wchar_t* text) {
        SetWindowTextW(label, text);
        ShowWindow(label, SW_SHOW);
        RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        pump(20);
        RECT r{};
        GetClientRect(label, &r);
        HDC dc = GetDC(label);
        std::string dark;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96 ? '#' : '.';
            }
        ReleaseDC(label, dc);
        return dark;
    };
    ASSERT_TRUE(start());
    command(IDM_SIZE_800X600);
    for (auto [pageItem, id] : {std::pair{IDM_PAGE_CONFIG, IDC_CFG_LAMBDA_TYPE_LABEL},
                                {IDM_PAGE_OPTIONS, IDC_OPT_ATT_MIN_LABEL},
                                {IDM_PAGE_RESET, IDC_RESET_NOTE}}) {
        SCOPED_TRACE(pageItem);
        command(pageItem);
        HWND label = GetDlgItem(kestos::shell.pageWindow, id);
        ASSERT_NE(label, nullptr);
        const std::string missing = drawn(label, L"\xE000"); // private use: no font has it
        for (const wchar_t* letter : {L"\x0142", L"\x0105", L"\x015B", L"\x017C"}) {
            const std::string shape = drawn(label, letter);
            EXPECT_NE(shape.find('#'), std::string::npos) << "U+" << std::hex << int(letter[0]);
            EXPECT_TRUE(shape != missing)
                << "U+" << std::hex << int(letter[0]) << " draws as the missing-glyph box";
        }
    }
}
