// The Port menu beyond COM1..COM4: the other serial ports present, listed each time the menu
// opens, and Find controller.
#pragma once

#include <windows.h>

#include <vector>

#include "link/port_list.h"

namespace kestos {

// Where the ports present come from; tests put their own list here.
extern std::vector<PresentPort> (*listPresentPorts)();

// WM_INITMENUPOPUP: `menu` is the Port menu when it holds COM1's item.
void onInitMenuPopup(HMENU menu);
// COMn above COM4 chosen from the menu, and Find controller; false for other ids.
bool runPortCommand(int id);

} // namespace kestos
