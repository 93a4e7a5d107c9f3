#include "shell/shell_win32.h"
#include "shell/size_classes.h"

namespace kestos {

namespace {

HFONT pageValueFonts[sizeClassCount];
HFONT pageLabelFonts[sizeClassCount];
HFONT labelFontHandle;

HFONT createFont(const FontDesc& f) {
    return CreateFontW(f.height, f.width, 0, 0, f.weight, FALSE, FALSE, FALSE, fontCharSet,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, fontPitchAndFamily,
                       nullptr);
}

} // namespace

void createFonts() {
    // Created once and kept for the life of the process; size changes only select among them.
    if (!labelFontHandle) {
        for (int c = 0; c < sizeClassCount; ++c) {
            pageValueFonts[c] = createFont(sizeClassTable[c].pageValueFont);
            pageLabelFonts[c] = createFont(sizeClassTable[c].pageLabelFont);
        }
        labelFontHandle = createFont(labelFont);
    }
    shell.labelFont = labelFontHandle;
}

void selectClassFonts() {
    const int c = sizeState.sizeClass;
    if (!sizeClassInfo(c)) return;
    shell.pageValueFont = pageValueFonts[c - 1];
    shell.pageLabelFont = pageLabelFonts[c - 1];
    selectClassLamp(c);
}

} // namespace kestos
