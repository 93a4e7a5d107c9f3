#include "shell/poll_timer_win32.h"

#include "link/device_link.h"

namespace kestos {

void armPollTimer(HWND window, UINT_PTR timer) {
    SetTimer(window, timer, static_cast<UINT>(linkState.pollInterval), nullptr);
    linkState.armedInterval = linkState.pollInterval;
}

} // namespace kestos
