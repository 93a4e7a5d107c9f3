// What a page draws with. The pages decide what goes where in portable code; the Win32 canvas
// puts it on a window's device contexts, and tests record it.
#pragma once

#include "shell/palette.h"

namespace kestos {

enum class Font : uint8_t { pageValue, pageLabel, label };

struct CanvasPoint {
    int x, y;
};

// Device pixels; rectangles as left, top, right, bottom, outlined with the pen and filled
// with the brush. Text is opaque: each character cell is filled with the background colour.
class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void rectangle(Pen pen, Brush brush, int left, int top, int right, int bottom) = 0;
    // Corners rounded with an ellipse of `corner` x `corner` pixels.
    virtual void roundRect(Pen pen, Brush brush, int left, int top, int right, int bottom,
                           int corner) = 0;
    virtual void ellipse(Pen pen, Brush brush, int left, int top, int right, int bottom) = 0;
    virtual void line(Pen pen, int x1, int y1, int x2, int y2) = 0;
    // One line through `count` points, joined as one path.
    virtual void polyline(Pen pen, const CanvasPoint* points, int count) = 0;
    // `length` bytes of `text` (code page 1250).
    virtual void text(Font font, Rgb foreground, Rgb background, int x, int y, const char* text,
                      int length) = 0;
    // The system's colour of dialog and button faces, which labels are drawn opaque on.
    virtual Rgb buttonFace() const = 0;
};

} // namespace kestos
