// What a scroll bar asked for, as the pages' portable scroll steps take it.
#pragma once

namespace kestos {

// Left and right stand for up and down as well.
enum class ScrollCode { lineLeft, lineRight, pageLeft, pageRight, thumbTrack, other };

} // namespace kestos
