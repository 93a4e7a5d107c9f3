// A recorded drive played back: where in the log the replay stands, at which speed, paused or
// not. The simulated controller answers status and readings requests from the row this gives,
// and keeps the rest (the settings blocks, writes, actions) as a controller does, starting
// from the log's header. The same for the program's replay and for kestos-sim --replay.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "shell/drive_log.h"

namespace kestos::sim {

// Reads a log to play back; false, with the reason in `error`, when the reader refuses it or it
// has no rows.
bool readReplayLog(std::FILE* file, DriveLog& log, std::string& error);

class Replay {
  public:
    explicit Replay(DriveLog log) : log_(std::move(log)) {}

    const DriveLog& log() const { return log_; }
    // Moves the replay on by `ms` of the clock: `ms` x speed of the log, none while paused.
    void advance(double ms);
    void setSpeed(int times) { speed_ = times < 1 ? 1 : times; }
    int speed() const { return speed_; }
    void setPaused(bool paused) { paused_ = paused; }
    bool paused() const { return paused_; }

    // The log's time now, from the first row (ms); the length of the log.
    uint32_t positionMs() const;
    uint32_t lengthMs() const;
    // The last row whose time has come (the first before then); nullptr for a log without
    // rows. At the end it holds the last row.
    const DriveLogRow* currentRow() const;
    bool ended() const { return position_ >= lengthMs(); }

  private:
    DriveLog log_;
    double position_ = 0; // ms after the first row
    int speed_ = 1;
    bool paused_ = false;
    mutable std::size_t row_ = 0; // the last row found, where the next search starts
};

} // namespace kestos::sim
