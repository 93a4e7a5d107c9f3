// A readings log as one SVG picture: stacked panels over time for the engine speed, lambda,
// TPS, Att with AttInit and the reducer temperature, a band for gas and petrol, shaded spans
// where the link was down, and the markers as numbered lines.
#pragma once

#include <string>

#include "shell/drive_log.h"

namespace kestos {

constexpr int plotPanelCount = 5;

std::string plotDriveLog(const DriveLog& log, const char* title);

} // namespace kestos
