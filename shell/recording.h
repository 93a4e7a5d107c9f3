// Recording a drive: a new readings log for each recording, one row for every tick that
// took a status and a readings answer (whichever window polled), one row when the link goes
// down, and numbered markers. Rows reach the disk at least once a second.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>

#include "link/polling.h"
#include "shell/file_system.h"

namespace kestos {

// Logs\ under the program's folder.
constexpr const char* logFolder = "Logs";
constexpr uint32_t recordingFlushMs = 1000;

struct RecordingState {
    bool active = false;
    bool writeFailed = false; // the last recording stopped because a write failed
    FileSystem* files = nullptr;
    std::FILE* file = nullptr;
    uint32_t (*clockMs)() = nullptr;
    uint32_t startMs = 0;
    uint32_t lastFlushMs = 0;
    long rows = 0;
    int markers = 0;
    bool linkDownWritten = false; // the link-down row went out; none until the link is back
    char path[pathSize] = {};
};
extern RecordingState recordingState;
void resetRecordingState();

// Starts a log `folder`/KestoS-YYYYMMDD-HHMMSS.msl (the folder made when needed; a second
// recording in the same second gets "_02" and on, as the backups do). `clockMs` is a millisecond clock that
// only goes forward. False when no file could be made.
bool startRecording(FileSystem& files, const char* folder, const std::tm& started,
                    uint32_t (*clockMs)(), const char* port);
// The same into a file named by the caller (kestos-cli record); false when it cannot be made.
bool startRecordingTo(FileSystem& files, const char* path, const std::tm& started,
                      uint32_t (*clockMs)(), const char* port);
// What a polling tick brought (afterPollTick calls it).
void recordPollTick(const PollsRun& run);
// The next marker at the time now; its number, or 0 when not recording.
int addRecordingMarker();
// Writes out what is buffered when a second has passed since the last time.
void flushRecordingIfDue();
// Closes the log complete. False when the end could not be written.
bool stopRecording();
// Milliseconds since the recording started; 0 when none runs.
uint32_t recordingElapsedMs();

// The main window's title: the page's, and while recording, for how long and the markers set
// ("Readings - Recording 1:05, marker 2").
void titleWithRecording(const char* pageTitle, char* out, std::size_t size);

} // namespace kestos
