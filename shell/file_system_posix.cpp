#include "shell/file_system_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kestos {

std::FILE* PosixFileSystem::openForReading(const char* path) {
    struct stat st;
    if (stat(path, &st) != 0 || S_ISDIR(st.st_mode)) return nullptr;
    return std::fopen(path, "rb");
}

namespace {

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool PosixFileSystem::replaceFile(const char* path, const char* data, std::size_t size) {
    char temporary[pathSize + 32];
    int fd = -1;
    for (int n = 0; n < 100 && fd < 0; ++n) {
        std::snprintf(temporary, sizeof temporary, "%s.%ld-%d.tmp", path,
                      static_cast<long>(getpid()), n);
        fd = open(temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = writeAll(fd, data, size) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temporary, path) == 0;
    if (!ok) unlink(temporary);
    return ok;
}

std::FILE* PosixFileSystem::createFile(const char* path) {
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, "wb");
    if (!file) close(fd);
    return file;
}

bool PosixFileSystem::makeFolder(const char* path) {
    if (mkdir(path, 0777) == 0) return true;
    struct stat st;
    return errno == EEXIST && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

void PosixFileSystem::listFolder(const char* folder, void (*visit)(const char* name, void* context),
                                 void* context) {
    DIR* dir = opendir(folder);
    if (!dir) return;
    // Files only, as on Windows: a folder named like a backup is never offered for removal.
    struct stat st;
    while (dirent* entry = readdir(dir)) {
        if (fstatat(dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            visit(entry->d_name, context);
    }
    closedir(dir);
}

bool PosixFileSystem::removeFile(const char* path) {
    return unlink(path) == 0;
}

} // namespace kestos
