#include "shell/file_system_win32.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cwchar>

namespace kestos {

namespace {

constexpr int widePathSize = pathSize + 32;

// An on-access virus scanner holds a file that was just closed for a moment, and the move then
// fails as a sharing or access error: about half a second of retries before giving up.
constexpr int moveAttempts = 11;
constexpr DWORD moveRetryMs = 50;

bool moveIntoPlace(const wchar_t* from, const wchar_t* to) {
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        const DWORD code = GetLastError();
        const bool held = code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED ||
                          code == ERROR_LOCK_VIOLATION;
        if (!held || attempt == moveAttempts) return false;
        Sleep(moveRetryMs);
    }
}

wchar_t startFolder[widePathSize];

} // namespace

void noteStartFolder() {
    const DWORD n = GetCurrentDirectoryW(widePathSize, startFolder);
    if (n == 0 || n >= static_cast<DWORD>(widePathSize)) startFolder[0] = 0;
}

void returnToStartFolder() {
    if (startFolder[0]) SetCurrentDirectoryW(startFolder);
}

bool utf8ToWide(const char* text, wchar_t* out, int outSize) {
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, out, outSize);
    if (n <= 0 && outSize > 0) out[0] = 0;
    return n > 0;
}

bool wideToUtf8(const wchar_t* text, char* out, int outSize) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, outSize, nullptr, nullptr);
    if (n <= 0 && outSize > 0) out[0] = 0;
    return n > 0;
}

std::FILE* Win32FileSystem::createFile(const char* path) {
    wchar_t wide[widePathSize];
    if (!utf8ToWide(path, wide, widePathSize)) return nullptr;
    HANDLE h = CreateFileW(wide, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) _close(fd);
    return file;
}

std::FILE* Win32FileSystem::openForReading(const char* path) {
    wchar_t wide[widePathSize];
    if (!utf8ToWide(path, wide, widePathSize)) return nullptr;
    DWORD attributes = GetFileAttributesW(wide);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return nullptr;
    return _wfopen(wide, L"rb");
}

bool Win32FileSystem::replaceFile(const char* path, const char* data, std::size_t size) {
    wchar_t wide[widePathSize], temporary[widePathSize + 32];
    if (!utf8ToWide(path, wide, widePathSize)) return false;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int n = 0; n < 100 && file == INVALID_HANDLE_VALUE; ++n) {
        std::swprintf(temporary, widePathSize + 32, L"%ls.%lu-%d.tmp", wide, GetCurrentProcessId(),
                      n);
        file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    while (ok && size > 0) {
        DWORD chunk = size > 65536 ? 65536 : static_cast<DWORD>(size), written = 0;
        ok = WriteFile(file, data, chunk, &written, nullptr) && written == chunk;
        data += written;
        size -= written;
    }
    ok = ok && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    ok = ok && moveIntoPlace(temporary, wide);
    if (!ok) DeleteFileW(temporary);
    return ok;
}

bool Win32FileSystem::makeFolder(const char* path) {
    wchar_t wide[widePathSize];
    if (!utf8ToWide(path, wide, widePathSize)) return false;
    if (CreateDirectoryW(wide, nullptr)) return true;
    DWORD attributes = GetFileAttributesW(wide);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32FileSystem::listFolder(const char* folder, void (*visit)(const char* name, void* context),
                                 void* context) {
    wchar_t pattern[widePathSize];
    if (!utf8ToWide(folder, pattern, widePathSize - 2)) return;
    std::wcscat(pattern, L"\\*");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        char name[MAX_PATH * 3];
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            wideToUtf8(found.cFileName, name, sizeof name))
            visit(name, context);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool Win32FileSystem::removeFile(const char* path) {
    wchar_t wide[widePathSize];
    return utf8ToWide(path, wide, widePathSize) && DeleteFileW(wide);
}

} // namespace kestos
