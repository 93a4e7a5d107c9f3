#include "shell/canvas_win32.h"

#include <cstddef>

#include "shell/drawing_objects_win32.h"
#include "shell/shell_win32.h"
#include "shell/text_win32.h"

namespace kestos {

HFONT fontHandle(Font font) {
    switch (font) {
    case Font::pageValue: return shell.pageValueFont;
    case Font::pageLabel: return shell.pageLabelFont;
    case Font::label: return shell.labelFont;
    }
    return nullptr;
}

WindowCanvas::WindowCanvas(HWND window)
    : window_(window), textDc_(window ? GetDC(window) : nullptr),
      shapeDc_(window ? GetDC(window) : nullptr) {}

WindowCanvas::~WindowCanvas() {
    if (textDc_) {
        if (originalFont_) SelectObject(textDc_, originalFont_);
        ReleaseDC(window_, textDc_);
    }
    if (shapeDc_) {
        if (originalPen_) SelectObject(shapeDc_, originalPen_);
        if (originalBrush_) SelectObject(shapeDc_, originalBrush_);
        ReleaseDC(window_, shapeDc_);
    }
}

void WindowCanvas::select(Pen pen, Brush brush) {
    HGDIOBJ oldPen = SelectObject(shapeDc_, penHandle(pen));
    HGDIOBJ oldBrush = SelectObject(shapeDc_, brushHandle(brush));
    if (!originalPen_) originalPen_ = oldPen;
    if (!originalBrush_) originalBrush_ = oldBrush;
}

void WindowCanvas::rectangle(Pen pen, Brush brush, int left, int top, int right, int bottom) {
    if (!ready()) return;
    select(pen, brush);
    Rectangle(shapeDc_, left, top, right, bottom);
}

void WindowCanvas::roundRect(Pen pen, Brush brush, int left, int top, int right, int bottom,
                             int corner) {
    if (!ready()) return;
    select(pen, brush);
    RoundRect(shapeDc_, left, top, right, bottom, corner, corner);
}

void WindowCanvas::ellipse(Pen pen, Brush brush, int left, int top, int right, int bottom) {
    if (!ready()) return;
    select(pen, brush);
    Ellipse(shapeDc_, left, top, right, bottom);
}

void WindowCanvas::line(Pen pen, int x1, int y1, int x2, int y2) {
    const CanvasPoint points[2] = {{x1, y1}, {x2, y2}};
    polyline(pen, points, 2);
}

static_assert(sizeof(CanvasPoint) == sizeof(POINT) &&
                  offsetof(CanvasPoint, y) == offsetof(POINT, y),
              "points go to Polyline as they are");

void WindowCanvas::polyline(Pen pen, const CanvasPoint* points, int count) {
    if (!ready()) return;
    HGDIOBJ old = SelectObject(shapeDc_, penHandle(pen));
    if (!originalPen_) originalPen_ = old;
    Polyline(shapeDc_, reinterpret_cast<const POINT*>(points), count);
}

Rgb WindowCanvas::buttonFace() const {
    COLORREF c = GetSysColor(COLOR_BTNFACE);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

void WindowCanvas::text(Font font, Rgb foreground, Rgb background, int x, int y, const char* text,
                        int length) {
    if (!ready()) return;
    if (HFONT f = fontHandle(font)) {
        HGDIOBJ old = SelectObject(textDc_, f);
        if (!originalFont_) originalFont_ = old;
    }
    SetTextColor(textDc_, colorRef(foreground));
    SetBkColor(textDc_, colorRef(background));
    SetBkMode(textDc_, OPAQUE);
    textOutCp1250(textDc_, x, y, text, length);
}

} // namespace kestos
