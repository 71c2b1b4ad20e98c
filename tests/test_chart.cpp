#include "chart/frmCercle.h"
#include "chart/frmLegend.h"
#include "core/state.h"
#include "platform/datadir.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"
#include "tests/chartrecorder.h"
#include "tests/fixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <cmath>
#include <functional>

namespace {

// Three chart stars: one at the pole, one at 45 degrees and RA 0 (6750, 4500
// at 1:1), one on the equator at 6 h (4500, 9000 at 1:1); two lines.
const char* const kStars =
    "\"MU\",\"UMa\",0,54000\r\n"
    "\"DELTA\",\"Lyr\",0,27000\r\n"
    "\"ALPHA\",\"Ori\",3600,0\r\n";
const char* const kLines = "0,1\r\n1,2\r\n";
const char* const kConst = "\"UMa\",\"Ursa Major\"\r\n\"Lyr\",\"Lyra\"\r\n\"Lyr\",\"Lyre\"\r\n";
// At 1:1: M 1 (a star group) at (4500, 7500) on RA 6 h, dec 30; M 2 (a
// galaxy) at (1500, 4500); M 3 (an open cluster) at (4499, 1500); M 4 (a
// globular cluster) at (6000, 4500); M 5 (a planetary nebula) at (4500,
// 6000); M 6 (a diffuse nebula) at (3000, 4500).
const char* const kMessier =
    "\"M 1\",\"ST\",3600,18000\r\n"
    "\"M 2\",\"GL\",7200,18000\r\n"
    "\"M 3\",\"OC\",10800,18000\r\n"
    "\"M 4\",\"GC\",0,36000\r\n"
    "\"M 5\",\"PN\",3600,36000\r\n"
    "\"M 6\",\"DN\",7200,36000\r\n";

class Chart : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        WriteData("vstar.cat", QString(kStars));
        WriteData("vconst.cat", QString(kLines));
        WriteData("const.cat", QString(kConst));
        WriteData("messier.cat", QString(kMessier));
        ui::SetPopupHook([this](QMenu* m) {
            popups << mnu().mnuNom->text();
            pointEnabled << mnu().mnuPoint->isEnabled();
            reinitEnabled << mnu().mnureinit->isEnabled();
            defaults << (m->defaultAction() ? m->defaultAction()->objectName() : QString());
            if (choose) choose->trigger();
        });
    }
    void TearDown() override {
        ui::SetPopupHook({});
        WindowTest::TearDown();
    }
    FrmCercle& mnu() { return frmCercle(); }
    // The chart shown at 1:1 (after R.A.Z), drawing on the recorder.
    FrmCercle& open() {
        FrmCercle& c = frmCercle();
        c.Show();
        c.mnuRaz->trigger();
        c.SetCanvas(&rec);
        rec.calls.clear();
        return c;
    }
    void rightClick(float x, float y) { frmCercle().Form_MouseDown(2, 0, x, y); }
    // Drops the closed windows, as the event loop does once the handler is back.
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ChartRecorder rec;
    QStringList popups;
    QList<bool> pointEnabled, reinitEnabled;
    QStringList defaults;
    QAction* choose = nullptr;
};

const QString kGrey = QStringLiteral("(160,160,160)");

}  // namespace

TEST_F(Chart, FirstLoadAppliesTheDefaultsAndDrawsAtScale4000) {
    FrmCercle& c = frmCercle();
    const auto& w = shared.win;
    EXPECT_EQ(w.ChartInitDone, vb::True);
    EXPECT_EQ(w.ChartZoom, 1);
    EXPECT_EQ(w.ChartFilter, 1);
    EXPECT_EQ(w.ChartShowConst, vb::True);
    EXPECT_EQ(w.ChartShowRepere, vb::True);
    EXPECT_EQ(w.ChartRotation, 0);
    EXPECT_EQ(w.ChartCatalogue, "messier");
    EXPECT_EQ(w.ChartLabels, vb::False);
    double x = 0, y = 0;
    c.NewCoord(0, 0, x, y);
    EXPECT_EQ(x, 8500) << "declination 0 at radius 4000 on the first opening";
    EXPECT_EQ(c.windowTitle(), "Visualisation graphique [1:1]");
    EXPECT_EQ(c.mnuZ->title(), "Zoom (1:1)");
    EXPECT_FALSE(c.Shown()) << "touching the chart loads it without showing it";
    c.mnuZoom_Click(1);
    c.NewCoord(0, 0, x, y);
    EXPECT_EQ(x, 9000) << "any zoom change: 4500 per zoom step";
}

TEST_F(Chart, MenuItemsAndTheirCheckMarks) {
    FrmCercle& c = frmCercle();
    EXPECT_EQ(c.mnuName->title(), "pointage automatique (graphique)");
    // A menu's items, "-" for a separator and "*" after a checked one.
    const auto listed = [](const QMenu* m) {
        QStringList items;
        for (QAction* a : m->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text() + (a->isChecked() ? "*" : ""));
        return items.join(" | ");
    };
    EXPECT_EQ(listed(c.mnuName),
              "? | - | Repère* | Constellations* | Objets | - | Zoom (1:1) | Rotation | Ré(initialisation) | Opération");
    EXPECT_EQ(listed(c.mnuObjets), "Type | Aucun | Tous* | Galaxies | Amas | Nébuleuses");
    EXPECT_EQ(listed(c.mnuTyp),
              "Messier* | IC | NGC0xxx | NGC1xxx | NGC2xxx | NGC3xxx | NGC4xxx | NGC5xxx | NGC6xxx | NGC7xxx");
    EXPECT_EQ(listed(c.mnuZ), "R.A.Z | 1:1* | 2:1 | 3:1 | 4:1 | 5:1 | 6:1 | 7:1");
    EXPECT_EQ(listed(c.mnuRot), "+ 10° | - 10°");
    // The close item is in the window's menu bar and can be seen.
    EXPECT_EQ(c.menuBar->actions(), QList<QAction*>{c.mnuquit});
    EXPECT_FALSE(c.mnuquit->text().trimmed().isEmpty());
    EXPECT_EQ(c.bEsc->text(), "Fin");
    EXPECT_EQ(c.Label1Caption(), "8");
}

TEST_F(Chart, RedrawDrawsTheLayersInOrderWithTheirColours) {
    FrmCercle& c = open();
    shared.win.ShowTelescope = vb::True;
    shared.equa.TelescopeRA = 0;
    shared.equa.TelescopeDec = 27000;  // on the star at (6750, 4500)
    c.RedrawChart();
    const QStringList expected = {
        "clear",
        // Reference marks: fixed radii about the centre.
        "circle 4500,4500 r4500 (160,160,160) fill (160,160,160) transparent",
        "circle 4500,4500 r3000 (160,160,160) fill (160,160,160) transparent",
        "circle 4500,4500 r1500 (160,160,160) fill (160,160,160) transparent",
        "line 0,4500 9000,4500 (160,160,160)",
        "line 4500,0 4500,9000 (160,160,160)",
        // The telescope, drawn after the marks: a transparent inside.
        "circle 6750,4500 r150 (255,0,0) fill (0,0,0) transparent",
        "line 6800,4500 6900,4500 (255,0,0)",
        "line 6600,4500 6700,4500 (255,0,0)",
        "line 6750,4550 6750,4650 (255,0,0)",
        "line 6750,4350 6750,4450 (255,0,0)",
        // Stars, no letters at 1:1.
        "circle 4500,4500 r25 (240,240,240) fill (250,250,250) solid",
        "circle 6750,4500 r25 (240,240,240) fill (250,250,250) solid",
        "circle 4500,9000 r25 (240,240,240) fill (250,250,250) solid",
        // Constellation lines.
        "line 4500,4500 6750,4500 (160,160,220)",
        "line 6750,4500 4500,9000 (160,160,220)",
        // Objects, all types: radius 30; the star group first takes the stars' colours.
        "circle 4500,7500 r30 (240,240,240) fill (250,250,250) solid",
        "circle 1500,4500 r30 (0,255,0) fill (0,255,0) solid",
        "circle 4499,1500 r30 (250,140,0) fill (0,0,0) solid",  // 18 h: cos 270 degrees is a hair below 0, floored to -1
        "circle 6000,4500 r30 (250,140,0) fill (250,140,0) solid",
        "circle 4500,6000 r30 (250,0,220) fill (0,0,0) solid",
        "circle 3000,4500 r30 (250,0,220) fill (250,0,220) solid",
    };
    EXPECT_EQ(rec.Text(), ChartRecorder::Text(expected));
}

TEST_F(Chart, WhatEachSettingLeavesOutOrChanges) {
    struct Case {
        const char* what;
        std::function<void(FrmCercle&)> set;
        QStringList expected;  // the drawing after the clear and the three stars, with the marks off
    } cases[] = {
        {"an unknown type after a galaxy takes the galaxy's colours",
         [&](FrmCercle&) {
             WriteData("messier.cat", QString("\"M 2\",\"GL\",7200,18000\r\n\"M 1\",\"ST\",3600,18000\r\n"));
         },
         {"circle 1500,4500 r30 (0,255,0) fill (0,255,0) solid", "circle 4500,7500 r30 (0,255,0) fill (0,255,0) solid"}},
        {"galaxies only: radius 35", [](FrmCercle& c) { c.mnuGalaxie->trigger(); },
         {"circle 1500,4500 r35 (0,255,0) fill (0,255,0) solid"}},
        {"clusters only: radius 40", [](FrmCercle& c) { c.mnuAmas->trigger(); },
         {"circle 4499,1500 r40 (250,140,0) fill (0,0,0) solid", "circle 6000,4500 r40 (250,140,0) fill (250,140,0) solid"}},
        {"nebulae only: radius 45", [](FrmCercle& c) { c.mnuNebuleuse->trigger(); },
         {"circle 4500,6000 r45 (250,0,220) fill (0,0,0) solid", "circle 3000,4500 r45 (250,0,220) fill (250,0,220) solid"}},
        {"no objects", [](FrmCercle& c) { c.mnuaucun->trigger(); }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FrmCercle& chart = open();
        shared.win.ChartShowRepere = vb::False;
        shared.win.ChartShowConst = vb::False;
        c.set(chart);
        rec.calls.clear();
        chart.RedrawChart();
        ASSERT_GE(rec.calls.size(), 4);
        EXPECT_EQ(ChartRecorder::Text(rec.calls.mid(4)), ChartRecorder::Text(c.expected));
        forms::UnloadAll();
        settle();
        shared.win.ChartFilter = 1;
        WriteData("messier.cat", QString(kMessier));
    }
}

TEST_F(Chart, GreekLettersFromZoom4On) {
    struct Case {
        int16_t zoom;
        QStringList prints;
    } cases[] = {
        {3, {}},
        // Scale 18000: DELTA at 45 degrees lies 9000 right of the pole; ALPHA has no letter.
        {4, {"print 4550,4550 m (240,240,240) Symbol 12", "print 13550,4550 d (240,240,240) Symbol 12"}},
        {7, {"print 4550,4550 m (240,240,240) Symbol 12", "print 20300,4550 d (240,240,240) Symbol 12"}},
    };
    FrmCercle& c = open();
    for (const auto& k : cases) {
        rec.calls.clear();
        c.mnuZoom_Click(k.zoom);
        EXPECT_EQ(ChartRecorder::Text(rec.Of("print")), ChartRecorder::Text(k.prints)) << k.zoom;
    }
    rec.calls.clear();
    c.mnuRaz->trigger();
    EXPECT_EQ(shared.win.ChartLabels, vb::False) << "R.A.Z turns the letters off even from 7:1";
    EXPECT_TRUE(rec.Of("print").isEmpty());
}

TEST_F(Chart, TelescopeMarkOnlyWhenShowTelescopeIsTrue) {
    for (int16_t show : {vb::True, vb::False, int16_t(1), int16_t(-2)}) {
        FrmCercle& c = open();
        shared.win.ShowTelescope = show;
        c.RedrawChart();
        EXPECT_EQ(rec.calls.filter(" r150 ").size(), show == vb::True ? 1 : 0) << show;
    }
}

TEST_F(Chart, MarksDrawnOverTheStarsHaveABlackInside) {
    FrmCercle& c = open();
    shared.equa.GotoRA = 0;
    shared.equa.GotoDec = 27000;
    shared.altgoto.SlewRA = 3600;
    shared.altgoto.SlewDec = 0;
    c.RedrawChart();  // ends with the objects: fill style solid
    rec.calls.clear();
    c.DrawTeles1();
    c.DrawTeles2();
    EXPECT_EQ(ChartRecorder::Text(rec.Of("circle")), "circle 6750,4500 r150 (255,0,0) fill (0,0,0) solid\n"
                                                     "circle 4500,9000 r150 (255,0,0) fill (0,0,0) solid");
    EXPECT_EQ(rec.calls.size(), 10) << "a ring and four ticks each, nothing cleared";
}

TEST_F(Chart, ThePictureShowsWhatWasDrawn) {
    FrmCercle& c = frmCercle();
    c.Show();
    c.mnuRaz->trigger();
    shared.equa.GotoRA = 7200;
    shared.equa.GotoDec = 27000;  // (2250, 4500)
    c.DrawTeles1();
    const QImage& p = c.Picture();
    ASSERT_EQ(p.size(), QSize(602, 602));
    const auto at = [&](int x, int y) { return ChartRecorder::rgb(p.pixelColor(x / 15, y / 15)); };
    // A one-pixel line or outline: somewhere among the pixel and its neighbours.
    const auto near = [&](int x, int y) {
        QStringList seen;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) seen << ChartRecorder::rgb(p.pixelColor(x / 15 + dx, y / 15 + dy));
        return seen;
    };
    EXPECT_TRUE(near(6765, 4500).contains("(250,250,250)")) << "a star's disc";
    EXPECT_TRUE(near(5625, 4500).contains("(160,160,220)")) << "a constellation line";
    EXPECT_EQ(at(1500, 4500), "(0,255,0)") << "a galaxy";
    EXPECT_EQ(at(3000, 4500), "(250,0,220)") << "a diffuse nebula";
    EXPECT_TRUE(near(4500, 3000).contains(kGrey)) << "a reference circle";
    EXPECT_TRUE(near(7500, 4500).contains(kGrey)) << "a reference circle";
    EXPECT_EQ(at(2250 + 105, 4500), "(255,0,0)") << "the target's reticle";
    EXPECT_EQ(at(2250, 4500 + 105), "(255,0,0)");
    EXPECT_EQ(at(2250 + 15, 4500 + 30), "(0,0,0)") << "the gap at the reticle's centre";
    EXPECT_EQ(at(7500, 7500), "(0,0,0)") << "black sky";
    // Drawing more without clearing adds to the picture.
    shared.equa.GotoRA = 0;
    shared.equa.GotoDec = 54000;
    c.DrawTeles1();
    EXPECT_EQ(at(2250 + 105, 4500), "(255,0,0)");
    EXPECT_EQ(at(4500 + 105, 4500), "(255,0,0)");
    c.RedrawChart();
    EXPECT_EQ(at(2250, 4500 + 105), "(0,0,0)") << "a redraw clears the marks";
}

TEST_F(Chart, HiddenOrUnloadedChartDrawsNothingAndShowsNothing) {
    ASSERT_FALSE(forms::Loaded<FrmCercle>());
    frmCercle().DrawTeles2();
    EXPECT_TRUE(forms::Loaded<FrmCercle>());
    FrmCercle& c = frmCercle();
    c.SetCanvas(nullptr);
    c.RedrawChart();
    c.DrawTeles1();
    c.DrawStar();
    c.DrawConstel();
    c.DrawObjets();
    c.DrawRep();
    EXPECT_FALSE(c.Shown());
    EXPECT_EQ(c.starCount, 0) << "nothing read while nobody sees the chart";
    c.Show();
    EXPECT_EQ(c.starCount, 3) << "shown: drawn at once";
    QStringList seen;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) seen << ChartRecorder::rgb(c.Picture().pixelColor(6500 / 15 + dx, 300 + dy));
    EXPECT_TRUE(seen.contains("(250,250,250)")) << "the star at 45 degrees, at scale 4000";
}

TEST_F(Chart, ZoomScalesThePanAndTheLetters) {
    FrmCercle& c = open();
    c.mnuZoom_Click(3);
    shared.win.ChartPanX = 300;
    shared.win.ChartPanY = -150;
    c.zoomItems[5]->trigger();  // "6:1"
    EXPECT_EQ(shared.win.ChartPanX, 600);
    EXPECT_EQ(shared.win.ChartPanY, -300);
    EXPECT_EQ(FrmCercle::chartScale, 27000);
    EXPECT_EQ(shared.win.ChartLabels, vb::True);
    EXPECT_EQ(c.windowTitle(), "Visualisation graphique [6:1]");
    EXPECT_EQ(c.mnuZ->title(), "Zoom (6:1)");
    EXPECT_TRUE(c.zoomItems[5]->isChecked());
    EXPECT_FALSE(c.zoomItems[2]->isChecked());
    c.zoomItems[2]->trigger();  // "3:1"
    EXPECT_EQ(shared.win.ChartPanX, 300);
    EXPECT_EQ(shared.win.ChartPanY, -150);
    EXPECT_EQ(shared.win.ChartLabels, vb::False);
    // R.A.Z keeps the layers.
    c.mnuaucun->trigger();
    shared.win.ChartRotation = 40;
    c.mnuRaz->trigger();
    EXPECT_EQ(shared.win.ChartZoom, 1);
    EXPECT_EQ(shared.win.ChartPanX, 0);
    EXPECT_EQ(shared.win.ChartPanY, 0);
    EXPECT_EQ(shared.win.ChartRotation, 0);
    EXPECT_EQ(FrmCercle::chartScale, 4500);
    EXPECT_EQ(shared.win.ChartFilter, 0);
    EXPECT_TRUE(c.zoomItems[0]->isChecked());
}

TEST_F(Chart, KeysPanZoomRotateAndAlwaysRepaint) {
    struct Case {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        double panX, panY;
    } cases[] = {
        {"Shift+Right moves the drawing left", Qt::Key_Right, Qt::ShiftModifier, -500, 0},
        {"Ctrl+Shift+Right: Ctrl wins", Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier, -250, 0},
        {"Right alone", Qt::Key_Right, Qt::NoModifier, 0, 0},
        {"Shift+Left", Qt::Key_Left, Qt::ShiftModifier, 500, 0},
        {"Ctrl+Up", Qt::Key_Up, Qt::ControlModifier, 0, 250},
        {"Shift+Down", Qt::Key_Down, Qt::ShiftModifier, 0, -500},
        {"a key of no use", Qt::Key_A, Qt::NoModifier, 0, 0},
    };
    FrmCercle& c = open();
    for (const auto& k : cases) {
        shared.win.ChartPanX = 0;
        shared.win.ChartPanY = 0;
        rec.calls.clear();
        QTest::keyClick(&c, k.key, k.mods);
        EXPECT_EQ(shared.win.ChartPanX, k.panX) << k.what;
        EXPECT_EQ(shared.win.ChartPanY, k.panY) << k.what;
        EXPECT_EQ(rec.calls.value(0), "clear") << k.what << ": repainted";
    }
    // Page Up at 7:1 and Page Down at 1:1 change nothing but repaint.
    c.mnuZoom_Click(7);
    rec.calls.clear();
    QTest::keyClick(&c, Qt::Key_PageUp);
    EXPECT_EQ(shared.win.ChartZoom, 7);
    EXPECT_EQ(rec.calls.count("clear"), 1);
    QTest::keyClick(&c, Qt::Key_PageDown);
    EXPECT_EQ(shared.win.ChartZoom, 6);
    QTest::keyClick(&c, Qt::Key_Home);
    EXPECT_EQ(shared.win.ChartZoom, 1);
    rec.calls.clear();
    QTest::keyClick(&c, Qt::Key_PageDown);
    EXPECT_EQ(shared.win.ChartZoom, 1);
    EXPECT_EQ(rec.calls.count("clear"), 1);
    // End three times from 0; Delete 36 times comes back to where it was.
    for (int i = 0; i < 3; ++i) QTest::keyClick(&c, Qt::Key_End);
    EXPECT_EQ(shared.win.ChartRotation, -30);
    shared.win.ChartRotation = 0;
    for (int i = 0; i < 35; ++i) QTest::keyClick(&c, Qt::Key_Delete);
    EXPECT_EQ(shared.win.ChartRotation, 350);
    QTest::keyClick(&c, Qt::Key_Delete);
    EXPECT_EQ(shared.win.ChartRotation, 0);
    c.mnuCcw->trigger();
    EXPECT_EQ(shared.win.ChartRotation, -10);
    c.mnuCw->trigger();
    EXPECT_EQ(shared.win.ChartRotation, 0);
}

TEST_F(Chart, HomeAndRazTurnTheChartBackAfterEnd) {
    FrmCercle& c = open();
    c.RedrawChart();
    const QStringList straight = rec.calls;  // 1:1, no pan, not turned
    struct Case {
        const char* what;
        std::function<void(FrmCercle&)> reset;
    } cases[] = {
        {"Home", [](FrmCercle& f) { QTest::keyClick(&f, Qt::Key_Home); }},
        {"R.A.Z", [](FrmCercle& f) { f.mnuRaz->trigger(); }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        QTest::keyClick(&c, Qt::Key_End);
        QTest::keyClick(&c, Qt::Key_End);
        QTest::keyClick(&c, Qt::Key_PageUp);
        QTest::keyClick(&c, Qt::Key_Right, Qt::ShiftModifier);
        ASSERT_EQ(shared.win.ChartRotation, -20);
        rec.calls.clear();
        k.reset(c);
        EXPECT_EQ(shared.win.ChartRotation, 0);
        EXPECT_EQ(shared.win.ChartZoom, 1);
        EXPECT_EQ(shared.win.ChartPanX, 0);
        // The last drawing is the chart as it was before it was turned.
        const QStringList last = rec.calls.mid(static_cast<int>(rec.calls.lastIndexOf("clear")));
        EXPECT_EQ(ChartRecorder::Text(last), ChartRecorder::Text(straight));
    }
}

TEST_F(Chart, CatalogueAndTypeItems) {
    FrmCercle& c = open();
    c.catalogueItems[0]->trigger();  // "Messier", already drawn
    EXPECT_TRUE(rec.calls.isEmpty()) << "no repaint";
    EXPECT_TRUE(c.catalogueItems[0]->isChecked());
    c.mnuTous->trigger();
    c.mnuTous->trigger();
    EXPECT_EQ(rec.calls.count("clear"), 2) << "\"Tous\" repaints even when all types are drawn";
    EXPECT_TRUE(c.mnuTous->isChecked());
    WriteData("ic.cat", QString("\"IC 1\",\"GL\",0,0\r\n"));
    rec.calls.clear();
    c.catalogueItems[1]->trigger();  // "IC"
    EXPECT_EQ(shared.win.ChartCatalogue, "ic");
    EXPECT_TRUE(c.catalogueItems[1]->isChecked());
    EXPECT_FALSE(c.catalogueItems[0]->isChecked());
    EXPECT_EQ(ChartRecorder::Text(rec.Of("circle").filter(" r30 ")), "circle 9000,4500 r30 (0,255,0) fill (0,255,0) solid");
    c.mnuNebuleuse->trigger();
    EXPECT_EQ(shared.win.ChartFilter, 4);
    for (QAction* a : {c.mnuaucun, c.mnuTous, c.mnuGalaxie, c.mnuAmas})
        EXPECT_FALSE(a->isChecked()) << a->text().toStdString();
    EXPECT_TRUE(c.mnuNebuleuse->isChecked());
}

TEST_F(Chart, ReopenedChartKeepsItsViewAndCheckMarks) {
    FrmCercle& c = open();
    c.mnuConst->trigger();
    c.mnuRep->trigger();
    c.mnuAmas->trigger();
    c.mnuZoom_Click(2);
    shared.win.ChartPanX = -500;
    c.mnuCw->trigger();
    EXPECT_FALSE(c.mnuConst->isChecked());
    c.bEsc->click();
    settle();
    EXPECT_FALSE(forms::Loaded<FrmCercle>());
    FrmCercle& again = frmCercle();
    again.Show();
    EXPECT_EQ(shared.win.ChartShowConst, vb::False);
    EXPECT_FALSE(again.mnuConst->isChecked());
    EXPECT_FALSE(again.mnuRep->isChecked());
    EXPECT_TRUE(again.mnuAmas->isChecked());
    EXPECT_FALSE(again.mnuTous->isChecked());
    EXPECT_TRUE(again.zoomItems[1]->isChecked());
    EXPECT_EQ(again.windowTitle(), "Visualisation graphique [2:1]");
    double x = 0, y = 0;
    again.NewCoord(0, 54000, x, y);
    EXPECT_EQ(x, 4000);
    again.NewCoord(0, 0, x, y);
    EXPECT_EQ(y, 4500 + std::floor(9000 * std::sin(10 * 3.14159265358979 / 180))) << "scale and rotation kept";
}

TEST_F(Chart, LegendSwitchAndItsClosing) {
    FrmCercle& c = open();
    QTest::mouseClick(c.Label1, Qt::LeftButton);
    EXPECT_EQ(c.Label1Caption(), "7");
    EXPECT_EQ(c.Label1->text(), ui::WebdingsText("7"));
    EXPECT_TRUE(frmLegend().Shown());
    EXPECT_EQ(c.pickX, 0) << "a click on the label is not a click on the chart";
    QTest::mouseClick(c.Label1, Qt::LeftButton);
    EXPECT_EQ(c.Label1Caption(), "8");
    EXPECT_FALSE(forms::Loaded<FrmLegend>());
    settle();
    // Closed by its button or by its title bar: the switch reads "8" again.
    for (bool titleBar : {false, true}) {
        c.Label1_Click();
        ASSERT_EQ(c.Label1Caption(), "7");
        if (titleBar) frmLegend().close();
        else frmLegend().bFin->click();
        EXPECT_FALSE(forms::Loaded<FrmLegend>()) << titleBar;
        EXPECT_EQ(c.Label1Caption(), "8") << titleBar;
        settle();
    }
    // The legend shows the chart's marks in their colours.
    const QImage legend = FrmLegend::LegendPicture();
    QSet<QRgb> colours;
    for (int y = 0; y < legend.height(); ++y)
        for (int x = 0; x < legend.width(); ++x) colours.insert(legend.pixel(x, y) & 0xFFFFFF);
    for (QRgb k : {0x00FF00u, 0xFA8C00u, 0xFA00DCu, 0xFF0000u, 0xA0A0DCu, 0xA0A0A0u})
        EXPECT_TRUE(colours.contains(k)) << std::hex << k;
}

TEST_F(Chart, ClosingTheChart) {
    struct Case {
        const char* what;
        std::function<void(FrmCercle&)> close;
        int16_t shownAfter;
    } cases[] = {
        {"\"Fin\" keeps the pointing role", [](FrmCercle& c) { c.bEsc->click(); }, vb::True},
        {"the close item", [](FrmCercle& c) { c.mnuquit->trigger(); }, vb::False},
        {"the title bar, as the close item", [](FrmCercle& c) { c.close(); }, vb::False},
    };
    for (const auto& k : cases) {
        FrmCercle& c = open();
        shared.win.SkyChartShown = vb::True;
        k.close(c);
        EXPECT_FALSE(forms::Loaded<FrmCercle>()) << k.what;
        EXPECT_EQ(shared.win.SkyChartShown, k.shownAfter) << k.what;
        settle();
    }
}

TEST_F(Chart, RightClickNamesWhatIsUnderThePointer) {
    WriteData("vstar.cat", QString(kStars) + "\"KAPPA\",\"Xyz\",0,18000\r\n");  // (7500, 4500): not in const.cat
    WriteData("messier.cat", QString("\"M 9\",\"GL\",0,26900\r\n") + kMessier);  // (6758, 4500), next to DELTA
    shared.win.AltazMode = vb::True;
    FrmCercle& c = open();
    c.RedrawChart();
    struct Case {
        const char* what;
        float x, y;
        const char* name;
        bool operations;
        const char* defaultItem;
    } cases[] = {
        {"a star: name and the last full name of its constellation", 6750, 4530, "DELTA [Lyre].", true, "mnuNom"},
        {"a star beats a nearer object", 6760, 4500, "DELTA [Lyre].", true, "mnuNom"},
        {"an object", 1560, 4420, "M 2", true, "mnuNom"},
        {"a star group is pickable too", 4500, 7560, "M 1", true, "mnuNom"},
        {"an abbreviation missing from const.cat", 7500, 4500, "KAPPA [].", true, "mnuNom"},
        {"100 away from everything", 6650, 3000, "aucun objet", false, ""},
        {"exactly 100 away from the pole star", 4600, 4400, "aucun objet", false, ""},
    };
    for (const auto& k : cases) {
        c.Form_MouseDown(2, 0, k.x, k.y);
        ASSERT_EQ(popups.size(), 1) << k.what;
        EXPECT_EQ(popups.takeFirst(), QString::fromUtf8(k.name)) << k.what;
        EXPECT_EQ(pointEnabled.takeFirst(), k.operations) << k.what;
        EXPECT_EQ(reinitEnabled.takeFirst(), k.operations) << k.what;
        EXPECT_EQ(defaults.takeFirst(), k.defaultItem) << k.what;
        EXPECT_TRUE(c.mnuPoint->isEnabled()) << k.what << ": enabled again once the menu is closed";
        EXPECT_TRUE(c.mnureinit->isEnabled()) << k.what;
        EXPECT_EQ(c.pickX, k.x);
        EXPECT_EQ(c.pickY, k.y);
    }
    // A left click opens nothing but moves the point the operations use.
    QTest::mouseClick(c.picture, Qt::LeftButton, {}, QPoint(450, 300));
    EXPECT_TRUE(popups.isEmpty());
    EXPECT_EQ(c.pickX, 6750);
    EXPECT_EQ(c.pickY, 4500);
    QTest::mouseClick(c.picture, Qt::RightButton, {}, QPoint(450, 302));
    EXPECT_EQ(popups, QStringList{"DELTA [Lyre]."});
}

TEST_F(Chart, OnAnEquatorialMountAPickDisablesTheAltazimuthSync) {
    shared.win.AltazMode = vb::False;
    FrmCercle& c = open();
    c.RedrawChart();
    c.Form_MouseDown(2, 0, 6750, 4500);
    EXPECT_EQ(reinitEnabled.value(0), false);
    EXPECT_FALSE(c.mnureinit->isEnabled());
    c.Form_MouseDown(2, 0, 100, 100);  // empty sky
    EXPECT_FALSE(c.mnureinit->isEnabled()) << "only an alt-azimuth mount enables it again";
    EXPECT_TRUE(c.mnuPoint->isEnabled());
    shared.win.AltazMode = vb::True;
    c.Form_MouseDown(2, 0, 100, 100);
    EXPECT_TRUE(c.mnureinit->isEnabled());
}

TEST_F(Chart, OnlyTheEntriesOfTheLastReadingArePicked) {
    shared.win.AltazMode = vb::True;
    FrmCercle& c = open();
    c.RedrawChart();
    const auto pick = [&](float x, float y) {
        popups.clear();
        c.Form_MouseDown(2, 0, x, y);
        return popups.value(0);
    };
    ASSERT_EQ(pick(3000, 4500), "M 6");
    // A shorter catalogue: the old sixth object is gone.
    WriteData("ic.cat", QString("\"IC 1\",\"GL\",0,0\r\n"));
    c.catalogueItems[1]->trigger();
    EXPECT_EQ(c.objCount, 1);
    EXPECT_EQ(pick(3000, 4500), "aucun objet");
    EXPECT_EQ(pick(9000, 4500), "IC 1");
    // "Aucun": the catalogue is not read and its last table stays pickable.
    c.mnuaucun->trigger();
    EXPECT_EQ(pick(9000, 4500), "IC 1");
    // 201 stars fill the table; 3 stars read afterwards leave only those.
    QString many;
    for (int n = 0; n < 205; ++n) many += QStringLiteral("\"ETA\",\"Lyr\",%1,45000\r\n").arg(n * 60);
    WriteData("vstar.cat", many);
    WriteData("vconst.cat", QString("0,200\r\n200,203\r\n"));
    rec.calls.clear();
    c.RedrawChart();
    EXPECT_EQ(c.starCount, 201) << "the file's records beyond the table are not read";
    EXPECT_EQ(rec.Of("line").filter("(160,160,220)").size(), 1) << "a line to star 203, not in the table, is left out";
    double x = 0, y = 0;
    c.NewCoord(199 * 60, 45000, x, y);
    EXPECT_EQ(pick(static_cast<float>(x), static_cast<float>(y)), "ETA [Lyre].");
    WriteData("vstar.cat", QString(kStars));
    c.RedrawChart();
    EXPECT_EQ(pick(static_cast<float>(x), static_cast<float>(y)), "aucun objet");
    // Closing and reopening empties the tables until the next drawing.
    c.bEsc->click();
    settle();
    FrmCercle& again = frmCercle();
    EXPECT_EQ(again.starCount, 0);
    EXPECT_EQ(again.objCount, 0);
}

TEST_F(Chart, MissingOrBrokenFilesSkipTheirLayerAndAreToldOnce) {
    struct Case {
        const char* what;
        const char* file;
        QByteArray content;  // empty: the file is removed
        const char* message;
        int stars, lines, objects;
    } cases[] = {
        {"no star file", "vstar.cat", {}, "vstar.cat", 0, 0, 6},
        {"no line file", "vconst.cat", {}, "vconst.cat", 3, 0, 6},
        {"no catalogue", "messier.cat", {}, "messier.cat", 3, 2, 0},
        {"an unreadable line record", "vconst.cat", "0,1\r\nx,2\r\n1,2\r\n", "vconst.cat", 3, 2, 6},
        {"a line to a star not in the file", "vconst.cat", "0,1\r\n1,7\r\n", nullptr, 3, 1, 6},
        {"an unreadable star record", "vstar.cat", "\"MU\",\"UMa\",0,54000\r\n\"ETA\",\"UMa\",north,0\r\n",
         "vstar.cat", 1, 0, 6},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        if (k.content.isEmpty()) QFile::remove(datadir::Folder() + u'/' + QString::fromLatin1(k.file));
        else WriteData(QString::fromLatin1(k.file), k.content);
        messages.clear();
        FrmCercle& c = open();
        c.RedrawChart();
        c.RedrawChart();
        EXPECT_EQ(rec.Of("circle").filter(" r25 ").size(), k.stars * 2);
        EXPECT_EQ(rec.Of("line").filter("(160,160,220)").size(), k.lines * 2);
        EXPECT_EQ(rec.Of("circle").filter(" r30 ").size(), k.objects * 2);
        if (k.message) {
            ASSERT_EQ(messages.size(), 1) << messages.join('\n').toStdString();
            EXPECT_TRUE(messages[0].contains(QString::fromLatin1(k.message))) << messages[0].toStdString();
        } else {
            EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        }
        forms::UnloadAll();
        settle();
        WriteData(QString::fromLatin1(k.file), QString(k.file == QLatin1String("vstar.cat") ? kStars
                                                       : k.file == QLatin1String("vconst.cat") ? kLines
                                                                                               : kMessier));
    }
}

TEST_F(Chart, NoConstellationFileLeavesTheFullNameEmpty) {
    QFile::remove(datadir::Folder() + QStringLiteral("/const.cat"));
    FrmCercle& c = open();
    c.RedrawChart();
    messages.clear();
    for (int i = 0; i < 2; ++i) c.Form_MouseDown(2, 0, 6750, 4500);
    EXPECT_EQ(popups, (QStringList{"DELTA [].", "DELTA []."}));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("const.cat"));
}

TEST_F(Chart, AnUnreadableStarKeepsTheOtherStarsOnTheirLines) {
    // Star 1 cannot be read: stars 2 and 3 keep their numbers, so the lines
    // 0-2 and 2-3 join the stars the line file means, and no line goes to star 1.
    WriteData("vstar.cat", QString("\"MU\",\"UMa\",0,54000\r\n"
                                   "\"ETA\",\"UMa\",north,0\r\n"
                                   "\"DELTA\",\"Lyr\",0,27000\r\n"
                                   "\"ALPHA\",\"Ori\",3600,0\r\n"));
    WriteData("vconst.cat", QString("0,2\r\n2,3\r\n0,1\r\n1,3\r\n"));
    shared.win.AltazMode = vb::True;
    FrmCercle& c = open();
    c.RedrawChart();
    EXPECT_EQ(ChartRecorder::Text(rec.Of("circle").filter(" r25 ")),
              "circle 4500,4500 r25 (240,240,240) fill (250,250,250) solid\n"
              "circle 6750,4500 r25 (240,240,240) fill (250,250,250) solid\n"
              "circle 4500,9000 r25 (240,240,240) fill (250,250,250) solid");
    EXPECT_EQ(ChartRecorder::Text(rec.Of("line").filter("(160,160,220)")),
              "line 4500,4500 6750,4500 (160,160,220)\n"
              "line 6750,4500 4500,9000 (160,160,220)");
    struct Case {
        float x, y;
        const char* name;
    } cases[] = {
        {6750, 4500, "DELTA [Lyre]."},
        {4500, 9000, "ALPHA []."},
        {4500, 4500, "MU [Ursa Major]."},
    };
    for (const auto& k : cases) {
        popups.clear();
        rightClick(k.x, k.y);
        EXPECT_EQ(popups.value(0), k.name);
    }
}

TEST_F(Chart, AReopenedChartShowsWhetherTheLegendIsOpen) {
    FrmCercle& c = open();
    c.Label1_Click();
    ASSERT_TRUE(frmLegend().Shown());
    c.bEsc->click();  // the chart closes, its legend stays
    settle();
    FrmCercle& again = frmCercle();
    again.Show();
    EXPECT_EQ(again.Label1Caption(), "7") << "the legend is open";
    again.Label1_Click();
    EXPECT_EQ(again.Label1Caption(), "8");
    EXPECT_FALSE(forms::Loaded<FrmLegend>()) << "one click closes the open legend";
}

TEST_F(Chart, EachMenuItemHasItsOwnHandler) {
    struct Case {
        const char* item;
        void (FrmCercle::*handler)();
        const char* catalogue;
        int16_t filter, zoom;
    } cases[] = {
        {"mnuIc", &FrmCercle::mnuIc_Click, "ic", 1, 1},
        {"mnuNgc0", &FrmCercle::mnuNgc0_Click, "ngc0", 1, 1},
        {"mnuNgc1", &FrmCercle::mnuNgc1_Click, "ngc1", 1, 1},
        {"mnuNgc2", &FrmCercle::mnuNgc2_Click, "ngc2", 1, 1},
        {"mnuNgc3", &FrmCercle::mnuNgc3_Click, "ngc3", 1, 1},
        {"mnuNgc4", &FrmCercle::mnuNgc4_Click, "ngc4", 1, 1},
        {"mnuNgc5", &FrmCercle::mnuNgc5_Click, "ngc5", 1, 1},
        {"mnuNgc6", &FrmCercle::mnuNgc6_Click, "ngc6", 1, 1},
        {"mnuNgc7", &FrmCercle::mnuNgc7_Click, "ngc7", 1, 1},
        {"mnuMessier", &FrmCercle::mnuMessier_Click, "messier", 1, 1},
        {"mnuaucun", &FrmCercle::mnuaucun_Click, "messier", 0, 1},
        {"mnuGalaxie", &FrmCercle::mnuGalaxie_Click, "messier", 2, 1},
        {"mnuAmas", &FrmCercle::mnuAmas_Click, "messier", 3, 1},
        {"mnuNebuleuse", &FrmCercle::mnuNebuleuse_Click, "messier", 4, 1},
        {"mnuTous", &FrmCercle::mnuTous_Click, "messier", 1, 1},
        {"mnuZDeux", &FrmCercle::mnuZDeux_Click, "messier", 1, 2},
        {"mnuZTrois", &FrmCercle::mnuZTrois_Click, "messier", 1, 3},
        {"mnuZQuatre", &FrmCercle::mnuZQuatre_Click, "messier", 1, 4},
        {"mnuZCinq", &FrmCercle::mnuZCinq_Click, "messier", 1, 5},
        {"mnuZSix", &FrmCercle::mnuZSix_Click, "messier", 1, 6},
        {"mnuZSept", &FrmCercle::mnuZSept_Click, "messier", 1, 7},
        {"mnuZUn", &FrmCercle::mnuZUn_Click, "messier", 1, 1},
    };
    FrmCercle& c = open();
    for (const auto& k : cases) {
        (c.*k.handler)();
        EXPECT_EQ(shared.win.ChartCatalogue, k.catalogue) << k.item;
        EXPECT_EQ(shared.win.ChartFilter, k.filter) << k.item;
        EXPECT_EQ(shared.win.ChartZoom, k.zoom) << k.item;
        const QAction* item = c.findChild<QAction*>(QString::fromLatin1(k.item));
        ASSERT_NE(item, nullptr) << k.item;
        EXPECT_TRUE(item->isChecked()) << k.item;
    }
}
