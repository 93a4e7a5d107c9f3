// What each window's timer polls, and when a timer is armed again: the one place for the
// polling of the pages, the emulation dialog and kestos-cli.
#pragma once

#include <cstdint>

namespace kestos {

enum class PollSchedule : uint8_t {
    none,            // the window has no poll timer
    readingsPage,    // status; with the link usable, readings, and both settings blocks on
                     // every fourth such tick (also kestos-cli watch)
    parameterPage,   // status; with the link usable, readings and both settings blocks (the
                     // Configuration and Options pages, kestos-cli read)
    emulationDialog, // status; with the link usable, settings block 1
    scopePage,       // status; with the link usable, readings, and settings block 1 once each
                     // time the link becomes usable
};

// Which transactions one tick ran.
struct PollsRun {
    bool status = false;
    bool readings = false;
    bool settings1 = false;
    bool settings2 = false;
    // The controller's whole answers taken this tick.
    bool statusAnswered = false;
    bool readingsAnswered = false;
};

struct PollingState {
    // Readings page: ticks that read the readings block since the settings blocks were last
    // read. Not reset when the page is re-created.
    unsigned settingsPollCount = 0;
    // Oscilloscope: settings block 1 was read since the link became usable.
    bool scopeSettingsFetched = false;
};
extern PollingState pollingState;

// One tick of `schedule`. Nothing at all (every flag false) while a drop-down list is open
// (`linkState.pollPaused`), except on the Oscilloscope, which has no lists, and while the About
// dialog is open on the Readings page and the Oscilloscope. The parameter pages decide for
// themselves what the About dialog stops.
PollsRun pollCycle(PollSchedule schedule, bool aboutOpen);

// Called after every tick that polled, whichever window ran it (the recording listens).
extern void (*afterPollTick)(const PollsRun& run);

// True when a window's poll timer must be armed again: `pollInterval` is no longer the
// period it was armed with (`armedInterval`, which arming records).
bool timerNeedsRearm();

} // namespace kestos
