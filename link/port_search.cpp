#include "link/port_search.h"

#include <algorithm>

#include "link/device_link.h"

namespace kestos {

std::vector<PortProbe> probePorts(const std::vector<std::string>& names,
                                  const char* (*openName)(const std::string& name), bool all) {
    std::vector<PortProbe> probes;
    const LinkState saved = linkState;
    const DeviceImage image = deviceImage;
    for (const std::string& name : names) {
        closePort();
        linkState.portName = openName(name);
        linkState.failCount = 0;
        PortProbe probe;
        probe.name = name;
        if (pollStatus()) {
            probe.result = PortProbe::Result::controller;
        } else if (SerialPort* port = serialPort()) {
            switch (port->openFailure()) {
            case OpenFailure::none: probe.result = PortProbe::Result::noAnswer; break;
            case OpenFailure::busy: probe.result = PortProbe::Result::busy; break;
            case OpenFailure::missing:
            case OpenFailure::setup: probe.result = PortProbe::Result::cannotOpen; break;
            }
            if (probe.result != PortProbe::Result::noAnswer) probe.reason = port->lastError();
        }
        probes.push_back(probe);
        if (probe.result == PortProbe::Result::controller && !all) break;
    }
    closePort();
    linkState = saved;
    linkState.portOpen = 0;
    deviceImage = image;
    return probes;
}

std::vector<std::string> chosenFirst(std::vector<std::string> names, const std::string& first) {
    auto at = std::find(names.begin(), names.end(), first);
    if (at != names.end()) std::rotate(names.begin(), at, at + 1);
    return names;
}

} // namespace kestos
