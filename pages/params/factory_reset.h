// The factory reset of the Reset page: the controller's set goes to the backup folder, then
// the controller is told to restore its own.
#pragma once

#include "shell/file_system.h"

namespace kestos {

// Saves the controller's set to the backup folder, then sends the factory-reset action and
// waits for its answer. True when the controller confirmed it (answer byte 1 is 51).
bool factoryReset(FileSystem& files);

} // namespace kestos
