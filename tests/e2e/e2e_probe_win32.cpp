// kestos-probe: looks at and pokes the running KestoS.exe from outside, for the end-to-end
// tests (run under the same Wine server). Messages, not mouse clicks at guessed places.
//   kestos-probe [dialog] click ID       BM_CLICK on control ID of the current page
//   kestos-probe [dialog] post-click ID  the same, posted: for a button that opens a modal dialog
//   kestos-probe [dialog] select ID POS  drop down, CB_SETCURSEL, CBN_SELCHANGE, close up
//   kestos-probe [dialog] selected ID    prints the list's selection (-1: none)
//   kestos-probe [dialog] count ID       prints the number of items of a list
//   kestos-probe [dialog] state ID       prints "visible enabled checked" as three 0/1
//   kestos-probe command ID              menu command ID to the main window
//   kestos-probe origin                  screen position of the page's top-left pixel
// "dialog" aims at the modal dialog open over the program instead of the page.
// Exit code 0 done, 1 no KestoS window (or no such dialog or control), 2 usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

HWND mainWindow() {
    return FindWindowW(L"KESTOMxx", nullptr);
}

const wchar_t* const dialogClass = reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(32770));

HWND pageWindow(HWND main) {
    return FindWindowExW(main, nullptr, dialogClass, nullptr);
}

// A visible top-level dialog of the program's thread: the modal dialog it runs.
HWND modalDialog(HWND main) {
    struct Search {
        DWORD thread;
        HWND found;
    } search{GetWindowThreadProcessId(main, nullptr), nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 15);
            if (GetWindowThreadProcessId(w, nullptr) == s->thread && IsWindowVisible(w) &&
                std::wcscmp(cls, L"#32770") == 0) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int usage() {
    std::fputs("usage: kestos-probe [dialog] click|post-click|selected|count|state ID"
               " | [dialog] select ID POS | command ID | origin\n",
               stderr);
    return 2;
}

int onControl(HWND target, const char* what, int id, int argc, char** argv) {
    HWND control = GetDlgItem(target, id);
    if (!control) return 1;
    if (std::strcmp(what, "click") == 0) {
        SendMessageW(control, BM_CLICK, 0, 0);
    } else if (std::strcmp(what, "post-click") == 0) {
        PostMessageW(control, BM_CLICK, 0, 0);
    } else if (std::strcmp(what, "select") == 0 && argc == 1) {
        // As a user does it: the list is dropped down (which holds the polling off) while the
        // entry is picked, so that no refresh comes between the selection and its notification.
        SendMessageW(control, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(std::atoi(argv[0])), 0);
        SendMessageW(target, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(control));
        SendMessageW(control, CB_SHOWDROPDOWN, FALSE, 0);
    } else if (std::strcmp(what, "selected") == 0) {
        std::printf("%ld\n", static_cast<long>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    } else if (std::strcmp(what, "count") == 0) {
        std::printf("%ld\n", static_cast<long>(SendMessageW(control, CB_GETCOUNT, 0, 0)));
    } else if (std::strcmp(what, "state") == 0) {
        std::printf("%d %d %d\n", IsWindowVisible(control) ? 1 : 0,
                    IsWindowEnabled(control) ? 1 : 0,
                    SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    } else {
        return usage();
    }
    return 0;
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
    HWND target = page;
    if (std::strcmp(argv[1], "dialog") == 0) {
        target = modalDialog(main);
        if (!target) {
            std::fputs("kestos-probe: no dialog open\n", stderr);
            return 1;
        }
        ++argv;
        if (--argc < 2) return usage();
    }
    const char* what = argv[1];
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
    if (argc < 3) return usage();
    return onControl(target, what, std::atoi(argv[2]), argc - 3, argv + 3);
}
