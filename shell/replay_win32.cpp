#include "shell/replay_win32.h"

#include <cstdio>
#include <string>

#include "res/resource.h"
#include "shell/recording.h"
#include "shell/replay_session.h"
#include "shell/shell_win32.h"
#include "shell/text_win32.h"
#include "shell/texts.h"

namespace kestos {

namespace {

constexpr int speedItems[][2] = {{1, IDM_REPLAY_SPEED_1},
                                 {2, IDM_REPLAY_SPEED_2},
                                 {4, IDM_REPLAY_SPEED_4},
                                 {8, IDM_REPLAY_SPEED_8}};

void warn(HWND owner, const char* message) {
    messageBoxCp1250(owner, message, text(Text::replay), MB_ICONWARNING);
}

// A replay does not start over a recording: the log would mix the car and the replay.
bool refusedWhileRecording() {
    if (!recordingState.active) return false;
    warn(shell.mainWindow, text(Text::replayWhileRecording));
    return true;
}

// The menu, the title and the timer follow what stands in for the port.
void showReplayState() {
    attachLanguageMenu();
    highlightPageItem();
    setPageTitle(shell.pageNumber);
    if (replayRunning())
        SetTimer(shell.mainWindow, replayTimer, replayTitleMs, nullptr);
    else
        KillTimer(shell.mainWindow, replayTimer);
}

void check(int id, bool on) {
    CheckMenuItem(shell.mainMenu, static_cast<UINT>(id),
                  MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace

void replayRecording() {
    if (refusedWhileRecording()) return;
    char path[pathSize];
    if (!askFileName(FileKind::readingsLog, path)) return;
    std::string error;
    if (!startReplay(programFiles(), path, error)) {
        const std::string message = std::string(text(Text::replayCannotRead)) + "\n" + error;
        warn(shell.mainWindow, message.c_str());
        return;
    }
    showReplayState();
}

void runDemo() {
    if (refusedWhileRecording()) return;
    startDemo();
    showReplayState();
}

void toggleReplayPause() {
    setReplayPaused(!replayPaused());
    showReplayState();
}

void setReplaySpeedItem(int times) {
    setReplaySpeed(times);
    showReplayState();
}

void stopReplayCommand() {
    stopReplay();
    showReplayState();
}

void onReplayTimer() {
    setPageTitle(shell.pageNumber);
}

void markReplayItems() {
    const LiveSource source = liveSource();
    if (source != LiveSource::replay) {
        DeleteMenu(shell.mainMenu, IDM_REPLAY_PAUSE, MF_BYCOMMAND);
        for (const auto& item : speedItems)
            DeleteMenu(shell.mainMenu, static_cast<UINT>(item[1]), MF_BYCOMMAND);
    }
    if (source == LiveSource::port) {
        DeleteMenu(shell.mainMenu, IDM_REPLAY_STOP, MF_BYCOMMAND);
        return;
    }
    check(IDM_REPLAY_PAUSE, replayPaused());
    for (const auto& item : speedItems)
        check(item[1], replaySpeed() == item[0]);
    check(source == LiveSource::demo ? IDM_FILE_DEMO : IDM_FILE_REPLAY, true);
}

bool refusedDuringReplay(HWND owner, Text refusal) {
    if (!replayRunning()) return false;
    warn(owner, text(refusal));
    return true;
}

} // namespace kestos
