// The readings-log reader on any bytes. An accepted log written again reads back the same,
// and writing that gives the same text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/drive_log.h"

using namespace kestos;

namespace {

bool sameHeader(const DriveLogHeader& a, const DriveLogHeader& b) {
    return std::strcmp(a.started, b.started) == 0 && std::strcmp(a.program, b.program) == 0 &&
           std::strcmp(a.firmware, b.firmware) == 0 && std::strcmp(a.port, b.port) == 0 &&
           a.hasBlocks == b.hasBlocks &&
           std::memcmp(a.readingsBlock, b.readingsBlock, sizeof a.readingsBlock) == 0 &&
           std::memcmp(a.settingsBlock1, b.settingsBlock1, sizeof a.settingsBlock1) == 0 &&
           std::memcmp(a.settingsBlock2, b.settingsBlock2, sizeof a.settingsBlock2) == 0;
}

} // namespace

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
    if (!sameHeader(first.header, second.header) || first.rows != second.rows ||
        first.markers != second.markers || second.lastLineCut)
        std::abort();
    if (formatDriveLog(second) != text) std::abort();
    return 0;
}
