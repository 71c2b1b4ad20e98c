#include "core/state.h"
#include "motor/cmd_moteur.h"
#include "motor/paddle.h"
#include "tests/fixture.h"

using port::Write;

class PortTest : public OrvanelTest {};

TEST_F(PortTest, OnePulseHasItsExactShape) {
    std::vector<std::string> seen;
    seams::SetDoEvents([&] {
        const auto& w = Sim().Writes();
        seen.push_back("events after " + std::to_string(w.back().value));
    });
    Pulse(8, 4, 0);
    EXPECT_EQ(Writes(), (std::vector<Write>{{888, 8}, {888, 12}}));
    EXPECT_EQ(seen, (std::vector<std::string>{"events after 8", "events after 12"}));
    EXPECT_EQ(Sim().DataLatch(), 12) << "the step line stays high";
}

TEST_F(PortTest, ThePulseOfTheMoveUnderWayUsesItsBits) {
    shared.drive.DirectionBits = 2;
    shared.drive.StepBit = 1;
    shared.drive.StepDelay = 3;
    SendPulse();
    SendPulse();
    EXPECT_EQ(Writes(), (std::vector<Write>{{888, 2}, {888, 3}, {888, 2}, {888, 3}}));
    EXPECT_EQ(Sim().AltSteps(), 2);
    EXPECT_EQ(Sim().AzSteps(), 0);
}

TEST_F(PortTest, TheSimulatedMountCountsRisingStepEdgesByDirection) {
    struct Case {
        int16_t dir, step;
        int64_t az, alt;
    } cases[] = {{8, 4, 1, 0}, {0, 4, -1, 0}, {2, 1, 0, 1}, {0, 1, 0, -1}};
    for (const auto& c : cases) {
        Sim().ResetMount();
        for (int i = 0; i < 3; ++i) Pulse(c.dir, c.step, 0);
        EXPECT_EQ(Sim().AzSteps(), 3 * c.az) << c.dir << "," << c.step;
        EXPECT_EQ(Sim().AltSteps(), 3 * c.alt) << c.dir << "," << c.step;
    }
    // A write that keeps the step line high is no new edge.
    Sim().ResetMount();
    Out32(888, 12);
    Out32(888, 12);
    Out32(888, 8);
    Out32(888, 12);
    EXPECT_EQ(Sim().AzSteps(), 2);
}

TEST_F(PortTest, PaddleCodeIsDataMinusLastOutputPlusControl) {
    struct Case {
        int16_t lastData, lastPortOutput, control, code;
    } cases[] = {
        {0, 0, 11, 11},        // idle
        {12, 12, 11, 11},      // right after a paddle pulse the pulse's own bits cancel
        {12, 12, 137, 137},    // a held button keeps its code while the lines change
        {3, 0, 11, 14},        // bits the paddle code did not account for show through
        {0, 8, 11, 3},
        {255, 0, 255, 510},
    };
    for (const auto& c : cases) {
        Out32(888, c.lastData);
        Sim().HoldPaddleCode(c.control);
        EXPECT_EQ(paddle::ReadCode(c.lastPortOutput), c.code);
    }
}

TEST_F(PortTest, QueuedPaddleCodesAreReadInOrderThenTheHeldOne) {
    Sim().QueuePaddleCodes({137, 137, 11});
    Sim().HoldPaddleCode(26);
    EXPECT_EQ(paddle::ReadCode(0), 137);
    EXPECT_EQ(paddle::ReadCode(0), 137);
    EXPECT_EQ(paddle::ReadCode(0), 11);
    EXPECT_EQ(paddle::ReadCode(0), 26);
}

TEST(PaddleCodes, EveryCodeDecodes) {
    using paddle::Axis;
    using paddle::Speed;
    struct Case {
        int16_t code;
        std::optional<paddle::Button> button;
    } cases[] = {
        {2, paddle::Button{Axis::AltDec, Speed::Fast, 0}},
        {3, paddle::Button{Axis::AltDec, Speed::Medium, 0}},
        {10, paddle::Button{Axis::AltDec, Speed::Slow, 0}},
        {18, paddle::Button{Axis::AltDec, Speed::Fast, 2}},
        {19, paddle::Button{Axis::AltDec, Speed::Medium, 2}},
        {26, paddle::Button{Axis::AltDec, Speed::Slow, 2}},
        {9, paddle::Button{Axis::AzRa, Speed::Medium, 0}},
        {13, paddle::Button{Axis::AzRa, Speed::Fast, 0}},
        {15, paddle::Button{Axis::AzRa, Speed::Slow, 0}},
        {137, paddle::Button{Axis::AzRa, Speed::Medium, 8}},
        {141, paddle::Button{Axis::AzRa, Speed::Fast, 8}},
        {143, paddle::Button{Axis::AzRa, Speed::Slow, 8}},
        {11, std::nullopt},
        {1000, std::nullopt},
        {0, std::nullopt},
        {27, std::nullopt},
        {-5, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(paddle::Decode(c.code), c.button) << c.code;
    // The second direction is the first plus 16 (altitude) or 128 (azimuth).
    for (int16_t code : {2, 3, 10}) EXPECT_EQ(paddle::Decode(code + 16)->speed, paddle::Decode(code)->speed);
    for (int16_t code : {9, 13, 15}) EXPECT_EQ(paddle::Decode(code + 128)->speed, paddle::Decode(code)->speed);
}

TEST(PortChoice, ThePortNamedOnTheCommandLineOrTheSimulatorWithAReason) {
    QString error;
    auto sim = port::Open(QStringLiteral("sim"), &error);
    EXPECT_TRUE(sim->Simulated());
    EXPECT_TRUE(error.isEmpty());

    auto missing = port::Open(QStringLiteral("ppdev:/dev/parport-absent"), &error);
    EXPECT_TRUE(missing->Simulated());
    EXPECT_TRUE(error.contains("/dev/parport-absent")) << error.toStdString();

    auto bad = port::Open(QStringLiteral("raw:zzz"), &error);
    EXPECT_TRUE(bad->Simulated());
    EXPECT_TRUE(error.contains("zzz"));

    auto unknown = port::Open(QStringLiteral("usb"), &error);
    EXPECT_TRUE(unknown->Simulated());
    EXPECT_TRUE(error.contains("usb"));
}
