// Menu commands and the menu's marks: pages, ports, sizes, languages.
#include "shell/shell_win32.h"

#include "link/device_link.h"
#include "pages/params/about_dialog_win32.h"
#include "res/resource.h"
#include "shell/language.h"
#include "shell/recording_win32.h"
#include "shell/port_menu_win32.h"
#include "shell/replay_win32.h"
#include "shell/settings.h"
#include "shell/size_classes.h"

namespace kestos {

namespace {

constexpr int portItems[4] = {IDM_PORT_COM1, IDM_PORT_COM2, IDM_PORT_COM3, IDM_PORT_COM4};

// The language bitmaps are loaded once: every language change would otherwise leak four.
struct LanguageBitmaps {
    HBITMAP pl = nullptr, plChecked = nullptr, en = nullptr, enChecked = nullptr;
};
LanguageBitmaps languageBitmaps;

void selectPort(int n) {
    if (linkState.portOpen) closePort();
    linkState.portName = portNameFor(n);
    settingsState.portNumber = settingsState.comNumber = n;
    markPortItem(10 + n);
    writeSettings();
}

void selectSize(int sizeClass) {
    selectSizeClass(sizeClass);
    applySizeClass();
}

void selectLanguage(const char* code) {
    setLanguageCode(code);
    writeSettings();
    loadLanguage();
    rebuildPageForLanguage();
    attachLanguageMenu();
    highlightPageItem();
}

void exitProgram() {
    destroyPage();
    DestroyWindow(shell.mainWindow);
}

} // namespace

void markPortItem(int code) {
    shell.portMark = code;
    for (int i = 0; i < 4; ++i) {
        bool checked = code == 11 + i;
        CheckMenuItem(shell.mainMenu, portItems[i],
                      MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void enableSizeItems(int desktopClass) {
    if (!storeDesktopClass(desktopClass)) return;
    for (int c = 1; c <= sizeClassCount; ++c)
        EnableMenuItem(shell.mainMenu, sizeClassTable[c - 1].menuItem,
                       MF_BYCOMMAND | (sizeItemEnabled(desktopClass, c) ? MF_ENABLED : MF_GRAYED));
}

void markSizeClass() {
    for (const SizeClassInfo& info : sizeClassTable)
        CheckMenuItem(shell.mainMenu, info.menuItem, MF_BYCOMMAND | MF_UNCHECKED);
    if (!markSizeClassValues(sizeState.sizeClass)) return;
    CheckMenuItem(shell.mainMenu, sizeClassInfo(sizeState.sizeClass)->menuItem,
                  MF_BYCOMMAND | MF_CHECKED);
}

void setLanguageBitmaps() {
    DrawMenuBar(shell.mainWindow);
    LanguageBitmaps& b = languageBitmaps;
    if (!b.pl) {
        b.pl = LoadBitmapW(shell.instance, MAKEINTRESOURCEW(IDB_LANG_PL));
        b.plChecked = LoadBitmapW(shell.instance, MAKEINTRESOURCEW(IDB_LANG_PL_CHECKED));
        b.en = LoadBitmapW(shell.instance, MAKEINTRESOURCEW(IDB_LANG_EN));
        b.enChecked = LoadBitmapW(shell.instance, MAKEINTRESOURCEW(IDB_LANG_EN_CHECKED));
    }
    SetMenuItemBitmaps(shell.mainMenu, IDM_LANG_POLISH, MF_BYCOMMAND, b.pl, b.plChecked);
    SetMenuItemBitmaps(shell.mainMenu, IDM_LANG_ENGLISH, MF_BYCOMMAND, b.en, b.enChecked);
}

void attachLanguageMenu() {
    const char* code = languageState.languageCode;
    HMENU menu = LoadMenuW(shell.instance, MAKEINTRESOURCEW(languageMenuId(code)));
    HMENU old = GetMenu(shell.mainWindow);
    SetMenu(shell.mainWindow, menu);
    DrawMenuBar(shell.mainWindow);
    if (old && old != menu) DestroyMenu(old); // a replaced menu is not freed with the window
    shell.mainMenu = menu;
    CheckMenuItem(menu, checkedLanguageItem(code), MF_BYCOMMAND | MF_CHECKED);
    CheckMenuItem(menu, clearedLanguageItem(code), MF_BYCOMMAND | MF_UNCHECKED);
    setLanguageBitmaps();
    enableSizeItems(sizeState.desktopClass);
    markPortItem(shell.portMark);
    markSizeClass();
    markRecordingItem();
    markReplayItems();
    fitWindowToMenuBar();
}

// Centred on the work area, so that a taskbar never covers the window's bottom.
void placeMainWindow() {
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        GetWindowRect(GetDesktopWindow(), &work);
    PixelPoint at = windowPlacementInWorkArea(work.left, work.top, work.right, work.bottom,
                                              sizeState.windowWidth, sizeState.windowHeight);
    SetWindowPos(shell.mainWindow, HWND_TOP, at.x, at.y, sizeState.windowWidth,
                 sizeState.windowHeight, 0);
    fitWindowToMenuBar();
}

void fitWindowToMenuBar() {
    HWND w = shell.mainWindow;
    if (!w) return;
    const UINT keep = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    // The preset's height first: the bar wraps by the width, and a language's bar may not.
    SetWindowPos(w, nullptr, 0, 0, sizeState.windowWidth, sizeState.windowHeight, keep);
    RECT frame{0, 0, 0, 0}, client{};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongW(w, GWL_EXSTYLE)));
    GetClientRect(w, &client);
    const int oneLineClient = sizeState.windowHeight - (frame.bottom - frame.top);
    const int extra = oneLineClient - client.bottom;
    if (extra > 0)
        SetWindowPos(w, nullptr, 0, 0, sizeState.windowWidth, sizeState.windowHeight + extra, keep);
}

void applySizeClass() {
    markSizeClass();
    placeMainWindow();
    selectClassFonts();
    placePageForClass();
    recreatePageForSize();
}

bool runCommand(int id) {
    if (int pageNumber = pageForCommand(id)) {
        openPage(pageNumber);
        highlightPageItem();
        return true;
    }
    if (int sizeClass = sizeClassForMenuItem(id)) {
        selectSize(sizeClass);
        return true;
    }
    for (int i = 0; i < 4; ++i) {
        if (portItems[i] == id) {
            selectPort(i + 1);
            return true;
        }
    }
    if (runPortCommand(id)) return true;
    switch (id) {
    case IDM_EXIT: exitProgram(); return true;
    case IDM_FILE_SAVE_AS: saveConfigurationAs(); return true;
    case IDM_FILE_OPEN: openConfiguration(); return true;
    case IDM_FILE_COMPARE: compareConfiguration(); return true;
    case IDM_FILE_RECORD: toggleRecording(); return true;
    case IDM_RECORD_MARKER: addMarker(); return true;
    case IDM_FILE_REPLAY: replayRecording(); return true;
    case IDM_FILE_DEMO: runDemo(); return true;
    case IDM_REPLAY_PAUSE: toggleReplayPause(); return true;
    case IDM_REPLAY_SPEED_1: setReplaySpeedItem(1); return true;
    case IDM_REPLAY_SPEED_2: setReplaySpeedItem(2); return true;
    case IDM_REPLAY_SPEED_4: setReplaySpeedItem(4); return true;
    case IDM_REPLAY_SPEED_8: setReplaySpeedItem(8); return true;
    case IDM_REPLAY_STOP: stopReplayCommand(); return true;
    case IDM_ABOUT: showAboutDialog(); return true;
    case IDM_LANG_POLISH: selectLanguage(languagePolish); return true;
    case IDM_LANG_ENGLISH: selectLanguage(languageEnglish); return true;
    default: return false;
    }
}

} // namespace kestos
