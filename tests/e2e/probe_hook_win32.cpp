// Loaded by kestos-probe into the running KestoS.exe (a WH_GETMESSAGE hook on its thread). It
// answers the probe's registered messages with a file the probe prints:
//   object counts  the program's own GDI and USER objects, which another process cannot see
//                  under Wine;
//   busy port N    from now on the program's CreateFileA fails for COMn as Windows fails it for a
//                  port another program holds (access denied; Wine does not lock ports); 0 ends it;
//   texts          the texts the program drew with TextOutW since the last ask ("Y text" lines,
//                  UTF-8); the first ask starts the recording.
// The last two replace entries of the program's import table, so the DLL stays loaded for the
// rest of the program's life.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "link/port_names.h"
#include "tests/support/object_counts_win32.h"

namespace {

// The program's import slot of `function` from `dll`, null when it imports no such function.
void** importSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return nullptr;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name;
         ++d) {
        if (_stricmp(reinterpret_cast<char*>(base + d->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

// Puts `replacement` in the slot and returns what was there (null when nothing was replaced).
void* replaceImport(const char* dll, const char* function, void* replacement) {
    void** slot = importSlot(dll, function);
    if (!slot) return nullptr;
    // Once patched, the DLL must never go: the probe's unhooking would unload it.
    static const bool pinned = [] {
        HMODULE self = nullptr;
        return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                      GET_MODULE_HANDLE_EX_FLAG_PIN,
                                  reinterpret_cast<LPCWSTR>(&importSlot), &self) != 0;
    }();
    if (!pinned) return nullptr;
    DWORD was = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &was)) return nullptr;
    void* old = *slot;
    *slot = replacement;
    VirtualProtect(slot, sizeof *slot, was, &was);
    return old;
}

using CreateFileAFn = HANDLE(WINAPI*)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                      HANDLE);
CreateFileAFn realCreateFileA = nullptr;
int busyPort = 0;

HANDLE WINAPI createFileDouble(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                               DWORD disposition, DWORD flags, HANDLE model) {
    if (busyPort && kestos::comNumberOf(name) == busyPort) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return realCreateFileA(name, access, share, sa, disposition, flags, model);
}

using TextOutWFn = BOOL(WINAPI*)(HDC, int, int, LPCWSTR, int);
TextOutWFn realTextOutW = nullptr;
std::string textsDrawn;

BOOL WINAPI textOutRecorder(HDC dc, int x, int y, LPCWSTR text, int length) {
    char utf8[1024];
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, sizeof utf8 - 1, nullptr,
                                      nullptr);
    if (n > 0 && textsDrawn.size() < 200000) {
        utf8[n] = 0;
        textsDrawn += std::to_string(y) + " " + utf8 + "\n";
    }
    return realTextOutW(dc, x, y, text, length);
}

std::string answerTo(UINT message, WPARAM wParam, LPARAM lParam) {
    static const UINT counts = RegisterWindowMessageW(L"KestoS probe: object counts");
    static const UINT busy = RegisterWindowMessageW(L"KestoS probe: busy port");
    static const UINT texts = RegisterWindowMessageW(L"KestoS probe: texts");
    char line[64];
    if (message == counts) {
        // The floors come and go with the message, so that counts of one soak compare.
        unsigned gdiFloor = static_cast<unsigned>(wParam);
        unsigned userFloor = static_cast<unsigned>(lParam);
        const unsigned gdi = kestos::test::liveGdiObjects(gdiFloor);
        const unsigned user = kestos::test::liveUserObjects(userFloor);
        std::snprintf(line, sizeof line, "%u %u %u %u\n", gdi, user, gdiFloor, userFloor);
        return line;
    }
    if (message == busy) {
        if (!realCreateFileA)
            realCreateFileA = reinterpret_cast<CreateFileAFn>(replaceImport(
                "kernel32.dll", "CreateFileA", reinterpret_cast<void*>(&createFileDouble)));
        if (!realCreateFileA) return "no import\n";
        busyPort = static_cast<int>(wParam);
        return "ok\n";
    }
    if (message == texts) {
        if (!realTextOutW)
            realTextOutW = reinterpret_cast<TextOutWFn>(replaceImport(
                "gdi32.dll", "TextOutW", reinterpret_cast<void*>(&textOutRecorder)));
        if (!realTextOutW) return "no import\n";
        std::string out = "texts\n" + textsDrawn;
        textsDrawn.clear();
        return out;
    }
    return "";
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK probeHook(int code, WPARAM wParam,
                                                            LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const std::string answer = answerTo(msg->message, msg->wParam, msg->lParam);
        if (!answer.empty()) {
            wchar_t path[MAX_PATH];
            GetTempPathW(MAX_PATH, path);
            wchar_t file[MAX_PATH + 64], part[MAX_PATH + 64];
            std::swprintf(file, MAX_PATH + 64, L"%lskestos-probe-%lu.txt", path,
                          GetCurrentProcessId());
            std::swprintf(part, MAX_PATH + 64, L"%ls.part", file);
            // Whole or not at all: the probe reads the file as soon as it is there.
            if (FILE* f = _wfopen(part, L"wb")) {
                std::fwrite(answer.data(), 1, answer.size(), f);
                std::fclose(f);
                MoveFileExW(part, file, MOVEFILE_REPLACE_EXISTING);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
