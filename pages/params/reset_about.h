// The factory reset and the About dialog's firmware line: the parts that talk to the
// controller and decide what the fitter sees.
#pragma once

#include <cstddef>

#include "shell/file_system.h"

namespace kestos {

// Saves the controller's set to the backup folder, then sends the factory-reset action and
// waits for its answer. True when the controller confirmed it (answer byte 1 is 51).
bool factoryReset(FileSystem& files);

// The text of the About dialog's firmware line for the link state and status answer now.
constexpr std::size_t firmwareTextSize = 64;
void firmwareText(char (&text)[firmwareTextSize]);

} // namespace kestos
