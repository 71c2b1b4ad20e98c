#include "altaz/frmcoord.h"
#include "core/calendar.h"
#include "core/conversions.h"
#include "core/gotostep.h"
#include "core/state.h"
#include "platform/vbrt.h"
#include "shell/buttonpictures.h"
#include "shell/frmDepl.h"
#include "shell/frminterface.h"
#include "tests/fixture.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <cmath>

namespace {

// Two stars and a few objects, high in a December evening sky from 48.8 N.
const char* const kStars =
    "\"Capella\",\"Aur\",3198,27600\r\n"
    "\"Deneb\",\"Cyg\",12416,27335\r\n"
    "\"Sirius\",\"CMa\",4054,-10084\r\n";
const char* const kMessier =
    "\"M 31\",\"GL\",442,24849\r\n"
    "\"M 45\",\"OC\",2277,14488\r\n"
    "\"M 7\",\"OC\",10758,-20892\r\n";

class AltazGoto : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseShippedData();
        WriteData("5magstar.cat", QString(kStars));
        WriteData("messier.cat", QString(kMessier));
        // 200 steps and 1:120: 27 arc-seconds a pulse; gotos of a few thousand pulses.
        WriteData("config_altaz.ini", QByteArray("2\r\n20\r\n48\r\n50\r\n200\r\n200\r\n120000\r\n120000\r\n"));
        WriteData("vitessealtaz.ini", QByteArray("1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n"));
        clock = {2026, 12, 10, 21, 0, 0, 0, false};
        frminterface().MDIForm_Load();
        frminterface().show();
        frminterface().barchoix_ButtonClick(2);
        messages.clear();
    }
    Frmcoord& c() { return frmcoord(); }
    void select(int catalogue, int row) {
        c().lbCatalogue->setCurrentRow(catalogue);
        c().lbObjets->setCurrentRow(row);
    }
    // Where the simulated mount points, from the step edges it counted.
    double mountAz(double startAz, int64_t startSteps) {
        return startAz + (Sim().AzSteps() - startSteps) * shared.site.AzStepArcsec;
    }
};

}  // namespace

TEST_F(AltazGoto, SyncOnAStarThenPointAtAMessierObject) {
    select(0, 0);  // Capella
    c().cmdreinit_Click();
    EXPECT_EQ(shared.pos.PositionSynced, vb::True);
    EXPECT_EQ(c().Txtad_h->text(), " 5");
    EXPECT_EQ(c().txtsign->text(), "+");
    const double az0 = shared.pos.AzimuthArcsec, alt0 = shared.pos.AltitudeArcsec;
    EXPECT_GT(alt0, 0);
    EXPECT_EQ(c().txtcoordaz1->text(), vb::CStr(std::floor(az0 / 3600)));
    Sim().ResetMount();

    select(1, 0);  // M 31
    c().cmdpointage_Click();

    const auto& g = shared.altgoto;
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_LT(std::abs(shared.pos.AzimuthArcsec - g.GotoTargetAz), 120);
    EXPECT_LT(std::abs(shared.pos.AltitudeArcsec - g.GotoTargetAlt), 120);
    // The mount itself went there, not just the counters.
    EXPECT_LT(std::abs(mountAz(az0, 0) - g.GotoTargetAz), 120 + 2 * shared.site.AzStepArcsec);
    EXPECT_LT(std::abs(alt0 + Sim().AltSteps() * shared.site.AltStepArcsec - g.GotoTargetAlt),
              120 + 2 * shared.site.AltStepArcsec);
    EXPECT_NE(Sim().AzSteps(), 0);
    EXPECT_EQ(shared.equa.GotoRA, 442);
    EXPECT_EQ(g.StopGoto, vb::False);
    EXPECT_FALSE(g.GotoRunning);
    EXPECT_EQ(c().TwipsWidth(), 5745);
    EXPECT_TRUE(c().picraquette->Shows(ButtonPictures[7])) << "a goto ends with the paddle on";
    EXPECT_TRUE(frminterface().Timer->isActive());
    EXPECT_EQ(Sim().DataLatch(), 0);
    EXPECT_FALSE(forms::Loaded<FrmDepl>());
    EXPECT_TRUE(c().cmdpointage->isEnabled());
}

TEST_F(AltazGoto, ATargetBelowTheHorizonIsRefusedWithoutAPulse) {
    select(0, 0);
    c().cmdreinit_Click();
    select(1, 2);  // M 7, far south, below the horizon in a December evening
    c().cmdpointage_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("déplacement impossible : altitude négative !"));
    EXPECT_EQ(Sim().AzSteps(), 0);
    EXPECT_EQ(Sim().AltSteps(), 0);
    EXPECT_FALSE(shared.altgoto.GotoRunning);
}

TEST_F(AltazGoto, AStopAtPulseKLeavesTheCountersWhereTheMountIs) {
    for (int k : {5, 40, 301}) {
        SCOPED_TRACE(k);
        select(0, 0);
        c().cmdreinit_Click();
        const double az0 = shared.pos.AzimuthArcsec, alt0 = shared.pos.AltitudeArcsec;
        Sim().ResetMount();
        int pauses = 0;
        seams::SetDoEvents([&] {
            if (++pauses == 2 * k) c().cmstoppointage->click();
        });
        select(0, 1);  // Deneb
        c().cmdpointage_Click();
        seams::SetDoEvents({});
        EXPECT_NEAR(shared.pos.AzimuthArcsec, mountAz(az0, 0), 1e-6);
        EXPECT_NEAR(shared.pos.AltitudeArcsec, alt0 + Sim().AltSteps() * shared.site.AltStepArcsec, 1e-6);
        EXPECT_EQ(shared.altgoto.StopGoto, vb::False);
        EXPECT_LT(std::abs(Sim().AzSteps()) + std::abs(Sim().AltSteps()), k + 2);
    }
}

TEST_F(AltazGoto, AStopClickedDuringAGotoEndsItWithinAPulseOfItsEvent) {
    // The real event loop, on its time budget; 20 us a pulse, so that the
    // events run only every few pulses.
    select(0, 0);
    c().cmdreinit_Click();  // Capella
    for (auto& level : shared.drive.AltazSpeedTable) level = {1000, 1000};
    Sim().ResetMount();
    const auto pulses = [this] { return std::abs(Sim().AzSteps()) + std::abs(Sim().AltSteps()); };
    QPushButton* stop = c().cmstoppointage;
    int64_t atPost = -1, atClick = -1;
    QObject::connect(stop, &QPushButton::clicked, stop, [&] { atClick = pulses(); });
    // A timer that fires once the goto runs posts the user's click: the
    // press and the release reach the button through the event loop.
    QTimer::singleShot(0, stop, [&] {
        atPost = pulses();
        const QPointF at = QRectF(stop->rect()).center();
        const QPointF global = stop->mapToGlobal(at);
        QCoreApplication::postEvent(
            stop, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(
            stop, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    });
    select(0, 1);  // Deneb: thousands of pulses away
    c().cmdpointage_Click();
    ASSERT_GE(atPost, 0) << "the timer fired during the goto";
    ASSERT_GE(atClick, atPost) << "the click reached the stop button during the goto";
    EXPECT_LE(pulses() - atClick, 1) << "at most the pulse under way once the click is handled";
    EXPECT_GT(std::abs(shared.pos.AzimuthArcsec - shared.altgoto.GotoTargetAz), 120) << "the goto was cut short";
    EXPECT_EQ(shared.altgoto.StopGoto, vb::False);
    EXPECT_FALSE(shared.altgoto.GotoRunning);
}

TEST_F(AltazGoto, AStopPressedWhileNoGotoRunsDoesNotStopTheNextOne) {
    select(0, 0);
    c().cmdreinit_Click();
    c().cmstoppointage_Click();
    EXPECT_EQ(shared.altgoto.StopGoto, vb::True);
    select(0, 1);
    c().cmdpointage_Click();
    EXPECT_LT(std::abs(shared.pos.AzimuthArcsec - shared.altgoto.GotoTargetAz), 120);
    EXPECT_NE(Sim().AzSteps(), 0);
}

TEST_F(AltazGoto, TheProgressWindowsStopButtonStopsAnAltazimuthGoto) {
    select(0, 0);
    c().cmdreinit_Click();
    Sim().ResetMount();
    int pauses = 0;
    seams::SetDoEvents([&] {
        if (++pauses == 20) frmDepl().cmstoppointage_Click();
    });
    select(0, 1);
    c().cmdpointage_Click();
    seams::SetDoEvents({});
    EXPECT_LT(std::abs(Sim().AzSteps()) + std::abs(Sim().AltSteps()), 12);
    EXPECT_FALSE(forms::Loaded<FrmDepl>()) << "the goto closes it";
}

TEST_F(AltazGoto, NothingElseStartsWhileAGotoRuns) {
    select(0, 0);
    c().cmdreinit_Click();
    int pauses = 0;
    int nestedSteps = -1;
    seams::SetDoEvents([&] {
        if (++pauses != 10) return;
        const int64_t before = Sim().AzSteps();
        const double az = shared.pos.AzimuthArcsec;
        c().lbObjets->setCurrentRow(2);
        c().cmdpointage_Click();   // a second goto
        c().cmdreinit_Click();     // a sync
        c().lbCatalogue->setCurrentRow(1);  // a catalogue change
        nestedSteps = static_cast<int>(Sim().AzSteps() - before);
        EXPECT_EQ(shared.pos.AzimuthArcsec, az);
        EXPECT_EQ(shared.pos.PositionSynced, vb::True);
    });
    select(0, 1);
    c().cmdpointage_Click();
    seams::SetDoEvents({});
    EXPECT_EQ(nestedSteps, 0);
    EXPECT_EQ(shared.equa.GotoRA, 12416) << "the first goto's target";
    EXPECT_EQ(c().CatalogueIndex, 0) << "the catalogue list stayed";
}

TEST_F(AltazGoto, NoSelectedObjectMeansNoGotoAndNoSync) {
    c().lbObjets->setCurrentRow(-1);
    c().cmdpointage_Click();
    c().cmdreinit_Click();
    EXPECT_EQ(Sim().AzSteps(), 0);
    EXPECT_EQ(shared.pos.PositionSynced, vb::False);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(AltazGoto, UnmadeMechanicsAreToldAndNothingMoves) {
    // No azimuth ratio in memory: the mechanics are not set up.
    shared.site.AzimuthRatio = 0;
    shared.site.AzStepArcsec = AzimuthStepArcsec();
    ASSERT_EQ(shared.site.AzStepArcsec, 0);
    messages.clear();
    select(0, 0);
    c().cmdreinit_Click();
    select(0, 1);
    c().cmdpointage_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], kNoStepAngleMessage);
    EXPECT_EQ(Sim().AzSteps(), 0);
    EXPECT_EQ(Sim().AltSteps(), 0);
}

TEST_F(AltazGoto, SyncWritesTheCoordinatesInTheirTextForms) {
    struct Case {
        int32_t ra, dec;
        const char* h;
        const char* m;
        const char* sign;
        const char* deg;
        const char* dmin;
    } cases[] = {
        {3456, -300, " 5", " 45.6", "-", "0", "30"},
        {3456, -615, " 5", " 45.6", "-", "1", "1.5"},
        {100, 1830, " 0", " 10", "+", " 3", " 3"},
        {14399, -54000, " 23", " 59.9", "-", "90", "0"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.dec);
        WriteData("messier.cat", QStringLiteral("\"X\",\"GL\",%1,%2\r\n").arg(k.ra).arg(k.dec));
        c().lbCatalogue->setCurrentRow(2);
        select(1, 0);
        c().cmdreinit_Click();
        EXPECT_EQ(c().Txtad_h->text(), QString::fromLatin1(k.h));
        EXPECT_EQ(c().txtad_min->text(), QString::fromLatin1(k.m));
        EXPECT_EQ(c().txtsign->text(), QString::fromLatin1(k.sign));
        EXPECT_EQ(c().txtdec_deg->text(), QString::fromLatin1(k.deg));
        EXPECT_EQ(c().txtdec_min->text(), QString::fromLatin1(k.dmin));
    }
}

TEST_F(AltazGoto, GotoAndSyncActOnTheSelectedFilteredObject) {
    select(1, 0);
    frminterface().mnuAOuverts->trigger();  // M 45, M 7
    c().lbObjets->setCurrentRow(0);
    c().cmdreinit_Click();
    EXPECT_EQ(c().Txtad_h->text(), " 3");  // M 45 at 2277 tenths of a time-minute
}

TEST_F(AltazGoto, ChartRefreshWithTheChartClosedChangesNothing) {
    shared.altgoto.SlewRA = 7;
    c().cmdtrace_Click();
    EXPECT_EQ(shared.altgoto.SlewRA, 7);
}

TEST_F(AltazGoto, AGotoThatHoldsTheLoopAcrossUniversalMidnightIsFollowedByTheRightDate) {
    clock = {2026, 12, 11, 0, 59, 58, 0, false};  // 23:59:58 UT on the 10th
    frminterface().heuretimer_Timer();
    ASSERT_EQ(c().cbjour->currentIndex(), 9);
    select(0, 0);
    c().cmdreinit_Click();
    select(1, 0);
    // No clock tick runs while the goto holds the loop; it ends after midnight.
    int events = 0;
    seams::SetDoEvents([&] {
        if (++events == 200) clock = {2026, 12, 11, 1, 0, 6, 0, false};
    });
    c().cmdpointage_Click();
    seams::SetDoEvents({});
    ASSERT_GT(events, 200);
    EXPECT_EQ(c().cbjour->currentIndex(), 9) << "nothing ticked during the goto";

    frminterface().heuretimer_Timer();

    EXPECT_EQ(c().txth->text(), "0");
    EXPECT_EQ(c().txts->text(), "6");
    EXPECT_EQ(c().cbjour->currentIndex(), 10);
    EXPECT_EQ(c().txtessai->text(), SiderealTime0hText({10, 11, 26}));
}
