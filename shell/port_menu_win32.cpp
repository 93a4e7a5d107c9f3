#include "shell/port_menu_win32.h"

#include <string>

#include "link/device_link.h"
#include "link/port_names.h"
#include "link/port_search.h"
#include "res/resource.h"
#include "shell/replay_win32.h"
#include "shell/settings.h"
#include "shell/shell_win32.h"
#include "shell/text_win32.h"
#include "shell/texts.h"

namespace kestos {

std::vector<PresentPort> (*listPresentPorts)() = presentSerialPorts;

namespace {

constexpr int fixedPorts = 4; // COM1..COM4 stay as they are, first in the menu

bool isPortMenu(HMENU menu) {
    return GetMenuState(menu, IDM_PORT_COM1, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

void removeOtherPorts(HMENU menu) {
    for (int n = fixedPorts + 1; n <= maxComNumber; ++n)
        DeleteMenu(menu, static_cast<UINT>(IDM_PORT_OTHER_FIRST + n), MF_BYCOMMAND);
}

void choosePort(int n) {
    if (linkState.portOpen) closePort();
    linkState.portName = comOpenName(n);
    settingsState.comNumber = n;
    if (n <= fixedPorts) settingsState.portNumber = n; // CommPort= keeps the last of 1..4
    markPortItem(10 + n);
    writeSettings();
}

// COM1..COM4 and the others present, the chosen port first.
std::vector<std::string> portsToTry() {
    std::vector<std::string> names;
    for (int n = 1; n <= fixedPorts; ++n)
        names.push_back("COM" + std::to_string(n));
    for (const PresentPort& p : listPresentPorts())
        if (comNumberOf(p.name.c_str()) > fixedPorts) names.push_back(p.name);
    return chosenFirst(names, "COM" + std::to_string(settingsState.comNumber));
}

const char* openName(const std::string& name) {
    return comOpenName(comNumberOf(name.c_str()));
}

void findController() {
    if (refusedDuringReplay(shell.mainWindow, Text::replayRefusesFind)) return;
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); // the hourglass
    const std::vector<PortProbe> probes = probePorts(portsToTry(), openName, false);
    SetCursor(previous);
    char message[2048];
    if (!probes.empty() && probes.back().result == PortProbe::Result::controller) {
        choosePort(comNumberOf(probes.back().name.c_str()));
        textWithWord(Text::portFound, probes.back().name.c_str(), message, sizeof message);
        messageBoxCp1250(shell.mainWindow, message, text(Text::portFind), MB_ICONINFORMATION);
        return;
    }
    std::string tried, reasons;
    for (const PortProbe& p : probes) {
        tried += (tried.empty() ? "" : ", ") + p.name;
        char line[namedTextSize + 64];
        if (p.result == PortProbe::Result::busy)
            textWithWord(Text::portBusy, p.name.c_str(), line, sizeof line);
        else if (p.result == PortProbe::Result::cannotOpen)
            textWithWord(Text::portCannotOpen, p.name.c_str(), line, sizeof line);
        else
            continue;
        reasons += std::string("\n") + line;
    }
    textWithWord(Text::portNone, tried.c_str(), message, sizeof message);
    messageBoxCp1250(shell.mainWindow, (message + reasons).c_str(), text(Text::portFind),
                     MB_ICONWARNING);
}

} // namespace

void onInitMenuPopup(HMENU menu) {
    if (!isPortMenu(menu)) return;
    removeOtherPorts(menu);
    UINT at = fixedPorts; // after COM 4
    for (const PresentPort& p : listPresentPorts()) {
        const int n = comNumberOf(p.name.c_str());
        if (n <= fixedPorts) continue;
        std::string label = p.name + (p.device.empty() ? "" : " (" + p.device + ")");
        wchar_t wide[128];
        cp1250ToWide(label.c_str(), -1, wide, 128);
        const UINT checked = settingsState.comNumber == n ? MF_CHECKED : MF_UNCHECKED;
        InsertMenuW(menu, at++, MF_BYPOSITION | MF_STRING | checked,
                    static_cast<UINT_PTR>(IDM_PORT_OTHER_FIRST + n), wide);
    }
}

bool runPortCommand(int id) {
    if (id == IDM_PORT_FIND) {
        findController();
        return true;
    }
    const int n = id - IDM_PORT_OTHER_FIRST;
    if (n <= fixedPorts || n > maxComNumber) return false;
    choosePort(n);
    return true;
}

} // namespace kestos
