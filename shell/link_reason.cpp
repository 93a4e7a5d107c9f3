#include "shell/link_reason.h"

#include "link/device_link.h"
#include "link/port_names.h"
#include "shell/texts.h"

namespace kestos {

void linkDownReasonText(char* out, std::size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    if (!linkState.linkDown) return;
    Text id;
    switch (linkState.downReason) {
    case LinkDownReason::noAnswer: id = Text::linkNoAnswer; break;
    case LinkDownReason::portMissing: id = Text::linkPortMissing; break;
    case LinkDownReason::portBusy: id = Text::linkPortBusy; break;
    case LinkDownReason::portSetup: id = Text::linkPortSetup; break;
    default: return;
    }
    char port[64];
    shownPortName(linkState.portName, port, sizeof port);
    textWithWord(id, port, out, size);
}

} // namespace kestos
