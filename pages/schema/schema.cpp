#include "pages/schema/schema.h"

namespace kestos {

SchemaState schemaState;

namespace {
constexpr int lineStep = 10;
constexpr int pageStep = 50;
} // namespace

SchemaLayout startSchemaLayout(int sizeClass, int clientWidth, int clientHeight) {
    SchemaLayout layout = schemaLayoutFor(sizeClass, clientWidth, clientHeight);
    schemaState.schemaScrollX = 0;
    schemaState.schemaScrollY = 0;
    schemaState.schemaView = layout.view;
    if (layout.barsShown) {
        schemaState.schemaMaxX = static_cast<unsigned>(layout.maxX);
        schemaState.schemaMaxY = static_cast<unsigned>(layout.maxY);
    }
    return layout;
}

int schemaScrollStep(int offset, unsigned limit, ScrollCode code, int trackPosition) {
    auto back = [](int s) { return s <= 0 ? 1 : s; };
    auto on = [limit](int s) {
        return static_cast<unsigned>(s) > limit ? static_cast<int>(limit) : s;
    };
    switch (code) {
    case ScrollCode::thumbTrack: return trackPosition;
    case ScrollCode::pageRight: return on(offset + pageStep);
    case ScrollCode::pageLeft: return back(offset - pageStep);
    case ScrollCode::lineRight: return on(offset + lineStep);
    case ScrollCode::lineLeft: return back(offset - lineStep);
    default: return offset;
    }
}

} // namespace kestos
