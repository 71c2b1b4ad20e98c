#include "altaz/frmcoord.h"
#include "chart/frmCercle.h"
#include "core/state.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"
#include "shell/buttonpictures.h"
#include "shell/frmDepl.h"
#include "shell/frminterface.h"
#include "tests/chartrecorder.h"
#include "tests/fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QTimer>
#include <cmath>

namespace {

// Chart stars high in a December evening sky from 48.8 N, and a few for the
// sign of the declination boxes.
const char* const kStars =
    "\"ALPHA\",\"Aur\",3198,27600\r\n"
    "\"ALPHA\",\"Cyg\",12416,27335\r\n"
    "\"DELTA\",\"Ori\",3327,-2735\r\n"
    "\"ETA\",\"Ori\",100,-300\r\n"
    "\"KAPPA\",\"Ori\",2000,-2400\r\n"
    "\"MU\",\"Aur\",4000,2735\r\n";

class ChartGoto : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseShippedData();
        WriteData("vstar.cat", QString(kStars));
        WriteData("vconst.cat", QString("0,1\r\n"));
        // 200 steps and 1:120: 27 arc-seconds a pulse; gotos of a few thousand pulses.
        WriteData("config_altaz.ini", QByteArray("2\r\n20\r\n48\r\n50\r\n200\r\n200\r\n120000\r\n120000\r\n"));
        WriteData("vitessealtaz.ini", QByteArray("0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"));
        clock = {2026, 12, 10, 21, 0, 0, 0, false};
        frminterface().MDIForm_Load();
        frminterface().show();
        frminterface().barchoix_ButtonClick(2);  // "Mode altazimutal"
        frminterface().ToggleSkyChart();         // "constellations"
        chart().SetCanvas(&rec);
        messages.clear();
        ui::SetPopupHook([this](QMenu*) {
            if (choose) choose->trigger();
        });
    }
    void TearDown() override {
        ui::SetPopupHook({});
        seams::SetDoEvents({});
        WindowTest::TearDown();
    }
    FrmCercle& chart() { return frmCercle(); }
    Frmcoord& coord() { return frmcoord(); }
    // Right click on star n of the chart and choose an item of the menu.
    void onStar(int n, QAction* item) {
        double x = 0, y = 0;
        chart().NewCoord(chart().starAD[n], chart().starDec[n], x, y);
        choose = item;
        chart().Form_MouseDown(2, 0, static_cast<float>(x), static_cast<float>(y));
        choose = nullptr;
    }
    bool paddleOn() { return coord().picraquette->Shows(ButtonPictures[7]); }

    ChartRecorder rec;
    QAction* choose = nullptr;
};

}  // namespace

TEST_F(ChartGoto, SyncOnAStarWritesTheCoordinateBoxes) {
    struct Case {
        int star;
        const char* h;
        const char* min;
        const char* sign;
        const char* deg;
        const char* decMin;
    } cases[] = {
        {2, "5", "32.7", "-", "4", "33.5"},   // -2735: -4 degrees 33.5
        {3, "0", "10", "+", "0", "-30"},      // -300: the sign stays in the minutes
        {4, "3", "20", "-", "4", "0"},        // -2400: a minute of 0 keeps its digit
        {5, "6", "40", "+", "4", "33.5"},     // +2735
        {0, "5", "19.8", "+", "46", "0"},
    };
    ASSERT_TRUE(chart().Shown());
    ASSERT_EQ(chart().starCount, 6);
    for (const auto& k : cases) {
        SCOPED_TRACE(k.star);
        rec.calls.clear();
        shared.pos.PositionSynced = vb::False;
        onStar(k.star, chart().mnureinit);
        EXPECT_EQ(coord().Txtad_h->text(), k.h);
        EXPECT_EQ(coord().txtad_min->text(), k.min);
        EXPECT_EQ(coord().txtsign->text(), k.sign);
        EXPECT_EQ(coord().txtdec_deg->text(), k.deg);
        EXPECT_EQ(coord().txtdec_min->text(), k.decMin);
        EXPECT_EQ(shared.pos.PositionSynced, vb::True);
        EXPECT_EQ(shared.equa.GotoRA, chart().starAD[k.star]);
        EXPECT_EQ(shared.equa.GotoDec, chart().starDec[k.star]);
        // Redrawn, then the target's reticle with the stars, lines and objects over it.
        const int clear = static_cast<int>(rec.calls.lastIndexOf("clear"));
        const int reticle = static_cast<int>(rec.calls.indexOf(QRegularExpression(".* r150 .*")));
        ASSERT_GE(clear, 0);
        EXPECT_GT(reticle, clear);
        EXPECT_TRUE(rec.calls[reticle].endsWith("fill (0,0,0) solid")) << rec.calls[reticle].toStdString();
        EXPECT_GT(rec.calls.lastIndexOf(QRegularExpression(".* r25 .*")), reticle);
    }
    // The sync took the star's place in the sky as the telescope's.
    onStar(0, chart().mnureinit);
    EXPECT_GT(shared.pos.AltitudeArcsec, 0);
    EXPECT_FALSE(coord().txtcoordaz1->text().isEmpty());
}

TEST_F(ChartGoto, GotoFromTheChartEndsWithThePaddleOnAndTheDataRegisterCleared) {
    onStar(0, chart().mnureinit);  // sync on Capella
    const double az0 = shared.pos.AzimuthArcsec, alt0 = shared.pos.AltitudeArcsec;
    ASSERT_FALSE(paddleOn());
    Sim().ResetMount();
    rec.calls.clear();
    onStar(1, chart().mnuPoint);  // goto Deneb
    const auto& g = shared.altgoto;
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(shared.equa.GotoRA, 12416);
    EXPECT_EQ(shared.equa.GotoDec, 27335);
    EXPECT_LT(std::abs(shared.pos.AzimuthArcsec - g.GotoTargetAz), 120);
    EXPECT_LT(std::abs(shared.pos.AltitudeArcsec - g.GotoTargetAlt), 120);
    // The mount itself went there.
    EXPECT_LT(std::abs(az0 + Sim().AzSteps() * shared.site.AzStepArcsec - g.GotoTargetAz),
              120 + 2 * shared.site.AzStepArcsec);
    EXPECT_LT(std::abs(alt0 + Sim().AltSteps() * shared.site.AltStepArcsec - g.GotoTargetAlt),
              120 + 2 * shared.site.AltStepArcsec);
    EXPECT_TRUE(paddleOn()) << "a goto ends with the paddle on, even when it was off";
    EXPECT_TRUE(frminterface().Timer->isActive());
    EXPECT_EQ(Sim().DataLatch(), 0);
    EXPECT_EQ(shared.drive.LastPortOutput, 0);
    EXPECT_EQ(coord().TwipsWidth(), 5745);
    EXPECT_EQ(g.StopGoto, vb::False);
    EXPECT_FALSE(g.GotoRunning);
    EXPECT_FALSE(forms::Loaded<FrmDepl>());
    // Each pass drew the telescope's mark; the last one is on Deneb.
    const QStringList marks = rec.Of("circle").filter(" r150 ");
    ASSERT_FALSE(marks.isEmpty());
    double x = 0, y = 0;
    chart().NewCoord(12416, 27335, x, y);
    const QStringList at = marks.last().split(' ')[1].split(',');
    EXPECT_NEAR(at[0].toDouble(), x, 30) << marks.last().toStdString();
    EXPECT_NEAR(at[1].toDouble(), y, 30) << marks.last().toStdString();
}

TEST_F(ChartGoto, StopDuringAChartGoto) {
    for (int k : {5, 300}) {
        SCOPED_TRACE(k);
        onStar(0, chart().mnureinit);
        const double az0 = shared.pos.AzimuthArcsec;
        Sim().ResetMount();
        int pauses = 0;
        seams::SetDoEvents([&] {
            if (++pauses == 2 * k) coord().cmstoppointage->click();
        });
        onStar(1, chart().mnuPoint);
        seams::SetDoEvents({});
        EXPECT_LT(std::abs(Sim().AzSteps()) + std::abs(Sim().AltSteps()), k + 2);
        EXPECT_NEAR(shared.pos.AzimuthArcsec, az0 + Sim().AzSteps() * shared.site.AzStepArcsec, 1e-6)
            << "the counters are where the mount is";
        EXPECT_EQ(shared.altgoto.StopGoto, vb::False);
        EXPECT_FALSE(shared.altgoto.GotoRunning);
        EXPECT_TRUE(paddleOn());
        EXPECT_EQ(coord().TwipsWidth(), 5745);
    }
}

TEST_F(ChartGoto, AStopPressedBeforeTheGotoDoesNotHoldItUp) {
    onStar(0, chart().mnureinit);
    coord().cmstoppointage->click();
    ASSERT_EQ(shared.altgoto.StopGoto, vb::True);
    onStar(1, chart().mnuPoint);
    EXPECT_LT(std::abs(shared.pos.AzimuthArcsec - shared.altgoto.GotoTargetAz), 120);
    EXPECT_NE(Sim().AzSteps(), 0);
}

TEST_F(ChartGoto, AltazimuthPointingDoesNothingOutsideThePointingRoleOrDuringAnotherGoto) {
    struct Case {
        const char* what;
        int16_t altaz, chartShown;
        bool gotoRunning;
    } cases[] = {
        {"chart in its initialisation role", vb::True, vb::False, false},
        {"another goto under way", vb::True, vb::True, true},
    };
    onStar(0, chart().mnureinit);
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        shared.win.AltazMode = k.altaz;
        shared.win.SkyChartShown = k.chartShown;
        shared.altgoto.GotoRunning = k.gotoRunning;
        const bool paddle = paddleOn();
        const auto writes = Writes().size();
        const double gotoRA = shared.equa.GotoRA;
        onStar(1, chart().mnuPoint);
        EXPECT_EQ(Writes().size(), writes) << "nothing sent to the port";
        EXPECT_EQ(paddleOn(), paddle);
        EXPECT_EQ(coord().TwipsWidth(), 5745) << "the coordinates window is not widened";
        EXPECT_EQ(shared.equa.GotoRA, gotoRA);
        shared.altgoto.GotoRunning = false;
    }
}
