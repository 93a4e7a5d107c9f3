#include "sim/sim_controller.h"

#include <algorithm>

#include "link/encodings.h"
#include "link/params.h"
#include "sim/replay.h"

namespace kestos::sim {

namespace {

constexpr uint8_t frameStart = 0x65;

constexpr int statusRequest = 1;
constexpr int readingsRequest = 2;
constexpr int settings1Request = 3;
constexpr int settings2Request = 4;

// The status answer's byte 1 carries nothing the tool reads; we send a fixed hardware id.
constexpr uint8_t hardwareId = 0x01;

constexpr unsigned learnDurationMs = 4000;
constexpr unsigned learnFaultHoldMs = 3000;

// The engine counts as running (speed signal present) from this speed up.
constexpr unsigned runningRpm = 400;
// Lambda sensor heating time after a start; until then it reads the switching point.
constexpr unsigned long long sensorHeatMs = 10000;
// LPG OFF clears only this far below the switch-off speed, so it does not flicker.
constexpr unsigned lpgOffHysteresisRpm = 200;

// Bench programme: engine off, cranking, a short start flare, a warm-up at idle long enough to
// pass the factory switch-on temperature (so the fitter sees "warm, waiting for the speed"),
// then the cycle below for ever.
constexpr unsigned long long offUntilMs = 3000;
constexpr unsigned long long crankUntilMs = 3800;
constexpr unsigned long long flareUntilMs = 5300;
constexpr unsigned long long warmUpUntilMs = 25300;
constexpr double crankRpm = 250;
constexpr double flareRpm = 400; // above idle
constexpr double rpmPerThrottle = 5500;

struct Step {
    unsigned ms;
    double throttle;
};
// Idle, a rev just over the switch-on speed, idle, a middle rev, idle, full throttle past the
// switch-off speed, then a long over-run back to idle.
constexpr Step cycle[] = {
    {6000, 0.00}, {4000, 0.26}, {4000, 0.00}, {4000, 0.46},
    {4000, 0.00}, {3000, 1.00}, {6000, 0.00},
};
constexpr unsigned long long cycleMs = [] {
    unsigned long long t = 0;
    for (const Step& s : cycle)
        t += s.ms;
    return t;
}();

struct Default {
    int code;
    uint8_t value;
};
// Factory settings: a narrow-band lambda probe, switch to gas at 30 deg C and 2000 rpm, back to
// petrol above 6000 rpm, cut-off above 1500 rpm. Nibble-coded emulation times sit at the entry
// the Options sub-dialog shows as 0.
const uint8_t warm30 = static_cast<uint8_t>(codeFromTemp(30));
const Default factoryDefaults[] = {
    {5, 0x73},    // Options: bits 0, 1 (temperature), 4 (switch while accelerating), 5, 6
    {6, 0x00},    // LambdaType: 0-1 V probe, plain TPS input
    {7, 22},      // LambdaPoint 0.44 V
    {8, 2},       // LambdaDelay 10 s
    {9, 0x80},    // EmulType: bit 7 gives the full status report
    {10, 40},     // EmulBJ_TimeHi 1.000
    {11, 20},     // EmulBJ_TimeLo 0.500
    {12, 0xA9},   // EmulDO_TimeHi
    {13, 0x75},   // EmulDO_TimeLo
    {14, 10},     // InjectDelay 1.0
    {15, warm30}, // LPGOnTemp 30 deg C
    {16, 40},     // AttMax
    {17, 40},     // AttMin
    {18, 128},    // AttInit
    {19, 50},     // TPSJump 1.0
    {20, 10},     // AttJump
    {21, 0x4C},   // LPGOnRPM 2000: period 7500
    {22, 0x1D},   // (high byte)
    {23, 4},      // IgnitionType
    {24, 0x10},   // CutOffRPM 1500: period 10000
    {25, 0x27},   // (high byte)
    {26, 20},     // CutOffSteps
    {27, 0xC4},   // LPGOffRPM 6000: period 2500
    {28, 0x09},   // (high byte)
    {29, 5},      // TPSInert 0.12 V
    {31, 20},     // AttMax_BJ
    {32, 20},     // AttMin_BJ
};

uint8_t sum(const uint8_t* bytes, size_t count) {
    unsigned s = 0;
    for (size_t i = 0; i < count; ++i)
        s += bytes[i];
    return static_cast<uint8_t>(s & 0xFF);
}

std::vector<uint8_t> sealed(std::vector<uint8_t> bytes) {
    bytes.push_back(sum(bytes.data(), bytes.size()));
    return bytes;
}

uint8_t clampByte(double v) {
    if (v <= 0) return 0;
    if (v >= 255) return 255;
    return static_cast<uint8_t>(roundNearest(v));
}

// Lambda probe output in volts for each sensor type (high nibble of LambdaType).
struct ProbeLevels {
    double lean;
    double rich;
};
ProbeLevels probeLevels(int type) {
    switch (type) {
    case 1:
    case 2: return {0.6, 4.4};
    case 3:
    case 4: return {4.4, 0.6}; // falling characteristic: rich reads low
    case 5: return {0.84, 1.56};
    default: return {0.08, 0.86};
    }
}

} // namespace

Controller::Controller(uint32_t seed) : seed_(seed) {
    powerOn();
}

void Controller::powerOn() {
    restoreDefaults();
    rng_ = seed_ ? seed_ : 0x9E3779B9u;
    rxCount_ = 0;
    pendingMs_ = 0;
    held_ = false;
    rpm_ = 0;
    throttle_ = 0;
    coolant_ = 15;
    programmeMs_ = 0;
    runningMs_ = 0;
    jitter_ = 0;
    rich_ = false;
    mixtureLeftMs_ = 0;
    lambdaVolts_ = parameter(7) * 0.02;
    att_ = parameter(18);
    speedReached_ = false;
    wasAboveOnSpeed_ = false;
    lpgOff_ = false;
    gasMs_ = 0;
    learning_ = false;
    learnMs_ = 0;
    learnFailed_ = false;
    learnFaultMs_ = 0;
}

void Controller::restoreDefaults() {
    for (const Default& d : factoryDefaults)
        *slot(d.code) = d.value;
}

uint8_t Controller::factoryDefault(int code) {
    for (const Default& d : factoryDefaults)
        if (d.code == code) return d.value;
    return 0;
}

const uint8_t* Controller::slot(int code) const {
    int i = parameterIndexByCode(code);
    if (i < 0) return nullptr;
    const Parameter& p = parameters[i];
    switch (p.block) {
    case Block::readings: return &readingsParams_[p.byte];
    case Block::settings1: return &settings1_[p.byte];
    case Block::settings2: return &settings2_[p.byte];
    }
    return nullptr;
}

uint8_t* Controller::slot(int code) {
    return const_cast<uint8_t*>(static_cast<const Controller*>(this)->slot(code));
}

uint8_t Controller::parameter(int code) const {
    const uint8_t* s = slot(code);
    return s ? *s : 0;
}

void Controller::setParameter(int code, uint8_t value) {
    if (uint8_t* s = slot(code)) *s = value;
    updateSwitching();
}

uint32_t Controller::random() {
    // xorshift32: the same sequence on every platform for a given seed.
    rng_ ^= rng_ << 13;
    rng_ ^= rng_ >> 17;
    rng_ ^= rng_ << 5;
    return rng_;
}

double Controller::randomUnit() {
    return (random() >> 8) / double(1u << 24);
}

// ---- frames ----

void Controller::receive(const uint8_t* data, size_t count, std::vector<uint8_t>& answer) {
    for (size_t i = 0; i < count; ++i) {
        uint8_t b = data[i];
        if (rxCount_ == 0 && b != frameStart) {
            ++bytesDiscarded_;
            continue;
        }
        rx_[rxCount_++] = b;
        if (rxCount_ < 4) continue;
        if (sum(rx_, 3) == rx_[3]) {
            rxCount_ = 0;
            ++framesReceived_;
            handleFrame(rx_, answer);
            continue;
        }
        // Not a frame: slide on to the next 'e' so a lost byte costs one frame, not all.
        do {
            std::copy(rx_ + 1, rx_ + rxCount_, rx_);
            --rxCount_;
            ++bytesDiscarded_;
        } while (rxCount_ > 0 && rx_[0] != frameStart);
    }
}

void Controller::dropPartial() {
    bytesDiscarded_ += rxCount_;
    rxCount_ = 0;
}

void Controller::handleFrame(const uint8_t* frame, std::vector<uint8_t>& answer) {
    // A silent controller is as good as unplugged: it neither answers nor acts.
    if (faults.silent) return;
    if (faults.silentAfterFrames >= 0 &&
        framesAnswered_ >= static_cast<unsigned long>(faults.silentAfterFrames))
        return;

    const uint8_t a = frame[1], b = frame[2];
    std::vector<uint8_t> out;
    const DriveLogRow* row = replay_ ? replay_->currentRow() : nullptr;
    if (row && !row->linkUp) return; // the link was down here: the cable is out
    if (row && a == statusRequest && b == a) {
        out.assign(row->statusAnswer, row->statusAnswer + sizeof row->statusAnswer);
    } else if (row && a == readingsRequest && b == a) {
        out.assign(row->readingsBlock, row->readingsBlock + sizeof row->readingsBlock);
        if (replayWritten_) { // AttInit as written, not as recorded
            out[4] = readingsParams_[4];
            out.back() = sum(out.data(), out.size() - 1);
        }
    } else if (a == statusRequest && b == a)
        out = statusAnswer();
    else if (a == readingsRequest && b == a)
        out = readingsAnswer();
    else if (a == settings1Request && b == a)
        out = settings1Answer();
    else if (a == settings2Request && b == a)
        out = settings2Answer();
    else if (command(a, b))
        out = sealed({frameStart, b}); // echo of the value taken
    else
        return; // not a request we know

    if (faults.garbageFirstByte) out.front() = 0x00;
    if (faults.badChecksum) out.back() = static_cast<uint8_t>(out.back() + 1);
    if (faults.shortAnswers) out.resize(out.size() - 2);
    ++framesAnswered_;
    answer.insert(answer.end(), out.begin(), out.end());
}

bool Controller::command(uint8_t code, uint8_t value) {
    if (code == actionCode) {
        if (value == actionLearn) {
            // The same action stops a run in progress.
            if (learning_)
                stopLearning();
            else
                startLearning();
        } else if (value == actionFactoryReset) {
            stopLearning();
            learnFailed_ = false;
            learnFaultMs_ = 0;
            restoreDefaults();
            updateSwitching();
        }
        return true;
    }
    if (!slot(code)) return false;
    if (code == faults.keepCode) return true; // answered as taken, and kept as it was
    setParameter(code, value);
    if (slot(code) == &readingsParams_[4]) replayWritten_ = true;
    return true;
}

std::vector<uint8_t> Controller::statusAnswer() const {
    int major = std::clamp(faults.firmwareMajor, 1, 8);
    auto firmware = static_cast<uint8_t>(((major - 1) << 5) | (faults.firmwareMinor & 0x1F));
    return sealed({frameStart, hardwareId, firmware});
}

std::vector<uint8_t> Controller::readingsAnswer() const {
    std::vector<uint8_t> r(10, 0);
    r[0] = frameStart;
    r[1] = tpsByte();
    r[2] = lambdaByte();
    r[3] = regulating() ? clampByte(att_) : parameter(18);
    r[4] = readingsParams_[4];
    unsigned rpm = engineRpm();
    unsigned period = rpm > 0 ? periodFromRpm(rpm) : 0xFFFF;
    if (period > 0xFFFF) period = 0xFFFF;
    r[5] = static_cast<uint8_t>(lowByte(period));
    r[6] = static_cast<uint8_t>(highByte(period));
    r[7] = static_cast<uint8_t>(lambdaColour() | lampCode() |
                                (shownRpm() >= runningRpm ? bits::engineRunning : 0));
    r[8] = stateByte();
    r[9] = coolantCode();
    return sealed(std::move(r));
}

std::vector<uint8_t> Controller::settings1Answer() const {
    std::vector<uint8_t> r(settings1_, settings1_ + 13);
    r[0] = frameStart;
    return sealed(std::move(r));
}

std::vector<uint8_t> Controller::settings2Answer() const {
    std::vector<uint8_t> r(settings2_, settings2_ + 15);
    r[0] = frameStart;
    return sealed(std::move(r));
}

// ---- readings ----

unsigned Controller::engineRpm() const {
    return rpm_ < 1 ? 0 : static_cast<unsigned>(rpm_ + 0.5);
}

// The speed exactly as the tool will show it, so thresholds agree with what the fitter sees.
unsigned Controller::shownRpm() const {
    unsigned rpm = engineRpm();
    if (rpm == 0) return 0;
    unsigned period = periodFromRpm(rpm);
    if (period > 0xFFFF || (period >> 8) == 0xFF) return 0;
    return rpmFromPeriod(highByte(period), static_cast<unsigned>(lowByte(period)));
}

unsigned Controller::speedParameter(int loCode) const {
    return rpmFromPeriod(parameter(loCode + 1), parameter(loCode));
}

unsigned Controller::throttlePercent() const {
    return static_cast<unsigned>(roundNearest(throttle_ * 100.0));
}

uint8_t Controller::lampCode() const {
    if (throttle_ < 0.05) return bits::lampClosed;
    if (throttle_ < 0.35) return bits::lampPart;
    if (throttle_ < 0.70) return bits::lampHigh;
    return bits::lampFull;
}

uint8_t Controller::tpsByte() const {
    const int type = parameter(6) & 0x0F;
    if (type == 6 || type == 7) return throttle_ < 0.05 ? 0 : 255; // throttle switch
    uint8_t v = clampByte((0.5 + 4.0 * throttle_) * 10000.0 / 196.0);
    // Odd input types (other than 7) are wired with a falling characteristic.
    if ((type & 1) && (type & 7) != 7) v = static_cast<uint8_t>(255 - v);
    return v;
}

uint8_t Controller::lambdaByte() const {
    return clampByte(lambdaVolts_ * 10000.0 / 196.0);
}

uint8_t Controller::lambdaColour() const {
    const ProbeLevels l = probeLevels(parameter(6) >> 4);
    const double point = parameter(7) * 0.02;
    const double volts = lambdaByte() * 196.0 / 10000.0;
    const double band = 0.06 * (l.rich > l.lean ? l.rich - l.lean : l.lean - l.rich);
    if (volts >= point - band && volts <= point + band) return bits::lambdaNear;
    const bool highIsRich = l.rich > l.lean;
    return (volts > point) == highIsRich ? bits::lambdaRich : bits::lambdaLean;
}

uint8_t Controller::coolantCode() const {
    int code = codeFromTemp(roundNearest(coolant_));
    return static_cast<uint8_t>(std::clamp(code, 0, 255));
}

bool Controller::tempReached() const {
    // With the temperature condition switched off (Options bit 1) it is always met.
    if (!(parameter(5) & options::lpgOnTemp)) return true;
    return tempFromCode(coolantCode()) >= tempFromCode(parameter(15));
}

// Att follows the probe only on gas, with the probe warm and LambdaDelay (units of 5 s) over.
bool Controller::regulating() const {
    return onGas() && runningMs_ >= sensorHeatMs &&
           gasMs_ >= static_cast<unsigned long long>(parameter(8)) * 5000;
}

bool Controller::onGas() const {
    return speedReached_ && !lpgOff_;
}

bool Controller::learning() const {
    return learning_;
}

uint8_t Controller::stateByte() const {
    const bool gas = onGas();
    const bool cutOff = (parameter(5) & options::cutOff) && gas && lampCode() == bits::lampClosed &&
                        shownRpm() > speedParameter(cutOffSpeed.loCode);
    uint8_t b = 0;
    if (gas) b |= bits::gas;
    if (learning_) b |= bits::learning;
    if (lpgOff_) b |= bits::lpgOff;
    if (cutOff) b |= bits::cutOff;
    if (learnFailed_) b |= bits::learnFailed;
    if (learnFaultMs_ > 0) b |= bits::learnFault;
    if (speedReached_) b |= bits::speedReached;
    if (tempReached()) b |= bits::tempReached;
    return b;
}

// ---- time ----

void Controller::attachReplay(Replay* replay) {
    replay_ = replay;
    replayWritten_ = false;
    if (!replay) return;
    holdEngine(true); // the log is the engine now
    const DriveLogHeader& h = replay->log().header;
    if (!h.hasBlocks) return;
    std::copy(std::begin(h.settingsBlock1), std::end(h.settingsBlock1), settings1_);
    std::copy(std::begin(h.settingsBlock2), std::end(h.settingsBlock2), settings2_);
    readingsParams_[4] = h.readingsBlock[4];
    updateSwitching();
}

void Controller::advance(unsigned ms) {
    if (replay_) replay_->advance(ms);
    unsigned long long pending = static_cast<unsigned long long>(pendingMs_) + ms;
    while (pending >= tickMs) {
        pending -= tickMs;
        tick();
    }
    pendingMs_ = static_cast<unsigned>(pending);
}

void Controller::tick() {
    moveEngine();
    moveLambda();
    updateSwitching();
    moveAtt();
    if (onGas())
        gasMs_ += tickMs;
    else
        gasMs_ = 0;
    if (learnFaultMs_ > 0) learnFaultMs_ = learnFaultMs_ > tickMs ? learnFaultMs_ - tickMs : 0;
    if (learning_) {
        learnMs_ += tickMs;
        if (learnMs_ >= learnDurationMs) finishLearning();
    }
}

double Controller::idleRpm() const {
    // A cold engine idles faster.
    return 800.0 + std::max(0.0, 40.0 - coolant_) * 6.0;
}

void Controller::moveEngine() {
    if (shownRpm() >= runningRpm)
        runningMs_ += tickMs;
    else
        runningMs_ = 0;
    if (held_) return;

    const double dt = tickMs / 1000.0;
    programmeMs_ += tickMs;

    double throttleTarget = 0;
    double rpmTarget = 0;
    if (programmeMs_ < offUntilMs) {
        rpmTarget = 0;
    } else if (programmeMs_ < crankUntilMs) {
        rpmTarget = crankRpm;
    } else if (programmeMs_ < flareUntilMs) {
        rpmTarget = idleRpm() + flareRpm;
    } else {
        unsigned long long t =
            programmeMs_ < warmUpUntilMs ? 0 : (programmeMs_ - warmUpUntilMs) % cycleMs;
        for (const Step& s : cycle) {
            if (t < s.ms) {
                throttleTarget = s.throttle;
                break;
            }
            t -= s.ms;
        }
        // Idle unsteadiness: a new wobble every 200 ms.
        if (programmeMs_ % 200 == 0) jitter_ = (randomUnit() - 0.5) * 40.0;
        rpmTarget = idleRpm() + throttle_ * rpmPerThrottle + jitter_;
    }

    // The throttle opens and closes in about a third of a second.
    const double step = 3.0 * dt;
    if (throttle_ < throttleTarget)
        throttle_ = std::min(throttleTarget, throttle_ + step);
    else
        throttle_ = std::max(throttleTarget, throttle_ - step);

    // Revs rise faster than they fall on over-run.
    const double tau = rpmTarget > rpm_ ? (rpmTarget <= crankRpm ? 0.15 : 0.3) : 0.7;
    rpm_ += (rpmTarget - rpm_) * std::min(1.0, dt / tau);
    if (rpmTarget == 0 && rpm_ < 30) rpm_ = 0;

    // Warms towards the thermostat when running, cools slowly when stopped.
    if (rpm_ >= runningRpm)
        coolant_ += (92.0 - coolant_) * dt / 80.0;
    else
        coolant_ += (15.0 - coolant_) * dt / 900.0;
}

void Controller::moveLambda() {
    const ProbeLevels l = probeLevels(parameter(6) >> 4);
    const double point = parameter(7) * 0.02;
    double target = point;
    if (runningMs_ >= sensorHeatMs) {
        const bool overRun = throttle_ < 0.05 && shownRpm() > idleRpm() + 300;
        if (overRun) {
            rich_ = false; // no fuel, lean
        } else if (throttle_ > 0.9) {
            rich_ = true; // full-load enrichment
        } else if (mixtureLeftMs_ <= tickMs) {
            rich_ = !rich_;
            mixtureLeftMs_ = 250 + static_cast<unsigned>(randomUnit() * 500.0);
        } else {
            mixtureLeftMs_ -= tickMs;
        }
        target = rich_ ? l.rich : l.lean;
    }
    lambdaVolts_ += (target - lambdaVolts_) * std::min(1.0, tickMs / 60.0);
}

void Controller::moveAtt() {
    const double init = parameter(18);
    if (!regulating()) {
        att_ = init;
        return;
    }
    // The correction hunts against the probe and drifts with load.
    att_ += rich_ ? -0.03 : 0.03;
    att_ += (init + (throttle_ - 0.1) * 15.0 - att_) * 0.003;
    const bool idle = lampCode() == bits::lampClosed;
    const double up = idle ? parameter(31) : parameter(16);
    const double down = idle ? parameter(32) : parameter(17);
    att_ = std::clamp(att_, std::max(0.0, init - down), std::min(255.0, init + up));
}

void Controller::updateSwitching() {
    const unsigned rpm = shownRpm();
    const uint8_t opts = parameter(5);
    const bool running = rpm >= runningRpm;

    const unsigned off = speedParameter(lpgOffSpeed.loCode);
    if (!(opts & options::lpgOffSpeed) || !running)
        lpgOff_ = false;
    else if (rpm > off)
        lpgOff_ = true;
    else if (rpm + lpgOffHysteresisRpm <= off)
        lpgOff_ = false;

    if (!running || !tempReached()) {
        speedReached_ = false;
        wasAboveOnSpeed_ = false;
        return;
    }
    if (speedReached_) return;
    const unsigned on = speedParameter(lpgOnSpeed.loCode);
    if (opts & options::switchOnRise) {
        // Switch as soon as the speed passes the switch-on speed.
        speedReached_ = rpm > on;
    } else {
        // Switch when the speed falls back after passing it (the throttle is let off).
        if (rpm > on)
            wasAboveOnSpeed_ = true;
        else if (wasAboveOnSpeed_)
            speedReached_ = true;
    }
}

// ---- learning ----

void Controller::startLearning() {
    learning_ = true;
    learnMs_ = 0;
    learnFailed_ = false;
    learnFaultMs_ = 0;
}

void Controller::stopLearning() {
    learning_ = false;
    learnMs_ = 0;
}

void Controller::finishLearning() {
    learning_ = false;
    learnMs_ = 0;
    // It cannot learn on an engine that stopped.
    LearnOutcome outcome = shownRpm() >= runningRpm ? learnOutcome : LearnOutcome::failed;
    learnFailed_ = outcome != LearnOutcome::success;
    learnFaultMs_ = outcome == LearnOutcome::heldFault ? learnFaultHoldMs : 0;
}

// ---- test hooks ----

void Controller::setEngine(unsigned rpm, int coolantCelsius) {
    rpm_ = rpm;
    coolant_ = coolantCelsius;
    const double idle = idleRpm();
    throttle_ = rpm <= idle + 150 ? 0.0 : std::min(1.0, (rpm - idle) / rpmPerThrottle);
    // The bench programme carries on from a running engine, not from the start sequence.
    if (rpm > 0 && programmeMs_ < flareUntilMs) programmeMs_ = flareUntilMs;
    updateSwitching();
}

void Controller::startWarm() {
    coolant_ = 60;
    setEngine(static_cast<unsigned>(idleRpm()), 60);
    programmeMs_ = warmUpUntilMs;
    runningMs_ = sensorHeatMs; // the probe is hot too
}

void Controller::holdEngine(bool hold) {
    held_ = hold;
}

void Controller::setThrottle(unsigned percent) {
    throttle_ = std::min(100u, percent) / 100.0;
    updateSwitching();
}

} // namespace kestos::sim
