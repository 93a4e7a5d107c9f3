#include "shell/recording_win32.h"

#include <ctime>

#include "link/device_link.h"
#include "res/resource.h"
#include "shell/recording.h"
#include "shell/replay_win32.h"
#include "shell/shell_win32.h"
#include "shell/text_win32.h"
#include "shell/texts.h"

namespace kestos {

namespace {

uint32_t tickClock() {
    return GetTickCount();
}

void warn(Text what, const char* path) {
    char message[namedTextSize + pathSize + 8];
    std::snprintf(message, sizeof message, "%s%s%s", text(what), path[0] ? "\n" : "", path);
    messageBoxCp1250(shell.mainWindow, message, text(Text::recording), MB_ICONWARNING);
}

// The menu, the title and the timer follow the recording's state.
void showRecordingState() {
    markRecordingItem();
    setPageTitle(shell.pageNumber);
    if (recordingState.active)
        SetTimer(shell.mainWindow, recordingTimer, recordingFlushMs, nullptr);
    else
        KillTimer(shell.mainWindow, recordingTimer);
}

} // namespace

void toggleRecording() {
    if (recordingState.active) {
        const bool closed = stopRecording();
        showRecordingState();
        if (!closed) warn(Text::recordingWriteFailed, recordingState.path);
        return;
    }
    if (refusedDuringReplay(shell.mainWindow, Text::replayRefusesRecording)) return;
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    const bool started =
        local && startRecording(programFiles(), logFolder, *local, tickClock, linkState.portName);
    showRecordingState();
    if (!started) warn(Text::recordingCannotCreate, "");
}

void addMarker() {
    if (addRecordingMarker()) setPageTitle(shell.pageNumber);
}

void onRecordingTimer() {
    flushRecordingIfDue();
    if (!recordingState.active && recordingState.writeFailed) {
        recordingState.writeFailed = false; // said once
        showRecordingState();
        warn(Text::recordingWriteFailed, recordingState.path);
        return;
    }
    setPageTitle(shell.pageNumber);
}

void markRecordingItem() {
    CheckMenuItem(shell.mainMenu, IDM_FILE_RECORD,
                  MF_BYCOMMAND | (recordingState.active ? MF_CHECKED : MF_UNCHECKED));
}

void endRecording() {
    KillTimer(shell.mainWindow, recordingTimer);
    stopRecording();
}

} // namespace kestos
