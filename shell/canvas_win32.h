// A canvas on a window: two device contexts, one carrying the text state and one the shapes'
// pen and brush, obtained at construction and released, with every object they had selected
// put back, at destruction. Nothing is created per drawing.
#pragma once

#include <windows.h>

#include "shell/canvas.h"

namespace kestos {

class WindowCanvas final : public Canvas {
  public:
    explicit WindowCanvas(HWND window);
    ~WindowCanvas() override;
    WindowCanvas(const WindowCanvas&) = delete;
    WindowCanvas& operator=(const WindowCanvas&) = delete;

    bool ready() const { return textDc_ && shapeDc_; }

    void rectangle(Pen pen, Brush brush, int left, int top, int right, int bottom) override;
    void roundRect(Pen pen, Brush brush, int left, int top, int right, int bottom,
                   int corner) override;
    void ellipse(Pen pen, Brush brush, int left, int top, int right, int bottom) override;
    void line(Pen pen, int x1, int y1, int x2, int y2) override;
    void polyline(Pen pen, const CanvasPoint* points, int count) override;
    void text(Font font, Rgb foreground, Rgb background, int x, int y, const char* text,
              int length) override;
    Rgb buttonFace() const override;

  private:
    void select(Pen pen, Brush brush);
    HWND window_;
    HDC textDc_;
    HDC shapeDc_;
    HGDIOBJ originalFont_ = nullptr;
    HGDIOBJ originalPen_ = nullptr;
    HGDIOBJ originalBrush_ = nullptr;
};

HFONT fontHandle(Font font);

} // namespace kestos
