// The File menu's recording commands, the main window's title while recording and the timer
// that keeps it current.
#pragma once

#include <windows.h>

namespace kestos {

// Once a second while recording: the title's time, the buffered rows written out, and the
// warning when a write failed.
constexpr UINT_PTR recordingTimer = 7;

void toggleRecording();
void addMarker();
void onRecordingTimer();
// The check mark of "Record readings" in a freshly attached menu.
void markRecordingItem();
// Exit: the log is closed complete.
void endRecording();

} // namespace kestos
