// The five window-size presets: every per-class table, the current class and the pure rules
// that the window code applies (desktop class, placement, scale factors, page layouts).
#pragma once

#include "res/resource.h"

namespace kestos {

constexpr int sizeClassCount = 5;
constexpr int barCount = 4;

struct PixelBox {
    int x;
    int y;
    int width;
    int height;
};

struct PixelPoint {
    int x;
    int y;
};

// Left and right are offsets added to each `barX`; top and bottom are page pixels.
struct BarRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct FontDesc {
    int height;
    int width;
    int weight;
};

struct ResetLayout {
    PixelPoint title;
    PixelPoint note;
    PixelBox button;
};

// Classes 1 and 2 show a scrolled window onto the picture; the larger ones centre all of it.
struct SchemaTableEntry {
    bool centred;
    PixelBox view; // x and y unused when centred
    PixelBox hBar; // IDC_SCHEMA_HSCROLL
    PixelBox vBar; // IDC_SCHEMA_VSCROLL
};

// The Oscilloscope page's cursor bar (1117) and check box (1071), placed on every paint.
struct ScopeControlsLayout {
    PixelBox cursorBar;
    PixelBox cursorCheck;
    bool checkMoved; // false: the check box stays where the template put it
};

struct SizeClassInfo {
    int menuItem;
    const char* menuCaption;
    int windowWidth;
    int windowHeight;
    double scaleX;
    double scaleY;
    int lampDiameter;
    FontDesc pageValueFont;
    FontDesc pageLabelFont;
    PixelBox learnButton;
    BarRect barRect;
    int barX[barCount];
    ResetLayout reset;
    SchemaTableEntry schema;
    ScopeControlsLayout scope;
    int configurationTemplate;
    int optionsTemplate;
};

// Schema picture size; the scroll limits are derived from it.
constexpr int schemaBitmapWidth = 961;
constexpr int schemaBitmapHeight = 636;

// The larger classes centre the whole picture; the view's place comes from the client area.
inline constexpr SchemaTableEntry centredSchema = {
    true, {0, 0, schemaBitmapWidth, schemaBitmapHeight}, {0, 0, 0, 0}, {0, 0, 0, 0}};

// Index 0 is size class 1.
inline constexpr SizeClassInfo sizeClassTable[sizeClassCount] = {
    {
        .menuItem = IDM_SIZE_640X480,
        .menuCaption = "640x480",
        .windowWidth = 640,
        .windowHeight = 450,
        .scaleX = 0.8,
        .scaleY = 0.77,
        .lampDiameter = 22,
        .pageValueFont = {28, 11, 600},
        .pageLabelFont = {14, 6, 300},
        .learnButton = {560, 358, 51, 30},
        .barRect = {0, 123, 57, 142},
        .barX = {113, 172, 231, 290},
        .reset = {{65, 90}, {65, 130}, {85, 190, 450, 45}},
        .schema = {false, {10, 10, 600, 370}, {10, 380, 600, 15}, {610, 10, 15, 370}},
        .scope = {{137, 0, 364, 20}, {490, 20, 550, 40}, true},
        .configurationTemplate = IDD_CONFIG_640X480,
        .optionsTemplate = IDD_OPTIONS_640X480,
    },
    {
        .menuItem = IDM_SIZE_800X600,
        .menuCaption = "800x600",
        .windowWidth = 800,
        .windowHeight = 570,
        .scaleX = 1.0,
        .scaleY = 1.0,
        .lampDiameter = 30,
        .pageValueFont = {36, 14, 600},
        .pageLabelFont = {18, 8, 300},
        .learnButton = {695, 465, 70, 40},
        .barRect = {0, 160, 72, 185},
        .barX = {140, 214, 288, 362},
        .reset = {{150, 130}, {150, 170}, {120, 250, 550, 55}},
        .schema = {false, {10, 10, 750, 485}, {10, 495, 750, 20}, {760, 10, 20, 485}},
        .scope = {{180, 0, 440, 25}, {0, 0, 0, 0}, false},
        .configurationTemplate = IDD_CONFIG_800X600,
        .optionsTemplate = IDD_OPTIONS_800X600,
    },
    {
        .menuItem = IDM_SIZE_1024X768,
        .menuCaption = "1024x768",
        .windowWidth = 1024,
        .windowHeight = 738,
        .scaleX = 1.28,
        .scaleY = 1.32,
        .lampDiameter = 40,
        .pageValueFont = {49, 18, 600},
        .pageLabelFont = {20, 10, 300},
        .learnButton = {880, 610, 95, 60},
        .barRect = {0, 211, 92, 243},
        .barX = {180, 274, 368, 462},
        .reset = {{250, 150}, {250, 200}, {150, 300, 700, 65}},
        .schema = centredSchema,
        .scope = {{235, 0, 548, 30}, {800, 0, 900, 25}, true},
        .configurationTemplate = IDD_CONFIG_1024X768,
        .optionsTemplate = IDD_OPTIONS_1024X768,
    },
    {
        .menuItem = IDM_SIZE_1280X960,
        .menuCaption = "1280x960",
        .windowWidth = 1280,
        .windowHeight = 930,
        .scaleX = 1.6,
        .scaleY = 1.69,
        .lampDiameter = 50,
        .pageValueFont = {62, 23, 600},
        .pageLabelFont = {24, 12, 300},
        .learnButton = {1100, 780, 120, 75},
        .barRect = {0, 268, 115, 313},
        .barX = {225, 343, 461, 579},
        .reset = {{360, 250}, {360, 300}, {220, 400, 800, 75}},
        .schema = centredSchema,
        .scope = {{300, 10, 677, 40}, {1000, 0, 1100, 45}, true},
        .configurationTemplate = IDD_CONFIG_1280X960,
        .optionsTemplate = IDD_OPTIONS_1280X960,
    },
    {
        .menuItem = IDM_SIZE_1280X1024,
        .menuCaption = "1280x1024",
        .windowWidth = 1280,
        .windowHeight = 994,
        .scaleX = 1.6,
        .scaleY = 1.81,
        .lampDiameter = 55,
        .pageValueFont = {65, 23, 600},
        .pageLabelFont = {24, 12, 300},
        .learnButton = {1100, 840, 120, 75},
        .barRect = {0, 288, 115, 335},
        .barX = {225, 343, 461, 579},
        .reset = {{360, 300}, {360, 350}, {220, 450, 800, 75}},
        .schema = centredSchema,
        .scope = {{300, 15, 677, 45}, {1000, 0, 1100, 50}, true},
        .configurationTemplate = IDD_CONFIG_1280X1024,
        .optionsTemplate = IDD_OPTIONS_1280X1024,
    },
};

// The row of a class, or nullptr outside 1..5.
constexpr const SizeClassInfo* sizeClassInfo(int sizeClass) {
    if (sizeClass < 1 || sizeClass > sizeClassCount) return nullptr;
    return &sizeClassTable[sizeClass - 1];
}

// Class of a size menu command, 0 for any other id.
constexpr int sizeClassForMenuItem(int id) {
    for (int c = 1; c <= sizeClassCount; ++c)
        if (sizeClassTable[c - 1].menuItem == id) return c;
    return 0;
}

// Fonts: one description shared by all; only height, width and weight differ.
inline constexpr FontDesc labelFont = {18, 8, 300};
constexpr int fontCharSet = 238;         // East European
constexpr int fontPitchAndFamily = 0x20; // Swiss family, default pitch

// The Reset page's two statics have the same size in every class.
constexpr int resetStaticWidth = 800;
constexpr int resetStaticHeight = 40;

// Largest preset a desktop with right edge R and bottom edge B holds; also the start preset.
constexpr int desktopClassFor(int right, int bottom) {
    if (right >= 1280 && bottom >= 1024) return 5;
    if (right >= 1280 && bottom >= 960) return 4;
    if (right >= 1024) return 3;
    if (right >= 800) return 2;
    return 1;
}

// Centred on the desktop, or at (0, 0) when there is 50 pixels of width or less to spare.
// Signed, so a window taller than the desktop gets a negative top edge.
constexpr PixelPoint windowPlacement(int desktopRight, int desktopBottom, int width, int height) {
    if (desktopRight - width <= 50) return {0, 0};
    return {(desktopRight - width) / 2, (desktopBottom - height) / 2};
}

// The same rule inside the work area (the screen less the taskbar), from its top-left corner;
// a window taller than the work area keeps its title bar on screen.
constexpr PixelPoint windowPlacementInWorkArea(int left, int top, int right, int bottom, int width,
                                               int height) {
    const PixelPoint p = windowPlacement(right - left, bottom - top, width, height);
    return {left + p.x, top + (p.y < 0 ? 0 : p.y)};
}

// Size item of class c is enabled on a desktop of class d (1..5).
constexpr bool sizeItemEnabled(int desktopClass, int sizeClass) {
    return desktopClass >= 1 && desktopClass <= sizeClassCount && sizeClass >= 1 &&
           sizeClass <= desktopClass;
}

struct SchemaLayout {
    PixelBox view;
    bool barsShown;
    PixelBox hBar;
    PixelBox vBar;
    int maxX; // scroll limits, only meaningful when barsShown
    int maxY;
};

// View and bars of the Schema page; the larger classes centre the picture in the client area.
constexpr SchemaLayout schemaLayoutFor(int sizeClass, int clientWidth, int clientHeight) {
    const SizeClassInfo* info = sizeClassInfo(sizeClass);
    if (info && !info->schema.centred) {
        const SchemaTableEntry& s = info->schema;
        return {s.view,
                true,
                s.hBar,
                s.vBar,
                schemaBitmapWidth - s.view.width,
                schemaBitmapHeight - s.view.height};
    }
    PixelBox view = {(clientWidth - schemaBitmapWidth) / 2, (clientHeight - schemaBitmapHeight) / 2,
                     schemaBitmapWidth, schemaBitmapHeight};
    return {view, false, {0, 0, 0, 0}, {0, 0, 0, 0}, 0, 0};
}

// Current class and what was last applied from it.
struct SizeState {
    int sizeClass = 1;
    int windowWidth = 0;
    int windowHeight = 0;
    int desktopClass = 0;
    int lastDesktopWidth = 0;
    int lastDesktopHeight = 0;
    double scaleX = 0.8;
    double scaleY = 0.77;
    int lampDiameter = 30;
    BarRect barRect = {0, 0, 0, 0};
    int barX[barCount] = {0, 0, 0, 0};
};

extern SizeState sizeState;

// Back to the values at load. For start-up and tests.
void resetSizeState();

// Sets `sizeClass`, `windowWidth` and `windowHeight` from the table; false (nothing changed)
// outside 1..5.
bool selectSizeClass(int sizeClass);

// The value half of `markSizeClass`: scale factors and bar geometry of a class (the caller
// passes `sizeClass`). Outside 1..5 nothing changes and false tells the caller to leave every
// size item unchecked.
bool markSizeClassValues(int sizeClass);

// `lampDiameter` of a class, set together with the page fonts; false and unchanged outside 1..5.
bool selectClassLamp(int sizeClass);

// The value half of `enableSizeItems`: stores d as `desktopClass`; false when d is outside
// 1..5 and the items are to be left as they are.
bool storeDesktopClass(int desktopClass);

// Stores the desktop's right and bottom edges; true when they differ from the last ones seen.
bool noteDesktopSize(int right, int bottom);

// Design coordinate to device pixels in the current class, truncated toward zero.
int scaledX(int x);
int scaledY(int y);

} // namespace kestos
