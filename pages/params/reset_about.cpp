#include "pages/params/reset_about.h"

#include <cstdio>

#include "link/device_link.h"
#include "link/params.h"
#include "shell/config_file.h"
#include "shell/language.h"

namespace kestos {

namespace {
constexpr int resetAnswerDelayMs = 250; // the controller needs this long to restore its set
constexpr int slotLinkDown = 161;
constexpr int slotFirmwareUnsupported = 162;
} // namespace

bool factoryReset(FileSystem& files) {
    backupBeforeOverwrite(files);
    deviceImage.commandAnswer[1] = 0;
    linkState.commandDelay = resetAnswerDelayMs;
    sendFactoryResetAction();
    linkState.commandDelay = 0;
    return deviceImage.commandAnswer[1] == actionFactoryReset;
}

void firmwareText(char (&text)[firmwareTextSize]) {
    if (linkState.linkDown) {
        std::snprintf(text, sizeof text, "%s", slotText(slotLinkDown));
    } else if (firmwareVersion() == 1) {
        float version =
            static_cast<float>(linkState.firmwareMajor * 100 + linkState.firmwareMinor) / 100.0f;
        std::snprintf(text, sizeof text, "%.2f", static_cast<double>(version));
    } else {
        std::snprintf(text, sizeof text, "%s", slotText(slotFirmwareUnsupported));
    }
}

} // namespace kestos
