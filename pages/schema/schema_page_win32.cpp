#include "pages/schema/schema_page_win32.h"

#include "pages/schema/schema.h"
#include "res/resource.h"
#include "shell/language.h"
#include "shell/page_registry_win32.h"
#include "shell/scroll_code_win32.h"
#include "shell/shell_win32.h"

namespace kestos {

namespace {

// Held from the layout to the page's destruction.
struct SchemaHandles {
    HBITMAP schemaBitmap = nullptr;
    HDC memoryDc = nullptr;
    HDC pageDc = nullptr;
    HWND page = nullptr; // the window pageDc belongs to
    HGDIOBJ originalBitmap = nullptr;
};
SchemaHandles handles;

// Safe to call twice and before any layout.
void releaseHandles() {
    if (handles.memoryDc) {
        if (handles.originalBitmap) SelectObject(handles.memoryDc, handles.originalBitmap);
        DeleteDC(handles.memoryDc);
    }
    if (handles.pageDc) ReleaseDC(handles.page, handles.pageDc);
    if (handles.schemaBitmap) DeleteObject(handles.schemaBitmap);
    handles = SchemaHandles{};
}

void placeBar(HWND page, int id, const PixelBox& box, bool shown) {
    HWND bar = GetDlgItem(page, id);
    if (shown) MoveWindow(bar, box.x, box.y, box.width, box.height, TRUE);
    ShowWindow(bar, shown ? SW_SHOW : SW_HIDE);
}

void setBar(HWND page, int id, unsigned limit) {
    HWND bar = GetDlgItem(page, id);
    SetScrollRange(bar, SB_CTL, 1, static_cast<int>(limit), TRUE);
    SetScrollPos(bar, SB_CTL, 0, TRUE);
}

void onPaint(HWND page) {
    PAINTSTRUCT ps;
    BeginPaint(page, &ps);
    EndPaint(page, &ps);
    MoveWindow(page, 0, 0, sizeState.windowWidth, sizeState.windowHeight, TRUE);
    copySchemaView(); // a paint of the page alone must not leave it blank
}

void onScroll(HWND page, WPARAM wParam, bool horizontal) {
    int& offset = horizontal ? schemaState.schemaScrollX : schemaState.schemaScrollY;
    const unsigned limit = horizontal ? schemaState.schemaMaxX : schemaState.schemaMaxY;
    offset = schemaScrollStep(offset, limit, scrollCodeFrom(LOWORD(wParam)),
                              static_cast<short>(HIWORD(wParam)));
    SetScrollPos(GetDlgItem(page, horizontal ? IDC_SCHEMA_HSCROLL : IDC_SCHEMA_VSCROLL), SB_CTL,
                 offset, TRUE);
    copySchemaView();
}

} // namespace

void copySchemaView() {
    if (!handles.memoryDc || !handles.pageDc || !handles.schemaBitmap) return;
    SelectObject(handles.memoryDc, handles.schemaBitmap);
    const PixelBox& v = schemaState.schemaView;
    BitBlt(handles.pageDc, v.x, v.y, v.width, v.height, handles.memoryDc, schemaState.schemaScrollX,
           schemaState.schemaScrollY, SRCCOPY);
}

void layoutSchemaPage() {
    HWND page = currentPageWindow(schemaPage);
    if (!page) return;
    releaseHandles(); // a layout of the same page again takes its picture afresh
    RECT client{};
    GetClientRect(shell.mainWindow, &client);
    SchemaLayout layout = startSchemaLayout(sizeState.sizeClass, client.right, client.bottom);
    placeBar(page, IDC_SCHEMA_HSCROLL, layout.hBar, layout.barsShown);
    placeBar(page, IDC_SCHEMA_VSCROLL, layout.vBar, layout.barsShown);
    if (layout.barsShown) {
        setBar(page, IDC_SCHEMA_HSCROLL, schemaState.schemaMaxX);
        setBar(page, IDC_SCHEMA_VSCROLL, schemaState.schemaMaxY);
    }
    handles.schemaBitmap =
        LoadBitmapW(shell.instance, MAKEINTRESOURCEW(schemaBitmapId(languageState.languageCode)));
    handles.page = page;
    handles.pageDc = GetDC(page);
    handles.memoryDc = handles.pageDc ? CreateCompatibleDC(handles.pageDc) : nullptr;
    if (handles.memoryDc && handles.schemaBitmap)
        handles.originalBitmap = SelectObject(handles.memoryDc, handles.schemaBitmap);
    copySchemaView();
}

INT_PTR CALLBACK schemaPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_PAINT: onPaint(page); return TRUE;
    case WM_HSCROLL: onScroll(page, wParam, true); return TRUE;
    case WM_VSCROLL: onScroll(page, wParam, false); return TRUE;
    case WM_DESTROY:
        if (handles.page == page) releaseHandles();
        return TRUE;
    default: return FALSE;
    }
}

// Opening the page applies the size class again, which lays it out afresh.
const PageEntry schemaPage = {
    .commandId = IDM_PAGE_SCHEMA,
    .titleSlot = 178,
    .templateId = IDD_SCHEMA,
    .proc = schemaPageProc,
    .afterCreate = layoutSchemaPage,
    .paint = copySchemaView,
    .laidOutWhenOpened = true,
};

} // namespace kestos
