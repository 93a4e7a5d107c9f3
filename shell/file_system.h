// The few file operations the configuration files and their backups need. Paths are UTF-8;
// each platform converts them to what its file functions take, so a folder with Polish
// letters works whatever the system's code page is.
#pragma once

#include <cstddef>
#include <cstdio>

namespace kestos {

// The separator between a folder and a name on the platform the program is built for.
#ifdef _WIN32
inline constexpr char pathSeparator = '\\';
#else
inline constexpr char pathSeparator = '/';
#endif

// Room for a path the program builds or is given, with its terminating zero.
constexpr std::size_t pathSize = 1024;

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Opens an existing file for binary reading; null when it cannot be opened.
    virtual std::FILE* openForReading(const char* path) = 0;
    // Writes `size` bytes to a new file in the folder of `path` and only then puts it in
    // place of `path`. On any failure `path` is as it was and no temporary file remains.
    virtual bool replaceFile(const char* path, const char* data, std::size_t size) = 0;
    // A new file for writing as it goes (a log); null when `path` exists or cannot be made.
    virtual std::FILE* createFile(const char* path) = 0;
    // Closes a file from createFile; false when what was buffered could not be written.
    virtual bool closeFile(std::FILE* file, const char* /*path*/) { return std::fclose(file) == 0; }
    // True when the folder exists afterwards.
    virtual bool makeFolder(const char* path) = 0;
    // Calls `visit` with the name (not the path) of every file in `folder`.
    virtual void listFolder(const char* folder, void (*visit)(const char* name, void* context),
                            void* context) = 0;
    virtual bool removeFile(const char* path) = 0;
    // The separator between a folder and a name.
    virtual char separator() const = 0;
};

// Whether `path` can be opened for reading.
inline bool fileExists(FileSystem& files, const char* path) {
    std::FILE* f = files.openForReading(path);
    if (f) std::fclose(f);
    return f != nullptr;
}

} // namespace kestos
