// Files named by the local time they were made, "KestoS-YYYYMMDD-HHMMSS.ext", with "_02" to
// "_99" for more within the same second: the backups and the readings logs.
#pragma once

#include <cstddef>
#include <ctime>

#include "shell/file_system.h"

namespace kestos {

constexpr char stampedPrefix[] = "KestoS-";
// "KestoS-YYYYMMDD-HHMMSS" + "_NN" + an extension of up to 12 characters.
constexpr std::size_t stampedNameSize = 40;

// The first free `folder`/KestoS-<stamp>[_NN]`extension` and its name; false when all 99 are
// taken. Fields are kept in range, so the stamp always has its 15 digits and a dash.
bool freeStampedPath(FileSystem& files, const char* folder, const std::tm& when,
                     const char* extension, char (&path)[pathSize], char (&name)[stampedNameSize]);

// "YYYY-MM-DD HH:MM:SS", the fields kept in range in the same way.
void readableStamp(const std::tm& when, char (&text)[24]);

} // namespace kestos
