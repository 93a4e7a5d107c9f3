#include "pages/params/firmware_text.h"

#include <cstdio>

#include "link/device_link.h"
#include "shell/language.h"

namespace kestos {

namespace {
constexpr int slotLinkDown = 161;
constexpr int slotFirmwareUnsupported = 162;
} // namespace

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
