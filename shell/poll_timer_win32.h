// The poll timers of the pages and the emulation dialog.
#pragma once

#include <windows.h>

namespace kestos {

// Arms `timer` of `window` with `pollInterval` and records the period armed, which a tick
// compares with (timerNeedsRearm) to know whether to arm again.
void armPollTimer(HWND window, UINT_PTR timer);

} // namespace kestos
