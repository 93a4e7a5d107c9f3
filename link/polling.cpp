#include "link/polling.h"

#include "link/device_link.h"

namespace kestos {

PollingState pollingState;

namespace {

bool stopped(PollSchedule schedule, bool aboutOpen) {
    switch (schedule) {
    case PollSchedule::readingsPage: return aboutOpen || linkState.pollPaused;
    case PollSchedule::scopePage: return aboutOpen;
    case PollSchedule::none: return true;
    default: return linkState.pollPaused != 0;
    }
}

void blockPolls(PollSchedule schedule, PollsRun& run) {
    switch (schedule) {
    case PollSchedule::readingsPage:
        pollReadings();
        run.readings = true;
        if (++pollingState.settingsPollCount > 3) {
            pollSettings1();
            pollSettings2();
            run.settings1 = run.settings2 = true;
            pollingState.settingsPollCount = 0;
        }
        break;
    case PollSchedule::parameterPage:
        pollReadings();
        pollSettings1();
        pollSettings2();
        run.readings = run.settings1 = run.settings2 = true;
        break;
    case PollSchedule::emulationDialog:
        pollSettings1();
        run.settings1 = true;
        break;
    case PollSchedule::scopePage:
        pollReadings();
        run.readings = true;
        if (!pollingState.scopeSettingsFetched) {
            pollSettings1();
            run.settings1 = true;
            pollingState.scopeSettingsFetched = true;
        }
        break;
    case PollSchedule::none: break;
    }
}

} // namespace

PollsRun pollCycle(PollSchedule schedule, bool aboutOpen) {
    PollsRun run;
    if (stopped(schedule, aboutOpen)) return run;
    pollStatus();
    run.status = true;
    if (linkUsable())
        blockPolls(schedule, run);
    else if (schedule == PollSchedule::scopePage)
        pollingState.scopeSettingsFetched = false;
    return run;
}

bool timerNeedsRearm() {
    return linkState.pollInterval != linkState.armedInterval;
}

} // namespace kestos
