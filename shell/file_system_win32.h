// Files on Windows, through the wide-character functions.
#pragma once

#include "shell/file_system.h"

namespace kestos {

class Win32FileSystem final : public FileSystem {
  public:
    std::FILE* openForReading(const char* path) override;
    bool replaceFile(const char* path, const char* data, std::size_t size) override;
    std::FILE* createFile(const char* path) override;
    bool makeFolder(const char* path) override;
    void listFolder(const char* folder, void (*visit)(const char* name, void* context),
                    void* context) override;
    bool removeFile(const char* path) override;
    char separator() const override { return pathSeparator; }
};

// The program names KestoS.ini, Lang\ and Backup\ relative to the folder it was started in.
// The common file dialogs move the process's current folder to wherever the fitter browsed,
// so the start folder is noted once and gone back to after each dialog. (Relative names, and
// not absolute ones, keep a start folder with Polish letters working with the narrow readers.)
void noteStartFolder();
void returnToStartFolder();

// Both false when the text does not fit; the output is always terminated.
bool utf8ToWide(const char* text, wchar_t* out, int outSize);
bool wideToUtf8(const wchar_t* text, char* out, int outSize);

} // namespace kestos
