// Timing of the link's transactions against a controller with 9600-baud byte timing.
#pragma once

#include "link/serial_port.h"

namespace kestos {

// Runs the Readings tick, the Configuration tick and a 27-frame upload `rounds` times on the
// installed port (linkState.portName set by the caller) and prints measured / wire time.
// Returns false when the controller does not answer.
bool runLinkBench(int rounds, SerialPort& port);

} // namespace kestos
