// Files on Windows, through the wide-character functions.
#pragma once

#include "shell/file_system.h"

namespace kestos {

class Win32FileSystem final : public FileSystem {
  public:
    std::FILE* openForReading(const char* path) override;
    bool replaceFile(const char* path, const char* data, std::size_t size) override;
    bool makeFolder(const char* path) override;
    void listFolder(const char* folder, void (*visit)(const char* name, void* context),
                    void* context) override;
    bool removeFile(const char* path) override;
    char separator() const override { return '\\'; }
};

// Both false when the text does not fit; the output is always terminated.
bool utf8ToWide(const char* text, wchar_t* out, int outSize);
bool wideToUtf8(const wchar_t* text, char* out, int outSize);

} // namespace kestos
