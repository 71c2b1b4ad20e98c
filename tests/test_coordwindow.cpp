#include "altaz/frmconfig.h"
#include "altaz/frmcoord.h"
#include "core/calendar.h"
#include "core/state.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"
#include "shell/buttonpictures.h"
#include "shell/frminterface.h"
#include "platform/datadir.h"
#include "tests/fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

const char* const kStars =
    "\"Alpha\",\"Ori\",3327,-1234\r\n"
    "\"Beta\",\"Zzz\",100,-300\r\n"
    "\"Gamma\",\"Lyr\",11178,23285\r\n";
const char* const kConst = "\"Ori\",\"Orion\"\r\n\"Lyr\",\"Lyra\"\r\n";
const char* const kMessier =
    "\"M 1\",\"DN\",332,1322\r\n"
    "\"M 2\",\"GC\",1294,-41\r\n"
    "\"M 31\",\"GL\",44,2484\r\n"
    "\"M 45\",\"OC\",226,1447\r\n"
    "\"M 44\",\"OC\",520,1198\r\n";

class CoordWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseShippedData();
        WriteData("5magstar.cat", QString(kStars));
        WriteData("const.cat", QString(kConst));
        WriteData("messier.cat", QString(kMessier));
        frminterface().MDIForm_Load();
        frminterface().show();
        messages.clear();
        ui::SetPopupHook([this](QMenu* m) {
            QStringList texts;
            for (QAction* a : m->actions())
                if (!a->isSeparator()) texts << a->text();
            popups << m->objectName() + ": " + texts.join(" | ");
        });
    }
    void TearDown() override {
        ui::SetPopupHook({});
        WindowTest::TearDown();
    }
    QStringList popups;
};

QStringList rows(QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
    return out;
}

}  // namespace

TEST_F(CoordWindow, LoadSetsTheSharedControlsAndState) {
    clock = {2026, 12, 10, 21, 30, 15, 0, false};
    shared.pos.PendingAzSteps = 40;
    shared.pos.AzDirectionPlus = vb::True;
    WriteData("inversion.ini", QByteArray("Vrai\r\nFaux\r\n"));
    WriteData("config_altaz.ini", QByteArray("-1\r\n-30\r\n45\r\n10\r\n400\r\n200\r\n1500\r\n250000\r\n"));

    Frmcoord& c = frmcoord();

    EXPECT_EQ(c.windowTitle(), QStringLiteral("Coordonnées altazimutales"));
    EXPECT_EQ(c.TwipsWidth(), 5745);
    EXPECT_EQ(c.TwipsHeight(), 5700);
    EXPECT_FALSE(c.Shown());
    EXPECT_EQ(c.cbjour->count(), 31);
    EXPECT_EQ(c.cbmois->itemText(1), QStringLiteral("février"));
    EXPECT_EQ(c.cbannee->count(), 100);
    EXPECT_EQ(c.cbannee->itemText(99), "2099");
    EXPECT_EQ(c.cbjour->currentIndex(), 9);
    EXPECT_EQ(c.cbmois->currentIndex(), 11);
    EXPECT_EQ(c.cbannee->currentIndex(), 26);
    EXPECT_TRUE(c.opthivers->isChecked());
    EXPECT_EQ(shared.site.UtOffsetHours, 1);
    EXPECT_EQ(c.txth->text(), "20");
    EXPECT_EQ(c.txtmin->text(), "30");
    EXPECT_EQ(c.txts->text(), "15");
    EXPECT_EQ(c.txtms->text(), "0");
    EXPECT_EQ(c.txtessai->text(), SiderealTime0hText({9, 11, 26})) << "the conversions read it";
    for (QLineEdit* b : {c.txtcoordaz1, c.txtcoordaz2, c.txtcoordaz3, c.txtcoordalt1, c.txtcoordalt2, c.txtcoordalt3})
        EXPECT_EQ(b->text(), "?");
    EXPECT_EQ(shared.pos.PendingAzSteps, 0);
    EXPECT_TRUE(frminterface().heuretimer->isActive());
    EXPECT_TRUE(c.picraquette->Shows(ButtonPictures[6]));
    EXPECT_TRUE(c.chkaz->isChecked());
    EXPECT_FALSE(c.chkalt->isChecked());
    EXPECT_EQ(shared.site.InvertAz, vb::True);
    EXPECT_EQ(c.Frame1->txtaz[0]->text(), "1118078");
    EXPECT_EQ(c.Frame1->txtalt[2]->text(), "70434");
    EXPECT_EQ(shared.site.SiteAndMount.SiteLongitudeDeg, -1);
    EXPECT_EQ(shared.site.SiteAndMount.SiteLongitudeMin, -30);
    EXPECT_EQ(shared.site.SiteAndMount.SiteLatitudeDeg, 45);
    EXPECT_EQ(shared.site.SiteAndMount.AzMotorSteps, 400);
    EXPECT_EQ(shared.site.SiteAndMount.AltitudeRatio, 1.5);
    EXPECT_EQ(shared.site.AzimuthRatio, 250);
    EXPECT_EQ(shared.site.AzStepArcsec, 6.48);     // 360 / (400 x 250) x 3600 / 2
    EXPECT_EQ(shared.site.AltStepArcsec, 2160);   // 360 / (200 x 1.5) x 3600 / 2
    EXPECT_EQ((std::array<int16_t, 4>{shared.site.AzPlusBits, shared.site.AzMinusBits, shared.site.AltPlusBits,
                                      shared.site.AltMinusBits}),
              (std::array<int16_t, 4>{8, 0, 2, 0}));
    EXPECT_TRUE(forms::Loaded<Frmconfig>());
    EXPECT_FALSE(frmconfig().Shown());
    EXPECT_EQ(shared.win.AltazSettingsShown, vb::False);
    EXPECT_EQ(frmconfig().cbpointaz->count(), 5);
    EXPECT_EQ(shared.pos.AzDirectionPlus, vb::False);
    EXPECT_EQ(rows(c.lbCatalogue).size(), 11);
    EXPECT_EQ(rows(c.lbCatalogue)[3], QStringLiteral("Objets NGC de 1 à 999"));
    EXPECT_EQ(c.lbCatalogue->currentRow(), 0);
    EXPECT_EQ(rows(c.lbObjets), (QStringList{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(c.lbObjets->currentRow(), 0);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(CoordWindow, SpeedBarsStandWhereTheStoredDelaysPutThem) {
    struct Case {
        int32_t azSlow, azMedium, altFast;
        int azlPos, azmPos, altrPos;
    } cases[] = {
        {1119078, 463738, 70534, 0, 0, 0},
        {1119078 - 2000, 463738 - 1200, 70534 - 200, 100, 100, 100},
        {463738, 70534, 5000, 32767, 32767, 32767},
        {2000000, -5, 90000, 0, 32767, 0},  // beyond the bars: their nearest end
        {1119078 - 30, 463738, 70534, 2, 0, 0}, // 1.5 rounds to the even 2
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.azSlow);
        shared.drive.ManualSpeedTable[0][0] = c.azSlow;
        shared.drive.ManualSpeedTable[1][0] = c.azMedium;
        shared.drive.ManualSpeedTable[2][1] = c.altFast;
        Frmcoord& w = frmcoord();
        EXPECT_EQ(w.Frame1->HScrollazl->value(), c.azlPos);
        EXPECT_EQ(w.Frame1->HScrollazm->value(), c.azmPos);
        EXPECT_EQ(w.Frame1->HScrollaltr->value(), c.altrPos);
        forms::Unload<Frmcoord>();
    }
}

TEST_F(CoordWindow, EveryCatalogueOfTheListLoads) {
    for (const char* f : {"5magstar.cat", "messier.cat", "const.cat"}) QFile::remove(datadir::Folder() + "/" + f);
    UseShippedData();
    Frmcoord& c = frmcoord();
    for (int row : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0}) {
        c.lbCatalogue->setCurrentRow(row);
        EXPECT_GT(c.lbObjets->count(), 100) << row;
        EXPECT_EQ(c.lbObjets->count(), shared.cat.CatalogueCount) << row;
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(CoordWindow, UniversalTimeAndTheDayBeforeAtLoad) {
    struct Case {
        const char* name;
        seams::LocalTime local;
        const char* txth;
        int cbjour;
        bool summer;
    } cases[] = {
        {"summer 00:30 on the 15th", {2026, 7, 15, 0, 30, 0, 0, true}, "22", 13, true},
        {"summer 01:10", {2026, 7, 15, 1, 10, 0, 0, true}, "23", 13, true},
        {"summer 02:10", {2026, 7, 15, 2, 10, 0, 0, true}, "0", 14, true},
        {"winter 00:30", {2026, 1, 15, 0, 30, 0, 0, false}, "23", 13, false},
        {"winter 01:10", {2026, 1, 15, 1, 10, 0, 0, false}, "0", 14, false},
        {"summer 00:30 on the 1st", {2026, 7, 1, 0, 30, 0, 0, true}, "22", -1, true},
        {"late October still summer time", {2026, 10, 24, 12, 0, 0, 0, true}, "10", 23, true},
        {"early April already summer time", {2026, 4, 2, 12, 0, 0, 0, true}, "10", 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clock = c.local;
        Frmcoord& w = frmcoord();
        EXPECT_EQ(w.txth->text(), QString::fromLatin1(c.txth));
        EXPECT_EQ(w.cbjour->currentIndex(), c.cbjour);
        EXPECT_EQ(w.optété->isChecked(), c.summer);
        EXPECT_EQ(shared.site.UtOffsetHours, c.summer ? 2 : 1);
        forms::Unload<Frmcoord>();
    }
}

TEST_F(CoordWindow, DayZeroIsTheLastDayOfTheMonthBefore) {
    clock = {2026, 7, 1, 0, 30, 0, 0, true};
    const QString dayZero = frmcoord().txtessai->text();
    forms::Unload<Frmcoord>();
    clock = {2026, 6, 30, 12, 0, 0, 0, true};
    EXPECT_EQ(frmcoord().txtessai->text(), dayZero);
}

TEST_F(CoordWindow, SeasonAndPanelOptions) {
    Frmcoord& c = frmcoord();
    c.optété->click();
    EXPECT_EQ(shared.site.UtOffsetHours, 2);
    c.opthivers->click();
    EXPECT_EQ(shared.site.UtOffsetHours, 1);
    c.optvis->click();
    EXPECT_EQ(c.TwipsHeight(), 9000);
    c.optinvis->click();
    EXPECT_EQ(c.TwipsHeight(), 5700);
}

TEST_F(CoordWindow, MissingSettingsAreToldAndTheWindowStillOpens) {
    for (const char* f : {"config_altaz.ini", "inversion.ini", "5magstar.cat", "pointagealtaz.ini"})
        QFile::remove(datadir::Folder() + "/" + f);
    Frmcoord& c = frmcoord();
    c.Show();
    EXPECT_TRUE(c.Shown());
    const QString all = messages.join('\n');
    for (const char* f : {"config_altaz.ini", "inversion.ini", "5magstar.cat", "pointagealtaz.ini"})
        EXPECT_TRUE(all.contains(QString::fromLatin1(f))) << f;
    EXPECT_EQ(shared.site.AzimuthRatio, 100);
    EXPECT_GT(shared.site.AzStepArcsec, 0);
    EXPECT_EQ(c.lbObjets->count(), 0);
}

TEST_F(CoordWindow, AMalformedSiteFileIsToldAndItsUnreadValuesKeepTheirDefaults) {
    WriteData("config_altaz.ini", QByteArray("-3\r\nest\r\n45\r\n"));
    Frmcoord& c = frmcoord();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("config_altaz.ini"));
    EXPECT_EQ(shared.site.SiteAndMount.SiteLongitudeDeg, -3);
    EXPECT_EQ(shared.site.SiteAndMount.SiteLongitudeMin, 20);
    EXPECT_EQ(shared.site.SiteAndMount.SiteLatitudeDeg, 45);
    EXPECT_EQ(shared.site.SiteAndMount.AzMotorSteps, 200);
    EXPECT_EQ(shared.site.AzimuthRatio, 100);
    EXPECT_EQ(c.lbCatalogue->count(), 11);
}

TEST_F(CoordWindow, ZeroMechanicsInTheSiteFileAreToldAndTheDefaultsServe) {
    WriteData("config_altaz.ini", QByteArray("2\r\n20\r\n48\r\n50\r\n0\r\n200\r\n0\r\n100000\r\n"));
    frmcoord();
    const QString all = messages.join('\n');
    EXPECT_TRUE(all.contains("config_altaz.ini")) << all.toStdString();
    EXPECT_EQ(shared.site.SiteAndMount.AzMotorSteps, 200);
    EXPECT_EQ(shared.site.SiteAndMount.AltitudeRatio, 100);
    EXPECT_GT(shared.site.AzStepArcsec, 0);
    EXPECT_GT(shared.site.AltStepArcsec, 0);
}

TEST_F(CoordWindow, TheTitleBarDoesNotCloseIt) {
    Frmcoord& c = frmcoord();
    c.Show();
    ASSERT_NE(c.parentWidget(), nullptr) << "shown inside the main window";
    c.parentWidget()->close();  // the sub-window's own close button
    EXPECT_TRUE(forms::Loaded<Frmcoord>());
    EXPECT_TRUE(c.Shown());
}

class ClockTick : public CoordWindow {};

TEST_F(ClockTick, TheClockRunsAndThePendingPulsesReachTheCounters) {
    clock = {2026, 12, 10, 21, 30, 15, 0, false};
    Frmcoord& c = frmcoord();
    shared.site.AzStepArcsec = 10;
    shared.site.AltStepArcsec = 5;
    shared.pos.AzimuthArcsec = 1296000 - 10;
    shared.pos.PendingAzSteps = 2;
    shared.pos.AltitudeArcsec = 0;
    shared.pos.PendingAltSteps = -360;
    shared.pos.AzDirectionPlus = vb::True;
    clock.second = 16;
    frminterface().heuretimer_Timer();
    EXPECT_EQ(c.txth->text(), "20");
    EXPECT_EQ(c.txts->text(), "16");
    EXPECT_EQ(shared.pos.AzimuthArcsec, 10);
    EXPECT_EQ(shared.pos.PendingAzSteps, 0);
    EXPECT_EQ(c.txtaztos->text(), "10");
    EXPECT_EQ((QStringList{c.txtcoordaz1->text(), c.txtcoordaz2->text(), c.txtcoordaz3->text()}),
              (QStringList{"0", "0", "10"}));
    EXPECT_EQ(shared.pos.AltitudeArcsec, -1800);
    EXPECT_EQ((QStringList{c.txtcoordalt1->text(), c.txtcoordalt2->text(), c.txtcoordalt3->text()}),
              (QStringList{"-1", "30", "0"}));
    EXPECT_EQ(c.txtsens->text(), "Vrai");
}

TEST_F(ClockTick, AtUniversalMidnightTheDateListsFollowTheSystemDate) {
    clock = {2026, 12, 10, 21, 30, 0, 0, false};
    Frmcoord& c = frmcoord();
    const QString before = c.txtessai->text();
    // 01:00:00 local in winter is 0 h 0 min 0 s universal time on the 11th.
    clock = {2026, 12, 11, 1, 0, 0, 0, false};
    frminterface().heuretimer_Timer();
    EXPECT_EQ(c.txth->text(), "0");
    EXPECT_EQ(c.cbjour->currentIndex(), 10);
    EXPECT_NE(c.txtessai->text(), before);
    // Lists that are not on the UT date are put back on it at any second.
    c.cbjour->setCurrentIndex(3);
    clock.second = 1;
    frminterface().heuretimer_Timer();
    EXPECT_EQ(c.cbjour->currentIndex(), 10);
}

TEST_F(ClockTick, ATickThatMissesUniversalMidnightStillMovesTheDate) {
    // Winter: UT midnight is 01:00:00 local.
    struct Case {
        const char* what;
        seams::LocalTime before, after;
    } cases[] = {
        {"23:59:59 then 00:00:01 UT", {2026, 12, 11, 0, 59, 59, 0, false}, {2026, 12, 11, 1, 0, 1, 0, false}},
        {"a loop held for a minute", {2026, 12, 11, 0, 59, 30, 0, false}, {2026, 12, 11, 1, 0, 30, 0, false}},
        {"at the end of a month", {2026, 12, 1, 0, 59, 59, 0, false}, {2026, 12, 1, 1, 0, 2, 0, false}},
        {"in New York, 19:00 local", {2026, 12, 10, 18, 59, 59, 0, false, -5 * 3600},
         {2026, 12, 10, 19, 0, 1, 0, false, -5 * 3600}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        clock = k.before;
        Frmcoord& c = frmcoord();
        frminterface().heuretimer_Timer();
        EXPECT_EQ(c.txth->text(), "23");
        const DateLists dayBefore = c.Time().dates;
        clock = k.after;
        frminterface().heuretimer_Timer();
        EXPECT_EQ(c.txth->text(), "0");
        const DateLists ut = c.Time().dates;
        EXPECT_EQ(JulianDayOf(ut), JulianDayOf(dayBefore) + 1);
        EXPECT_GE(ut.cbjour, 0) << "a day of the list is selected";
        EXPECT_EQ(c.txtessai->text(), SiderealTime0hText(ut));
        forms::Unload<Frmcoord>();
    }
}

TEST_F(ClockTick, TheSeasonButtonsFollowTheSystemWhenSummerTimeEnds) {
    clock = {2026, 10, 25, 2, 30, 0, 0, true, 7200};
    Frmcoord& c = frmcoord();
    EXPECT_TRUE(c.optété->isChecked());
    EXPECT_EQ(c.txth->text(), "0");
    clock = {2026, 10, 25, 2, 30, 0, 0, false, 3600};  // an hour later, winter time
    frminterface().heuretimer_Timer();
    EXPECT_EQ(c.txth->text(), "1");
    EXPECT_TRUE(c.opthivers->isChecked());
    EXPECT_EQ(shared.site.UtOffsetHours, 1);
}

TEST_F(ClockTick, AtLoadInAnotherZoneTheClockAndTheDateAreUniversal) {
    clock = {2026, 12, 10, 21, 30, 15, 0, false, -5 * 3600};  // New York
    Frmcoord& c = frmcoord();
    EXPECT_EQ(c.txth->text(), "2");
    EXPECT_EQ(c.txtmin->text(), "30");
    EXPECT_EQ(c.cbjour->currentIndex(), 10);
    EXPECT_EQ(c.txtessai->text(), SiderealTime0hText({10, 11, 26}));
    EXPECT_TRUE(c.opthivers->isChecked());
}

TEST_F(ClockTick, AtNewYearAllThreeDateListsRollOver) {
    clock = {2026, 12, 31, 21, 0, 0, 0, false};
    Frmcoord& c = frmcoord();
    clock = {2027, 1, 1, 1, 0, 0, 0, false};
    frminterface().heuretimer_Timer();
    EXPECT_EQ(c.cbjour->currentIndex(), 0);
    EXPECT_EQ(c.cbmois->currentIndex(), 0);
    EXPECT_EQ(c.cbannee->currentIndex(), 27);
    EXPECT_EQ(c.txtessai->text(), SiderealTime0hText({0, 0, 27}));
}

TEST_F(ClockTick, DirectionTestCountsThePaddleCodeInsteadOfMovingTheCounters) {
    frmcoord();
    shared.pos.StepCountingOn = vb::True;
    shared.pos.PendingAzSteps = 7;
    shared.site.AzStepArcsec = 10;
    struct Case {
        int16_t code;
        int16_t azPlus, altPlus;
        double az, alt;
    } cases[] = {
        {15, vb::True, 0, 1, 0},     {143, vb::False, 0, -1, 0},   {9, vb::True, 0, 5, 0},
        {137, vb::False, 0, -5, 0},  {13, vb::True, 0, 10, 0},     {141, vb::True, 0, 10, 0},
        {26, 0, vb::True, 0, 1},     {10, 0, vb::False, 0, -1},    {19, 0, vb::True, 0, 5},
        {3, 0, vb::True, 0, 5},      {18, 0, vb::False, 0, -10},   {2, 0, vb::True, 0, 10},
        {11, vb::True, vb::True, 0, 0}, {1000, vb::True, vb::True, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        shared.pos.StepCounterAz = 100;
        shared.pos.StepCounterAlt = 100;
        shared.drive.HandPadCode = c.code;
        shared.pos.AzDirectionPlus = c.azPlus;
        shared.pos.AltDirectionPlus = c.altPlus;
        frminterface().heuretimer_Timer();
        EXPECT_EQ(shared.pos.StepCounterAz, 100 + c.az);
        EXPECT_EQ(shared.pos.StepCounterAlt, 100 + c.alt);
        EXPECT_EQ(frmconfig().txtnbraz->text(), vb::CStr(100 + c.az));
        EXPECT_EQ(frmconfig().txtnbralt->text(), vb::CStr(100 + c.alt));
    }
    EXPECT_EQ(shared.pos.PendingAzSteps, 7) << "the position counters are left alone";
    EXPECT_EQ(shared.pos.AzimuthArcsec, 0);
}

class ObjectList : public CoordWindow {};

TEST_F(ObjectList, ChoosingACatalogueResetsTheFilter) {
    Frmcoord& c = frmcoord();
    Frminterface& m = frminterface();
    c.lbCatalogue->setCurrentRow(1);
    EXPECT_EQ(c.CatalogueIndex, 1);
    EXPECT_EQ(rows(c.lbObjets), (QStringList{"M 1", "M 2", "M 31", "M 45", "M 44"}));
    c.lbObjets->setCurrentRow(0);
    m.mnuAOuverts->trigger();
    EXPECT_EQ(rows(c.lbObjets), (QStringList{"M 45", "M 44"}));
    EXPECT_EQ(m.mnufilt->text(), "filtre:[Ouverts]");
    EXPECT_TRUE(m.mnuAOuverts->isChecked());
    c.lbCatalogue->setCurrentRow(0);
    c.lbCatalogue->setCurrentRow(1);
    EXPECT_EQ(rows(c.lbObjets).size(), 5);
    EXPECT_EQ(m.mnufilt->text(), "Filtre=[Aucun]");
    for (int16_t code = 0; code < 8; ++code) EXPECT_EQ(m.FilterItem(code)->isChecked(), code == 0) << code;
    EXPECT_EQ(shared.cat.ObjectTypeFilter, 0);
}

TEST_F(ObjectList, AClickOnTheCatalogueAlreadyChosenReloadsItAndResetsTheFilter) {
    Frmcoord& c = frmcoord();
    Frminterface& m = frminterface();
    c.Show();
    auto click = [&](int row) {
        const QRect r = c.lbCatalogue->visualItemRect(c.lbCatalogue->item(row));
        QTest::mouseClick(c.lbCatalogue->viewport(), Qt::LeftButton, {}, r.center());
    };
    click(1);
    EXPECT_EQ(c.CatalogueIndex, 1);
    EXPECT_EQ(rows(c.lbObjets), (QStringList{"M 1", "M 2", "M 31", "M 45", "M 44"})) << "loaded once";
    m.mnuAOuverts->trigger();
    EXPECT_EQ(rows(c.lbObjets), (QStringList{"M 45", "M 44"}));

    click(1);

    EXPECT_EQ(rows(c.lbObjets), (QStringList{"M 1", "M 2", "M 31", "M 45", "M 44"}));
    EXPECT_EQ(m.mnufilt->text(), "Filtre=[Aucun]");
    EXPECT_TRUE(m.mnuaucun->isChecked());
    EXPECT_FALSE(m.mnuAOuverts->isChecked());
    EXPECT_EQ(shared.cat.ObjectTypeFilter, 0);
}

TEST_F(ObjectList, AucunReloadsTheWholeCatalogue) {
    Frmcoord& c = frmcoord();
    Frminterface& m = frminterface();
    c.lbCatalogue->setCurrentRow(1);
    m.mnugalaxies->trigger();
    EXPECT_EQ(rows(c.lbObjets), (QStringList{"M 31"}));
    m.mnuaucun->trigger();
    EXPECT_EQ(rows(c.lbObjets).size(), 5);
    EXPECT_EQ(m.mnufilt->text(), "filtre:[Aucun]");
    EXPECT_FALSE(m.mnugalaxies->isChecked());
    EXPECT_TRUE(m.mnuaucun->isChecked());
}

TEST_F(ObjectList, RightClickOnAStarShowsTheStarThenTheTypePopUp) {
    Frmcoord& c = frmcoord();
    c.lbObjets->setCurrentRow(0);
    c.lbObjets_MouseDown(Qt::RightButton);
    ASSERT_EQ(popups.size(), 2);
    EXPECT_EQ(popups[0], QStringLiteral("mnuConst: in Orion | AD: 5h 32.7' | Dec:-2°-3.4'"));
    EXPECT_TRUE(popups[1].startsWith(QStringLiteral("mnufiltre: TYPE:[] | ")));
    popups.clear();
    c.lbObjets->setCurrentRow(1);
    c.lbObjets_MouseDown(Qt::RightButton);
    ASSERT_EQ(popups.size(), 2);
    EXPECT_EQ(popups[0], QStringLiteral("mnuConst: in  | AD: 0h 10' | Dec: 0°-30'"));
}

TEST_F(ObjectList, TheTypePopUpNamesTheSelectedFilteredObject) {
    Frmcoord& c = frmcoord();
    c.lbCatalogue->setCurrentRow(1);
    frminterface().mnuATous->trigger();
    c.lbObjets->setCurrentRow(2);  // M 44 among M 2, M 45, M 44
    c.lbObjets_MouseDown(Qt::RightButton);
    ASSERT_EQ(popups.size(), 1);
    EXPECT_TRUE(popups[0].startsWith(QStringLiteral("mnufiltre: TYPE:[AMAS OUVERT] | filtre:[Amas] | "
                                                    "Etoile la plus proche | Aucun | Galaxies")))
        << popups[0].toStdString();
}

TEST_F(ObjectList, OnlyARightClickOnASelectedRowShowsAPopUp) {
    Frmcoord& c = frmcoord();
    c.lbObjets_MouseDown(Qt::LeftButton);
    c.lbObjets_MouseDown(Qt::MiddleButton);
    EXPECT_TRUE(popups.isEmpty());
    c.lbObjets->setCurrentRow(-1);
    c.lbObjets_MouseDown(Qt::RightButton);
    EXPECT_TRUE(popups.isEmpty());
}

TEST_F(ObjectList, ARightPressDescribesTheSelectedRowNotTheOneUnderThePointer) {
    Frmcoord& c = frmcoord();
    c.Show();
    c.lbCatalogue->setCurrentRow(1);
    c.lbObjets->setCurrentRow(2);  // M 31
    const QRect under = c.lbObjets->visualItemRect(c.lbObjets->item(3));
    QTest::mousePress(c.lbObjets->viewport(), Qt::RightButton, {}, under.center());
    EXPECT_EQ(c.lbObjets->currentRow(), 2);
    ASSERT_EQ(popups.size(), 1);
    EXPECT_TRUE(popups[0].startsWith(QStringLiteral("mnufiltre: TYPE:[GALAXIE]")));
}

TEST_F(ObjectList, NearestStarNamesTheStarAndItsConstellation) {
    Frmcoord& c = frmcoord();
    c.lbCatalogue->setCurrentRow(1);
    c.lbObjets->setCurrentRow(2);  // M 31 at 0 h 4.4 min, +41° 24'
    frminterface().mnunearest->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("L'ETOILE LA PLUS PROCHE EST:\r\nBeta ()."));
    // The command reads the star file again each time.
    WriteData("5magstar.cat", QByteArray("\"Sirrah\",\"Lyr\",8,17455\r\n"));
    frminterface().mnunearest->trigger();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1], QStringLiteral("L'ETOILE LA PLUS PROCHE EST:\r\nSirrah (Lyra)."));
}
