// The main window: start-up, creation, paint, close, destroy and the message loop.
#include "shell/shell_win32.h"

#include "link/device_link.h"
#include "link/polling.h"
#include "res/resource.h"
#include "shell/config_keys.h"
#include "shell/file_system_win32.h"
#include "shell/language.h"
#include "shell/page_registry_win32.h"
#include "shell/recording.h"
#include "shell/recording_win32.h"
#include "shell/port_menu_win32.h"
#include "shell/replay_win32.h"
#include "shell/settings.h"
#include "shell/size_classes.h"
#include "shell/text_win32.h"

namespace kestos {

ShellState shell;

namespace {

constexpr int maxLoadString = 100;

RECT desktopRect() {
    RECT r{};
    GetWindowRect(GetDesktopWindow(), &r);
    return r;
}

// Creation: pick the class from the desktop, read the settings, load the language, show the
// Readings page and attach the menu of the language.
void onCreate(HWND window) {
    shell.mainWindow = window;
    shell.mainMenu = GetMenu(window);

    RECT desk = desktopRect();
    noteDesktopSize(desk.right, desk.bottom);
    int start = desktopClassFor(desk.right, desk.bottom);
    selectSizeClass(start);
    enableSizeItems(start);
    markSizeClass();
    placeMainWindow();
    selectClassFonts(); // so that the first page draws with the class's fonts

    noteStartFolder(); // the folder of KestoS.ini, Lang\ and Backup\ from now on
    readSettings();
    // A port the settings name that is not there (an adapter unplugged) is used all the same:
    // the link is down until it comes back.
    linkState.portName = comOpenName(settingsState.comNumber);
    markPortItem(10 + settingsState.comNumber);

    loadLanguage();

    shell.pageNumber = firstPage;
    openPage(firstPage);

    attachLanguageMenu();
}

void onPaint(HWND window) {
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    EndPaint(window, &ps);
    if (shell.pageWindow) {
        BeginPaint(shell.pageWindow, &ps);
        EndPaint(shell.pageWindow, &ps);
    }

    selectClassFonts();
    placePageForClass();
    paintPage();

    RECT desk = desktopRect();
    if (noteDesktopSize(desk.right, desk.bottom))
        enableSizeItems(desktopClassFor(desk.right, desk.bottom));
}

// A preset may be taller than a small desktop (1024 x 738 on 1280 x 720); the system would
// otherwise cut the window down to the screen.
void onGetMinMaxInfo(MINMAXINFO* info) {
    if (info->ptMaxTrackSize.x < sizeState.windowWidth)
        info->ptMaxTrackSize.x = sizeState.windowWidth;
    if (info->ptMaxTrackSize.y < sizeState.windowHeight)
        info->ptMaxTrackSize.y = sizeState.windowHeight;
}

void onClose(HWND window) {
    destroyPage();
    DestroyWindow(window);
}

void onDestroy() {
    endRecording();
    closePort();
    shell.mainWindow = nullptr;
    shell.mainMenu = nullptr;
    PostQuitMessage(0);
}

} // namespace

void startupInit() {
    afterPollTick = recordPollTick;
    buildKeyTable();
    createFonts();
    startPages();
}

void registerMainClass(HINSTANCE instance, const wchar_t* className) {
    startupInit();
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KESTOS));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MENU_PL);
    wc.lpszClassName = className;
    RegisterClassW(&wc); // a failure shows as the creation failure that follows
}

int initInstance(HINSTANCE instance, int showCommand) {
    shell.instance = instance;
    wchar_t className[maxLoadString + 1] = {};
    LoadStringW(instance, IDS_WINDOW_CLASS, className, maxLoadString);
    registerMainClass(instance, className);

    wchar_t title[maxLoadString + 1] = {};
    LoadStringW(instance, IDS_APP_TITLE, title, maxLoadString);
    HWND window = CreateWindowExW(0, className, title, WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 640, 450,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return 1;
}

int runMessageLoop() {
    HACCEL accelerators = LoadAcceleratorsW(shell.instance, MAKEINTRESOURCEW(IDR_ACCEL));
    HACCEL everywhere = LoadAcceleratorsW(shell.instance, MAKEINTRESOURCEW(IDR_ACCEL_MAIN));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorW(shell.mainWindow, everywhere, &msg) &&
            !TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: onCreate(window); return 0;
    case WM_PAINT: onPaint(window); return 0;
    case WM_CLOSE: onClose(window); return 0;
    case WM_DESTROY: onDestroy(); return 0;
    case WM_EXITMENULOOP: highlightPageItem(); return 0;
    case WM_INITMENUPOPUP: onInitMenuPopup(reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_GETMINMAXINFO: onGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_TIMER:
        if (wParam == recordingTimer) onRecordingTimer();
        if (wParam == replayTimer) onReplayTimer();
        return 0;
    case WM_COMMAND:
        if (runCommand(LOWORD(wParam))) return 0;
        break;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace kestos
