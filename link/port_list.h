// The serial ports present on this machine, for the Port menu, Find controller and kestos-cli.
#pragma once

#include <string>
#include <vector>

namespace kestos {

struct PresentPort {
    std::string name;   // "COM7" on Windows, a device path such as /dev/ttyUSB0 elsewhere
    std::string device; // what the system calls the device, where that is cheap to know
};

// In the system's order: Windows' list of serial ports (HARDWARE\DEVICEMAP\SERIALCOMM, which
// Wine fills too), or the /dev/ttyS*, /dev/ttyUSB* and /dev/ttyACM* that open (in
// $KESTOS_SERIAL_DIR instead of /dev when it is set).
std::vector<PresentPort> presentSerialPorts();

} // namespace kestos
