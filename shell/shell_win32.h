// The main window, its menu and the page host: what the shell's Win32 files share with each
// other and with the pages.
#pragma once

#include <windows.h>

#include "shell/file_system.h"

namespace kestos {

struct ShellState {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    HMENU mainMenu = nullptr;
    HWND pageWindow = nullptr;
    int pageNumber = 1;
    int portMark = 0;       // 11..14: which port item is checked
    bool aboutOpen = false; // every page timer idles while the About dialog runs
    HFONT pageValueFont = nullptr;
    HFONT pageLabelFont = nullptr;
    HFONT labelFont = nullptr;
};
extern ShellState shell;

// Start-up.
int initInstance(HINSTANCE instance, int showCommand);
void registerMainClass(HINSTANCE instance, const wchar_t* className);
void startupInit();
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The message loop with accelerator table 3; returns the quit message's code.
int runMessageLoop();

// Menu state.
// The menu bar item of the current page highlighted, the others not.
void highlightPageItem();
void markPortItem(int code);
void enableSizeItems(int desktopClass);
void markSizeClass();
void setLanguageBitmaps();
// Loads the menu of `languageCode`, attaches it and gives it the current marks.
void attachLanguageMenu();

// Commands; false for an id the main window does not handle.
bool runCommand(int id);

// The file menu's configuration files, and the files every window of the program uses.
void saveConfigurationAs();
void openConfiguration();
void compareConfiguration();
FileSystem& programFiles();
// The common Open dialog for one kind of file; false when cancelled (or, with a warning, when
// the name cannot be used). `path` is UTF-8.
enum class FileKind { settings, readingsLog };
bool askFileName(FileKind kind, char (&path)[pathSize]);

// Size presets.
void placeMainWindow();
// A menu bar that wraps onto more lines (English in the smallest preset) would hide the bottom
// of the page: the window grows by the extra lines; the width and the page stay.
void fitWindowToMenuBar();
// Current class's page fonts and lamp diameter.
void selectClassFonts();
void applySizeClass();

// Page host.
void openPage(int pageNumber);
void recreatePageForSize();
void rebuildPageForLanguage();
// The current page's controls where the size class puts them.
void placePageForClass();
// The current page's part of the main window's paint.
void paintPage();
// The page a menu bar command opens; 0 for any other command.
int pageForCommand(int id);
void destroyPage();
void setPageTitle(int pageNumber);

// Fonts, created once by startupInit.
void createFonts();

} // namespace kestos
