#include "shell/recording.h"

#include <cstring>

#include "shell/append_format.h"
#include "shell/drive_log.h"
#include "shell/stamped_names.h"
#include "shell/texts.h"

namespace kestos {

RecordingState recordingState;

void resetRecordingState() {
    if (recordingState.file) std::fclose(recordingState.file);
    recordingState = RecordingState{};
}

namespace {

uint32_t now() {
    return recordingState.clockMs ? recordingState.clockMs() : 0;
}

// A write that fails (a full disk) ends the recording; what was written stays readable.
void fail() {
    RecordingState& r = recordingState;
    if (r.file) r.files->closeFile(r.file, r.path);
    r.file = nullptr;
    r.active = false;
    r.writeFailed = true;
}

void write(const char* text, std::size_t length) {
    RecordingState& r = recordingState;
    if (!r.active) return;
    if (std::fwrite(text, 1, length, r.file) != length || std::ferror(r.file)) fail();
}

void flush() {
    RecordingState& r = recordingState;
    if (!r.active) return;
    r.lastFlushMs = now();
    if (std::fflush(r.file) != 0) fail();
}

void writeRow(bool linkUp) {
    char text[160];
    const DriveLogRow row = rowFromImage(recordingElapsedMs(), linkUp);
    write(text, formatDriveLogRow(row, text, sizeof text));
    ++recordingState.rows;
}

} // namespace

bool startRecordingTo(FileSystem& files, const char* path, const std::tm& started,
                      uint32_t (*clockMs)(), const char* port) {
    stopRecording();
    std::FILE* file = files.createFile(path);
    if (!file) return false;
    static char buffer[16384]; // written out once a second, not row by row
    std::setvbuf(file, buffer, _IOFBF, sizeof buffer);
    RecordingState& r = recordingState;
    r = RecordingState{};
    r.active = true;
    r.files = &files;
    r.file = file;
    r.clockMs = clockMs;
    r.startMs = clockMs ? clockMs() : 0;
    std::snprintf(r.path, sizeof r.path, "%s", path);
    char stamp[24];
    readableStamp(started, stamp);
    static char header[1024];
    write(header, formatDriveLogHeader(headerFromImage(stamp, port), header, sizeof header));
    flush();
    return r.active;
}

bool startRecording(FileSystem& files, const char* folder, const std::tm& started,
                    uint32_t (*clockMs)(), const char* port) {
    stopRecording(); // its file counts as taken
    files.makeFolder(folder);
    char path[pathSize];
    char name[stampedNameSize];
    return freeStampedPath(files, folder, started, driveLogExtension, path, name) &&
           startRecordingTo(files, path, started, clockMs, port);
}

void recordPollTick(const PollsRun& run) {
    RecordingState& r = recordingState;
    if (!r.active) return;
    if (run.statusAnswered && run.readingsAnswered) {
        writeRow(true);
        r.linkDownWritten = false;
    } else if (linkState.linkDown && !r.linkDownWritten) {
        writeRow(false);
        r.linkDownWritten = true;
        flush(); // the moment the cable was pulled is worth keeping at once
    }
    flushRecordingIfDue();
}

int addRecordingMarker() {
    RecordingState& r = recordingState;
    if (!r.active) return 0;
    char text[64];
    const DriveLogMarker marker{++r.markers, recordingElapsedMs()};
    write(text, formatDriveLogMarker(marker, text, sizeof text));
    flush();
    return r.active ? marker.number : 0;
}

void flushRecordingIfDue() {
    if (recordingState.active && now() - recordingState.lastFlushMs >= recordingFlushMs) flush();
}

bool stopRecording() {
    RecordingState& r = recordingState;
    if (!r.active) return true;
    const bool closed = r.files->closeFile(r.file, r.path);
    r.file = nullptr;
    r.active = false;
    r.writeFailed = !closed;
    return closed;
}

uint32_t recordingElapsedMs() {
    return recordingState.active ? now() - recordingState.startMs : 0;
}

void titleWithRecording(const char* pageTitle, char* out, std::size_t size) {
    if (!recordingState.active) {
        std::snprintf(out, size, "%s", pageTitle);
        return;
    }
    char elapsed[24];
    formatElapsed(recordingElapsedMs(), elapsed, sizeof elapsed);
    const int n = std::snprintf(out, size, "%s - %s %s", pageTitle, text(Text::recording), elapsed);
    if (recordingState.markers > 0 && n > 0 && static_cast<std::size_t>(n) < size)
        std::snprintf(out + n, size - static_cast<std::size_t>(n), ", %s %d",
                      text(Text::recordingMarker), recordingState.markers);
}

} // namespace kestos
