// The Options page (page 3): options check boxes, switch-over limits and emulation settings,
// with the emulation dialog behind its emulation button.
#pragma once

#include <windows.h>

namespace kestos {

struct PageEntry;
extern const PageEntry optionsPage;

struct ParamPageKind;
// What the parameter pages' procedure (paramPageProc) does for this page.
extern const ParamPageKind optionsPageKind;

// On the page window while this page is the current page.
void fillOptionsLists();
void setOptionsLabels();
// Check boxes, what they show, and the selections from the device image.
void refreshOptionsPage();

} // namespace kestos
