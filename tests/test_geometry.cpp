// Every window the toolbars and menus open, opened as the user opens it: at
// its size, with its controls and captions in view, whatever was done to it
// before it was first shown.
#include "altaz/frmaltazpilot.h"
#include "altaz/frmaltazpointage.h"
#include "altaz/frmaltazsuivi.h"
#include "altaz/frmconfig.h"
#include "altaz/frmcoord.h"
#include "chart/frmCercle.h"
#include "chart/frmLegend.h"
#include "equatorial/frmequaconfig.h"
#include "equatorial/frmequapilot.h"
#include "equatorial/frmequapointage.h"
#include "motor/frmraquette.h"
#include "shell/Frmnotes.h"
#include "shell/frmDepl.h"
#include "shell/frmImage.h"
#include "shell/frmaide.h"
#include "shell/frmcopyright.h"
#include "shell/frminterface.h"
#include "shell/frmintro.h"
#include "tests/fixture.h"
#include "tests/geometry.h"

#include <QCoreApplication>
#include <QLineEdit>

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
