// Backups of the controller's set before an operation that overwrites it (an Open, a load by
// kestos-cli, a factory reset): .kss files named by their local time in a backup folder, of
// which the newest are kept.
#pragma once

#include <ctime>

#include "shell/file_system.h"

namespace kestos {

constexpr int backupsKept = 50;
// Saves the image to `folder`/KestoS-YYYYMMDD-HHMMSS.kss (created when needed) and keeps the
// newest `backupsKept` backups there. Does nothing when the image holds no answer. The
// path written goes to `written` when given; false when nothing was written.
bool writeBackup(FileSystem& files, const char* folder, const std::tm& when,
                 char (*written)[pathSize] = nullptr);
// The backup folder of the program, under its working directory.
constexpr const char* backupFolder = "Backup";
// Saves the controller's set, as last read, to `folder` with the local time in its name
// before something overwrites it; nothing when the image holds no answer. The program goes on
// whatever the result; kestos-cli asks for it and stops on false.
bool backupBeforeOverwrite(FileSystem& files, const char* folder = backupFolder,
                           char (*written)[pathSize] = nullptr);

} // namespace kestos
