// Save As and Open of the file menu: the common dialogs, the question and the warnings
// around the configuration files.
#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include <string>

#include "shell/backups.h"
#include "shell/compare_dialog_win32.h"
#include "shell/config_file.h"
#include "shell/file_system_win32.h"
#include "shell/language.h"
#include "shell/replay_win32.h"
#include "shell/shell_win32.h"
#include "shell/text_win32.h"
#include "shell/texts.h"

namespace kestos {

namespace {

constexpr int nameSize = 260;
constexpr int slotNothingToSaveCaption = 163;
constexpr int slotOpenTitle = 165;
constexpr int slotSaveTitle = 166;
constexpr int slotCannotOpen = 167;
constexpr int slotInvalid = 168;
constexpr int slotInvalidCaption = 169;
constexpr int slotSendFailedCaption = 170;
constexpr int slotSendFailed = 171;
constexpr int slotOverwriteCaption = 172;
constexpr int slotOverwrite = 173;
constexpr int slotNothingToSave = 174;

Win32FileSystem files;

void warn(const char* text, const char* caption) {
    messageBoxCp1250(shell.pageWindow, text, caption, MB_OK | MB_ICONEXCLAMATION);
}

// The save or open dialog; false when the user cancels. `name` keeps what was chosen.
bool askFileName(bool save, FileKind kind, wchar_t (&name)[nameSize]) {
    const bool log = kind == FileKind::readingsLog;
    wchar_t title[128];
    cp1250ToWide(slotText(save ? slotSaveTitle : slotOpenTitle), -1, title, 128);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = shell.pageWindow;
    dialog.lpstrFilter =
        log ? L"KestoS readings logs (*.msl)\0*.msl\0" : L"KestoS settings (*.kss)\0*.kss\0";
    dialog.lpstrFile = name;
    dialog.nMaxFile = nameSize;
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_EXPLORER;
    dialog.lpstrDefExt = log ? L"msl" : L"kss";
    const bool chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    // A name longer than the buffer ends the dialog as Cancel does; the fitter must hear why.
    if (!chosen && CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
        warn(text(Text::fileNameTooLong), text(Text::ioErrorCaption));
    returnToStartFolder();
    return chosen;
}

} // namespace

FileSystem& programFiles() {
    return files;
}

bool askFileName(FileKind kind, char (&path)[pathSize]) {
    wchar_t name[nameSize] = {};
    if (!askFileName(false, kind, name)) return false;
    if (wideToUtf8(name, path, sizeof path)) return true;
    warn(slotText(slotCannotOpen), text(Text::ioErrorCaption));
    return false;
}

void saveConfigurationAs() {
    // A file of zeros would later be sent to a controller as its configuration.
    if (!imageHoldsAnswer()) {
        warn(slotText(slotNothingToSave), slotText(slotNothingToSaveCaption));
        return;
    }
    wchar_t name[nameSize] = {};
    char path[pathSize];
    for (;;) {
        if (!askFileName(true, FileKind::settings, name)) return;
        if (!wideToUtf8(name, path, sizeof path)) {
            warn(slotText(slotCannotOpen), text(Text::ioErrorCaption));
            return;
        }
        if (!fileExists(files, path)) break;
        int answer =
            messageBoxCp1250(shell.pageWindow, slotText(slotOverwrite),
                             slotText(slotOverwriteCaption), MB_YESNO | MB_ICONINFORMATION);
        if (answer == IDYES) break;
    }
    switch (saveConfiguration(files, path)) {
    case SaveResult::saved: break;
    // The link went down while the dialog was open, and the image with it.
    case SaveResult::noAnswer:
        warn(slotText(slotNothingToSave), slotText(slotNothingToSaveCaption));
        break;
    case SaveResult::writeFailed: warn(slotText(slotCannotOpen), text(Text::ioErrorCaption)); break;
    }
}

namespace {

constexpr int slotLinkDown = 30;

void inform(const char* message, Text caption) {
    messageBoxCp1250(shell.pageWindow, message, text(caption), MB_OK | MB_ICONINFORMATION);
}

// The File menu's file, read and checked; false, after its warning, when it is not one.
bool chooseConfiguration() {
    wchar_t name[nameSize] = {};
    if (!askFileName(false, FileKind::settings, name)) return false;
    char path[pathSize];
    ReadResult read = wideToUtf8(name, path, sizeof path)
                          ? readConfiguration(files, path, configFile)
                          : ReadResult::cannotOpen;
    if (read == ReadResult::cannotOpen) {
        warn(slotText(slotCannotOpen), text(Text::ioErrorCaption));
        return false;
    }
    if (read == ReadResult::invalid) {
        warn(slotText(slotInvalid), slotText(slotInvalidCaption));
        return false;
    }
    return true;
}

ShownRow shownRows[maxShownRows];

// After the 27 frames: the blocks read back against the file.
void checkUpload(const char* backup) {
    const int count = compareWithController(configFile.fileValues, shownRows, maxShownRows);
    if (count < 0) {
        warn(slotText(slotSendFailed), slotText(slotSendFailedCaption));
        return;
    }
    if (count == 0) {
        char message[namedTextSize + 16];
        textWithNumber(Text::uploadChecked, parameterCount, message, sizeof message);
        inform(message, Text::uploadCheckCaption);
        return;
    }
    std::string message = text(Text::uploadNotTaken);
    for (int i = 0; i < count; ++i) {
        const ShownRow& r = shownRows[i];
        message += std::string("\n") + r.name + ": " + r.a + " / " + r.b;
    }
    if (backup[0]) message += std::string("\n\n") + text(Text::uploadBackup) + "\n" + backup;
    warn(message.c_str(), text(Text::uploadCheckCaption));
}

} // namespace

void openConfiguration() {
    if (refusedDuringReplay(shell.pageWindow, Text::replayRefusesOpen)) return;
    if (!chooseConfiguration()) return;
    // What the file changes, from the controller's set as it is now; nothing goes out unseen.
    const int count = compareWithController(configFile.fileValues, shownRows, maxShownRows);
    if (count < 0) {
        warn(slotText(slotSendFailed), slotText(slotSendFailedCaption));
        return;
    }
    if (count == 0) {
        inform(text(Text::compareSame), Text::compareCaption);
        return;
    }
    if (!showCompareDialog(shell.pageWindow, CompareMode::beforeSending, shownRows, count)) return;
    char backup[pathSize] = "";
    backupBeforeOverwrite(files, backupFolder, &backup);
    if (uploadConfiguration(configFile) < parameterCount) {
        warn(slotText(slotSendFailed), slotText(slotSendFailedCaption));
        return;
    }
    checkUpload(backup);
}

void compareConfiguration() {
    if (!chooseConfiguration()) return;
    const int count = compareWithController(configFile.fileValues, shownRows, maxShownRows);
    if (count < 0)
        warn(slotText(slotLinkDown), text(Text::compareViewCaption));
    else if (count == 0)
        inform(text(Text::compareSameView), Text::compareViewCaption);
    else
        showCompareDialog(shell.pageWindow, CompareMode::view, shownRows, count);
}

} // namespace kestos
