// A canvas that records what a page drew, for tests of the drawing decisions.
#pragma once

#include <string>
#include <vector>

#include "shell/canvas.h"

struct DrawOp {
    enum Kind { rectangle, roundRect, ellipse, line, text, polyline } kind;
    kestos::Pen pen = kestos::Pen::black;
    kestos::Brush brush = kestos::Brush::white;
    int a = 0, b = 0, c = 0, d = 0; // left, top, right, bottom; or x1, y1, x2, y2; or x, y
    kestos::Font font = kestos::Font::pageLabel;
    kestos::Rgb foreground{}, background{};
    std::string str;
    std::vector<kestos::CanvasPoint> points; // of a polyline
};

class RecordingCanvas : public kestos::Canvas {
  public:
    std::vector<DrawOp> ops;

    void rectangle(kestos::Pen p, kestos::Brush br, int l, int t, int r, int b) override {
        ops.push_back({DrawOp::rectangle, p, br, l, t, r, b, {}, {}, {}, {}, {}});
    }
    void roundRect(kestos::Pen p, kestos::Brush br, int l, int t, int r, int b, int) override {
        ops.push_back({DrawOp::roundRect, p, br, l, t, r, b, {}, {}, {}, {}, {}});
    }
    void ellipse(kestos::Pen p, kestos::Brush br, int l, int t, int r, int b) override {
        ops.push_back({DrawOp::ellipse, p, br, l, t, r, b, {}, {}, {}, {}, {}});
    }
    void line(kestos::Pen p, int x1, int y1, int x2, int y2) override {
        ops.push_back({DrawOp::line, p, {}, x1, y1, x2, y2, {}, {}, {}, {}, {}});
    }
    void polyline(kestos::Pen p, const kestos::CanvasPoint* points, int count) override {
        DrawOp op{DrawOp::polyline, p, {}, 0, 0, 0, 0, {}, {}, {}, {}, {}};
        op.points.assign(points, points + count);
        ops.push_back(op);
    }
    kestos::Rgb buttonFace() const override { return {212, 208, 200}; }
    void text(kestos::Font f, kestos::Rgb fg, kestos::Rgb bg, int x, int y, const char* s,
              int length) override {
        ops.push_back(
            {DrawOp::text, {}, {}, x, y, 0, 0, f, fg, bg, std::string(s, size_t(length)), {}});
    }

    // The last text drawn at (x, y), or nullptr.
    const DrawOp* lastTextAt(int x, int y) const {
        for (auto it = ops.rbegin(); it != ops.rend(); ++it)
            if (it->kind == DrawOp::text && it->a == x && it->b == y) return &*it;
        return nullptr;
    }
    std::vector<const DrawOp*> all(DrawOp::Kind kind) const {
        std::vector<const DrawOp*> out;
        for (const DrawOp& op : ops)
            if (op.kind == kind) out.push_back(&op);
        return out;
    }
    void clear() { ops.clear(); }
};
