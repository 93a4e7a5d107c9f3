#include "shell/backups.h"

#include <cstdio>
#include <cstring>

#include "shell/config_file.h"
#include "shell/stamped_names.h"

namespace kestos {

namespace {

constexpr char backupExtension[] = ".kss";
constexpr std::size_t backupNameSize = stampedNameSize;

bool allDigits(const char* s, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

// Only files named as the program names its backups are ever removed.
bool isBackupName(const char* name) {
    std::size_t length = std::strlen(name);
    std::size_t prefix = sizeof stampedPrefix - 1, extension = sizeof backupExtension - 1;
    if (length < prefix + 15 + extension || length >= backupNameSize) return false;
    if (std::strncmp(name, stampedPrefix, prefix) != 0) return false;
    const char* stamp = name + prefix;
    if (!allDigits(stamp, 8) || stamp[8] != '-' || !allDigits(stamp + 9, 6)) return false;
    const char* rest = stamp + 15;
    std::size_t restLength = length - prefix - 15 - extension;
    if (restLength > 0 &&
        (rest[0] != '_' || restLength < 2 || !allDigits(rest + 1, restLength - 1)))
        return false;
    return std::strcmp(rest + restLength, backupExtension) == 0;
}

// The newest backups by name (the time stamp sorts them), and the older ones to remove.
struct BackupScan {
    char newest[backupsKept][backupNameSize];
    int newestCount = 0;
    static constexpr int batch = 16;
    char older[batch][backupNameSize];
    int olderCount = 0;
    const char* justWritten = nullptr;
};

void collectNewest(const char* name, void* context) {
    auto& scan = *static_cast<BackupScan*>(context);
    if (!isBackupName(name)) return;
    int at = scan.newestCount;
    while (at > 0 && std::strcmp(scan.newest[at - 1], name) < 0)
        --at;
    if (at >= backupsKept) return;
    int last = scan.newestCount < backupsKept ? scan.newestCount : backupsKept - 1;
    for (int i = last; i > at; --i)
        std::memcpy(scan.newest[i], scan.newest[i - 1], backupNameSize);
    std::snprintf(scan.newest[at], backupNameSize, "%s", name);
    if (scan.newestCount < backupsKept) ++scan.newestCount;
}

void collectOlder(const char* name, void* context) {
    auto& scan = *static_cast<BackupScan*>(context);
    if (!isBackupName(name) || scan.olderCount == BackupScan::batch) return;
    if (scan.newestCount < backupsKept) return;
    if (std::strcmp(name, scan.newest[backupsKept - 1]) >= 0) return;
    if (scan.justWritten && std::strcmp(name, scan.justWritten) == 0) return;
    std::snprintf(scan.older[scan.olderCount++], backupNameSize, "%s", name);
}

void joinPath(FileSystem& files, const char* folder, const char* name, char (&path)[pathSize]) {
    std::snprintf(path, pathSize, "%s%c%s", folder, files.separator(), name);
}

void keepNewestBackups(FileSystem& files, const char* folder, const char* justWritten) {
    static BackupScan scan;
    for (;;) {
        scan = BackupScan{};
        scan.justWritten = justWritten;
        files.listFolder(folder, collectNewest, &scan);
        files.listFolder(folder, collectOlder, &scan);
        if (scan.olderCount == 0) return;
        int removed = 0;
        for (int i = 0; i < scan.olderCount; ++i) {
            char path[pathSize];
            joinPath(files, folder, scan.older[i], path);
            if (files.removeFile(path)) ++removed;
        }
        if (removed == 0) return; // files we may not remove must not keep us here
    }
}

} // namespace

bool writeBackup(FileSystem& files, const char* folder, const std::tm& when,
                 char (*written)[pathSize]) {
    if (!imageHoldsAnswer() || !files.makeFolder(folder)) return false;
    // Two backups within one second (a load, then a reset) must not overwrite each other.
    char name[backupNameSize];
    char path[pathSize];
    if (!freeStampedPath(files, folder, when, backupExtension, path, name)) return false;
    if (saveConfiguration(files, path) != SaveResult::saved) return false;
    keepNewestBackups(files, folder, name);
    if (written) std::snprintf(*written, pathSize, "%s", path);
    return true;
}

bool backupBeforeOverwrite(FileSystem& files, const char* folder, char (*written)[pathSize]) {
    std::time_t now = std::time(nullptr);
    const std::tm* when = std::localtime(&now);
    return when && writeBackup(files, folder, *when, written);
}

} // namespace kestos
