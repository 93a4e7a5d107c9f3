// The File menu's replay and demo commands, their items while one runs, and the timer that
// keeps the title's time current.
#pragma once

#include <windows.h>

#include "shell/texts.h"

namespace kestos {

constexpr UINT_PTR replayTimer = 8;
constexpr UINT replayTitleMs = 250;

// File > Replay recording...: a log from the Open dialog.
void replayRecording();
void runDemo();
void toggleReplayPause();
void setReplaySpeedItem(int times);
void stopReplayCommand();
void onReplayTimer();
// A freshly attached menu shows the replay's items only while one runs, with its marks.
void markReplayItems();
// Warns and returns true when a replay or the demo stands in for the car; `refusal` says what
// cannot be done then.
bool refusedDuringReplay(HWND owner, Text refusal);

} // namespace kestos
