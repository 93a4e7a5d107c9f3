// kestos-probe: looks at and pokes the running KestoS.exe from outside, for the end-to-end
// tests (run under the same Wine server). Messages, not mouse clicks at guessed places.
//   kestos-probe click ID          BM_CLICK on control ID of the current page
//   kestos-probe command ID        menu command ID to the main window
//   kestos-probe origin            screen position of the page's top-left pixel
// Exit code 0 done, 1 no KestoS window, 2 usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND mainWindow() {
    return FindWindowW(L"KESTOMxx", nullptr);
}

HWND pageWindow(HWND main) {
    return FindWindowExW(main, nullptr, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(32770)),
                         nullptr);
}

int usage() {
    std::fputs("usage: kestos-probe click ID | command ID | origin\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    HWND main = mainWindow();
    HWND page = main ? pageWindow(main) : nullptr;
    if (!main || !page) {
        std::fputs("kestos-probe: no KestoS window\n", stderr);
        return 1;
    }
    const char* what = argv[1];
    if (std::strcmp(what, "click") == 0 && argc == 3) {
        HWND control = GetDlgItem(page, std::atoi(argv[2]));
        if (!control) return 1;
        SendMessageW(control, BM_CLICK, 0, 0);
        return 0;
    }
    if (std::strcmp(what, "command") == 0 && argc == 3) {
        SendMessageW(main, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0);
        return 0;
    }
    if (std::strcmp(what, "origin") == 0) {
        // Pixels are read from a screenshot: another process's device context does not show
        // what the program drew under Wine.
        POINT p{0, 0};
        ClientToScreen(page, &p);
        std::printf("%ld %ld\n", p.x, p.y);
        return 0;
    }
    return usage();
}
