// The readings-log reader on any bytes. An accepted log written again reads back the same,
// and writing that gives the same text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/drive_log.h"

using namespace kestos;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DriveLog first;
    std::string error;
    if (!readDriveLogText(reinterpret_cast<const char*>(data), size, first, error)) {
        if (error.empty()) std::abort(); // a refusal always says why
        return 0;
    }
    const std::string text = formatDriveLog(first);
    DriveLog second;
    if (!readDriveLogText(text.data(), text.size(), second, error)) std::abort();
    // The text holds every header field, so the same text is the same header.
    if (first.rows != second.rows || first.markers != second.markers || second.lastLineCut ||
        formatDriveLog(second) != text)
        std::abort();
    return 0;
}
