// The parallel port: Inp32/Out32 on the data register (888) and the control
// register (890), behind one interface with three back ends.
#pragma once

#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace port {

constexpr int16_t kData = 888;
constexpr int16_t kStatus = 889;
constexpr int16_t kControl = 890;

class Port {
public:
    virtual ~Port() = default;
    virtual int16_t Inp32(int16_t reg) = 0;
    virtual void Out32(int16_t reg, int16_t value) = 0;
    // What the user is told about the port in use.
    virtual QString Description() const = 0;
    virtual bool Simulated() const { return false; }
};

struct Write {
    int16_t reg;
    uint8_t value;
    bool operator==(const Write&) const = default;
};

// A port with no hardware behind it: it keeps every write, answers reads as
// an idle paddle does, and turns rising step edges into the steps of a
// simulated mount.
class SimulatedPort final : public Port {
public:
    int16_t Inp32(int16_t reg) override;
    void Out32(int16_t reg, int16_t value) override;
    QString Description() const override;
    bool Simulated() const override { return true; }

    // Writes in order (the oldest are dropped past a million).
    const std::vector<Write>& Writes() const { return writes_; }
    void ClearWrites() { writes_.clear(); }
    void SetRecording(bool on) { recording_ = on; }

    // Paddle: codes queued here are read back one per control-register read,
    // then the held code (11: no button).
    void QueuePaddleCodes(const std::vector<int16_t>& codes);
    void HoldPaddleCode(int16_t code) { heldCode_ = code; }

    // The simulated mount: steps counted on each rising step edge, +1 when the
    // axis's direction line is high, -1 when low.
    int64_t AzSteps() const { return azSteps_; }   // bit 2 step, bit 3 direction
    int64_t AltSteps() const { return altSteps_; } // bit 0 step, bit 1 direction
    void ResetMount() {
        azSteps_ = altSteps_ = 0;
        az_.axis = alt_.axis = 0;
    }

    // Play in the gears of each axis, in steps (0 unless set): the axis
    // follows its motor once the play is crossed. Set, the gears rest on the
    // minus side: the next minus step moves the axis, a plus step first
    // crosses the whole play.
    void SetPlay(int64_t azSteps, int64_t altSteps);
    // Where each axis has turned, in steps (the motor's steps less the play crossed).
    int64_t AzAxis() const { return az_.axis; }
    int64_t AltAxis() const { return alt_.axis; }
    // The steps a plus move crosses before the axis moves (0 up to the play).
    int64_t AzPlusGap() const { return az_.gap; }
    int64_t AltPlusGap() const { return alt_.gap; }

    uint8_t DataLatch() const { return data_; }
    uint8_t ControlLatch() const { return control_; }

    // Told of every step the motors make, as its rising edge goes out: which
    // board (true: azimuth / right ascension) and whether its direction line
    // is high. Empty: nobody told.
    using StepWatch = std::function<void(bool azimuthBoard, bool directionHigh)>;
    void SetStepWatch(StepWatch watch) { stepWatch_ = std::move(watch); }

private:
    StepWatch stepWatch_;
    std::vector<Write> writes_;
    bool recording_ = true;
    std::deque<int16_t> queued_;
    int16_t heldCode_ = 11;
    uint8_t data_ = 0;
    uint8_t control_ = 0;
    int64_t azSteps_ = 0;
    int64_t altSteps_ = 0;
    struct Gear {
        int64_t play = 0;
        int64_t gap = 0;   // 0: resting on the plus side; play: on the minus side
        int64_t axis = 0;
        void Step(bool plus);
    };
    Gear az_, alt_;
};

// The port in use (a simulated one until another is installed).
Port& Current();
void Install(std::unique_ptr<Port> p);
// After Seal no write reaches the port any more (the program is ending);
// installing a port opens it again.
void Seal();
bool Sealed();
// The writes asked for since Seal and kept from the port (0 once a port is
// installed): what still tried to drive the mount while the program ended.
unsigned RefusedWrites();
// The simulated port when it is the one in use, else null.
SimulatedPort* Simulator();

// The last value the program wrote to the data register, whoever wrote it
// (a paddle move, a manual move, a tracking burst, a goto, a clear): 0 until
// the first write, and again once a port is installed. The paddle's button
// code is read against it, since the data register reads back what was
// written plus what the paddle's contacts lift.
int16_t LastPortOutput();

// Opens the port a command-line choice names: "sim", "ppdev:/dev/parport0",
// "raw:0x378". On failure the simulated port is returned and *error says
// which device could not be opened and why.
//
// One program per real port: a ppdev port is claimed exclusively (no other
// program can claim it until this one lets it go); the I/O ports of "raw:"
// are held by a lock named after their address (platform/portlock.h),
// taken before access to them is asked for. The lock or the claim goes with
// the port object, or with the program however it ends.
std::unique_ptr<Port> Open(const QString& choice, QString* error);
// What is wrong with a choice as written, in a few French words ("port
// inconnu : ...", "adresse invalide : zzz"); empty when it names a port Open
// understands: "sim", "ppdev" or "ppdev:DEVICE", "raw" or "raw:ADDRESS"
// (0x378, 888: a port's address, at most 0xFFFC).
QString ChoiceError(const QString& choice);

// How "raw:" gets access to `count` I/O ports from `base` (ioperm): returns
// 0, or the errno of the refusal. Tests step in here; empty: ioperm.
void SetRawAccess(std::function<int(unsigned base, unsigned count)> hook);

}  // namespace port

// The port library's two calls.
int16_t Inp32(int16_t reg);
void Out32(int16_t reg, int16_t value);
