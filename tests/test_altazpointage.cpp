#include "altaz/frmaltazpointage.h"
#include "altaz/frmcoord.h"
#include "altaz/pointing.h"
#include "chart/frmCercle.h"
#include "core/conversions.h"
#include "core/gotostep.h"
#include "core/state.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"
#include "shell/buttonpictures.h"
#include "shell/frmDepl.h"
#include "shell/frminterface.h"
#include "tests/fixture.h"
#include "tests/popups.h"

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <cmath>
#include <functional>
#include <memory>

namespace {

const char* const kStars =
    "\"Capella\",\"Aur\",3198,27600\r\n"
    "\"Deneb\",\"Cyg\",12416,27335\r\n"
    "\"Sirius\",\"CMa\",4054,-10084\r\n";
const char* const kConst = "\"Aur\",\"Cocher\"\r\n";
const char* const kMessier =
    "\"M 31\",\"GL\",442,24849\r\n"
    "\"M 45\",\"OC\",2277,14488\r\n"
    "\"M 7\",\"OC\",10758,-20892\r\n";
// 2 deg 20 min east, 48 deg 50 min north; 200 steps and 1:120 on both axes.
const char* const kConfig = "2\r\n20\r\n48\r\n50\r\n200\r\n200\r\n120000\r\n120000\r\n";
constexpr double kLatitudeDeg = 48 + 50 / 60.0;

class AltazPointing : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseShippedData();
        WriteData("5magstar.cat", QString(kStars));
        WriteData("const.cat", QString(kConst));
        WriteData("messier.cat", QString(kMessier));
        WriteData("config_altaz.ini", QByteArray(kConfig));
        WriteData("vitessealtaz.ini", QByteArray("1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n"));
        clock = {2026, 12, 10, 21, 0, 0, 0, false};
        StartAltazimuth();
        RecordPopups(popups);
    }
    void TearDown() override {
        ui::SetPopupHook({});
        WindowTest::TearDown();
    }
    void StartAltazimuth() {
        frminterface().MDIForm_Load();
        frminterface().show();
        frminterface().barchoix_ButtonClick(2);  // "Mode altazimutal"
        messages.clear();
    }
    Frmaltazpointage& w() { return frmaltazpointage(); }
    void Type(const QString& h, const QString& m, const QString& d, const QString& dm) {
        w().lbCatalogue->setCurrentRow(0);  // "Autre..."
        w().tAD[0]->setText(h);
        w().tAD[1]->setText(m);
        w().tDec[0]->setText(d);
        w().tDec[1]->setText(dm);
        w().bOK_Click();
    }
    // The right ascension on the meridian at the clock's time, typed as hours
    // and minutes.
    std::pair<QString, QString> MeridianRA() {
        const double lst = LocalSiderealTime(frmcoord().Time());
        const double h = std::floor(lst / 3600);
        return {QString::number(h), QString::number((lst - 3600 * h) / 60, 'f', 8)};
    }
    QStringList popups;
};

}  // namespace

TEST_F(AltazPointing, OpensOnTheMessierObjectsAtItsSize) {
    w().Show();
    EXPECT_EQ(w().windowTitle(), "pointage");
    EXPECT_EQ(w().TwipsWidth(), 8895);
    EXPECT_EQ(w().TwipsHeight(), 3795);
    ASSERT_EQ(w().lbCatalogue->count(), 12);
    EXPECT_EQ(w().lbCatalogue->item(0)->text(), "Autre...");
    EXPECT_EQ(w().lbCatalogue->item(1)->text(), "Etoiles magnitude 5");
    EXPECT_EQ(w().lbCatalogue->item(11)->text(), QStringLiteral("Objets NGC de 7000 à 7999"));
    EXPECT_EQ(w().lbCatalogue->currentRow(), 2);
    ASSERT_EQ(w().lbObjets->count(), 3);
    EXPECT_EQ(w().lbObjets->item(0)->text(), "M 31");
    EXPECT_FALSE(w().Frame4->isVisible());
    EXPECT_EQ(w().tADpos->text(), "?");
    EXPECT_EQ(w().mnufilt->text(), "Filtre=[Aucun]");
    EXPECT_EQ(w().cmdpointage_graph->text(), "Pointage");
    EXPECT_EQ(w().cmdsave->text(), "Sauvegarde");
    QWidget* frame = w().parentWidget() ? w().parentWidget() : &w();
    frame->resize(300, 300);
    frame->resize(200, 700);
    EXPECT_EQ(w().TwipsWidth(), 8895);
    EXPECT_EQ(w().TwipsHeight(), 3795);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(AltazPointing, TheChosenListOrFrameIsTheOneInSight) {
    w().Show();
    const auto inSight = [this](QWidget* control) { return InSight(w(), control); };
    EXPECT_TRUE(inSight(w().lbObjets));
    w().lbCatalogue->setCurrentRow(0);  // "Autre..."
    EXPECT_TRUE(inSight(w().Frame4));
    w().lbCatalogue->setCurrentRow(1);  // "Etoiles magnitude 5"
    EXPECT_TRUE(inSight(w().lbObjets)) << "the objects of the catalogue just chosen";
    w().lbCatalogue->setCurrentRow(0);
    EXPECT_TRUE(inSight(w().Frame4));
}

TEST_F(AltazPointing, TypedCoordinatesBecomeThePositionWithoutMoving) {
    const auto [h, m] = MeridianRA();
    struct Case {
        const char* d;
        const char* dm;
        double dec;            // GotoDec
        const char* decCaption;
        double altDeg;         // on the meridian: 90 - latitude + declination
        double azDeg;          // due south
    } cases[] = {
        {"10", "30", 6300, " 10° 30'", 90 - kLatitudeDeg + 10.5, 180},
        {"-10", "12", -6120, "-10° 12'", 90 - kLatitudeDeg - 10.2, 180},
        {"0", "-30", -300, " 0°-30'", 90 - kLatitudeDeg - 0.5, 180},
        {"48", "50", 29300, " 48° 50'", 90, -1},  // the zenith: any azimuth, but a number
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.d);
        Type(h, m, c.d, c.dm);
        EXPECT_EQ(shared.equa.GotoDec, c.dec);
        EXPECT_EQ(w().tdcpos->text(), QString::fromUtf8(c.decCaption));
        EXPECT_NEAR(shared.pos.AltitudeArcsec, c.altDeg * 3600, 1);
        if (c.azDeg >= 0) {
            EXPECT_NEAR(shared.pos.AzimuthArcsec, c.azDeg * 3600, 1);
        }
        EXPECT_TRUE(std::isfinite(shared.pos.AzimuthArcsec));
        EXPECT_EQ(shared.pos.LocalSiderealSeconds, RoundedSiderealSeconds(LocalSiderealTime(frmcoord().Time())));
    }
    // The minutes' fraction counts: the target is the meridian itself.
    EXPECT_NEAR(shared.equa.GotoRA, 600 * h.toInt() + 10 * m.toDouble(), 1e-5);
    EXPECT_EQ(w().tADpos->text(), CaptionsOf(shared.equa.GotoRA, 0, NumberForm::Signed).ra);
    EXPECT_TRUE(Data().empty()) << "nothing moves";
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(AltazPointing, TheSiderealTimeIsFoldedIntoOneDayWestOfGreenwich) {
    // 120 degrees west, just after 0 h universal time: the sum of the
    // sidereal time at 0 h and the longitude is negative.
    WriteData("config_altaz.ini", QByteArray("-120\r\n0\r\n48\r\n50\r\n200\r\n200\r\n120000\r\n120000\r\n"));
    clock = {2026, 12, 11, 1, 5, 0, 0, false};
    forms::UnloadAll();
    QCoreApplication::processEvents();
    StartAltazimuth();
    Type("5", "30", "10", "0");
    EXPECT_GE(shared.pos.LocalSiderealSeconds, 0);
    EXPECT_LE(shared.pos.LocalSiderealSeconds, 86399);
    EXPECT_GE(shared.pos.AltitudeArcsec, -90 * 3600);
    EXPECT_LE(shared.pos.AzimuthArcsec, 360 * 3600);
}

TEST_F(AltazPointing, NothingTypedOrSelectedDoesNothing) {
    shared.pos.AzimuthArcsec = 1234;
    Type("", "", "", "");
    w().lbCatalogue->setCurrentRow(2);
    w().lbObjets->setCurrentRow(-1);
    w().lbObjets_DblClick();
    w().lbObjets_MouseDown(Qt::RightButton);
    Type("24", "0", "0", "0");
    Type("5", "0", "91", "0");
    EXPECT_EQ(messages, QStringList(2, kTypedCoordinatesMessage));
    EXPECT_EQ(shared.pos.AzimuthArcsec, 1234);
    EXPECT_TRUE(Data().empty());
    EXPECT_TRUE(popups.isEmpty());
    EXPECT_FALSE(shared.altgoto.GotoRunning);
}

TEST_F(AltazPointing, ADoubleClickGotoLandsOnTheObject) {
    Type("5", "19.8", "46", "0");  // near Capella: the telescope's position
    const double az0 = shared.pos.AzimuthArcsec, alt0 = shared.pos.AltitudeArcsec;
    frmcoord().picraquette->SetPicture(ButtonPictures[7]);
    frminterface().Timer->start();
    bool paddleDuring = true;
    auto events = std::make_shared<int>(0);
    seams::SetDoEvents([&, events] {
        if (++*events == 7) paddleDuring = frminterface().Timer->isActive();
    });

    w().lbCatalogue->setCurrentRow(2);
    w().lbObjets->setCurrentRow(0);  // M 31
    w().lbObjets_DblClick();
    seams::SetDoEvents({});

    const auto& g = shared.altgoto;
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(shared.equa.GotoRA, 442);
    EXPECT_EQ(w().tADpos->text(), " 0h 44.2'");
    EXPECT_EQ(w().tdcpos->text(), QStringLiteral(" 41° 24.9'"));
    EXPECT_LT(std::abs(shared.pos.AzimuthArcsec - g.GotoTargetAz), kGotoToleranceArcsec);
    EXPECT_LT(std::abs(shared.pos.AltitudeArcsec - g.GotoTargetAlt), kGotoToleranceArcsec);
    // The simulated mount went there too.
    const double azStep = shared.site.AzStepArcsec, altStep = shared.site.AltStepArcsec;
    EXPECT_LT(std::abs(az0 + Sim().AzSteps() * azStep - g.GotoTargetAz), kGotoToleranceArcsec + 2 * azStep);
    EXPECT_LT(std::abs(alt0 + Sim().AltSteps() * altStep - g.GotoTargetAlt), kGotoToleranceArcsec + 2 * altStep);
    EXPECT_NE(Sim().AzSteps(), 0);
    EXPECT_FALSE(paddleDuring) << "the paddle rests during the goto";
    EXPECT_TRUE(frmcoord().picraquette->Shows(ButtonPictures[7]));
    EXPECT_TRUE(frminterface().Timer->isActive());
    EXPECT_EQ(Sim().DataLatch(), 0);
    EXPECT_FALSE(forms::Loaded<FrmDepl>());
    EXPECT_EQ(g.StopGoto, vb::False);
    EXPECT_FALSE(g.GotoRunning);
}

TEST_F(AltazPointing, WithAFilterTheRowIsMappedToItsObject) {
    Type("5", "19.8", "46", "0");
    w().lbCatalogue->setCurrentRow(2);
    w().mnuAOuverts_Click();  // M 45, M 7
    ASSERT_EQ(w().lbObjets->count(), 2);
    EXPECT_TRUE(w().mnuAOuverts->isChecked());
    w().lbObjets->setCurrentRow(0);
    w().lbObjets_DblClick();
    EXPECT_EQ(shared.equa.GotoRA, 2277);
    w().mnuaucun_Click();
    EXPECT_EQ(w().lbObjets->count(), 3);
    EXPECT_EQ(w().mnufilt->text(), "filtre:[Aucun]");
}

TEST_F(AltazPointing, TheCoordinatesWindowKeepsItsObjects) {
    frmcoord().lbCatalogue->setCurrentRow(0);  // the bright stars there
    w().lbCatalogue->setCurrentRow(2);         // the Messier objects here
    frmcoord().lbObjets->setCurrentRow(0);
    frmcoord().cmdreinit_Click();              // a sync on the first star
    EXPECT_EQ(frmcoord().Txtad_h->text(), " 5") << "Capella, not M 31";
}

TEST_F(AltazPointing, TheBrightStarsHaveTheirStarPopUp) {
    w().lbCatalogue->setCurrentRow(1);
    w().lbObjets->setCurrentRow(0);
    w().lbObjets_MouseDown(Qt::LeftButton);
    EXPECT_TRUE(popups.isEmpty());
    w().lbObjets_MouseDown(Qt::RightButton);
    ASSERT_EQ(popups.size(), 2);
    EXPECT_EQ(popups[0], QStringLiteral("mnuConst: in Cocher | AD: 5h 19.8' | Dec: 46° 0'"));
    EXPECT_TRUE(popups[1].startsWith("mnufiltre: TYPE:[] | Filtre=[Aucun]")) << popups[1].toStdString();
    w().lbCatalogue->setCurrentRow(2);
    w().lbObjets->setCurrentRow(1);
    w().lbObjets_MouseDown(Qt::RightButton);
    ASSERT_EQ(popups.size(), 3);
    EXPECT_TRUE(popups[2].startsWith("mnufiltre: TYPE:[AMAS OUVERT]"));
}

TEST_F(AltazPointing, TheChartButtonOpensTheChartToPoint) {
    shared.win.AltazMode = vb::False;
    w().cmdpointage_graph->click();
    EXPECT_EQ(frmCercle().mnuPoint->text(), "Pointage");
    EXPECT_EQ(shared.win.SkyChartShown, vb::True);
    EXPECT_EQ(shared.win.AltazMode, vb::True);
    EXPECT_TRUE(frmCercle().Shown());
}

TEST_F(AltazPointing, SaveDoesNothingAndQuitClosesEvenDuringAGoto) {
    w().cmdsave->click();
    EXPECT_TRUE(Writes().empty() || Data().empty());
    Type("5", "19.8", "46", "0");
    auto events = std::make_shared<int>(0);
    seams::SetDoEvents([this, events] {
        if (++*events == 9) w().Cmdquit->click();
    });
    Frmaltazpointage& window = w();
    window.lbCatalogue->setCurrentRow(2);
    window.lbObjets->setCurrentRow(0);
    window.lbObjets_DblClick();
    seams::SetDoEvents({});
    EXPECT_LE(std::abs(Sim().AzSteps()) + std::abs(Sim().AltSteps()), 5) << "the goto stopped at once";
    EXPECT_FALSE(forms::Loaded<Frmaltazpointage>());
    EXPECT_FALSE(shared.altgoto.GotoRunning);
    EXPECT_EQ(shared.altgoto.StopGoto, vb::False);
}

TEST_F(AltazPointing, AMountChangeUnloadsIt) {
    w();
    frminterface().barchoix_ButtonClick(1);
    EXPECT_FALSE(forms::Loaded<Frmaltazpointage>());
}
