// The Schema page's view onto the wiring diagram: the offsets into the picture and the scroll
// step of its two bars. Portable: the Win32 page owns the picture, the contexts and the bars.
#pragma once

#include "shell/scroll_code.h"
#include "shell/size_classes.h"

namespace kestos {

struct SchemaState {
    int schemaScrollX = 0; // source offset of the view into the picture
    int schemaScrollY = 0;
    unsigned schemaMaxX = 0; // largest offsets, in the classes that scroll
    unsigned schemaMaxY = 0;
    PixelBox schemaView = {0, 0, 0, 0};
};
extern SchemaState schemaState;

// Offsets back to the picture's top-left, view and limits for the class; the layout the page
// applies to its bars. `clientWidth` and `clientHeight` are the main window's client area.
SchemaLayout startSchemaLayout(int sizeClass, int clientWidth, int clientHeight);

// One notification of a bar: ±10 a line, ±50 a page, the thumb's track position. Moves back
// stop at 1, moves on at `limit` (compared unsigned, so a negative offset also stops there).
int schemaScrollStep(int offset, unsigned limit, ScrollCode code, int trackPosition);

} // namespace kestos
