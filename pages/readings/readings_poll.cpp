#include "pages/readings/readings_poll.h"

#include "link/device_link.h"

namespace kestos {

ReadingsPollState readingsPollState;

PollsRun readingsPollCycle(bool aboutOpen) {
    PollsRun run;
    if (aboutOpen || linkState.pollPaused) return run;
    pollStatus();
    run.status = true;
    if (linkUsable()) {
        pollReadings();
        run.readings = true;
        if (++readingsPollState.settingsPollCount > 3) {
            pollSettings1();
            pollSettings2();
            run.settings1 = run.settings2 = true;
            readingsPollState.settingsPollCount = 0;
        }
    }
    return run;
}

} // namespace kestos
