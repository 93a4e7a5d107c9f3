#include "shell/drawing_objects_win32.h"

namespace kestos {

namespace {

constexpr int penCount = static_cast<int>(Pen::count);
constexpr int brushCount = static_cast<int>(Brush::count);

struct DrawingObjects {
    HPEN pens[penCount];
    HBRUSH brushes[brushCount];
    DrawingObjects() {
        for (int i = 0; i < penCount; ++i)
            pens[i] = CreatePen(PS_SOLID, penSpecs[i].width, colorRef(penSpecs[i].colour));
        for (int i = 0; i < brushCount; ++i)
            brushes[i] = CreateSolidBrush(colorRef(brushColours[i]));
    }
};

const DrawingObjects objects;

} // namespace

HPEN penHandle(Pen pen) {
    return objects.pens[static_cast<int>(pen)];
}
HBRUSH brushHandle(Brush brush) {
    return objects.brushes[static_cast<int>(brush)];
}

} // namespace kestos
