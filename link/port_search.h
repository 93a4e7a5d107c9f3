// Finding the controller: one status request on each port in turn, with the link's own short
// read time-out (140 ms), until one answers whole and correct.
#pragma once

#include <string>
#include <vector>

namespace kestos {

struct PortProbe {
    enum class Result : unsigned char { controller, noAnswer, busy, cannotOpen };
    std::string name; // as listed: "COM7", "/dev/ttyUSB0"
    Result result = Result::noAnswer;
    std::string reason; // the port's own words when it would not open
};

// Tries `names` in order through the link's installed port; `openName` gives the name each
// opens by. Stops after the first controller unless `all`. The link is left closed, as it was
// before, on its own port name.
std::vector<PortProbe> probePorts(const std::vector<std::string>& names,
                                  const char* (*openName)(const std::string& name), bool all);

// `names` with `first` moved to the front when it is among them.
std::vector<std::string> chosenFirst(std::vector<std::string> names, const std::string& first);

} // namespace kestos
