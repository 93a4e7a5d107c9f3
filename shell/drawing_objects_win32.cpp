#include "shell/drawing_objects_win32.h"

namespace kestos {

namespace {

HPEN pen(int width, COLORREF c) {
    return CreatePen(PS_SOLID, width, c);
}
HBRUSH brush(COLORREF c) {
    return CreateSolidBrush(c);
}

DrawingObjects create() {
    DrawingObjects d;
    d.penCyan = pen(1, RGB(0, 255, 255));
    d.penDarkGreen = pen(1, RGB(0, 128, 0));
    d.penYellow = pen(1, RGB(255, 255, 0));
    d.penRed = pen(1, RGB(255, 0, 0));
    d.penRed2 = pen(2, RGB(255, 0, 0));
    d.penRed4 = pen(4, RGB(255, 0, 0));
    d.penNavy = pen(1, RGB(0, 0, 128));
    d.penNavy2 = pen(2, RGB(0, 0, 128));
    d.penBlue2 = pen(2, RGB(0, 0, 255));
    d.penGray = pen(1, RGB(128, 128, 128));
    d.penBlack = pen(1, RGB(0, 0, 0));
    d.penBlack4 = pen(4, RGB(0, 0, 0));
    d.penWhite = pen(1, RGB(255, 255, 255));
    d.penLightGray = pen(1, RGB(192, 192, 192));
    d.penOlive2 = pen(2, RGB(128, 120, 0));
    d.penGreen2 = pen(2, RGB(0, 255, 0));
    d.penPale2 = pen(2, RGB(210, 210, 210));
    d.brushGray = brush(RGB(128, 128, 128));
    d.brushGreen = brush(RGB(0, 255, 0));
    d.brushBlack = brush(RGB(0, 0, 0));
    d.brushNavy = brush(RGB(0, 0, 128));
    d.brushLightGray = brush(RGB(192, 192, 192));
    d.brushCyan = brush(RGB(0, 255, 255));
    d.brushRed = brush(RGB(255, 0, 0));
    d.brushWhite = brush(RGB(255, 255, 255));
    d.brushDarkGreen = brush(RGB(0, 128, 0));
    d.brushYellow = brush(RGB(255, 255, 0));
    d.brushOlive = brush(RGB(128, 128, 0));
    return d;
}

const DrawingObjects objects = create();

} // namespace

const DrawingObjects& draw = objects;

} // namespace kestos
