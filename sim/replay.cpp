#include "sim/replay.h"

namespace kestos::sim {

namespace {

uint32_t firstTime(const DriveLog& log) {
    return log.rows.empty() ? 0 : log.rows.front().timeMs;
}

} // namespace

bool readReplayLog(std::FILE* file, DriveLog& log, std::string& error) {
    if (!readDriveLog(file, log, error)) return false;
    if (!log.rows.empty()) return true;
    error = "the log has no rows";
    return false;
}

void Replay::advance(double ms) {
    if (paused_ || ms <= 0) return;
    position_ += ms * speed_;
    const double length = lengthMs();
    if (position_ > length) position_ = length;
}

uint32_t Replay::positionMs() const {
    return static_cast<uint32_t>(position_);
}

uint32_t Replay::lengthMs() const {
    return log_.rows.empty() ? 0 : log_.rows.back().timeMs - firstTime(log_);
}

const DriveLogRow* Replay::currentRow() const {
    const auto& rows = log_.rows;
    if (rows.empty()) return nullptr;
    const double at = firstTime(log_) + position_;
    if (row_ >= rows.size() || rows[row_].timeMs > at) row_ = 0;
    while (row_ + 1 < rows.size() && rows[row_ + 1].timeMs <= at)
        ++row_;
    return &rows[row_];
}

} // namespace kestos::sim
