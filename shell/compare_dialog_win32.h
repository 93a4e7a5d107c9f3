// The settings a configuration file differs in from the controller, one row each: before
// File > Open sends it (Send or Cancel), or for File > Compare with controller (Close).
#pragma once

#include <windows.h>

#include "pages/params/param_texts.h"

namespace kestos {

enum class CompareMode { beforeSending, view };

// Modal, owned by `owner`, centred on the main window. True when the fitter chose Send.
bool showCompareDialog(HWND owner, CompareMode mode, const ShownRow* rows, int count);

} // namespace kestos
