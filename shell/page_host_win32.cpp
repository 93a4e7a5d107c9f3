// The page host: exactly one page, a modeless child dialog of the main window, run through
// its registry entry.
#include "shell/shell_win32.h"

#include "shell/dialog_font_win32.h"
#include "shell/language.h"
#include "shell/page_registry_win32.h"
#include "shell/poll_timer_win32.h"
#include "shell/recording.h"
#include "shell/replay_session.h"
#include "shell/size_classes.h"
#include "shell/text_win32.h"

namespace kestos {

namespace {

const PageEntry* currentEntry() {
    return pageEntry(shell.pageNumber);
}

void createPage(int pageNumber) {
    const PageEntry* entry = pageEntry(pageNumber);
    int templateId = entry ? pageTemplate(*entry, sizeState.sizeClass) : 0;
    if (!templateId) return;
    shell.pageWindow = createPageDialog(shell.instance, templateId, shell.mainWindow, entry->proc,
                                        reinterpret_cast<LPARAM>(entry->param));
    if (!shell.pageWindow) return; // the host stays empty until another page is chosen
    // The main window's paint validates the page, which may then never see a paint of its
    // own: the timer starts with the page.
    if (entry->schedule != PollSchedule::none) armPollTimer(shell.pageWindow, pagePollTimer);
    if (entry->afterCreate) entry->afterCreate();
    fitDialogFont(shell.pageWindow);
}

// Opening or re-creating a page ends with its title, and some pages are then laid out again.
void finishPage() {
    setPageTitle(shell.pageNumber);
    const PageEntry* entry = currentEntry();
    if (entry && entry->laidOutWhenOpened) applySizeClass();
}

} // namespace

void destroyPage() {
    if (shell.pageWindow) DestroyWindow(shell.pageWindow);
    shell.pageWindow = nullptr;
}

void setPageTitle(int pageNumber) {
    const PageEntry* entry = pageEntry(pageNumber);
    char recording[512], title[768];
    titleWithRecording(slotText(entry ? entry->titleSlot : -1), recording, sizeof recording);
    titleWithReplay(recording, title, sizeof title);
    setWindowTextCp1250(shell.mainWindow, title);
}

void openPage(int pageNumber) {
    if (pageNumber == shell.pageNumber && shell.pageWindow) return;
    destroyPage();
    shell.pageNumber = pageNumber;
    createPage(pageNumber);
    finishPage();
}

void recreatePageForSize() {
    const PageEntry* entry = currentEntry();
    if (entry && entry->retext) return; // the next paint lays the kept window out
    destroyPage();
    createPage(shell.pageNumber);
}

void rebuildPageForLanguage() {
    const PageEntry* entry = currentEntry();
    if (entry && entry->retext) {
        entry->retext();
        setPageTitle(shell.pageNumber);
        return;
    }
    destroyPage();
    createPage(shell.pageNumber);
    finishPage();
}

void placePageForClass() {
    const PageEntry* entry = currentEntry();
    if (entry && entry->placeForClass && shell.pageWindow) entry->placeForClass();
}

void paintPage() {
    const PageEntry* entry = currentEntry();
    if (entry && entry->paint) entry->paint();
}

void highlightPageItem() {
    if (!shell.mainWindow || !shell.mainMenu) return;
    for (int n = 1; n <= pageCount; ++n)
        HiliteMenuItem(shell.mainWindow, shell.mainMenu, pageEntry(n)->commandId,
                       MF_BYCOMMAND | MF_UNHILITE);
    if (const PageEntry* entry = currentEntry())
        HiliteMenuItem(shell.mainWindow, shell.mainMenu, entry->commandId,
                       MF_BYCOMMAND | MF_HILITE);
}

int pageForCommand(int id) {
    for (int n = 1; n <= pageCount; ++n)
        if (pageEntry(n)->commandId == id) return n;
    return 0;
}

} // namespace kestos
