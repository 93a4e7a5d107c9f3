// What the shell knows of a page: one entry a page, listed once in the registry in the order
// of the menu bar. The host runs the entries; no shell file names a page.
#pragma once

#include <windows.h>

#include "link/polling.h"
#include "shell/size_classes.h"

namespace kestos {

struct PageEntry {
    int commandId;      // the menu bar item that opens the page
    int titleSlot;      // the main window's title while the page is shown
    int templateId = 0; // the page's dialog template in every size class, or
    int SizeClassInfo::*classTemplate = nullptr; // the size class's own template
    DLGPROC proc = nullptr;                      // the page window's procedure
    const void* param = nullptr;                 // what the procedure is given at WM_INITDIALOG
    PollSchedule schedule = PollSchedule::none;  // what its timer (pagePollTimer) polls
    // Each may be nullptr.
    void (*afterCreate)() = nullptr;   // what drawing or filling the new page window needs
    void (*placeForClass)() = nullptr; // controls the size class places (each paint, new class)
    void (*paint)() = nullptr;         // the main window's paint, which has validated the page
    void (*retext)() = nullptr;        // the page keeps its window for a new size and language and
                                       // only changes its texts; nullptr: the page is created anew
    bool laidOutWhenOpened = false;    // the size class is applied again once open and titled
};

// The page's dialog template in `sizeClass`; 0 when there is none.
int pageTemplate(const PageEntry& page, int sizeClass);

// Every page's poll timer has this id.
constexpr UINT_PTR pagePollTimer = 1;

// The pages, in the order of the menu bar; page number n is entry n - 1.
extern const PageEntry* const pageRegistry[];
extern const int pageCount;
// The page the program opens with.
constexpr int firstPage = 1;
// nullptr outside 1..pageCount.
const PageEntry* pageEntry(int pageNumber);

// The tables the pages build once for the life of the process, and their program-wide state.
void startPages();

// The page window while `page` is the current page, else nullptr.
HWND currentPageWindow(const PageEntry& page);

} // namespace kestos
