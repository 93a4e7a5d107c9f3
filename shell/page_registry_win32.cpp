#include "shell/page_registry_win32.h"

#include "pages/params/config_page_win32.h"
#include "pages/params/options_page_win32.h"
#include "pages/params/reset_page_win32.h"
#include "pages/readings/dial.h"
#include "pages/readings/readings_page_win32.h"
#include "pages/schema/schema_page_win32.h"
#include "pages/scope/scope.h"
#include "pages/scope/scope_page_win32.h"
#include "shell/shell_win32.h"

namespace kestos {

const PageEntry* const pageRegistry[] = {
    &readingsPage, &configPage, &optionsPage, &schemaPage, &resetPage, &scopePage,
};
const int pageCount = static_cast<int>(sizeof pageRegistry / sizeof pageRegistry[0]);

const PageEntry* pageEntry(int pageNumber) {
    return pageNumber >= 1 && pageNumber <= pageCount ? pageRegistry[pageNumber - 1] : nullptr;
}

void startPages() {
    buildDialTables();
    resetTraces();
}

int pageTemplate(const PageEntry& page, int sizeClass) {
    const SizeClassInfo* info = sizeClassInfo(sizeClass);
    if (!info) return 0;
    return page.classTemplate ? info->*page.classTemplate : page.templateId;
}

HWND currentPageWindow(const PageEntry& page) {
    return pageEntry(shell.pageNumber) == &page ? shell.pageWindow : nullptr;
}

} // namespace kestos
