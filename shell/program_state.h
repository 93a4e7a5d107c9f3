// Every program-wide state of the portable core, back to its value at load, at once: for the
// fixtures and benches that start the program again within one process.
#pragma once

namespace kestos {

// The link and the device image, the language table and the named texts, the settings, the
// size class, and the Readings, Configuration and Options, Oscilloscope and Schema pages' state.
void resetProgramState();

} // namespace kestos
