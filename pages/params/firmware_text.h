// The About dialog's firmware line: what the fitter reads there for the link state and the
// status answer.
#pragma once

#include <cstddef>

namespace kestos {

// The text of the About dialog's firmware line for the link state and status answer now.
constexpr std::size_t firmwareTextSize = 64;
void firmwareText(char (&text)[firmwareTextSize]);

} // namespace kestos
