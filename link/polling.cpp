#include "link/polling.h"

#include "link/device_link.h"

namespace kestos {

PollingState pollingState;
void (*afterPollTick)(const PollsRun& run) = nullptr;

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
        run.readingsAnswered = pollReadings();
        run.readings = true;
        if (++pollingState.settingsPollCount > 3) {
            pollSettings1();
            pollSettings2();
            run.settings1 = run.settings2 = true;
            pollingState.settingsPollCount = 0;
        }
        break;
    case PollSchedule::parameterPage:
        run.readingsAnswered = pollReadings();
        pollSettings1();
        pollSettings2();
        run.readings = run.settings1 = run.settings2 = true;
        break;
    case PollSchedule::emulationDialog:
        pollSettings1();
        run.settings1 = true;
        break;
    case PollSchedule::scopePage:
        run.readingsAnswered = pollReadings();
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
    run.statusAnswered = pollStatus();
    run.status = true;
    if (linkUsable())
        blockPolls(schedule, run);
    else if (schedule == PollSchedule::scopePage)
        pollingState.scopeSettingsFetched = false;
    if (afterPollTick) afterPollTick(run);
    return run;
}

bool timerNeedsRearm() {
    return linkState.pollInterval != linkState.armedInterval;
}

} // namespace kestos
