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
#include "motor/frmraquette.h"
#include "shell/Frmnotes.h"
#include "shell/frmaide.h"
#include "shell/frmcopyright.h"
#include "shell/frminterface.h"
#include "tests/fixture.h"

#include <QMdiSubWindow>
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

    w.baraltaz_ButtonClick(1);
    EXPECT_TRUE(shown<Frmaltazpilot>());
    closeByTitleBar<Frmaltazpilot>();
    EXPECT_FALSE(forms::Loaded<Frmaltazpilot>());

    w.baraltaz_ButtonClick(2);
    EXPECT_TRUE(shown<Frmaltazsuivi>());
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
    w.barequa_ButtonClick(3);
    EXPECT_TRUE(shown<Frmequapilot>());
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
