// The Readings page's polling cycle, shared with kestos-cli's watch command.
#pragma once

namespace kestos {

// Which transactions one tick ran.
struct PollsRun {
    bool status = false;
    bool readings = false;
    bool settings1 = false;
    bool settings2 = false;
};

struct ReadingsPollState {
    // Ticks that read the readings block since the settings blocks were last read.
    // Not reset when the page is re-created.
    unsigned settingsPollCount = 0;
};
extern ReadingsPollState readingsPollState;

// One timer tick: status; if the link is usable, readings, and both settings blocks on every
// fourth such tick. Does nothing while the About dialog is open or a drop-down list is open.
PollsRun readingsPollCycle(bool aboutOpen);

} // namespace kestos
