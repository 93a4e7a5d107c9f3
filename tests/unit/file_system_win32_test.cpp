// The Win32 files: UTF-8 paths with Polish letters reach the wide functions whole, and a
// replace leaves either the old file or the new one.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <thread>

#include "shell/file_system_win32.h"

using namespace kestos;

namespace {

void collect(const char* name, void* context) {
    static_cast<std::set<std::string>*>(context)->insert(name);
}

std::string readAll(FileSystem& files, const std::string& path) {
    std::FILE* f = files.openForReading(path.c_str());
    if (!f) return "<none>";
    std::string s;
    for (int c; (c = std::fgetc(f)) != EOF;)
        s += static_cast<char>(c);
    std::fclose(f);
    return s;
}

} // namespace

TEST(Win32Files, PolishPathsReplaceAndList) {
    Win32FileSystem files;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    char base[MAX_PATH * 3];
    ASSERT_TRUE(wideToUtf8(temp, base, sizeof base));
    const std::string dir =
        std::string(base) + "kestos-żółć-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(files.makeFolder(dir.c_str()));
    const std::string path = dir + "\\ustawienia Łódź.kss";

    ASSERT_TRUE(files.replaceFile(path.c_str(), "old", 3));
    ASSERT_TRUE(files.replaceFile(path.c_str(), "new\r\n", 5));
    EXPECT_EQ(readAll(files, path), "new\r\n") << "read back in binary, as written";
    std::set<std::string> names;
    files.listFolder(dir.c_str(), collect, &names);
    EXPECT_EQ(names, std::set<std::string>{"ustawienia Łódź.kss"}) << "no temporary file stays";

    // A scanner holding the file for 200 ms just after it was closed delays the replace only.
    wchar_t wide[MAX_PATH * 2];
    ASSERT_TRUE(utf8ToWide(path.c_str(), wide, MAX_PATH * 2));
    HANDLE held = CreateFileW(wide, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held] {
        Sleep(200);
        CloseHandle(held);
    });
    EXPECT_TRUE(files.replaceFile(path.c_str(), "later", 5));
    release.join();
    EXPECT_EQ(readAll(files, path), "later");

    // Another program holding it for good stops the replace, not the old file.
    held = CreateFileW(wide, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.replaceFile(path.c_str(), "lost", 4));
    CloseHandle(held);
    EXPECT_EQ(readAll(files, path), "later");
    EXPECT_EQ(readAll(files, dir), "<none>") << "a folder is not a file to read";
    EXPECT_TRUE(files.removeFile(path.c_str()));
    ASSERT_TRUE(utf8ToWide(dir.c_str(), wide, MAX_PATH * 2));
    EXPECT_TRUE(RemoveDirectoryW(wide)) << "nothing left in the folder";
}
