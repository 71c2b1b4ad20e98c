#include "altaz/frmaltazpointage.h"
#include "altaz/frmcoord.h"
#include "chart/frmCercle.h"
#include "core/state.h"
#include "equatorial/frmequapointage.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"
#include "shell/buttonpictures.h"
#include "shell/frmDepl.h"
#include "shell/frminterface.h"
#include "tests/chartrecorder.h"
#include "tests/fixture.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <functional>
#include <memory>

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

// Coordinates typed in a pointing window ("Autre...") and confirmed with "OK".
template <class Window>
void typeAndConfirm(Window& p, const char* h, const char* m, const char* d, const char* dm) {
    p.lbCatalogue->setCurrentRow(0);  // "Autre..."
    p.tAD[0]->setText(h);
    p.tAD[1]->setText(m);
    p.tDec[0]->setText(d);
    p.tDec[1]->setText(dm);
    p.bOK_Click();
}

class ChartGoto : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseShippedData();
        WriteData("vstar.cat", QString(kStars));
        WriteData("vconst.cat", QString("0,1\r\n"));
        // 200 steps and 1:120: 27 arc-seconds a pulse; gotos of a few thousand pulses.
        WriteData("config_altaz.ini", QByteArray("2\r\n20\r\n48\r\n50\r\n200\r\n200\r\n120000\r\n120000\r\n"));
        WriteData("vitessealtaz.ini", QByteArray("1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n"));
        clock = {2026, 12, 10, 21, 0, 0, 0, false};
        frminterface().MDIForm_Load();
        frminterface().show();
        OpenChart();
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
    // The mount chosen and the chart opened as the user does.
    virtual void OpenChart() {
        frminterface().barchoix_ButtonClick(2);  // "Mode altazimutal"
        frminterface().ToggleSkyChart();         // "constellations"
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
    // Where the last telescope mark (the circle of radius 150) was drawn.
    QPointF lastMark() const {
        const QStringList marks = rec.Of("circle").filter(" r150 ");
        if (marks.isEmpty()) return {-1, -1};
        const QStringList at = marks.last().split(' ')[1].split(',');
        return {at[0].toDouble(), at[1].toDouble()};
    }
    // The telescope mark of the chart's last drawing (after its last clear);
    // (-1, -1) when that drawing has none or nothing was drawn.
    QPointF markOfLastDrawing() const {
        const int clear = static_cast<int>(rec.calls.lastIndexOf("clear"));
        if (clear < 0) return {-1, -1};
        const QStringList marks = rec.calls.mid(clear).filter(" r150 ");
        if (marks.isEmpty()) return {-1, -1};
        const QStringList at = marks.last().split(' ')[1].split(',');
        return {at[0].toDouble(), at[1].toDouble()};
    }
    QPointF onChart(double ra, double dec) {
        double x = 0, y = 0;
        chart().NewCoord(ra, dec, x, y);
        return {x, y};
    }

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
    EXPECT_EQ(port::LastPortOutput(), 0);
    EXPECT_EQ(coord().TwipsWidth(), 5745);
    EXPECT_EQ(g.StopGoto, vb::False);
    EXPECT_FALSE(g.GotoRunning);
    EXPECT_FALSE(forms::Loaded<FrmDepl>());
    // Each pass drew the telescope's mark; the last one is on Deneb.
    const QPointF deneb = onChart(12416, 27335);
    EXPECT_NEAR(lastMark().x(), deneb.x(), 30) << rec.Text();
    EXPECT_NEAR(lastMark().y(), deneb.y(), 30) << rec.Text();
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

TEST_F(ChartGoto, TheTelescopeMarkFollowsTheGotosAndSyncsOfThePointingWindows) {
    // M 31 and M 45, high in the sky; the mark starts on Capella.
    WriteData("messier.cat", QString("\"M 31\",\"GL\",442,24849\r\n\"M 45\",\"OC\",2277,14488\r\n"));
    const auto coordinatesOn = [this](int row) {
        coord().lbCatalogue->setCurrentRow(0);
        coord().lbCatalogue->setCurrentRow(1);  // "Objets Messier", read again
        coord().lbObjets->setCurrentRow(row);
    };
    struct Case {
        const char* what;
        std::function<void()> action;
        double ra, dec;
    } cases[] = {
        {"coordinates window, sync", [&] { coordinatesOn(0); coord().cmdreinit_Click(); }, 442, 24849},
        {"coordinates window, goto", [&] { coordinatesOn(1); coord().cmdpointage_Click(); }, 2277, 14488},
        {"pointing window, goto",
         [] {
             Frmaltazpointage& p = frmaltazpointage();
             p.lbCatalogue->setCurrentRow(2);
             p.lbObjets->setCurrentRow(0);
             p.lbObjets_DblClick();
         },
         442, 24849},
        {"pointing window, typed position",
         [] { typeAndConfirm(frmaltazpointage(), "3", "47.7", "24", "8.8"); }, 2277, 14488},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        onStar(0, chart().mnureinit);  // Capella
        rec.calls.clear();
        k.action();
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        const QPointF there = onChart(k.ra, k.dec);
        EXPECT_NEAR(markOfLastDrawing().x(), there.x(), 30) << rec.Text();
        EXPECT_NEAR(markOfLastDrawing().y(), there.y(), 30);
    }
}

namespace {

// The chart opened for a sync by the equatorial pointing window, on a mount of
// 200 steps and 1:100 on both axes: a right-ascension pulse moves 0.36 tenths
// of a time-minute, a declination pulse 5.4 tenths of an arc-minute.
class EquaChartGoto : public ChartGoto {
protected:
    void OpenChart() override {
        WriteData("config_equa.ini", QByteArray("200\r\n200\r\n100\r\n100\r\n"));
        frminterface().barchoix_ButtonClick(1);  // "Mode équatorial"
        shared.drive.EquaSpeedTable = {};          // no waiting between writes
        pointing().Show();
        pointing().Picinit_MouseUp();  // the chart for a sync
    }
    Frmequapointage& pointing() { return frmequapointage(); }
    // The chart back in its sync role, then a sync on Capella (3198, 27600).
    void SyncOnCapella() {
        pointing().Picinit_MouseUp();
        onStar(0, chart().mnuPoint);
    }
    // Runs `action` once, during pulse k (1-based) of the goto.
    void AtPulse(int k, std::function<void()> action) {
        auto events = std::make_shared<int>(0);
        seams::SetDoEvents([events, k, action] {
            if (++*events == 2 * k - 1) action();
        });
    }
};

}  // namespace

TEST_F(EquaChartGoto, ASyncAimsTheTelescopeAtThePickAndTurnsTheChartToPointing) {
    ASSERT_EQ(chart().mnuPoint->text(), "Initialisation");
    ASSERT_EQ(shared.win.SkyChartShown, vb::False);
    ASSERT_EQ(shared.win.ShowTelescope, vb::False);
    pointing().picpointage->setEnabled(false);
    ASSERT_TRUE(pointing().lbCatalogue->isHidden()) << "no catalogue before the position is known";
    const auto writes = Writes().size();
    rec.calls.clear();
    onStar(2, chart().mnuPoint);  // DELTA Ori, 3327 -2735
    EXPECT_EQ(Writes().size(), writes) << "a sync moves nothing";
    EXPECT_FALSE(pointing().lbCatalogue->isHidden()) << "the catalogues are offered, as after a star's sync";
    EXPECT_FALSE(pointing().lbObjets->isHidden());
    EXPECT_EQ(shared.equa.TelescopeRA, 3327);
    EXPECT_EQ(shared.equa.TelescopeDec, -2735);
    EXPECT_EQ(pointing().tADpos->text(), "5h32.7'");
    EXPECT_EQ(pointing().tdcpos->text(), "-4°33.5'");
    EXPECT_EQ(shared.win.ShowTelescope, vb::True);
    EXPECT_TRUE(pointing().picpointage->isEnabled());
    EXPECT_EQ(chart().mnuPoint->text(), "Pointage");
    EXPECT_EQ(shared.win.SkyChartShown, vb::True);
    EXPECT_EQ(shared.win.AltazMode, vb::False);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    // Redrawn with the telescope's mark, in red, on the star.
    const int clear = static_cast<int>(rec.calls.lastIndexOf("clear"));
    ASSERT_GE(clear, 0);
    const QStringList marks = rec.calls.mid(clear).filter(" r150 ");
    ASSERT_EQ(marks.size(), 1) << rec.Text();
    EXPECT_TRUE(marks[0].contains("(255,0,0)")) << marks[0].toStdString();
    const QPointF star = onChart(3327, -2735);
    EXPECT_NEAR(lastMark().x(), star.x(), 0.01);
    EXPECT_NEAR(lastMark().y(), star.y(), 0.01);
}

TEST_F(EquaChartGoto, AGotoFromTheChartMovesTheMountByTheDifference) {
    struct Case {
        int star;
        int64_t raSteps, decSteps;  // signed as the simulated mount counts them
        const char* ra;
        const char* dec;
    } cases[] = {
        // From Capella (3198, 27600); the position shown is where the pulses
        // took the telescope, within a pulse or two of the star.
        {5, 2228, 4606, "6h40.01'", "4°32.76'"},     // +802: n 2227, east; -24865: n 4605, south
        {2, 359, 5619, "5h32.72'", "-4°34.26'"},     // +129: n 358; -30335: n 5618
        {3, -8607, 5168, "0h9.95'", "0°-30.72'"},    // -3098: n 8606, west; -27900: n 5167
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.star);
        SyncOnCapella();
        ASSERT_EQ(shared.win.SkyChartShown, vb::True);
        Sim().ResetMount();
        rec.calls.clear();
        onStar(k.star, chart().mnuPoint);
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        EXPECT_EQ(Sim().AzSteps(), k.raSteps);
        EXPECT_EQ(Sim().AltSteps(), k.decSteps);
        EXPECT_EQ(shared.equa.GotoRA, chart().starAD[k.star]);
        EXPECT_EQ(shared.equa.GotoDec, chart().starDec[k.star]);
        // The telescope is where the pulses took it (north is the
        // declination's direction line low).
        const double ra = 3198 + static_cast<double>(k.raSteps) * 0.36;
        const double dec = 27600 - static_cast<double>(k.decSteps) * 5.4;
        EXPECT_NEAR(shared.equa.TelescopeRA, ra, 1e-9);
        EXPECT_NEAR(shared.equa.TelescopeDec, dec, 1e-9);
        EXPECT_LE(std::fabs(shared.equa.TelescopeRA - chart().starAD[k.star]), 2 * 0.36);
        EXPECT_LE(std::fabs(shared.equa.TelescopeDec - chart().starDec[k.star]), 2 * 5.4);
        EXPECT_EQ(pointing().tADpos->text(), QString::fromUtf8(k.ra));
        EXPECT_EQ(pointing().tdcpos->text(), QString::fromUtf8(k.dec));
        EXPECT_EQ(chart().mnuPoint->text(), "Pointage") << "the chart stays in its pointing role";
        EXPECT_EQ(shared.win.SkyChartShown, vb::True);
        EXPECT_FALSE(forms::Loaded<FrmDepl>());
        EXPECT_FALSE(shared.altgoto.GotoRunning);
        const QPointF there = onChart(ra, dec);
        EXPECT_NEAR(lastMark().x(), there.x(), 0.01) << rec.Text();
        EXPECT_NEAR(lastMark().y(), there.y(), 0.01);
    }
}

TEST_F(EquaChartGoto, AStopLeavesTheTelescopeWhereItGotAndTheChartForASync) {
    struct Case {
        const char* what;
        int pulse;
        int64_t raSteps, decSteps;
        double ra, dec;
        const char* raText;
        const char* decText;
    } cases[] = {
        {"during the right ascension", 10, 10, 0, 3198 + 10 * 0.36, 27600, "5h20.16'", "46°0'"},
        {"during the declination", 2228 + 5, 2228, 5, 3198 + 2228 * 0.36, 27600 - 5 * 5.4, "6h40.01'", "45°57.3'"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        SyncOnCapella();
        Sim().ResetMount();
        AtPulse(k.pulse, [] { frmDepl().cmstoppointage->click(); });
        onStar(5, chart().mnuPoint);  // MU Aur, 4000 2735
        seams::SetDoEvents({});
        EXPECT_EQ(Sim().AzSteps(), k.raSteps);
        EXPECT_EQ(Sim().AltSteps(), k.decSteps);
        EXPECT_NEAR(shared.equa.TelescopeRA, k.ra, 1e-9);
        EXPECT_NEAR(shared.equa.TelescopeDec, k.dec, 1e-9);
        EXPECT_EQ(pointing().tADpos->text(), k.raText);
        EXPECT_EQ(pointing().tdcpos->text(), k.decText);
        EXPECT_EQ(shared.altgoto.StopGoto, vb::False);
        EXPECT_FALSE(forms::Loaded<FrmDepl>());
        EXPECT_EQ(chart().mnuPoint->text(), "initialisation");
        EXPECT_EQ(shared.win.SkyChartShown, vb::False);
        const QPointF reached = onChart(k.ra, k.dec);
        EXPECT_NEAR(lastMark().x(), reached.x(), 0.01);
        EXPECT_NEAR(lastMark().y(), reached.y(), 0.01);

        // The next pick is a sync again, and the chart points after it.
        Sim().ResetMount();
        onStar(5, chart().mnuPoint);
        EXPECT_EQ(Sim().AzSteps(), 0);
        EXPECT_EQ(Sim().AltSteps(), 0);
        EXPECT_EQ(shared.equa.TelescopeRA, 4000);
        EXPECT_EQ(shared.equa.TelescopeDec, 2735);
        EXPECT_EQ(chart().mnuPoint->text(), "Pointage");
        EXPECT_EQ(shared.win.SkyChartShown, vb::True);
    }
}

TEST_F(EquaChartGoto, ThePaddleRestsDuringAChartGotoAndComesBackAfter) {
    SyncOnCapella();
    frminterface().Timer->start();
    bool polledDuring = true;
    AtPulse(3, [&] { polledDuring = frminterface().Timer->isActive(); });
    onStar(5, chart().mnuPoint);
    seams::SetDoEvents({});
    EXPECT_FALSE(polledDuring);
    EXPECT_TRUE(frminterface().Timer->isActive());
    EXPECT_EQ(Sim().DataLatch(), 0) << "the data register is cleared for the paddle";
}

TEST_F(EquaChartGoto, EmptySkyARunningGotoOrUnusableMechanicsMoveNothing) {
    struct Case {
        const char* what;
        bool pointingRole;
        bool emptySky;
        bool gotoRunning;
        const char* mechanics;
        int messageCount;
    } cases[] = {
        {"empty sky, sync role", false, true, false, nullptr, 0},
        {"empty sky, pointing role", true, true, false, nullptr, 0},
        {"another goto under way, sync role", false, false, true, nullptr, 0},
        {"another goto under way, pointing role", true, false, true, nullptr, 0},
        {"zero declination steps, pointing role", true, false, false, "200\r\n0\r\n100\r\n100\r\n", 1},
    };
    int16_t index = 0, kind = 0;
    chart().Cherche(0, 0, index, kind);
    ASSERT_EQ(kind, -1) << "the chart's corner is empty sky";
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        SyncOnCapella();
        if (!k.pointingRole) pointing().Picinit_MouseUp();
        if (k.mechanics) WriteData("config_equa.ini", QByteArray(k.mechanics));
        const QString caption = chart().mnuPoint->text();
        const int16_t role = shared.win.SkyChartShown;
        const auto writes = Writes().size();
        const QString raText = pointing().tADpos->text();
        messages.clear();
        shared.altgoto.GotoRunning = k.gotoRunning;
        if (k.emptySky) {
            chart().Form_MouseDown(2, 0, 0, 0);  // the menu shows "aucun objet"
            chart().Form_MouseDown(1, 0, 0, 0);
            chart().mnuPoint_Click();
        } else {
            onStar(5, chart().mnuPoint);
        }
        shared.altgoto.GotoRunning = false;
        EXPECT_EQ(messages.size(), k.messageCount) << messages.join('\n').toStdString();
        EXPECT_EQ(Writes().size(), writes) << "nothing sent to the port";
        EXPECT_FALSE(forms::Loaded<FrmDepl>());
        EXPECT_EQ(shared.equa.TelescopeRA, 3198);
        EXPECT_EQ(shared.equa.TelescopeDec, 27600);
        EXPECT_EQ(pointing().tADpos->text(), raText);
        EXPECT_EQ(chart().mnuPoint->text(), caption);
        EXPECT_EQ(shared.win.SkyChartShown, role);
        WriteData("config_equa.ini", QByteArray("200\r\n200\r\n100\r\n100\r\n"));
    }
}

TEST_F(EquaChartGoto, TheTelescopeMarkFollowsTheSyncsAndGotosOfThePointingWindow) {
    struct Case {
        const char* what;
        std::function<void(Frmequapointage&)> action;
    } cases[] = {
        {"sync on a reference star",
         [](Frmequapointage& p) {
             p.lbEtoiles->setCurrentRow(1);
             p.lbEtoiles_DblClick();
         }},
        {"goto of a catalogue object",
         [](Frmequapointage& p) {
             p.lbCatalogue->setCurrentRow(1);  // "Objets Messier"
             p.lbObjets->setCurrentRow(0);
             p.lbObjets_DblClick();
         }},
        {"goto of typed coordinates",
         [](Frmequapointage& p) { typeAndConfirm(p, "5", "34", "22", "1"); }},
    };
    for (bool pointingRole : {false, true}) {
        for (const auto& k : cases) {
            SCOPED_TRACE(std::string(k.what) + (pointingRole ? ", chart pointing" : ", chart for a sync"));
            SyncOnCapella();
            if (pointingRole) pointing().picpointage_MouseUp();
            else pointing().Picinit_MouseUp();
            rec.calls.clear();
            k.action(pointing());
            EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
            ASSERT_NE(shared.equa.TelescopeRA, 3198) << "the telescope moved off Capella";
            const QPointF there = onChart(shared.equa.TelescopeRA, shared.equa.TelescopeDec);
            EXPECT_NEAR(markOfLastDrawing().x(), there.x(), 0.01) << rec.Text();
            EXPECT_NEAR(markOfLastDrawing().y(), there.y(), 0.01);
        }
    }
}

TEST_F(EquaChartGoto, ThePointingWindowClosedAnyWayClosesTheChart) {
    struct Case {
        const char* what;
        std::function<void(Frmequapointage&)> close;
    } cases[] = {
        {"\"Quitter\"", [](Frmequapointage& p) { p.Cmdquit->click(); }},
        {"its menu item", [](Frmequapointage& p) { p.mnuquit->trigger(); }},
        {"its title bar", [](Frmequapointage& p) { p.parentWidget()->close(); }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        pointing().Show();
        SyncOnCapella();
        ASSERT_TRUE(chart().Shown());
        k.close(pointing());
        EXPECT_FALSE(forms::Loaded<Frmequapointage>());
        EXPECT_FALSE(forms::Loaded<FrmCercle>()) << "no chart is left to point from";
        QCoreApplication::processEvents();
        // The toolbar opens the pointing window again, in sight.
        frminterface().barequa_ButtonClick(4);
        EXPECT_TRUE(pointing().Shown());
        pointing().Picinit_MouseUp();
        chart().SetCanvas(&rec);
    }
}
