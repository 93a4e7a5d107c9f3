// Polish letters on the pages whose labels come from dialog templates. Under Wine in a locale
// that is not Polish, the templates' "MS Sans Serif" falls back to a Western font that draws
// them as the box it draws for a character no font has. Each letter, drawn alone in a label of
// the page, must differ from that box. (The gui_polish_letters_en test runs this in English.)
#include "tests/gui/main_window_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource.h"

using kestos::test::MainWindow;

namespace {

// The dark pixels of a control's client area, cropped to their bounding box: the shape of
// what it draws, wherever in the control it is drawn.
struct Shape {
    int width = 0, height = 0;
    std::vector<bool> dark;
    bool operator==(const Shape&) const = default;
};

Shape shapeOf(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    const int w = r.right, h = r.bottom;
    HDC dc = GetDC(control);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* px = static_cast<const unsigned char*>(bits);
    auto isDark = [&](int x, int y) {
        const unsigned char* p = px + (static_cast<size_t>(y) * w + x) * 4;
        return p[0] + p[1] + p[2] < 3 * 96;
    };
    int left = w, top = h, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (isDark(x, y)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    Shape s;
    if (right >= 0) {
        s.width = right - left + 1, s.height = bottom - top + 1;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                s.dark.push_back(isDark(x, y));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(control, dc);
    return s;
}

class PolishLetters : public MainWindow {
  protected:
    Shape drawn(HWND label, const wchar_t* text) {
        SetWindowTextW(label, text);
        ShowWindow(label, SW_SHOW);
        RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        pump(20);
        return shapeOf(label);
    }
};

struct LabelOfPage {
    const char* page;
    int pageItem;
    int label;
};
constexpr LabelOfPage labels[] = {
    {"Configuration", IDM_PAGE_CONFIG, IDC_CFG_LAMBDA_TYPE_LABEL},
    {"Options", IDM_PAGE_OPTIONS, IDC_OPT_ATT_MIN_LABEL},
    {"Reset", IDM_PAGE_RESET, IDC_RESET_NOTE},
};

} // namespace

TEST_F(PolishLetters, TemplateLabelsDrawTheLettersNotTheMissingGlyph) {
    ASSERT_TRUE(start());
    command(IDM_SIZE_800X600);
    for (const LabelOfPage& l : labels) {
        SCOPED_TRACE(l.page);
        command(l.pageItem);
        HWND label = GetDlgItem(kestos::shell.pageWindow, l.label);
        ASSERT_NE(label, nullptr);
        // A private-use character: no font has a glyph for it.
        const Shape missing = drawn(label, L"\xE000");
        for (const wchar_t* letter : {L"\x0142", L"\x0105", L"\x015B", L"\x017C"}) {
            const Shape shape = drawn(label, letter);
            EXPECT_FALSE(shape.dark.empty()) << "U+" << std::hex << int(letter[0]);
            EXPECT_NE(shape, missing)
                << "U+" << std::hex << int(letter[0]) << " draws as the missing-glyph box";
        }
    }
}
