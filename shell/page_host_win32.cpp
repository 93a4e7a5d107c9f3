// The page host: exactly one page, a modeless child dialog of the main window.
#include "shell/shell_win32.h"

#include "pages/params/config_page_win32.h"
#include "pages/params/options_page_win32.h"
#include "pages/params/param_controls_win32.h"
#include "pages/params/reset_page_win32.h"
#include "pages/readings/readings_page_win32.h"
#include "pages/schema/schema_page_win32.h"
#include "pages/scope/scope_page_win32.h"
#include "res/resource.h"
#include "shell/dialog_font_win32.h"
#include "shell/language.h"
#include "shell/size_classes.h"
#include "shell/text_win32.h"

namespace kestos {

namespace {

struct PageEntry {
    DLGPROC proc;
    void (*afterCreate)(); // drawing or filling the new page needs
    const void* param;     // what the procedure is given at WM_INITDIALOG
};

// The parameter pages fill their lists first, then their labels.
void prepareConfigPage() {
    fillConfigLists();
    setConfigLabels();
}
void prepareOptionsPage() {
    fillOptionsLists();
    setOptionsLabels();
}

const PageEntry pages[6] = {
    {readingsPageProc, drawReadingsBackground, nullptr},   // 1 Readings
    {paramPageProc, prepareConfigPage, &configPageKind},   // 2 Configuration
    {paramPageProc, prepareOptionsPage, &optionsPageKind}, // 3 Options
    {schemaPageProc, layoutSchemaPage, nullptr},           // 4 Schema
    {resetPageProc, nullptr, nullptr},                     // 5 Reset
    {scopePageProc, openScopePage, nullptr},               // 6 Oscilloscope
};

const PageEntry* pageEntry(int pageNumber) {
    return pageNumber >= 1 && pageNumber <= 6 ? &pages[pageNumber - 1] : nullptr;
}

void createPage(int pageNumber) {
    const PageEntry* entry = pageEntry(pageNumber);
    int templateId = pageTemplate(pageNumber, sizeState.sizeClass);
    if (!entry || !templateId) return;
    shell.pageWindow =
        CreateDialogParamW(shell.instance, MAKEINTRESOURCEW(templateId), shell.mainWindow,
                           entry->proc, reinterpret_cast<LPARAM>(entry->param));
    if (!shell.pageWindow) return; // the host stays empty until another page is chosen
    if (pageNumber == 1) {
        SetWindowPos(shell.pageWindow, HWND_TOP, -5, -10, sizeState.windowWidth,
                     sizeState.windowHeight, 0);
    }
    if (entry->afterCreate) entry->afterCreate();
    fitDialogFont(shell.pageWindow);
}

} // namespace

void destroyPage() {
    if (shell.pageWindow) DestroyWindow(shell.pageWindow);
    shell.pageWindow = nullptr;
}

void setPageTitle(int pageNumber) {
    setWindowTextCp1250(shell.mainWindow, slotText(pageTitleSlot(pageNumber)));
}

void openPage(int pageNumber) {
    if (pageNumber == shell.pageNumber && shell.pageWindow) return;
    destroyPage();
    shell.pageNumber = pageNumber;
    createPage(pageNumber);
    setPageTitle(pageNumber);
    if (pageNumber == 4) applySizeClass(); // lays the Schema page out for the class
}

void recreatePageForSize() {
    if (shell.pageNumber == 5) return; // the next paint lays the Reset page out
    destroyPage();
    createPage(shell.pageNumber);
}

void layoutResetPage() {
    const SizeClassInfo* info = sizeClassInfo(sizeState.sizeClass);
    if (!shell.pageWindow || !info) return;
    MoveWindow(shell.pageWindow, 0, 0, sizeState.windowWidth, sizeState.windowHeight, TRUE);
    const ResetLayout& r = info->reset;
    auto place = [](int id, int x, int y, int w, int h) {
        if (HWND control = GetDlgItem(shell.pageWindow, id)) MoveWindow(control, x, y, w, h, TRUE);
    };
    place(IDC_RESET_TITLE, r.title.x, r.title.y, resetStaticWidth, resetStaticHeight);
    place(IDC_RESET_NOTE, r.note.x, r.note.y, resetStaticWidth, resetStaticHeight);
    place(IDC_RESET_BUTTON, r.button.x, r.button.y, r.button.width, r.button.height);
}

void rebuildPageForLanguage() {
    if (shell.pageNumber == 5) {
        // The Reset page keeps its window; only its texts change.
        setResetTexts(shell.pageWindow);
        setPageTitle(5);
        return;
    }
    destroyPage();
    createPage(shell.pageNumber);
    setPageTitle(shell.pageNumber);
    if (shell.pageNumber == 4) applySizeClass();
}

} // namespace kestos
