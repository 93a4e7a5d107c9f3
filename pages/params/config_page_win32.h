// The Configuration page (page 2): thirteen lists that write the controller's configuration.
#pragma once

#include <windows.h>

namespace kestos {

struct PageEntry;
extern const PageEntry configPage;

struct ParamPageKind;
// What the parameter pages' procedure (paramPageProc) does for this page.
extern const ParamPageKind configPageKind;

// On the page window while this page is the current page.
void fillConfigLists();
void setConfigLabels();
// Selections, enabling and the lambda point list's items from the device image.
void refreshConfigPage();

} // namespace kestos
