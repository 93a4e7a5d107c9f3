#include "tests/support/main_window_fixture.h"

#include <cstdio>
#include <string>

#include "pages/params/param_lists.h"
#include "shell/program_state.h"
#include "shell/replay_session.h"

namespace kestos::test {

namespace {

// The source tree's Lang folder, seen through Wine's Z: drive.
std::string sourceLangDir() {
    std::string dir = "Z:" KESTOS_SOURCE_DIR "/Lang";
    for (char& c : dir)
        if (c == '/') c = '\\';
    return dir;
}

void removeTree(const std::string& dir) {
    std::string pattern = dir + "\\*";
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(pattern.c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

} // namespace

std::string readFile(const char* path) {
    std::string bytes;
    if (FILE* f = std::fopen(path, "rb")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            bytes.append(buf, n);
        std::fclose(f);
    }
    return bytes;
}

void writeFile(const char* path, const std::string& bytes) {
    if (FILE* f = std::fopen(path, "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

void MainWindow::SetUp() {
    GetCurrentDirectoryA(MAX_PATH, previousDir);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    workDir = std::string(temp) + "kestos-gui-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++serial);
    CreateDirectoryA(workDir.c_str(), nullptr);
    CreateDirectoryA((workDir + "\\Lang").c_str(), nullptr);
    for (const char* name : {"KestoS_lang.pol", "KestoS_lang.ang"}) {
        std::string from = sourceLangDir() + "\\" + name;
        std::string to = workDir + "\\Lang\\" + name;
        ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << from;
    }
    SetCurrentDirectoryA(workDir.c_str());

    resetProgramState();
    shell = ShellState{};
    setSerialPort(&port);
}

void MainWindow::TearDown() {
    if (shell.mainWindow && IsWindow(shell.mainWindow))
        SendMessageW(shell.mainWindow, WM_CLOSE, 0, 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    resetReplaySession();
    setSerialPort(nullptr);
    SetCurrentDirectoryA(previousDir);
    removeTree(workDir);
}

bool MainWindow::start() {
    return initInstance(GetModuleHandleW(nullptr), SW_SHOWNORMAL) != 0;
}

void MainWindow::pump(int ms) {
    DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void MainWindow::command(int id) {
    SendMessageW(shell.mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::wstring MainWindow::title() const {
    wchar_t text[256] = {};
    GetWindowTextW(shell.mainWindow, text, 255);
    return text;
}

std::wstring MainWindow::topMenuCaption(int position) const {
    wchar_t text[128] = {};
    GetMenuStringW(shell.mainMenu, static_cast<UINT>(position), text, 127, MF_BYPOSITION);
    return text;
}

RECT MainWindow::windowRect() const {
    RECT r{};
    GetWindowRect(shell.mainWindow, &r);
    return r;
}

COLORREF MainWindow::pixel(int x, int y) const {
    HDC dc = GetDC(shell.pageWindow);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(shell.pageWindow, dc);
    return c;
}

std::vector<int> MainWindow::placed(int id) const {
    RECT r{};
    GetWindowRect(GetDlgItem(shell.pageWindow, id), &r);
    MapWindowPoints(nullptr, shell.pageWindow, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void MainWindow::removeLanguageFiles() {
    DeleteFileA("Lang\\KestoS_lang.pol");
    DeleteFileA("Lang\\KestoS_lang.ang");
}

} // namespace kestos::test
