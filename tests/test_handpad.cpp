#include "core/state.h"
#include "motor/handpad.h"
#include "motor/moves.h"
#include "platform/vbrt.h"
#include "tests/fixture.h"

#include <functional>
#include <memory>
#include <string>

namespace {

constexpr int16_t kReleased = 11;

class Handpad : public OrvanelTest {
protected:
    void SetUp() override {
        OrvanelTest::SetUp();
        Fresh();
        WriteData("inversion.ini", QByteArray("Faux\r\nFaux\r\n"));
    }
    void TearDown() override {
        handpad::SetBacklashDisplay({});
        handpad::Reset();
        OrvanelTest::TearDown();
    }

    // Start-up state: the mount as the coordinates window sets it up, six
    // paddle delays told apart, the port idle.
    void Fresh() {
        ResetSharedState();
        handpad::Reset();
        auto& site = shared.site;
        site.AzPlusBits = 8;
        site.AzMinusBits = 0;
        site.AltPlusBits = 2;
        site.AltMinusBits = 0;
        auto& d = shared.drive;
        d.PaddleDelayAzSlow = 101;
        d.PaddleDelayAzMedium = 102;
        d.PaddleDelayAzFast = 103;
        d.PaddleDelayAltSlow = 201;
        d.PaddleDelayAltMedium = 202;
        d.PaddleDelayAltFast = 203;
        Out32(port::kData, 0);
        Sim().ClearWrites();
        Sim().ResetMount();
        Sim().HoldPaddleCode(kReleased);
        seams::SetDoEvents({});
        shown.clear();
        handpad::SetBacklashDisplay([this](const QString& t) { shown << t; });
    }

    // The button is pressed now and released once `pulses` pulses have gone
    // out (whatever moves sent them); `more` runs at every event pass with
    // its number (events run twice a pulse).
    void Hold(int16_t code, int pulses, std::function<void(int)> more = {}) {
        Sim().HoldPaddleCode(code);
        auto events = std::make_shared<int>(0);
        seams::SetDoEvents([this, events, pulses, more] {
            ++*events;
            if (more) more(*events);
            // Released at the end of that pulse; never held past 10000 pulses.
            if (*events == 2 * pulses || *events == 20000) Sim().HoldPaddleCode(kReleased);
        });
    }

    static QStringList Countdown(int from, int to) {
        QStringList out;
        for (int i = from; i >= to; --i) out << QString::number(i);
        return out;
    }

    QStringList shown;  // what the azimuth backlash box was given
};

TEST_F(Handpad, TheTwelveCodes) {
    struct Case {
        int16_t code;
        bool inverted;
        int direction, step;
        int32_t delay;
        int16_t flag;
    } cases[] = {
        // altitude: 0 -> flag false, 2 -> flag true (AltPlusBits 2)
        {2, false, 0, 1, 203, 0},     {3, false, 0, 1, 202, 0},     {10, false, 0, 1, 201, 0},
        {18, false, 2, 1, 203, -1},   {19, false, 2, 1, 202, -1},   {26, false, 2, 1, 201, -1},
        {2, true, 2, 1, 203, -1},     {3, true, 2, 1, 202, -1},     {10, true, 2, 1, 201, -1},
        {18, true, 0, 1, 203, 0},     {19, true, 0, 1, 202, 0},     {26, true, 0, 1, 201, 0},
        // azimuth: 0 -> flag false, 8 -> flag true (AzPlusBits 8)
        {9, false, 0, 4, 102, 0},     {13, false, 0, 4, 103, 0},    {15, false, 0, 4, 101, 0},
        {137, false, 8, 4, 102, -1},  {141, false, 8, 4, 103, -1},  {143, false, 8, 4, 101, -1},
        {9, true, 8, 4, 102, -1},     {13, true, 8, 4, 103, -1},    {15, true, 8, 4, 101, -1},
        {137, true, 0, 4, 102, 0},    {141, true, 0, 4, 103, 0},    {143, true, 0, 4, 101, 0},
    };
    for (const auto& c : cases) {
        Fresh();
        const bool az = c.step == 4;
        const std::string what = "code " + std::to_string(c.code) + (c.inverted ? " inverted" : "");
        // The check box of the axis in question, and the other axis's opposite.
        shared.site.InvertAz = vb::Bool(az ? c.inverted : !c.inverted);
        shared.site.InvertAlt = vb::Bool(az ? !c.inverted : c.inverted);
        // No reversal pending, so the move starts at once.
        handpad::Backlash().BacklashDirAz = handpad::Backlash().BacklashDirAlt = c.flag;
        Hold(c.code, 2);
        handpad::PaddleTick();

        const auto& d = shared.drive;
        const auto& pos = shared.pos;
        EXPECT_EQ(Data(), Pulses(2, c.direction, c.step)) << what;
        EXPECT_EQ(d.HandPadCode, c.code) << what;
        EXPECT_EQ(d.DirectionBits, c.direction) << what;
        EXPECT_EQ(d.StepBit, c.step) << what;
        EXPECT_EQ(d.PaddleDelay, c.delay) << what;
        EXPECT_EQ(port::LastPortOutput(), c.direction + c.step) << what;
        EXPECT_EQ(az ? pos.AzDirectionPlus : pos.AltDirectionPlus, c.flag) << what;
        EXPECT_EQ(az ? pos.AltDirectionPlus : pos.AzDirectionPlus, 0) << what;
        const int32_t counted = c.flag == -1 ? 2 : -2;
        EXPECT_EQ(pos.PendingAzSteps, az ? counted : 0) << what;
        EXPECT_EQ(pos.PendingAltSteps, az ? 0 : counted) << what;
        EXPECT_EQ(d.EncoderCountAz, az ? 2 : 0) << what;
        EXPECT_EQ(d.EncoderCountAlt, az ? 0 : 2) << what;
        const int64_t mount = c.direction != 0 ? 2 : -2;
        EXPECT_EQ(Sim().AzSteps(), az ? mount : 0) << what;
        EXPECT_EQ(Sim().AltSteps(), az ? 0 : mount) << what;
    }
}

TEST_F(Handpad, TheCountFollowsThePlusBitsOfTheDirectionTest) {
    // Code 18 writes direction 2; with the plus and minus bits swapped the
    // altitude counts down while the motor turns the same way.
    shared.site.AltPlusBits = 0;
    shared.site.AltMinusBits = 2;
    Hold(18, 3);
    handpad::PaddleTick();
    EXPECT_EQ(Data(), Pulses(3, 2, 1));
    EXPECT_EQ(shared.pos.AltDirectionPlus, 0);
    EXPECT_EQ(shared.pos.PendingAltSteps, -3);
    EXPECT_EQ(Sim().AltSteps(), 3);
}

TEST_F(Handpad, ReleasedAndUnknownCodes) {
    auto& d = shared.drive;
    d.DirectionBits = 8;
    d.StepBit = 4;
    d.PaddleDelay = 55;
    Sim().HoldPaddleCode(27);
    handpad::PaddleTick();
    EXPECT_EQ(d.HandPadCode, 27);
    EXPECT_EQ((std::vector<int>{d.DirectionBits, d.StepBit, d.PaddleDelay}), (std::vector<int>{8, 4, 55}));

    Sim().HoldPaddleCode(kReleased);
    handpad::PaddleTick();
    EXPECT_EQ(d.HandPadCode, kReleased);
    EXPECT_EQ((std::vector<int>{d.DirectionBits, d.StepBit, d.PaddleDelay}), (std::vector<int>{0, 0, 0}));
    EXPECT_TRUE(Writes().empty());
}

TEST_F(Handpad, BacklashTakeUp) {
    struct State {
        int16_t left, done, dir;
        bool operator==(const State&) const = default;
    };
    struct Case {
        const char* name;
        State start;
        double backlash;
        bool measuring;
        int16_t code;  // 137 azimuth plus, 9 azimuth minus, 18 altitude plus
        int hold;      // pulses before release
        int pulses;
        State end;
        int32_t pending, encoder;
        double measured;
        QStringList shown;
    } cases[] = {
        {"no reversal: a normal move", {0, -1, -1}, 25, false, 137, 4, 4, {0, -1, -1}, 4, 4, 0, {}},
        {"a reversal after a completed take-up sends the backlash and returns though still held",
         {0, -1, 0}, 25, false, 137, 40, 25, {0, -1, -1}, 0, 0, 0, Countdown(24, 0)},
        {"released midway keeps what is left", {0, -1, 0}, 25, false, 137, 10, 10, {15, 0, 0}, 0, 0, 0,
         Countdown(24, 15)},
        {"the next press the same way goes on without reloading", {15, 0, 0}, 25, false, 137, 40, 15,
         {0, -1, -1}, 0, 0, 0, Countdown(14, 0)},
        {"a press back the old way first crosses back the slack already taken up", {15, 0, 0}, 25, false, 9, 3, 3,
         {7, 0, -1}, 0, 0, 0, {"9", "8", "7"}},
        {"at start-up the gears rest on the minus side: a plus press takes up the backlash", {0, 0, 0}, 25, false,
         137, 5, 5, {20, 0, 0}, 0, 0, 0, Countdown(24, 20)},
        {"at start-up without backlash a plus press spends its tick on an empty take-up", {0, 0, 0}, 0, false, 137,
         5, 0, {0, -1, -1}, 0, 0, 0, {}},
        {"at start-up a minus press moves at once", {0, 0, 0}, 25, false, 9, 5, 5, {0, 0, 0}, -5, 5, 0, {}},
        {"a backlash of 2.5 takes up 2", {0, -1, 0}, 2.5, false, 137, 40, 2, {0, -1, -1}, 0, 0, 0, {"1", "0"}},
        {"a backlash of 0 takes up nothing", {0, -1, 0}, 0, false, 137, 5, 0, {0, -1, -1}, 0, 0, 0, {}},
        {"a negative backlash takes up nothing", {0, -1, 0}, -3, false, 137, 5, 0, {0, -1, -1}, 0, 0, 0, {}},
        {"measuring counts every pulse, and those that move the axis as any paddle pulse", {0, -1, -1}, 25, true,
         137, 6, 6, {0, -1, -1}, 6, 6, 6, {}},
        {"measuring across a reversal: the slack first, then the axis, in one press", {0, -1, 0}, 25, true, 137,
         30, 30, {0, -1, -1}, 5, 5, 30, {}},
        {"measuring released within the slack leaves the rest of the take-up", {0, -1, 0}, 25, true, 137, 6, 6,
         {19, 0, 0}, 0, 0, 6, {}},
        {"the altitude take-up is shown nowhere", {0, -1, 0}, 3, false, 18, 10, 3, {0, -1, -1}, 0, 0, 0, {}},
    };
    for (const auto& c : cases) {
        Fresh();
        const bool az = c.code != 18;
        auto& b = handpad::Backlash();
        auto& d = shared.drive;
        (az ? b.BacklashLeftAz : b.BacklashLeftAlt) = c.start.left;
        (az ? b.BacklashDoneAz : b.BacklashDoneAlt) = c.start.done;
        (az ? b.BacklashDirAz : b.BacklashDirAlt) = c.start.dir;
        (az ? shared.site.BacklashAz : shared.site.BacklashAlt) = c.backlash;
        (az ? d.BacklashMeasureAz : d.BacklashMeasureAlt) = vb::Bool(c.measuring);
        Hold(c.code, c.hold);
        handpad::PaddleTick();

        const State end = az ? State{b.BacklashLeftAz, b.BacklashDoneAz, b.BacklashDirAz}
                             : State{b.BacklashLeftAlt, b.BacklashDoneAlt, b.BacklashDirAlt};
        EXPECT_EQ(Data().size(), 2u * c.pulses) << c.name;
        EXPECT_EQ(end, c.end) << c.name << ": left " << end.left << ", done " << end.done << ", dir " << end.dir;
        EXPECT_EQ(az ? shared.pos.PendingAzSteps : shared.pos.PendingAltSteps, c.pending) << c.name;
        EXPECT_EQ(az ? d.EncoderCountAz : d.EncoderCountAlt, c.encoder) << c.name;
        EXPECT_EQ(az ? d.BacklashCountAz : d.BacklashCountAlt, c.measured) << c.name;
        EXPECT_EQ(shown, c.shown) << c.name;
        const int64_t mount = c.code == 9 ? -c.pulses : c.pulses;
        EXPECT_EQ(az ? Sim().AzSteps() : Sim().AltSteps(), mount) << c.name;
    }
}

TEST_F(Handpad, AfterATakeUpTheNextTickMovesNormally) {
    shared.site.BacklashAz = 25;
    handpad::Backlash().BacklashDoneAz = vb::True;
    Hold(141, 28);
    handpad::PaddleTick();
    EXPECT_EQ(Data(), Pulses(25, 8, 4));
    EXPECT_EQ(shared.pos.PendingAzSteps, 0);
    handpad::PaddleTick();
    EXPECT_EQ(Data(), Pulses(28, 8, 4));
    EXPECT_EQ(shared.pos.PendingAzSteps, 3);
    EXPECT_EQ(shared.drive.EncoderCountAz, 3);
    handpad::PaddleTick();
    EXPECT_EQ(Data().size(), 56u);
    EXPECT_EQ(shared.drive.PaddleDelay, 0);
}

TEST_F(Handpad, AChangedButtonEndsTheMoveAndTheNextTickStartsTheNewOne) {
    handpad::Backlash().BacklashDirAz = vb::True;  // no reversal pending
    Hold(137, 5, [this](int event) {
        if (event == 4) Sim().HoldPaddleCode(141);  // end of pulse 2: medium to fast
    });
    handpad::PaddleTick();
    EXPECT_EQ(Data().size(), 4u);
    EXPECT_EQ(shared.drive.PaddleDelay, 102);
    handpad::PaddleTick();
    EXPECT_EQ(Data().size(), 10u);
    EXPECT_EQ(shared.drive.PaddleDelay, 103);
    EXPECT_EQ(shared.pos.PendingAzSteps, 5);
}

TEST_F(Handpad, SwitchingThePaddleOffEndsTheMove) {
    handpad::Backlash().BacklashDirAz = vb::True;  // no reversal pending
    Hold(137, 100, [](int event) {
        if (event == 4) shared.drive.HandPadCode = 1000;
    });
    handpad::PaddleTick();
    EXPECT_EQ(Data(), Pulses(2, 8, 4));
    EXPECT_EQ(shared.drive.HandPadCode, 1000);
}

TEST_F(Handpad, ATickDuringAMoveReturnsAtOnce) {
    std::vector<bool> running;
    handpad::Backlash().BacklashDirAz = vb::True;  // no reversal pending
    // The timer fires again at every event pass of the move.
    Hold(137, 3, [&running](int) {
        running.push_back(handpad::TickRunning());
        handpad::PaddleTick();
    });
    handpad::PaddleTick();
    EXPECT_EQ(Data(), Pulses(3, 8, 4));
    EXPECT_EQ(shared.drive.HandPadCode, 137);
    EXPECT_EQ(shared.pos.PendingAzSteps, 3);
    EXPECT_EQ(running, std::vector<bool>(6, true));
    EXPECT_FALSE(handpad::TickRunning());
}

TEST_F(Handpad, AMoveRunInsideAPaddleMoveNeverChangesItsBitsOrItsCount) {
    // Azimuth plus held; during its second pulse an altitude manual move runs
    // three pulses; the paddle move goes on with its own bits.
    handpad::Backlash().BacklashDirAz = vb::True;  // no reversal pending
    Hold(137, 0, [this](int event) {
        if (event == 3) {
            shared.drive.MotorMode = 3;
            ManualMoveAlt();
        }
        if (event == 8) shared.drive.MotorMode = 0;
        if (event == 14) Sim().HoldPaddleCode(kReleased);
    });
    handpad::PaddleTick();
    std::vector<int> expected = {8, 12, 8};
    for (int v : Pulses(3, 2, 1)) expected.push_back(v);
    for (int v : {12, 8, 12, 8, 12}) expected.push_back(v);
    EXPECT_EQ(Data(), expected);
    EXPECT_EQ(shared.pos.PendingAzSteps, 4);
    EXPECT_EQ(shared.pos.PendingAltSteps, 3);
    EXPECT_EQ(shared.pos.AzDirectionPlus, vb::True);
    EXPECT_EQ(shared.drive.EncoderCountAz, 4);
    EXPECT_EQ(port::LastPortOutput(), 12);
    EXPECT_EQ(Sim().AzSteps(), 4);
    EXPECT_EQ(Sim().AltSteps(), 3);
}

}  // namespace
