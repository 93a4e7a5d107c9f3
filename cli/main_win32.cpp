#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "cli/cli_app.h"
#include "cli/console_win32.h"
#include "link/port_win32.h"
#include "shell/file_system_win32.h"

// The arguments as UTF-8 from the wide command line: a file name with Polish letters must
// reach the file functions whole, whatever the console's code page is.
// Output to a console goes out as UTF-16 (CliStream), to a file or pipe as UTF-8.
int main(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return kestos::exitUsage;
    std::vector<std::vector<char>> texts(static_cast<size_t>(count));
    std::vector<char*> argv;
    for (int i = 0; i < count; ++i) {
        int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        texts[i].resize(size > 0 ? static_cast<size_t>(size) : 1, 0);
        kestos::wideToUtf8(wide[i], texts[i].data(), static_cast<int>(texts[i].size()));
        argv.push_back(texts[i].data());
    }
    LocalFree(wide);
    argv.push_back(nullptr);
    kestos::Win32SerialPort port;
    kestos::Win32FileSystem files;
    const kestos::CliStream out(STD_OUTPUT_HANDLE, stdout);
    const kestos::CliStream err(STD_ERROR_HANDLE, stderr);
    return kestos::runCli(count, argv.data(), port, files, true, out.file(), err.file(),
                          kestos::presentSerialPorts);
}
