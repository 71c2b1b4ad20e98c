// Typed coordinates with fractions, in the three windows where coordinates
// are typed: each box counts for what it says (12.5 h is 12 h 30 min), the
// same place as typed in whole hours and degrees with their minutes; a value
// no box can take is refused with the coordinates message, never cut.
#include "altaz/frmaltazpointage.h"
#include "altaz/frmaltazsuivi.h"
#include "altaz/frmcoord.h"
#include "altaz/pointing.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/state.h"
#include "equatorial/frmequapointage.h"
#include "motor/equagoto.h"
#include "shell/frminterface.h"
#include "tests/fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <cmath>

namespace {

struct Typed {
    const char* h;
    const char* m;
    const char* d;  // a "-" before it for the south
    const char* dm;
};

struct Case {
    const char* what;
    Typed fraction;
    Typed whole;     // the same place, whole hours and degrees
    double ra, dec;  // tenths of a minute of time and of arc
};

const Case kCases[] = {
    {"12.5 h and 45.5 degrees", {"12.5", "0", "45.5", "0"}, {"12", "30", "45", "30"}, 7500, 27300},
    {"fractions in every box", {"5.5", "0.7", "10.25", "5.5"}, {"5", "30.7", "10", "20.5"}, 3307, 6205},
    {"a southern half degree", {"0.25", "0", "-0.5", "0"}, {"0", "15", "-0", "30"}, 150, -300},
};

// What no box takes: a comma for the point, past 24 h, beyond the pole.
const Typed kRefused[] = {{"12,5", "0", "45", "0"}, {"23.5", "30", "0", "0"}, {"0", "0", "89.9", "6.1"}};

// 2 deg 20 min east, 48 deg 50 min north; 200 steps and 1:120 on both axes.
const char* const kConfigAltaz = "2\r\n20\r\n48\r\n50\r\n200\r\n200\r\n120000\r\n120000\r\n";

class TypedFractions : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseShippedData();
        WriteData("config_altaz.ini", QByteArray(kConfigAltaz));
        WriteData("config_equa.ini", QByteArray("200\r\n200\r\n100\r\n100\r\n"));
        clock = {2026, 12, 10, 21, 0, 0, 0, false};
        frminterface().MDIForm_Load();
        frminterface().show();
    }
    void Mode(int button) {
        frminterface().barchoix_ButtonClick(button);  // 2 "Mode altazimutal", 1 "Mode équatorial"
        messages.clear();
    }
    template <class W>
    static void TypeInto(W& w, const Typed& t) {
        w.lbCatalogue->setCurrentRow(0);  // "Autre..."
        w.tAD[0]->setText(t.h);
        w.tAD[1]->setText(t.m);
        w.tDec[0]->setText(t.d);
        w.tDec[1]->setText(t.dm);
        w.bOK_Click();
    }
    // The coordinates window's boxes, the sign in its own box.
    static void TypeIntoCoordinates(const Typed& t) {
        Frmcoord& c = frmcoord();
        const QString d = QString::fromLatin1(t.d);
        const bool south = d.startsWith(u'-');
        c.Txtad_h->setText(t.h);
        c.txtad_min->setText(t.m);
        c.txtsign->setText(south ? QStringLiteral("-") : QStringLiteral("+"));
        c.txtdec_deg->setText(south ? d.mid(1) : d);
        c.txtdec_min->setText(t.dm);
    }
    static std::pair<double, double> azAlt(const Horizontal& h) { return {h.azDeg, h.altDeg}; }
};

}  // namespace

TEST_F(TypedFractions, TheCoordinatesWindowTracksTheFractionTyped) {
    Mode(2);
    Frmcoord& c = frmcoord();
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.what);
        // The tracking tick reads the boxes as they stand.
        TypeIntoCoordinates(k.fraction);
        const auto typed = azAlt(PointOf(c.Time(), c.Coordinates()));
        TypeIntoCoordinates(k.whole);
        const auto whole = azAlt(PointOf(c.Time(), c.Coordinates()));
        const auto place = azAlt(PointOf(c.Time(), SignedCoordinatesOf(k.ra / 600, k.dec / 600)));
        EXPECT_NEAR(typed.first, whole.first, 1e-9);
        EXPECT_NEAR(typed.second, whole.second, 1e-9);
        EXPECT_NEAR(typed.first, place.first, 1e-9);
        EXPECT_NEAR(typed.second, place.second, 1e-9);
    }
    EXPECT_TRUE(messages.isEmpty());

    // After a sync, tracking follows the boxes as typed; one it could only
    // cut is refused.
    c.lbObjets->setCurrentRow(0);
    c.cmdreinit_Click();
    Frmaltazsuivi& s = frmaltazsuivi();
    c.Txtad_h->setText("12,5");
    s.imglecture_Click();
    EXPECT_EQ(messages, QStringList{kTypedCoordinatesMessage + QStringLiteral("\nLe suivi n'a pas été lancé.")});
    EXPECT_FALSE(s.timcompteur->isActive());
    messages.clear();
    c.Txtad_h->setText("12.5");
    s.imglecture_Click();
    EXPECT_TRUE(s.timcompteur->isActive());
    EXPECT_EQ(c.Txtad_h->text(), "12.5") << "the object typed is the one tracked";
    s.imgstop_Click();
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(TypedFractions, TheAltazimuthPointingWindowTakesThePlaceTypedOrRefusesIt) {
    Mode(2);
    Frmaltazpointage& w = frmaltazpointage();
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.what);
        TypeInto(w, k.fraction);
        EXPECT_EQ(shared.equa.GotoRA, k.ra);
        EXPECT_EQ(shared.equa.GotoDec, k.dec);
        const double az = shared.pos.AzimuthArcsec, alt = shared.pos.AltitudeArcsec;
        const QString raShown = w.tADpos->text(), decShown = w.tdcpos->text();
        EXPECT_EQ(raShown, CaptionsOf(k.ra, k.dec, NumberForm::Signed).ra);
        EXPECT_EQ(decShown, CaptionsOf(k.ra, k.dec, NumberForm::Signed).dec);

        TypeInto(w, k.whole);
        EXPECT_EQ(shared.equa.GotoRA, k.ra);
        EXPECT_EQ(shared.equa.GotoDec, k.dec);
        EXPECT_NEAR(shared.pos.AzimuthArcsec, az, 1e-6);
        EXPECT_NEAR(shared.pos.AltitudeArcsec, alt, 1e-6);
        EXPECT_EQ(w.tADpos->text(), raShown);
        EXPECT_EQ(w.tdcpos->text(), decShown);
    }
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(Data().empty()) << "nothing moves";

    const double az = shared.pos.AzimuthArcsec, ra = shared.equa.GotoRA;
    for (const Typed& t : kRefused) {
        SCOPED_TRACE(t.h);
        TypeInto(w, t);
    }
    EXPECT_EQ(messages, QStringList(std::size(kRefused), kTypedCoordinatesMessage));
    EXPECT_EQ(shared.pos.AzimuthArcsec, az);
    EXPECT_EQ(shared.equa.GotoRA, ra);
    // The comma of "12,5" is refused for what it is: the wrong decimal separator.
    EXPECT_TRUE(messages[0].contains(
        QStringLiteral("Le séparateur décimal est le point : « 12,5 » n'est pas un nombre, tapez « 12.5 »."))) <<
        messages[0].toStdString();
}

TEST_F(TypedFractions, TheEquatorialPointingWindowGoesToThePlaceTypedOrRefusesIt) {
    Mode(1);
    shared.drive.EquaSpeedTable = {};  // no waiting between writes
    Frmequapointage& w = frmequapointage();
    const auto syncOnFirstStar = [&w] {
        w.lbEtoiles->setCurrentRow(0);
        w.lbEtoiles_DblClick();
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.what);
        syncOnFirstStar();
        Sim().ClearWrites();
        TypeInto(w, k.fraction);
        // The goto aims at the place typed; the position ends where its
        // pulses took the mount, within a pulse or two of it.
        EXPECT_EQ(shared.equa.GotoRA, k.ra);
        EXPECT_EQ(shared.equa.GotoDec, k.dec);
        EXPECT_NEAR(shared.equa.TelescopeRA, k.ra, 2 * RaPulseAngle(*ReadEquaMechanics()));
        EXPECT_NEAR(shared.equa.TelescopeDec, k.dec, 2 * DecPulseAngle(*ReadEquaMechanics()));
        const double reachedRa = shared.equa.TelescopeRA, reachedDec = shared.equa.TelescopeDec;
        EXPECT_EQ(w.tADpos->text(), CaptionsOf(reachedRa, reachedDec, NumberForm::Plain).ra);
        EXPECT_EQ(w.tdcpos->text(), CaptionsOf(reachedRa, reachedDec, NumberForm::Plain).dec);
        const std::vector<int> pulses = Data();
        EXPECT_FALSE(pulses.empty());

        syncOnFirstStar();
        Sim().ClearWrites();
        TypeInto(w, k.whole);
        EXPECT_EQ(shared.equa.GotoRA, k.ra);
        EXPECT_EQ(shared.equa.TelescopeRA, reachedRa);
        EXPECT_EQ(Data(), pulses) << "the mount goes where the whole hours and degrees take it";
    }
    EXPECT_TRUE(messages.isEmpty());

    syncOnFirstStar();
    Sim().ClearWrites();
    const double ra = shared.equa.TelescopeRA;
    for (const Typed& t : kRefused) {
        SCOPED_TRACE(t.h);
        TypeInto(w, t);
    }
    EXPECT_EQ(messages, QStringList(std::size(kRefused), kTypedCoordinatesMessage));
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(shared.equa.TelescopeRA, ra);
}
