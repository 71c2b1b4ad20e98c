// Every window the toolbars and menus open, opened as the user opens it: at
// its size, with its controls and captions in view, whatever was done to it
// before it was first shown; whole in the main window's work area, however
// many windows are open and whatever panel is unfolded; every number box
// wide enough for its widest value.
#include "altaz/frmaltazpilot.h"
#include "altaz/frmaltazpointage.h"
#include "altaz/frmaltazsuivi.h"
#include "altaz/frmconfig.h"
#include "altaz/frmcoord.h"
#include "chart/frmCercle.h"
#include "chart/frmLegend.h"
#include "core/state.h"
#include "equatorial/frmequaconfig.h"
#include "equatorial/frmequapilot.h"
#include "equatorial/frmequapointage.h"
#include "platform/widgets.h"
#include "shell/Frmnotes.h"
#include "shell/frmDepl.h"
#include "shell/frmImage.h"
#include "shell/frmaide.h"
#include "shell/frmcopyright.h"
#include "shell/frminterface.h"
#include "shell/frmintro.h"
#include "shell/frmraquette.h"
#include "tests/fixture.h"
#include "tests/geometry.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QScreen>

#include <stdexcept>

namespace {

using geometry::WindowRow;

Frminterface& main() { return frminterface(); }
void altaz() { main().barchoix_ButtonClick(2); }
void equatorial() { main().barchoix_ButtonClick(1); }

const QStringList kCoordControls = {
    "frheure", "cbjour", "cbmois", "cbannee", "txth", "txtmin", "txts", "txtms", "txtessai", "optété", "opthivers",
    "txtcoordaz1", "txtcoordaz2", "txtcoordaz3", "txtaztos", "txtcoordalt1", "txtcoordalt2", "txtcoordalt3",
    "txtalttos", "txtsens", "cmdtrace", "Frobservation", "lbCatalogue", "lbObjets", "Txtad_h", "txtad_min",
    "txtsign", "txtdec_deg", "txtdec_min", "cmdpointage", "cmdreinit", "txtback", "picraquette", "optinvis",
    "optvis"};
const QStringList kConfigControls = {
    "Frlieu", "txtdegre", "txtmin", "txtlatdeg", "txtlatmin", "frmeca", "txtpasaz", "txtpasalt", "txtRaz",
    "txtRalt", "txtapas", "txthpas", "cmdazencoding", "cmdazencoding_result", "cmdaltencoding",
    "cmdaltencoding_result", "frame5", "cbpointaz", "cbpointalt", "Frame3", "txtbacklash_az", "txtbacklash_alt",
    "cmdjeuaz_deb", "cmdjeuaz_fin", "cmdjeualt_deb", "cmdjeualt_fin", "cmdinitcoord", "cmdinitok", "txtnbraz",
    "txtnbralt", "txtazplus", "txtazmoins", "txtaltplus", "txtaltmoins", "cmdvalid"};

const QStringList kPilotControls = {
    "Fraz", "slaz", "txtv_az", "txtnumaz", "Fralt", "slalt", "txtv_alt", "txtnumalt", "Frdeplacement", "cmdhh",
    "cmdag", "cmddstop", "cmdad", "cmdhb", "Label1", "lblvit", "Cmdquit"};

// One line per window.
const WindowRow kWindows[] = {
    {"frmcoord", [] () -> Form& { return frmcoord(); }, altaz, 5745, 5700, kCoordControls},
    {"frmconfig", [] () -> Form& { return frmconfig(); }, [] { altaz(); main().baraltaz_ButtonClick(3); },
     4110, 8490, kConfigControls},
    {"frmintro", [] () -> Form& { return frmintro(); }, [] { frmintro().Show(); }, 6000, 4200,
     {"Photo", "Credits", "Label"}},
    {"frmDepl", [] () -> Form& { return frmDepl(); }, [] { frmDepl().Show(); }, 4800, 2700,
     {"Label3", "Lblaz", "ProgressBaraz", "lblalt", "ProgressBaralt", "cmstoppointage"}},
    {"frmcopyright", [] () -> Form& { return frmcopyright(); }, [] { main().propos_Click(); }, 4000, 5640,
     {"Image1", "lblProduit", "lblVersion", "Image2", "Image3", "lblCredits", "lblMerci", "lblSite", "lblContact",
      "cmdok1"}},
    {"frmaide", [] () -> Form& { return frmaide(); }, [] { main().Aide_Click(); }, 5400, 3000,
     {"Image1", "Label1", "lblAdresse", "cmdok1"}},
    {"frmImage", [] () -> Form& { return frmImage(); }, [] { frmImage().Show(); }, 6000, 5000, {"oPicture", "bFin"}},
    {"Frmnotes", [] () -> Form& { return frmnotes(); }, [] { main().Observations_Click(); }, 7485, 6705,
     {"lblTitre", "Frame1", "txtnotes", "Picturesave", "effacer", "cmdnotesquit"}},
    {"frmaltazpilot", [] () -> Form& { return frmaltazpilot(); }, [] { altaz(); main().baraltaz_ButtonClick(1); },
     5500, 4710, kPilotControls},
    // Its toolbar button toggles it, and its load already counts it as open.
    {"frmaltazsuivi", [] () -> Form& { return frmaltazsuivi(); }, [] { altaz(); frmaltazsuivi().Show(); }, 4560,
     2910,
     {"lblheuresid", "txth2", "txtmin2", "txts2", "Label12", "txtna", "txtnh", "txtsommea", "txtsommeh", "imglecture",
      "imgpause", "imgstop", "lbl1"}},
    {"frmCercle", [] () -> Form& { return frmCercle(); }, [] { altaz(); main().baraltaz_ButtonClick(4); }, 9030,
     9315, {"picture", "bEsc"}},
    {"frmLegend", [] () -> Form& { return frmLegend(); }, [] { altaz(); frmLegend().Show(); }, 3600, 4455,
     {"picture", "bFin"}},
    {"frmaltazpointage", [] () -> Form& { return frmaltazpointage(); }, [] { altaz(); frmaltazpointage().Show(); },
     8895, 3795,
     {"lbCatalogue", "lbObjets", "tADpos", "tdcpos", "cmdpointage_graph", "cmdsave", "Cmdquit", "frame5", "cbpointaz",
      "cbpointalt", "Frame3"}},
    {"frmraquette", [] () -> Form& { return frmraquette(); },
     [] { equatorial(); main().barequa_ButtonClick(2); }, 5265, 4605,
     {"Frame1", "HScrollazl", "HScrollazm", "HScrollazr", "HScrollaltl", "HScrollaltm", "HScrollaltr", "Frame2",
      "chkaz", "chkalt", "lblbacklash", "cmdvalid", "Cmdquit"}},
    {"frmequapilot", [] () -> Form& { return frmequapilot(); },
     [] { equatorial(); main().barequa_ButtonClick(3); }, 6000, 4800,
     kPilotControls + QStringList{"Frame1", "Label4", "cmdgo", "cmdstopgo"}},
    {"frmequapointage", [] () -> Form& { return frmequapointage(); },
     [] { equatorial(); main().barequa_ButtonClick(4); }, 7680, 6075,
     {"lbEtoiles", "cbpointaz", "cbpointalt", "chkpointad", "chkpointdec", "cmdsave", "Picinit", "picpointage",
      "Cmdquit", "tADpos", "tdcpos"}},
    {"frmequaconfig", [] () -> Form& { return frmequaconfig(); },
     [] { equatorial(); main().barequa_ButtonClick(5); }, 3960, 3525,
     {"frmeca", "txtpasad", "txtpasdec", "txtRad", "txtRdec", "bFin", "cmdbacklash"}},
};

// What may have been done to a window before the user first opens it.
enum class Before { Nothing, Loaded, LoadedAndHidden, ShownAndHidden };
const struct {
    Before before;
    const char* what;
} kBefore[] = {{Before::Nothing, "opened at once"},
               {Before::Loaded, "loaded by a read of a control"},
               {Before::LoadedAndHidden, "loaded, then hidden"},
               {Before::ShownAndHidden, "shown, hidden, then shown"}};

class WindowGeometry : public WindowTest {
protected:
    void StartProgram() {
        UseShippedData();
        main().MDIForm_Load();
        main().show();
    }
    void StopProgram() {
        forms::UnloadAll();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ResetMainWindow();
    }
};

}  // namespace

TEST_F(WindowGeometry, EveryWindowOpensAtItsSizeWithItsControlsAndCaptionsInView) {
    for (const WindowRow& row : kWindows) {
        for (const auto& b : kBefore) {
            SCOPED_TRACE(std::string(row.name) + ", " + b.what);
            StartProgram();
            if (b.before != Before::Nothing) {
                Form& loaded = row.load();
                if (b.before == Before::LoadedAndHidden) loaded.Hide();
            }
            row.open();
            Form& f = row.load();
            if (b.before == Before::ShownAndHidden) {
                f.Hide();
                f.Show();
            }
            QCoreApplication::processEvents();
            geometry::ExpectOpensAtSize(f, row.widthTwips, row.heightTwips, row.controls);
            geometry::ExpectCaptionsFit(&f);
            StopProgram();
        }
    }
}

TEST_F(WindowGeometry, TheCoordinatesWindowsSettingsPanelAndGotoStripShowWhole) {
    StartProgram();
    altaz();
    Frmcoord& c = frmcoord();
    c.optvis_Click();
    c.SetTwipsWidth(7820);
    QCoreApplication::processEvents();
    geometry::ExpectOpensAtSize(c, 7820, 9000,
                                {"Frame1", "HScrollazl", "HScrollazm", "HScrollazr", "HScrollaltl", "HScrollaltm",
                                 "HScrollaltr", "txtaz0", "txtaz1", "txtaz2", "txtalt0", "txtalt1", "txtalt2",
                                 "Frame2", "chkalt", "chkaz", "cmdvalid", "Frame3", "txtcoordaz4", "txtcoordaz5",
                                 "txtcoordaz6", "txtcoordalt4", "txtcoordalt5", "txtcoordalt6", "ProgressBaraz",
                                 "ProgressBaralt", "cmstoppointage"});
    geometry::ExpectCaptionsFit(&c);
    StopProgram();
}

namespace {

// One thing the user does in a session: opens a window, unfolds or folds a
// panel.
struct Step {
    const char* what;
    std::function<void()> act;
};

void unfoldCoordinates() {
    frmcoord().optvis_Click();
    frmcoord().SetTwipsWidth(7820);  // as a goto shows its strip
}
void foldCoordinates() {
    frmcoord().SetTwipsWidth(5745);
    frmcoord().optinvis_Click();
}

// A whole alt-azimuth session: every window its toolbar and menus open, each
// panel unfolded and folded again.
const std::vector<Step> kAltazSession = {
    {"Mode altazimutal", altaz},
    {"coordinates window unfolded", unfoldCoordinates},
    {"Initialisations", [] { main().baraltaz_ButtonClick(3); }},
    {"Pilotage", [] { main().baraltaz_ButtonClick(1); }},
    {"speed table unfolded", [] { frmaltazpilot().lblvit_Click(); }},
    {"Suivi sidéral", [] { main().baraltaz_ButtonClick(2); }},
    {"tracking settings unfolded", [] { frmaltazsuivi().lbl1_Click(); }},
    {"constellations", [] { main().baraltaz_ButtonClick(4); }},
    {"legend", [] { frmCercle().Label1_Click(); }},
    {"pointing window", [] { frmaltazpointage().Show(); }},
    {"progress window", [] { frmDepl().Show(); }},
    {"Observations", [] { main().Observations_Click(); }},
    {"Aide", [] { main().Aide_Click(); }},
    {"A propos de", [] { main().propos_Click(); }},
    {"speed table folded", [] { frmaltazpilot().lblvit_Click(); }},
    {"tracking settings folded", [] { frmaltazsuivi().lbl1_Click(); }},
    {"coordinates window folded", foldCoordinates},
    {"coordinates window unfolded again", unfoldCoordinates},
};

const std::vector<Step> kEquatorialSession = {
    {"Mode équatorial", equatorial},
    {"Pointage automatique", [] { main().barequa_ButtonClick(4); }},
    {"Paramètres", [] { main().barequa_ButtonClick(5); }},
    {"Pilotage", [] { main().barequa_ButtonClick(3); }},
    {"speed table unfolded", [] { frmequapilot().lblvit_Click(); }},
    {"backlash of the mechanics window", [] { frmequaconfig().cmdbacklash_Click(); }},
    {"paddle settings folded", [] { frmraquette().lblbacklash_Click(); }},
    {"paddle settings unfolded", [] { frmraquette().lblbacklash_Click(); }},
    {"chart for a sync", [] { frmequapointage().Picinit_MouseUp(); }},
    {"legend", [] { frmCercle().Label1_Click(); }},
    {"progress window", [] { frmDepl().Show(); }},
    {"Observations", [] { main().Observations_Click(); }},
    {"speed table folded", [] { frmequapilot().lblvit_Click(); }},
    {"Mode manuel", [] { main().barequa_ButtonClick(2); }},
    {"paddle settings unfolded after Mode manuel", [] { frmraquette().lblbacklash_Click(); }},
    {"Pilotage after Mode manuel", [] { main().barequa_ButtonClick(3); }},
    {"speed table unfolded again", [] { frmequapilot().lblvit_Click(); }},
};

// Every child window shown lies whole in the work area, title bar included.
void expectEveryWindowWhole(const std::string& when) {
    const QWidget* area = main().mdi->viewport();
    for (const QMdiSubWindow* sub : main().mdi->subWindowList()) {
        if (!sub->isVisible()) continue;
        const QWidget* inside = sub->widget();
        EXPECT_TRUE(area->rect().contains(sub->geometry()))
            << when << ": " << geometry::Name(inside) << " at " << sub->x() << ", " << sub->y() << ", "
            << sub->width() << " x " << sub->height() << " in a work area of " << area->width() << " x "
            << area->height();
    }
}

}  // namespace

TEST_F(WindowGeometry, EveryWindowOpensAndStaysWholeInTheWorkAreaFoldedAndUnfolded) {
    const QSize mainSizes[] = {{1000, 720}, {1280, 800}};
    const struct {
        const char* mount;
        const std::vector<Step>& steps;
    } sessions[] = {{"alt-azimuth", kAltazSession}, {"equatorial", kEquatorialSession}};
    for (const QSize& size : mainSizes) {
        for (const auto& session : sessions) {
            StartProgram();
            main().resize(size);
            QCoreApplication::processEvents();
            for (const Step& step : session.steps) {
                step.act();
                QCoreApplication::processEvents();
                expectEveryWindowWhole(std::string(session.mount) + " at " + std::to_string(size.width()) + " x " +
                                       std::to_string(size.height()) + ", " + step.what);
            }
            StopProgram();
        }
    }
}

namespace {
QRect frameOf(Form& f) { return f.parentWidget()->geometry(); }
}  // namespace

TEST_F(WindowGeometry, TheMainWindowOpensWithRoomForTheCoordinatesWindowBesideTheWidestWorkWindow) {
    // The coordinates window at its widest and tallest, and each work window
    // in turn at its largest: side by side, both whole.
    const struct {
        const char* what;
        std::function<Form&()> open;
        std::function<void()> close;
    } work[] = {
        {"manual drive with its speed table",
         [] () -> Form& {
             main().baraltaz_ButtonClick(1);
             frmaltazpilot().lblvit_Click();
             return frmaltazpilot();
         },
         [] { frmaltazpilot().Cmdquit_Click(); }},
        {"chart", [] () -> Form& { main().baraltaz_ButtonClick(4); return frmCercle(); },
         [] { main().baraltaz_ButtonClick(4); }},
        {"set-up", [] () -> Form& { main().baraltaz_ButtonClick(3); return frmconfig(); },
         [] { main().baraltaz_ButtonClick(3); }},
        {"tracking with its settings",
         [] () -> Form& {
             main().baraltaz_ButtonClick(2);
             frmaltazsuivi().lbl1_Click();
             return frmaltazsuivi();
         },
         [] { main().baraltaz_ButtonClick(2); }},
    };
    StartProgram();
    altaz();
    unfoldCoordinates();
    QCoreApplication::processEvents();
    const QRect area = main().mdi->viewport()->rect();
    for (const auto& w : work) {
        SCOPED_TRACE(w.what);
        Form& f = w.open();
        QCoreApplication::processEvents();
        EXPECT_TRUE(area.contains(frameOf(frmcoord())));
        EXPECT_TRUE(area.contains(frameOf(f)));
        EXPECT_FALSE(frameOf(f).intersects(frameOf(frmcoord())));
        w.close();
        QCoreApplication::processEvents();
    }
    StopProgram();

    // The equatorial mount's widest, its manual drive with its speed table,
    // beside its pointing window.
    StartProgram();
    equatorial();
    main().barequa_ButtonClick(4);
    main().barequa_ButtonClick(3);
    frmequapilot().lblvit_Click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(main().mdi->viewport()->rect().contains(frameOf(frmequapilot())));
    EXPECT_FALSE(frameOf(frmequapilot()).intersects(frameOf(frmequapointage())));
    StopProgram();
}

TEST_F(WindowGeometry, OnAScreenTooSmallForItTheMainWindowOpensMaximised) {
    UseShippedData();
    Frminterface& w = main();
    const QRect screen = w.screen()->availableGeometry();
    ASSERT_TRUE(w.width() > screen.width() || w.height() > screen.height())
        << "the test platform's screen is larger than the main window";
    w.MDIForm_Load();
    w.ShowAtStart();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.isMaximized());
    EXPECT_EQ(w.frameGeometry(), screen);
    ResetMainWindow();

    // A window that fits is shown at its size.
    Frminterface& small = main();
    small.resize(screen.size() / 2);
    small.ShowAtStart();
    QCoreApplication::processEvents();
    EXPECT_FALSE(small.isMaximized());
    EXPECT_EQ(small.size(), screen.size() / 2);
}

namespace {

// The widest text each number box of a window shows with the shipped
// settings, by the box's name.
using Boxes = std::vector<std::pair<std::string, std::string>>;
struct NumberBoxes {
    const char* window;
    Boxes boxes;
};

// A manual-drive window's level boxes, and its ten delay boxes at a bar's
// last position.
Boxes pilotBoxes(const char* az, const char* alt) {
    Boxes boxes = {{"txtnumaz", "5"}, {"txtnumalt", "5"}, {"txtv_az", "IIIIIIIIIIIII"}, {"txtv_alt", "IIIIIIIIIIIII"}};
    for (const char* prefix : {az, alt})
        for (int level = 0; level < 5; ++level) boxes.push_back({prefix + std::to_string(level), "32767"});
    return boxes;
}

const NumberBoxes kNumberBoxes[] = {
    {"frmcoord",
     {{"txth", "23"}, {"txtmin", "59"}, {"txts", "59"}, {"txtms", "999"}, {"txtessai", "86399.999"},
      // Degrees, minutes, rounded seconds; the counters as the full text of
      // their value (a whole turn of azimuth, the altitude down to -90°).
      {"txtcoordaz1", "359"}, {"txtcoordaz2", "59"}, {"txtcoordaz3", "60"}, {"txtaztos", "1295999.99999999"},
      {"txtcoordalt1", "-90"}, {"txtcoordalt2", "59"}, {"txtcoordalt3", "60"},
      {"txtalttos", "-323999.999999999"}, {"txtsens", "Faux"}, {"Txtad_h", "23"}, {"txtad_min", "59.99"},
      {"txtsign", "-"}, {"txtdec_deg", "90"}, {"txtdec_min", "-59.9"},
      // A whole turn of azimuth of backlash with the shipped mechanics.
      {"txtback", "40000"},
      // The paddle delays at their bars' first positions.
      {"txtaz0", "1119078"}, {"txtaz1", "463738"}, {"txtaz2", "70534"}, {"txtalt0", "1119078"},
      {"txtalt1", "463738"}, {"txtalt2", "70534"}, {"txtcoordaz4", "359"}, {"txtcoordaz5", "59"},
      {"txtcoordaz6", "60"}, {"txtcoordalt4", "-90"}, {"txtcoordalt5", "59"}, {"txtcoordalt6", "60"}}},
    {"frmconfig",
     {{"txtdegre", "-180"}, {"txtmin", "-59.9"}, {"txtlatdeg", "-90"}, {"txtlatmin", "-59.9"}, {"txtpasaz", "200"},
      {"txtpasalt", "200"},
      // Ratios measured with the shipped 200 steps: a count / 400 for
      // azimuth, a count / 100 for altitude; the half-step angles they give.
      {"txtRaz", "100.0025"}, {"txtRalt", "100.01"}, {"txtapas", "32.401"}, {"txthpas", "32.401"},
      {"txtbacklash_az", "40000"}, {"txtbacklash_alt", "40000"}, {"txtnbraz", "-99999"}, {"txtnbralt", "-99999"},
      {"txtazplus", "8"}, {"txtazmoins", "8"}, {"txtaltplus", "2"}, {"txtaltmoins", "2"}}},
    {"frmaltazpilot", pilotBoxes("tAZ", "tAlt")},
    {"frmequapilot", pilotBoxes("tAD", "tDc")},
    {"frmaltazsuivi",
     {{"txth2", "23"}, {"txtmin2", "59"}, {"txts2", "59"}, {"txtna", "32767"}, {"txtnh", "32767"},
      {"txtsommea", "-0.99"}, {"txtsommeh", "-0.99"}, {"txtincrement", "30000"}, {"txttempoa", "100000"},
      {"txttempoh", "100000"}}},
    {"frmaltazpointage",
     {{"tAD0", "23"}, {"tAD1", "59.9"}, {"tDec0", "-90"}, {"tDec1", "-59.9"}, {"txtcoordaz1", "359"},
      {"txtcoordaz2", "59"}, {"txtcoordaz3", "60"}, {"txtcoordalt1", "-90"}, {"txtcoordalt2", "59"},
      {"txtcoordalt3", "60"}}},
    {"frmequapointage", {{"tAD0", "23"}, {"tAD1", "59.9"}, {"tDec0", "-90"}, {"tDec1", "-59.9"}}},
    {"frmequaconfig", {{"txtpasad", "200"}, {"txtpasdec", "200"}, {"txtRad", "100"}, {"txtRdec", "100"}}},
    {"frmraquette",
     {{"txtaz0", "1119078"}, {"txtaz1", "463738"}, {"txtaz2", "70534"}, {"txtalt0", "1119078"},
      {"txtalt1", "463738"}, {"txtalt2", "70534"}, {"txtbacklash_az", "40000"}, {"txtbacklash_alt", "40000"}}},
};

const WindowRow& rowOf(const char* window) {
    for (const WindowRow& row : kWindows)
        if (std::string(row.name) == window) return row;
    throw std::logic_error(window);
}

}  // namespace

TEST_F(WindowGeometry, EveryNumberBoxShowsItsWidestValueWholeFromItsFirstCharacter) {
    for (const NumberBoxes& w : kNumberBoxes) {
        SCOPED_TRACE(w.window);
        StartProgram();
        const WindowRow& row = rowOf(w.window);
        row.open();
        Form& f = row.load();
        QCoreApplication::processEvents();
        for (const auto& [name, widest] : w.boxes) {
            auto* box = f.findChild<QLineEdit*>(QString::fromStdString(name));
            if (!box) {
                ADD_FAILURE() << "no box " << name;
                continue;
            }
            const QFontMetrics fm(box->font());
            // What the window wrote at its load.
            EXPECT_LE(fm.horizontalAdvance(box->text()), ui::TextRoom(box)) << name << " cuts " << box->text().toStdString();
            EXPECT_TRUE(box->hasFocus() || box->cursorPosition() == 0) << name;
            const QString text = QString::fromStdString(widest);
            EXPECT_LE(fm.horizontalAdvance(text), ui::TextRoom(box)) << name << " cuts " << widest;
            // Written by the program, twice (the second time the text does
            // not change), the value is seen from its first character (a box
            // the user is in is left to the user).
            box->clearFocus();
            for (int i = 0; i < 2; ++i) box->setText(text);
            EXPECT_EQ(box->cursorPosition(), 0) << name;
        }
        StopProgram();
    }
}

TEST_F(WindowGeometry, TheCountersShowTheirWholeValueAtEveryClockTick) {
    StartProgram();
    altaz();
    Frmcoord& c = frmcoord();
    shared.pos.AzimuthArcsec = 1238225.41421356;
    shared.pos.AltitudeArcsec = -308225.414213562;
    for (int tick = 0; tick < 2; ++tick) {
        main().heuretimer_Timer();
        for (QLineEdit* box : {c.txtaztos, c.txtalttos}) {
            EXPECT_EQ(box->cursorPosition(), 0) << geometry::Name(box);
            EXPECT_LE(QFontMetrics(box->font()).horizontalAdvance(box->text()), ui::TextRoom(box))
                << geometry::Name(box) << " cuts " << box->text().toStdString();
        }
    }
    EXPECT_EQ(c.txtaztos->text(), QStringLiteral("1238225.41421356"));
    EXPECT_EQ(c.txtalttos->text(), QStringLiteral("-308225.414213562"));
    StopProgram();
}
