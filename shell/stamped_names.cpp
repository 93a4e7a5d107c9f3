#include "shell/stamped_names.h"

#include <cstdio>

namespace kestos {

namespace {

unsigned field(int value, unsigned modulo) {
    return static_cast<unsigned>(value) % modulo;
}

} // namespace

bool freeStampedPath(FileSystem& files, const char* folder, const std::tm& when,
                     const char* extension, char (&path)[pathSize], char (&name)[stampedNameSize]) {
    char stamp[24];
    std::snprintf(stamp, sizeof stamp, "%s%04u%02u%02u-%02u%02u%02u", stampedPrefix,
                  field(when.tm_year + 1900, 10000), field(when.tm_mon + 1, 100),
                  field(when.tm_mday, 100), field(when.tm_hour, 100), field(when.tm_min, 100),
                  field(when.tm_sec, 100));
    for (int n = 1; n < 100; ++n) {
        if (n == 1)
            std::snprintf(name, sizeof name, "%s%s", stamp, extension);
        else
            std::snprintf(name, sizeof name, "%s_%02d%s", stamp, n, extension);
        std::snprintf(path, pathSize, "%s%c%s", folder, files.separator(), name);
        if (!fileExists(files, path)) return true;
    }
    return false;
}

void readableStamp(const std::tm& when, char (&text)[24]) {
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u",
                  field(when.tm_year + 1900, 10000), field(when.tm_mon + 1, 100),
                  field(when.tm_mday, 100), field(when.tm_hour, 100), field(when.tm_min, 100),
                  field(when.tm_sec, 100));
}

} // namespace kestos
