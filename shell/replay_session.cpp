#include "shell/replay_session.h"

#include <cstdio>
#include <memory>

#include "link/device_link.h"
#include "link/polling.h"
#include "shell/append_format.h"
#include "shell/drive_log.h"
#include "shell/texts.h"
#include "sim/live_port.h"
#include "sim/replay.h"

namespace kestos {

namespace {

struct Session {
    LiveSource source = LiveSource::port;
    SerialPort* port = nullptr; // the Port menu's, while a replay stands in for it
    std::unique_ptr<sim::Controller> controller;
    std::unique_ptr<sim::Replay> replay;
    std::unique_ptr<sim::LivePort> livePort;
    char fileName[256] = {};
};
Session session;

// The link starts again as at start-up, on the new source: the image is empty and the link down
// until the first answer, and the blocks are read afresh.
void switchLink(SerialPort* to) {
    resetLink();
    pollingState = PollingState{};
    setSerialPort(to);
}

void standIn(LiveSource source, std::unique_ptr<sim::Controller> controller,
             std::unique_ptr<sim::Replay> replay) {
    SerialPort* const port = replayRunning() ? session.port : serialPort();
    switchLink(nullptr); // closes the port in use while it still exists
    session.source = source;
    session.port = port;
    session.replay = std::move(replay);
    session.controller = std::move(controller);
    if (session.replay) session.controller->attachReplay(session.replay.get());
    session.livePort = std::make_unique<sim::LivePort>(*session.controller);
    session.livePort->restartClock();
    switchLink(session.livePort.get());
}

const char* baseName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    return name;
}

} // namespace

LiveSource liveSource() {
    return session.source;
}

bool startReplay(FileSystem& files, const char* path, std::string& error) {
    std::FILE* file = files.openForReading(path);
    if (!file) {
        error = "cannot open the file";
        return false;
    }
    DriveLog log;
    const bool read = sim::readReplayLog(file, log, error);
    std::fclose(file);
    if (!read) return false;
    auto controller = std::make_unique<sim::Controller>();
    controller->powerOn();
    standIn(LiveSource::replay, std::move(controller),
            std::make_unique<sim::Replay>(std::move(log)));
    std::snprintf(session.fileName, sizeof session.fileName, "%s", baseName(path));
    return true;
}

void startDemo() {
    auto controller = std::make_unique<sim::Controller>();
    controller->powerOn();
    controller->startWarm();
    standIn(LiveSource::demo, std::move(controller), nullptr);
    session.fileName[0] = 0;
}

void stopReplay() {
    if (!replayRunning()) return;
    switchLink(session.port); // closes the replay's port while it still exists
    resetReplaySession();
}

void resetReplaySession() {
    if (session.livePort && serialPort() == session.livePort.get()) setSerialPort(session.port);
    if (session.controller) session.controller->attachReplay(nullptr);
    session.source = LiveSource::port;
    session.port = nullptr;
    session.livePort.reset();
    session.replay.reset();
    session.controller.reset();
    session.fileName[0] = 0;
}

void setReplayPaused(bool paused) {
    if (session.replay) session.replay->setPaused(paused);
}
bool replayPaused() {
    return session.replay && session.replay->paused();
}
void setReplaySpeed(int times) {
    if (session.replay) session.replay->setSpeed(times);
}
int replaySpeed() {
    return session.replay ? session.replay->speed() : 1;
}
bool replayEnded() {
    return session.replay && session.replay->ended();
}
uint32_t replayPositionMs() {
    return session.replay ? session.replay->positionMs() : 0;
}
uint32_t replayLengthMs() {
    return session.replay ? session.replay->lengthMs() : 0;
}

void titleWithReplay(const char* title, char* out, std::size_t size) {
    switch (session.source) {
    case LiveSource::port: std::snprintf(out, size, "%s", title); return;
    case LiveSource::demo: std::snprintf(out, size, "%s - %s", title, text(Text::demo)); return;
    case LiveSource::replay: break;
    }
    char at[24], length[24];
    formatElapsed(replayPositionMs(), at, sizeof at);
    formatElapsed(replayLengthMs(), length, sizeof length);
    const char* state = replayEnded()    ? text(Text::replayEnded)
                        : replayPaused() ? text(Text::replayPaused)
                                         : "";
    std::snprintf(out, size, "%s - %s: %s %s / %s%s%s", title, text(Text::replay), session.fileName,
                  at, length, state[0] ? ", " : "", state);
}

} // namespace kestos
