// A simulated LPG injection controller: answers the tool's frames like the real one and
// behaves like a car on a bench so that every page has something live to show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestos::sim {

class Replay;

// Fault switches, all off by default.
struct Faults {
    bool silent = false;           // answer nothing
    bool badChecksum = false;      // every answer's last byte off by one
    bool shortAnswers = false;     // every answer loses its last two bytes
    bool garbageFirstByte = false; // every answer starts with 0x00 instead of 'e'
    long silentAfterFrames = -1;   // go silent once this many frames were answered (-1: never)
    unsigned delayMs = 0;          // extra time before an answer starts
    int firmwareMajor = 1;         // 1..8, encoded into the status answer's byte 2
    int firmwareMinor = 4;         // 0..31
    int keepCode = 0;              // a parameter code whose writes are answered but not taken
};

// How the next learning run ends.
enum class LearnOutcome : uint8_t {
    success,  // no outcome bit
    failed,   // failure bit (readings byte 8 bit 4)
    heldFault // failure bit plus a fault that lasts a few seconds (bit 5)
};

// Readings byte 7 and 8 bits as this controller sets them.
namespace bits {
// byte 7
constexpr uint8_t lambdaColourMask = 0x07;
constexpr uint8_t lambdaLean = 0x01; // dark green
constexpr uint8_t lambdaNear = 0x02; // yellow: at the switching point, or sensor not ready
constexpr uint8_t lambdaRich = 0x04; // red
constexpr uint8_t engineRunning = 0x08;
constexpr uint8_t lampMask = 0xF0;
constexpr uint8_t lampClosed = 0x10; // also the throttle switch state
constexpr uint8_t lampPart = 0x20;
constexpr uint8_t lampHigh = 0x40;
constexpr uint8_t lampFull = 0x80;
// byte 8
constexpr uint8_t gas = 0x01;
constexpr uint8_t learning = 0x02;
constexpr uint8_t lpgOff = 0x04;
constexpr uint8_t cutOff = 0x08;
constexpr uint8_t learnFailed = 0x10;
constexpr uint8_t learnFault = 0x20;
constexpr uint8_t speedReached = 0x40; // switch-on speed condition met
constexpr uint8_t tempReached = 0x80;  // switch-on temperature condition met
} // namespace bits

class Controller {
  public:
    explicit Controller(uint32_t seed = 1);

    Faults faults;

    // How learning runs started from now on end (success unless a test says otherwise).
    LearnOutcome learnOutcome = LearnOutcome::success;

    // Factory defaults and a cold engine at rest.
    void powerOn();

    // Bytes from the tool. A complete, well-formed 4-byte request appends its answer to
    // `answer` (nothing when silent); bytes of a frame that is not yet complete are kept;
    // a frame with a wrong checksum or unknown request gets no answer.
    void receive(const uint8_t* data, size_t count, std::vector<uint8_t>& answer);

    // Forgets the bytes of an incomplete frame, as after a pause on the line.
    void dropPartial();
    size_t pendingRequestBytes() const { return rxCount_; }
    // Bytes thrown away while looking for a frame start or after a bad checksum.
    unsigned long bytesDiscarded() const { return bytesDiscarded_; }

    // Moves the simulated engine and the controller's logic on by `ms` milliseconds.
    void advance(unsigned ms);

    // The stored parameter of a command code (5..29, 31, 32).
    uint8_t parameter(int code) const;
    void setParameter(int code, uint8_t value);
    // The factory value of a parameter code.
    static uint8_t factoryDefault(int code);

    // Answers as they would be sent now (before fault switches apply).
    std::vector<uint8_t> statusAnswer() const;
    std::vector<uint8_t> readingsAnswer() const;
    std::vector<uint8_t> settings1Answer() const;
    std::vector<uint8_t> settings2Answer() const;

    unsigned long framesAnswered() const { return framesAnswered_; }
    unsigned long framesReceived() const { return framesReceived_; }
    bool learning() const;
    bool onGas() const;
    unsigned engineRpm() const;
    double coolantCelsius() const { return coolant_; }
    // Throttle opening 0..100 %.
    unsigned throttlePercent() const;

    // Test hooks: put the engine where a test needs it.
    void setEngine(unsigned rpm, int coolantCelsius);
    void holdEngine(bool hold); // stop the bench programme from moving rpm/temperature
    // Skips the cold start: a warm engine at idle, the bench cycle about to begin.
    void startWarm();

    // From now on status and readings come from `replay`'s current row (none while that row
    // has the link down), and the settings blocks start as the log's header holds them (the
    // factory set for a log without them). advance() moves the replay on. nullptr ends it.
    void attachReplay(Replay* replay);
    void setThrottle(unsigned percent);

  private:
    static constexpr int tickMs = 10; // the controller's logic runs in steps of this length

    void tick();
    void moveEngine();
    void moveLambda();
    void moveAtt();
    void updateSwitching();
    void handleFrame(const uint8_t* frame, std::vector<uint8_t>& answer);
    bool command(uint8_t code, uint8_t value);
    void restoreDefaults();
    void startLearning();
    void stopLearning();
    void finishLearning();
    uint32_t random();
    double randomUnit(); // 0 <= x < 1
    // Where a parameter code's byte is kept, by the shared parameter table; null if none.
    const uint8_t* slot(int code) const;
    uint8_t* slot(int code);
    unsigned speedParameter(int loCode) const;
    unsigned shownRpm() const;
    double idleRpm() const;
    uint8_t lambdaByte() const;
    uint8_t lambdaColour() const;
    uint8_t tpsByte() const;
    uint8_t lampCode() const;
    uint8_t coolantCode() const;
    uint8_t stateByte() const;
    bool tempReached() const;
    bool regulating() const;

    Replay* replay_ = nullptr;
    bool replayWritten_ = false; // a parameter of the readings block was written in the replay

    uint32_t seed_;
    uint32_t rng_ = 1;

    // Parameters, each at its block position; readings byte 4 (AttInit) lives in readingsParams_.
    uint8_t settings1_[14] = {};
    uint8_t settings2_[16] = {};
    uint8_t readingsParams_[11] = {};

    // Request bytes of the frame being received.
    uint8_t rx_[4] = {};
    size_t rxCount_ = 0;
    unsigned long bytesDiscarded_ = 0;

    // Time handed to advance() that does not yet make a whole tick.
    unsigned pendingMs_ = 0;

    // Engine on the bench.
    bool held_ = false;
    double rpm_ = 0;
    double throttle_ = 0; // 0..1, what the TPS reads
    double coolant_ = 15; // deg C
    unsigned long long programmeMs_ = 0;
    unsigned long long runningMs_ = 0; // since the engine last started
    double jitter_ = 0;                // idle unsteadiness, rpm

    // Lambda sensor: the mixture swings between rich and lean around the switching point.
    bool rich_ = false;
    unsigned mixtureLeftMs_ = 0;
    double lambdaVolts_ = 0;

    // Gas control.
    double att_ = 0;
    bool speedReached_ = false;
    bool wasAboveOnSpeed_ = false;
    bool lpgOff_ = false;
    unsigned long long gasMs_ = 0; // since the last switch to gas

    // Learning.
    bool learning_ = false;
    unsigned learnMs_ = 0;
    bool learnFailed_ = false;
    unsigned learnFaultMs_ = 0; // the held fault clears when this runs out

    unsigned long framesAnswered_ = 0;
    unsigned long framesReceived_ = 0;
};

} // namespace kestos::sim
