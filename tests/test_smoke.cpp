// One walk through every toolbar button and menu of both mounts, as a new user
// would click them: every window opens, shows, and closes without a message.
#include "altaz/frmaltazpilot.h"
#include "altaz/frmaltazsuivi.h"
#include "altaz/frmconfig.h"
#include "altaz/frmcoord.h"
#include "chart/frmCercle.h"
#include "core/state.h"
#include "equatorial/frmequaconfig.h"
#include "equatorial/frmequapilot.h"
#include "equatorial/frmequapointage.h"
#include "platform/vbrt.h"
#include "shell/Frmnotes.h"
#include "shell/frmaide.h"
#include "shell/frmcopyright.h"
#include "shell/frminterface.h"
#include "shell/frmraquette.h"
#include "tests/fixture.h"

#include <QListWidget>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdlib>
#include <QTimer>

namespace {

// Closes a window by its title bar, as the user does.
template <class T>
void closeByTitleBar() {
    ASSERT_TRUE(forms::Loaded<T>());
    T& f = forms::Use<T>();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(f.parentWidget())) sub->close();
    else f.close();
}

template <class T>
bool shown() {
    return forms::Loaded<T>() && forms::Use<T>().Shown();
}

}  // namespace

class Smoke : public WindowTest {
protected:
    Frminterface& started() {
        UseShippedData();
        Frminterface& w = frminterface();
        w.MDIForm_Load();
        w.show();
        return w;
    }
};

TEST_F(Smoke, EveryAltazimuthWindowOpensAndCloses) {
    Frminterface& w = started();
    w.barchoix_ButtonClick(2);
    EXPECT_TRUE(shown<Frmcoord>());
    Frmcoord& coord = frmcoord();
    coord.lbObjets->setCurrentRow(0);
    coord.cmdreinit_Click();  // a sync on the first star
    EXPECT_EQ(shared.pos.PositionSynced, vb::True);

    w.baraltaz_ButtonClick(1);
    EXPECT_TRUE(shown<Frmaltazpilot>());
    {
        // A move to the right, stopped at its third pulse.
        shared.drive.AltazSpeedTable = {};
        int pauses = 0;
        seams::SetDoEvents([&] {
            if (++pauses == 6) frmaltazpilot().cmddstop_Click();
        });
        Sim().ResetMount();
        frmaltazpilot().cmdad->click();
        seams::SetDoEvents({});
        EXPECT_EQ(std::abs(Sim().AzSteps()), 3);
        EXPECT_EQ(shared.drive.MotorMode, 0);
    }
    closeByTitleBar<Frmaltazpilot>();
    EXPECT_FALSE(forms::Loaded<Frmaltazpilot>());

    w.baraltaz_ButtonClick(2);
    EXPECT_TRUE(shown<Frmaltazsuivi>());
    frmaltazsuivi().imglecture_Click();
    EXPECT_TRUE(frmaltazsuivi().timcompteur->isActive());
    EXPECT_FALSE(w.heuretimer->isActive()) << "tracking owns the clock";
    frmaltazsuivi().timcompteur_Timer();
    frmaltazsuivi().imgstop_Click();
    EXPECT_FALSE(frmaltazsuivi().timcompteur->isActive());
    w.baraltaz_ButtonClick(2);
    EXPECT_FALSE(forms::Loaded<Frmaltazsuivi>());
    EXPECT_EQ(shared.win.TrackingShown, 0);
    EXPECT_TRUE(w.heuretimer->isActive()) << "the clock runs again once tracking is closed";

    w.baraltaz_ButtonClick(3);
    EXPECT_TRUE(shown<Frmconfig>());
    w.baraltaz_ButtonClick(3);
    EXPECT_FALSE(shown<Frmconfig>());

    w.baraltaz_ButtonClick(4);
    EXPECT_TRUE(shown<FrmCercle>());
    w.baraltaz_ButtonClick(4);
    EXPECT_FALSE(shown<FrmCercle>());

    w.Observations_Click();
    EXPECT_TRUE(shown<Frmnotes>());
    frmnotes().txtnotes->setPlainText(QStringLiteral("M 13 superbe"));
    frmnotes().Picturesave_MouseDown(Qt::LeftButton);
    EXPECT_EQ(ReadData("notes.txt"), QStringLiteral("M 13 superbe\r\n"));
    closeByTitleBar<Frmnotes>();
    w.Aide_Click();
    EXPECT_TRUE(shown<Frmaide>());
    closeByTitleBar<Frmaide>();
    w.propos_Click();
    EXPECT_TRUE(shown<Frmcopyright>());
    closeByTitleBar<Frmcopyright>();

    w.mnuQuitter->trigger();
    EXPECT_EQ(quitCalls, 1);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(Smoke, EveryEquatorialWindowOpensAndCloses) {
    Frminterface& w = started();
    w.barchoix_ButtonClick(1);
    EXPECT_FALSE(forms::Loaded<Frmcoord>());

    w.barequa_ButtonClick(4);
    EXPECT_TRUE(shown<Frmequapointage>());
    frmequapointage().lbEtoiles->setCurrentRow(0);
    frmequapointage().lbEtoiles_DblClick();  // a sync on the first reference star
    EXPECT_EQ(shared.win.ShowTelescope, vb::True);
    EXPECT_FALSE(frmequapointage().lbCatalogue->isHidden());
    w.barequa_ButtonClick(3);
    EXPECT_TRUE(shown<Frmequapilot>());
    frmequapilot().cmdgo_Click();
    EXPECT_TRUE(frmequapilot().timersuivi->isActive()) << "sidereal tracking runs";
    frmequapilot().cmdstopgo_Click();
    EXPECT_FALSE(frmequapilot().timersuivi->isActive());
    w.barequa_ButtonClick(5);
    EXPECT_TRUE(shown<Frmequaconfig>());
    closeByTitleBar<Frmequaconfig>();
    EXPECT_FALSE(forms::Loaded<Frmequaconfig>());

    w.barequa_ButtonClick(2);  // "Mode manuel": the paddle settings, every other window closed
    EXPECT_TRUE(shown<Frmraquette>());
    EXPECT_FALSE(forms::Loaded<Frmequapilot>());
    EXPECT_FALSE(forms::Loaded<Frmequapointage>());
    EXPECT_TRUE(w.Timer->isActive());
    w.barequa_ButtonClick(1);  // "Mode informatique"
    EXPECT_FALSE(forms::Loaded<Frmraquette>());
    EXPECT_FALSE(w.Timer->isActive());

    w.mnuQuitter->trigger();
    EXPECT_EQ(quitCalls, 1);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}
