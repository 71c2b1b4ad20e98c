#include "core/state.h"
#include "motor/moves.h"
#include "motor/settingsfiles.h"
#include "platform/datadir.h"
#include "platform/vbrt.h"
#include "tests/fixture.h"

#include <QFile>
#include <functional>
#include <memory>
#include <string>

namespace {

class Moves : public OrvanelTest {
protected:
    void SetUp() override {
        OrvanelTest::SetUp();
        auto& site = shared.site;
        site.AzPlusBits = 8;
        site.AzMinusBits = 0;
        site.AltPlusBits = 2;
        site.AltMinusBits = 0;
        SaveInversion(false, false);
    }

    void SaveInversion(bool az, bool alt) {
        WriteData("inversion.ini", QStringLiteral("%1\r\n%2\r\n").arg(az ? "Vrai" : "Faux", alt ? "Vrai" : "Faux"));
    }



    // Runs `action` at the event pass that follows the first write of pulse k
    // (events run twice a pulse), once.
    void AtPulse(int k, std::function<void()> action) {
        auto events = std::make_shared<int>(0);
        seams::SetDoEvents([events, k, action] {
            if (++*events == 2 * k - 1) action();
        });
    }
};

TEST_F(Moves, DriveModesMapToPortBits) {
    struct Case {
        int16_t mode;
        bool invAz, invAlt;
        std::optional<ModeBits> plain, command;
        int16_t azPlus, altPlus;  // direction flags ApplyDirection leaves
    } cases[] = {
        {0, false, false, ModeBits{0, 0}, ModeBits{0, 0}, 0, 0},
        {1, false, false, ModeBits{0, 4}, ModeBits{8, 4}, -1, 0},
        {2, false, false, ModeBits{8, 4}, ModeBits{0, 4}, 0, 0},
        {3, false, false, ModeBits{0, 1}, ModeBits{2, 1}, 0, -1},
        {4, false, false, ModeBits{2, 1}, ModeBits{0, 1}, 0, 0},
        {1, true, true, ModeBits{0, 4}, ModeBits{0, 4}, 0, 0},
        {2, true, true, ModeBits{8, 4}, ModeBits{8, 4}, -1, 0},
        {3, true, true, ModeBits{0, 1}, ModeBits{0, 1}, 0, 0},
        {4, true, true, ModeBits{2, 1}, ModeBits{2, 1}, 0, -1},
        {2, true, false, ModeBits{8, 4}, ModeBits{8, 4}, -1, 0},  // each axis its own line
        {4, true, false, ModeBits{2, 1}, ModeBits{0, 1}, 0, 0},
        {5, false, false, std::nullopt, std::nullopt, 0, 0},
        {-1, true, true, std::nullopt, std::nullopt, 0, 0},
    };
    for (const auto& c : cases) {
        const std::string what = "mode " + std::to_string(c.mode) + (c.invAz ? " az inverted" : "") +
                                 (c.invAlt ? " alt inverted" : "");
        auto& d = shared.drive;
        EXPECT_EQ(ModeBitsOf(c.mode), c.plain) << what;
        EXPECT_EQ(CommandBitsOf(c.mode, vb::Bool(c.invAz), vb::Bool(c.invAlt)), c.command) << what;

        // Through the shared values: a mode outside 0..4 leaves the bits.
        d.MotorMode = c.mode;
        d.DirectionBits = 99;
        d.StepBit = 99;
        SetModeBits();
        const ModeBits untouched{99, 99};
        EXPECT_EQ((ModeBits{d.DirectionBits, d.StepBit}), c.plain.value_or(untouched)) << what;

        SaveInversion(c.invAz, c.invAlt);
        d.DirectionBits = 99;
        d.StepBit = 99;
        shared.pos.AzDirectionPlus = vb::True;
        shared.pos.AltDirectionPlus = vb::True;
        ApplyDirection();
        EXPECT_EQ((ModeBits{d.DirectionBits, d.StepBit}), c.command.value_or(untouched)) << what;
        EXPECT_EQ(shared.pos.AzDirectionPlus, c.azPlus) << what;
        EXPECT_EQ(shared.pos.AltDirectionPlus, c.altPlus) << what;
    }
    EXPECT_TRUE(Writes().empty());
}

TEST_F(Moves, ApplyDirectionFollowsTheSavedFileAndLeavesThePaddlesLiveInversion) {
    // The check boxes were changed but not saved: the paddle follows them,
    // a manual move the saved file.
    SaveInversion(true, false);
    shared.site.InvertAz = vb::False;
    shared.site.InvertAlt = vb::True;
    shared.drive.MotorMode = 1;
    ApplyDirection();
    EXPECT_EQ(shared.drive.DirectionBits, 0);
    EXPECT_EQ(shared.site.InvertAz, vb::False);
    EXPECT_EQ(shared.site.InvertAlt, vb::True);

    // A missing file reads as not inverted, and is told once only.
    ASSERT_TRUE(QFile::remove(datadir::Path(settingsfiles::kInversion)));
    shared.drive.MotorMode = 1;
    ApplyDirection();
    ApplyDirection();
    EXPECT_EQ(shared.drive.DirectionBits, 8);
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(Moves, AHeldMoveWithNoModeSendsNothing) {
    for (int16_t mode : {0, 5, -2}) {
        shared.drive.MotorMode = mode;
        shared.drive.DirectionBits = 8;  // left over from another move
        shared.drive.StepBit = 4;
        ManualMoveAz();
        ManualMoveEquaRA();
        MoveEquaSteps();
    }
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(shared.pos.PendingAzSteps, 0);
}

TEST_F(Moves, HeldMovesPulseTheirAxisUntilStoppedAfterThePulseUnderWay) {
    struct Case {
        const char* name;
        void (*move)();
        int16_t mode;
        bool inverted;
        int direction, step;
        int64_t az, alt;          // simulated mount per pulse
        int32_t pendingAz, pendingAlt;  // pending counts per pulse
    } cases[] = {
        {"azimuth mode 1", ManualMoveAz, 1, false, 8, 4, 1, 0, 1, 0},
        {"azimuth mode 2", ManualMoveAz, 2, false, 0, 4, -1, 0, -1, 0},
        {"azimuth mode 2 inverted", ManualMoveAz, 2, true, 8, 4, 1, 0, 1, 0},
        {"altitude mode 3", ManualMoveAlt, 3, false, 2, 1, 0, 1, 0, 1},
        {"altitude mode 4", ManualMoveAlt, 4, false, 0, 1, 0, -1, 0, -1},
        {"altitude mode 4 inverted", ManualMoveAlt, 4, true, 2, 1, 0, 1, 0, 1},
        {"right ascension", ManualMoveEquaRA, 1, false, 8, 4, 1, 0, 0, 0},
        {"right ascension, declination mode", ManualMoveEquaRA, 4, false, 0, 1, 0, -1, 0, 0},
        {"declination", ManualMoveEquaDec, 3, true, 0, 1, 0, -1, 0, 0},
    };
    for (const auto& c : cases) {
        for (int k : {1, 4}) {
            Sim().ClearWrites();
            Sim().ResetMount();
            shared.pos.PendingAzSteps = shared.pos.PendingAltSteps = 0;
            SaveInversion(c.inverted, c.inverted);
            shared.drive.MotorMode = c.mode;
            AtPulse(k, [] { shared.drive.MotorMode = 0; });
            c.move();
            EXPECT_EQ(Data(), Pulses(k, c.direction, c.step)) << c.name << ", stop at pulse " << k;
            EXPECT_EQ(Sim().AzSteps(), k * c.az) << c.name;
            EXPECT_EQ(Sim().AltSteps(), k * c.alt) << c.name;
            EXPECT_EQ(shared.pos.PendingAzSteps, k * c.pendingAz) << c.name;
            EXPECT_EQ(shared.pos.PendingAltSteps, k * c.pendingAlt) << c.name;
        }
    }
}

TEST_F(Moves, ATrackingBurstOrAnotherModeDuringAHeldMoveKeepsItsBits) {
    shared.drive.MotorMode = 1;
    auto events = std::make_shared<int>(0);
    seams::SetDoEvents([events] {
        auto& d = shared.drive;
        ++*events;
        if (*events == 2) {
            d.MotorMode = 4;  // another non-zero mode
            d.DeltaAlt = 1;   // and one altitude tracking pulse
            d.AltStepsTick = 1;
            TrackStepAlt();
        }
        if (*events == 7) d.MotorMode = 0;
    });
    ManualMoveAz();
    EXPECT_EQ(Data(), (std::vector<int>{8, 12, 2, 3, 8, 12, 8, 12}));
    EXPECT_EQ(shared.pos.PendingAzSteps, 3);
    EXPECT_EQ(shared.pos.PendingAltSteps, 0);
}

TEST_F(Moves, SpeedLevelsAndSpeedChanged) {
    auto& d = shared.drive;
    for (int level = 0; level < 5; ++level) {
        d.AltazSpeedTable[level] = {100 + level, 200 + level};
        d.EquaSpeedTable[level] = {300 + level, 400 + level};
    }
    struct Case {
        const char* name;
        void (*move)();
        int16_t mode;
        bool speedChanged;
        std::vector<int32_t> delays;  // StepDelay seen during pulses 1..4
    } cases[] = {
        // The level moves from 1 to 3 during pulse 2.
        {"alt-azimuth, azimuth", ManualMoveAz, 2, false, {101, 101, 101, 101}},
        {"alt-azimuth, azimuth, speed changed", ManualMoveAz, 2, true, {101, 101, 103, 103}},
        {"alt-azimuth, altitude, speed changed", ManualMoveAlt, 3, true, {201, 201, 203, 203}},
        {"equatorial, right ascension, speed changed", ManualMoveEquaRA, 1, true, {301, 301, 303, 303}},
        {"equatorial, declination", ManualMoveEquaDec, 4, false, {401, 401, 401, 401}},
    };
    for (const auto& c : cases) {
        d.SpeedIndexAz = d.SpeedIndexAlt = 1;
        d.SpeedChanged = vb::Bool(c.speedChanged);
        d.MotorMode = c.mode;
        std::vector<int32_t> seen;
        auto events = std::make_shared<int>(0);
        seams::SetDoEvents([&seen, events] {
            auto& d = shared.drive;
            if (++*events % 2 == 1) seen.push_back(d.StepDelay);
            if (*events == 3) d.SpeedIndexAz = d.SpeedIndexAlt = 3;
            if (*events == 7) d.MotorMode = 0;
        });
        c.move();
        seams::SetDoEvents({});
        EXPECT_EQ(seen, c.delays) << c.name;
    }
}

TEST_F(Moves, AMoveStartedInsideAHeldMoveNeverChangesItsBitsOrItsCount) {
    // Azimuth held (mode 1: bits 8 and 4); during its second pulse a second
    // direction button starts an altitude move (mode 3: bits 2 and 1), and a
    // stop during that move's third pulse ends both.
    shared.drive.MotorMode = 1;
    auto events = std::make_shared<int>(0);
    seams::SetDoEvents([events] {
        ++*events;
        if (*events == 3) {
            shared.drive.MotorMode = 3;
            ManualMoveAlt();
        } else if (*events == 8) {
            shared.drive.MotorMode = 0;
        }
    });
    ManualMoveAz();
    std::vector<int> expected = Pulses(1, 8, 4);
    expected.push_back(8);
    for (int v : Pulses(3, 2, 1)) expected.push_back(v);
    expected.push_back(12);  // the azimuth pulse under way is finished with its own bits
    EXPECT_EQ(Data(), expected);
    EXPECT_EQ(Sim().AzSteps(), 2);
    EXPECT_EQ(Sim().AltSteps(), 3);
    EXPECT_EQ(shared.pos.PendingAzSteps, 2);
    EXPECT_EQ(shared.pos.PendingAltSteps, 3);
    EXPECT_EQ(shared.pos.AzDirectionPlus, vb::True);
}

TEST_F(Moves, TrackingBursts) {
    struct Case {
        const char* name;
        double delta;
        double pulses;
        bool swapped;  // the direction test swapped the plus and minus bits
        int count, direction;
    } cases[] = {
        {"plus", 12.5, 3, false, 3, 8},
        {"zero goes minus", 0, 3, false, 3, 0},
        {"minus", -0.1, 2, false, 2, 0},
        {"plus, swapped bits", 5, 2, true, 2, 0},
        {"minus, swapped bits", -5, 2, true, 2, 8},
        {"no pulse", 5, 0, false, 0, 8},
        {"negative count", 5, -2, false, 0, 8},
        {"2.5 rounds to 2", 5, 2.5, false, 2, 8},
        {"3.5 rounds to 4", 5, 3.5, false, 4, 8},
    };
    auto& d = shared.drive;
    auto& site = shared.site;
    for (const auto& c : cases) {
        for (bool azimuth : {true, false}) {
            // 2.5 and 3.5 are altitude counts only: the azimuth count is whole.
            if (azimuth && c.pulses != static_cast<int16_t>(c.pulses)) continue;
            Sim().ClearWrites();
            Sim().ResetMount();
            site.AzPlusBits = c.swapped ? 0 : 8;
            site.AzMinusBits = c.swapped ? 8 : 0;
            site.AltPlusBits = c.swapped ? 0 : 2;
            site.AltMinusBits = c.swapped ? 2 : 0;
            d.StepBit = 7;
            d.MotorMode = 3;
            d.TrackDelayAz = d.TrackDelayAlt = 2;
            const int direction = azimuth ? c.direction : c.direction / 4;
            if (azimuth) {
                d.DeltaAz = c.delta;
                d.AzStepsTick = static_cast<int16_t>(c.pulses);
                TrackStepAz();
            } else {
                d.DeltaAlt = c.delta;
                d.AltStepsTick = c.pulses;
                TrackStepAlt();
            }
            const std::string what = std::string(c.name) + (azimuth ? ", azimuth" : ", altitude");
            EXPECT_EQ(Data(), Pulses(c.count, direction, azimuth ? 4 : 1)) << what;
            const int64_t steps = direction != 0 ? c.count : -c.count;
            EXPECT_EQ(azimuth ? Sim().AzSteps() : Sim().AltSteps(), steps) << what;
            EXPECT_EQ(d.DirectionBits, direction) << what;
            EXPECT_EQ(d.StepBit, 7) << what;
            EXPECT_EQ(d.MotorMode, 3) << what;
            EXPECT_EQ(shared.pos.PendingAzSteps, 0) << what;
            EXPECT_EQ(shared.pos.PendingAltSteps, 0) << what;
        }
    }
}

TEST_F(Moves, EquatorialBurst) {
    auto& d = shared.drive;
    d.EquaSpeedTable[2] = {300, 400};
    d.SpeedIndexAz = d.SpeedIndexAlt = 2;
    struct Case {
        const char* name;
        int16_t mode, count;
        bool inverted;
        std::vector<int> data;
    } cases[] = {
        {"five right-ascension pulses", 1, 5, false, Pulses(5, 8, 4)},
        {"inverted", 1, 2, true, Pulses(2, 0, 4)},
        {"declination", 4, 3, false, Pulses(3, 0, 1)},
        {"no count", 1, 0, false, {}},
        {"tracking stopped", 0, 5, false, {}},
    };
    for (const auto& c : cases) {
        Sim().ClearWrites();
        SaveInversion(c.inverted, c.inverted);
        d.MotorMode = c.mode;
        d.EquaStepCount = c.count;
        // The count is read once; the mode is not watched.
        AtPulse(1, [] {
            shared.drive.EquaStepCount = 100;
            shared.drive.MotorMode = 0;
        });
        MoveEquaSteps();
        EXPECT_EQ(Data(), c.data) << c.name;
        if (!c.data.empty()) {
            EXPECT_EQ(d.StepDelay, c.mode <= 2 ? 300 : 400) << c.name;
        }
    }
    EXPECT_EQ(shared.pos.PendingAzSteps, 0);
}

}  // namespace
