// What the link talks to instead of the port chosen in the Port menu: a recorded drive played
// back, or the demo controller. Both are the simulated controller on an in-process port on the
// real clock, so the pages poll and draw exactly as they do with a car.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "shell/file_system.h"

namespace kestos {

enum class LiveSource : uint8_t { port, replay, demo };

LiveSource liveSource();
// A replay or the demo stands in for the port.
inline bool replayRunning() {
    return liveSource() != LiveSource::port;
}

// Reads the log at `path` and plays it from its first row at 1x. When the reader refuses it
// (or it has no rows) nothing changes and `error` says why.
bool startReplay(FileSystem& files, const char* path, std::string& error);
// A warm engine that idles, revs and switches to gas by itself.
void startDemo();
// Back to the port chosen in the Port menu. Nothing happens when none runs.
void stopReplay();

void setReplayPaused(bool paused);
bool replayPaused();
// 1, 2, 4 or 8 times the recorded pace.
void setReplaySpeed(int times);
int replaySpeed();
// The replay stands at its last row.
bool replayEnded();
// Where the replay stands and how long the log is, in ms from its first row.
uint32_t replayPositionMs();
uint32_t replayLengthMs();

// The main window's title: `title`, and while a replay runs "- Replay: drive.msl 0:12 / 10:00"
// (paused or ended said after it), during the demo "- Demo".
void titleWithReplay(const char* title, char* out, std::size_t size);

// Ends a replay for tests: the link is given back its port, neither closed nor reset.
void resetReplaySession();

} // namespace kestos
