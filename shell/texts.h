// Texts beyond the language table's 184 slots. The language files go on after their 184th
// line with more `key=text` lines in code page 1250; these are found by key, so their order
// does not matter and an older program reading a newer file sees only its 184 slots. A text
// that the file lacks, or leaves empty, is the English one built in here: never a blank.
#pragma once

#include <cstddef>

namespace kestos {

enum class Text : int {
    ioErrorCaption,         // the caption of the warning that a file cannot be opened
    recording,              // the title bar's word while readings are recorded, and the caption
    recordingMarker,        // the title's word for the markers set
    recordingCannotCreate,  // no log file could be made
    recordingWriteFailed,   // a write failed and recording stopped
    replay,                 // the title bar's word while a log is played back, and the caption
    replayPaused,           // the title's word for a paused replay
    replayEnded,            // the title's word for a replay at its last row
    demo,                   // the title bar's word while the demo controller runs
    replayCannotRead,       // the chosen log is refused; the reader's reason follows
    replayRefusesOpen,      // File > Open during a replay or the demo
    replayRefusesReset,     // the factory reset during a replay or the demo
    replayRefusesRecording, // recording during a replay or the demo
    replayWhileRecording,   // a replay or the demo asked for while recording
    valueOn,
    valueOff,
    compareCaption,
    compareIntro,
    compareViewCaption,
    compareViewIntro,
    compareSetting,
    compareController,
    compareFile,
    compareSend,
    compareCancel,
    compareClose,
    compareSame,
    compareSameView,
    uploadChecked,
    uploadNotTaken,
    uploadBackup,
    uploadCheckCaption,
    portFind,
    portFound,
    portNone,
    portBusy,
    portCannotOpen,
    replayRefusesFind,
    linkNoAnswer,    // line 4 of the Readings page's status area, and kestos-cli, while the link
    linkPortMissing, // is down: the four reasons, each with the port's name
    linkPortBusy,
    linkPortSetup,
    fileNameTooLong, // the file dialogs: the chosen name does not fit
    count
};
constexpr int textCount = static_cast<int>(Text::count);

struct TextEntry {
    Text id;
    const char* key;
    const char* english; // code page 1250 (ASCII here)
};
inline constexpr TextEntry textEntries[textCount] = {
    {Text::ioErrorCaption, "io_error_caption", "I/O Error"},
    {Text::recording, "recording", "Recording"},
    {Text::recordingMarker, "recording_marker", "marker"},
    {Text::recordingCannotCreate, "recording_cannot_create",
     "The readings log cannot be created in the Logs folder. Nothing is being recorded."},
    {Text::recordingWriteFailed, "recording_write_failed",
     "Writing the readings log failed (is the disk full?). Recording has stopped; the rows "
     "written so far are kept in the file:"},
    {Text::replay, "replay", "Replay"},
    {Text::replayPaused, "replay_paused", "paused"},
    {Text::replayEnded, "replay_ended", "ended"},
    {Text::demo, "demo", "Demo"},
    {Text::replayCannotRead, "replay_cannot_read",
     "This file cannot be played back. Nothing has changed."},
    {Text::replayRefusesOpen, "replay_refuses_open",
     "A configuration cannot be sent during a replay or the demo: there is no car on the link. "
     "Choose File > Stop replay first."},
    {Text::replayRefusesReset, "replay_refuses_reset",
     "The factory settings cannot be restored during a replay or the demo: there is no car on "
     "the link. Choose File > Stop replay first."},
    {Text::replayRefusesRecording, "replay_refuses_recording",
     "Recording is not possible during a replay or the demo: the log would not come from a car. "
     "Choose File > Stop replay first."},
    {Text::replayWhileRecording, "replay_while_recording",
     "Readings are being recorded. Stop the recording (File > Record readings) before a replay "
     "or the demo."},
    {Text::valueOn, "value_on", "On"},
    {Text::valueOff, "value_off", "Off"},
    {Text::compareCaption, "compare_caption", "Changes to send"},
    {Text::compareIntro, "compare_intro",
     "Sending this file changes these settings of the controller:"},
    {Text::compareViewCaption, "compare_view_caption", "Compare with controller"},
    {Text::compareViewIntro, "compare_view_intro",
     "The file differs from the controller in these settings:"},
    {Text::compareSetting, "compare_setting", "Setting"},
    {Text::compareController, "compare_controller", "Controller"},
    {Text::compareFile, "compare_file", "File"},
    {Text::compareSend, "compare_send", "Send"},
    {Text::compareCancel, "compare_cancel", "Cancel"},
    {Text::compareClose, "compare_close", "Close"},
    {Text::compareSame, "compare_same",
     "The file holds the same settings as the controller. Nothing was sent."},
    {Text::compareSameView, "compare_same_view",
     "The file holds the same settings as the controller."},
    {Text::uploadChecked, "upload_checked", "%d parameters sent and checked."},
    {Text::uploadNotTaken, "upload_not_taken",
     "The controller did not take these settings (controller / file):"},
    {Text::uploadBackup, "upload_backup", "Its settings from before the upload are in the backup:"},
    {Text::uploadCheckCaption, "upload_check_caption", "Check after sending"},
    {Text::portFind, "port_find", "Find controller"},
    {Text::portFound, "port_found", "A controller answers on %s. It is now the chosen port."},
    {Text::portNone, "port_none", "No controller answered on %s."},
    {Text::portBusy, "port_busy", "%s is in use by another program."},
    {Text::portCannotOpen, "port_cannot_open", "%s cannot be opened."},
    {Text::replayRefusesFind, "replay_refuses_find",
     "The controller cannot be looked for during a replay or the demo. Choose File > Stop replay "
     "first."},
    {Text::linkNoAnswer, "link_no_answer", "No answer on %s"},
    {Text::linkPortMissing, "link_port_missing", "%s is not present"},
    {Text::linkPortBusy, "link_port_busy", "%s in use elsewhere"},
    {Text::linkPortSetup, "link_port_setup", "%s: port setup failed"},
    {Text::fileNameTooLong, "file_name_too_long",
     "The file's name with its folders is too long (at most 259 characters). Nothing was done; "
     "choose a shorter name or a folder nearer the drive's root."},
};

constexpr int namedTextSize = 256; // 255 bytes and the terminating zero

// The text in the language loaded last (code page 1250 bytes).
const char* text(Text id);
// The text with its first "%d" replaced by `n` (any other '%' is kept as it is: a language file
// is no format string).
void textWithNumber(Text id, int n, char* out, std::size_t size);
// The same with its first "%s" replaced by `word`.
void textWithWord(Text id, const char* word, char* out, std::size_t size);

// Back to the built-in English for every text. `loadLanguage` does this before it reads.
void resetNamedTexts();
// Reads the named lines of a language file, fed byte by byte as it is read: everything after
// its first 184 lines (which end at LF, as the slots' loader counts them; a CR before the LF
// is dropped). The key is what comes before the first '=', the text all that follows it.
class NamedTextReader {
  public:
    void feed(char byte);
    void finish(); // at the end of the file: takes a last line without a line break

  private:
    int linesSeen = 0;
    char line[namedTextSize + 64];
    std::size_t length = 0;
};
// The same on bytes already in memory.
void loadNamedTexts(const char* bytes, std::size_t length);

} // namespace kestos
