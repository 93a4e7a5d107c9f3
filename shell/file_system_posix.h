// Files on a POSIX system: kestos-cli and the native tests.
#pragma once

#include "shell/file_system.h"

namespace kestos {

class PosixFileSystem final : public FileSystem {
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

} // namespace kestos
