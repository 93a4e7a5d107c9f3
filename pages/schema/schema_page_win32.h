// The Schema page's window: the picture of the language in a memory context for the life of
// the page, copied to the view, and the two scroll bars of the small classes.
#pragma once

#include <windows.h>

namespace kestos {

struct PageEntry;
extern const PageEntry schemaPage;

INT_PTR CALLBACK schemaPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Offsets to the start, view and bars for the size class, the picture loaded and shown.
void layoutSchemaPage();
// The current view copied again (the main window's paint).
void copySchemaView();

} // namespace kestos
