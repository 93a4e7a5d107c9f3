// kestos-probe: looks at and pokes the running KestoS.exe from outside, for the end-to-end
// tests (run under the same Wine server). Messages, not mouse clicks at guessed places.
//   kestos-probe [dialog] click ID       BM_CLICK on control ID of the current page
//   kestos-probe [dialog] post-click ID  the same, posted: for a button that opens a modal dialog
//   kestos-probe [dialog] select ID POS  drop down, CB_SETCURSEL, CBN_SELCHANGE, close up
//   kestos-probe [dialog] selected ID    prints the list's selection (-1: none)
//   kestos-probe [dialog] count ID       prints the number of items of a list
//   kestos-probe [dialog] state ID       prints "visible enabled checked" as three 0/1
//   kestos-probe [dialog] text ID        prints the control's text (UTF-8)
//   kestos-probe [dialog] type ID TEXT   types TEXT into the edit box in or at ID, then Enter
//   kestos-probe command ID              menu command ID to the main window
//   kestos-probe post-command ID         the same, posted: for a command that opens a dialog
//   kestos-probe origin                  screen position of the page's top-left pixel
//   kestos-probe version FILE            the file version in an exe's version resource
//   kestos-probe ping                    "ok" when the window answers a message within 1 s
//   kestos-probe counts [GF UF]          the program's live GDI and USER objects and the two
//                                        floors to pass to the next count (through
//                                        kestos-probe-hook.dll, loaded into the program)
//   kestos-probe busy-port N             COMn fails to open in the program as a port another
//                                        program holds does (0: no more); through the hook
//   kestos-probe texts                   the texts the program drew since the last ask, as
//                                        "Y text" lines; the first ask starts the recording
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

struct DialogSearch {
    DWORD thread;
    HWND found;
};

// EnumWindows wants a stdcall function, which a lambda is not on 32-bit Windows.
BOOL CALLBACK findDialogOfThread(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<DialogSearch*>(p);
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 15);
    if (GetWindowThreadProcessId(w, nullptr) == s->thread && IsWindowVisible(w) &&
        std::wcscmp(cls, L"#32770") == 0) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level dialog of the program's thread: the modal dialog it runs.
HWND modalDialog(HWND main) {
    DialogSearch search{GetWindowThreadProcessId(main, nullptr), nullptr};
    EnumWindows(findDialogOfThread, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int usage() {
    std::fputs("usage: kestos-probe [dialog] click|post-click|selected|count|state|text ID"
               " | [dialog] select ID POS | [dialog] type ID TEXT"
               " | command|post-command ID | origin | ping | counts | busy-port N | texts"
               " | version FILE\n",
               stderr);
    return 2;
}

// A file dialog's name box is a combo box with the edit inside it.
HWND editIn(HWND control) {
    wchar_t cls[16] = {};
    GetClassNameW(control, cls, 15);
    if (_wcsicmp(cls, L"Edit") == 0) return control;
    for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (HWND edit = editIn(child)) return edit;
    return nullptr;
}

// As typed: the text, then Enter, which the dialog's own loop turns into its OK.
void typeText(HWND control, const char* utf8) {
    wchar_t text[1024];
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text, 1024);
    HWND edit = editIn(control);
    if (!edit) edit = control;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
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
    } else if (std::strcmp(what, "text") == 0) {
        wchar_t text[1024] = {};
        char utf8[4096];
        GetWindowTextW(control, text, 1023);
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        std::printf("%s\n", utf8);
    } else if (std::strcmp(what, "type") == 0 && argc == 1) {
        typeText(control, argv[0]);
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

int ping(HWND main) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result)) {
        std::puts("no answer");
        return 1;
    }
    std::puts("ok");
    return 0;
}

// The hook runs inside the program when it takes the message we post, and writes a file; what
// it wrote is printed (a texts answer without its first line).
int askHook(HWND main, const wchar_t* message, WPARAM wParam, LPARAM lParam) {
    wchar_t dll[MAX_PATH];
    GetModuleFileNameW(nullptr, dll, MAX_PATH);
    if (wchar_t* slash = std::wcsrchr(dll, L'\\')) slash[1] = 0;
    std::wcscat(dll, L"kestos-probe-hook.dll");
    HMODULE module = LoadLibraryW(dll);
    HOOKPROC proc = module ? reinterpret_cast<HOOKPROC>(
                                 reinterpret_cast<void*>(GetProcAddress(module, "probeHook")))
                           : nullptr;
    if (!proc) return 1;
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(main, &process);
    wchar_t temp[MAX_PATH], file[MAX_PATH + 64];
    GetTempPathW(MAX_PATH, temp);
    std::swprintf(file, MAX_PATH + 64, L"%lskestos-probe-%lu.txt", temp, process);
    DeleteFileW(file);
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, proc, module, thread);
    if (!hook) return 1;
    PostMessageW(main, RegisterWindowMessageW(message), wParam, lParam);
    int status = 1;
    for (int i = 0; i < 100 && status; ++i) {
        Sleep(50);
        if (FILE* f = _wfopen(file, L"rb")) {
            char buffer[4096];
            bool first = true;
            while (std::fgets(buffer, sizeof buffer, f)) {
                if (first && std::strcmp(buffer, "texts\n") == 0) {
                    first = false;
                    continue;
                }
                first = false;
                std::fputs(buffer, stdout);
            }
            std::fclose(f);
            status = 0;
        }
    }
    UnhookWindowsHookEx(hook);
    DeleteFileW(file);
    return status;
}

// Needs no running program.
int printVersion(const char* utf8Path) {
    wchar_t path[MAX_PATH * 2];
    MultiByteToWideChar(CP_UTF8, 0, utf8Path, -1, path, MAX_PATH * 2);
    DWORD ignored = 0, size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) return 1;
    char* data = new char[size];
    wchar_t* text = nullptr;
    UINT length = 0;
    int status = 1;
    if (GetFileVersionInfoW(path, 0, size, data) &&
        VerQueryValueW(data, L"\\StringFileInfo\\040904B0\\FileVersion",
                       reinterpret_cast<void**>(&text), &length)) {
        std::printf("%ls\n", text);
        status = 0;
    }
    delete[] data;
    return status;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "version") == 0) return printVersion(argv[2]);
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
    if (std::strcmp(what, "ping") == 0) return ping(main);
    if (std::strcmp(what, "counts") == 0)
        return askHook(main, L"KestoS probe: object counts",
                       argc > 3 ? std::strtoul(argv[2], nullptr, 10) : 0,
                       argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 0);
    if (std::strcmp(what, "busy-port") == 0 && argc == 3)
        return askHook(main, L"KestoS probe: busy port", std::strtoul(argv[2], nullptr, 10), 0);
    if (std::strcmp(what, "texts") == 0) return askHook(main, L"KestoS probe: texts", 0, 0);
    if (std::strcmp(what, "command") == 0 && argc == 3) {
        SendMessageW(main, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0);
        return 0;
    }
    if (std::strcmp(what, "post-command") == 0 && argc == 3) {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0);
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
