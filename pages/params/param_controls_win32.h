// What the parameter pages and the emulation dialog do alike with their controls: fill lists
// from the item tables, select, show, enable, label, and read a list's notifications.
#pragma once

#include <windows.h>

#include "pages/params/param_lists.h"

namespace kestos {

// Empties a list and adds the items.
void fillList(HWND dialog, int id, const ListItems& items);
// Selects `position`; -1 (or a position past the end) leaves no selection.
void selectListPosition(HWND dialog, int id, int position);
// The list's selection from the device image.
void selectFromImage(HWND dialog, const ParamList& list);

void setLabels(HWND dialog, const LabelSlot* labels, int count);
// `ids` ends with 0.
void showControls(HWND dialog, const int* ids, bool shown);
void enableControls(HWND dialog, const int* ids, bool enabled);

// A list's WM_COMMAND: dropped down pauses polling, a selection is returned in `position`
// (true), any other notification ends the pause.
bool listSelection(HWND dialog, WPARAM wParam, int* position);

// A modal dialog of these pages sits in the middle of the screen, its size unchanged.
void centreOnScreen(HWND dialog);

// The Configuration and Options pages alike: the page timer polls, a paint re-arms it, and the
// page fills the main window's client area at the preset size.
void startParamPage(HWND page);
void paintParamPage(HWND page);
// One tick of the page timer: nothing at all while `blocked` (a modal dialog runs); otherwise poll
// and `refresh` unless a list is dropped down, and re-arm when `pollInterval` changed.
void paramPageTick(HWND page, bool blocked, void (*refresh)());
// A page going away leaves no polling pause behind, whatever its lists were doing.
void endParamPage(HWND page);

// What the Configuration and the Options page do differently; the rest is one procedure.
struct ParamPageKind {
    bool (*blocked)(); // a modal dialog runs: the tick does nothing at all
    void (*refresh)(); // the page's controls from the device image
    void (*command)(HWND page, WPARAM wParam);
};
// The window procedure of both pages; CreateDialogParam's lParam is the page's kind.
INT_PTR CALLBACK paramPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace kestos
