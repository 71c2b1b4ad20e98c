// The alt-azimuth tracking window driven as the user drives it: its tick on
// the coordinates window's clock, its start, pause and stop, its settings,
// and where the simulated mount ends up while it tracks a star.
#include "altaz/frmaltazsuivi.h"
#include "altaz/frmcoord.h"
#include "altaz/altazfiles.h"
#include "core/calendar.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/state.h"
#include "core/numbers.h"
#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/vbrt.h"
#include "shell/buttonpictures.h"
#include "shell/frminterface.h"
#include "tests/altazfixture.h"
#include "tests/simsky.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QDateTime>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <functional>
#include <string>
#include <utility>

namespace {

class TrackingWindow : public AltazWindowTest {
protected:
    // The universal time the clock gives now.
    ClockBoxes UtNow() {
        TimeBoxes t;
        UpdateUtClock(t);
        return t.clock;
    }
    // Moves the local clock so that universal time reads h:m:s.000.
    void SetUt(int h, int m, int s) {
        const ClockBoxes now = UtNow();
        const int shown = vb::CLng(3600 * vb::Val(now.txth) + 60 * vb::Val(now.txtmin) + vb::Val(now.txts));
        clock.millisecond = 0;
        simsky::Advance(clock, 1000 * (3600 * h + 60 * m + s - shown));
    }
    void AdvanceClock(int ms) { simsky::Advance(clock, ms); }

    // The coordinates window's clock as "h:m:s.ms".
    static QString ClockText() {
        const Frmcoord& c = frmcoord();
        return c.txth->text() + ':' + c.txtmin->text() + ':' + c.txts->text() + '.' + c.txtms->text();
    }
    static void SetClockBoxes(const char* h, const char* m, const char* s, const char* ms) {
        Frmcoord& c = frmcoord();
        c.txth->setText(h);
        c.txtmin->setText(m);
        c.txts->setText(s);
        c.txtms->setText(ms);
    }
    static void SetDate(int day, int month, int year) {
        Frmcoord& c = frmcoord();
        c.cbjour->setCurrentIndex(day - 1);
        c.cbmois->setCurrentIndex(month - 1);
        c.cbannee->setCurrentIndex(year - 2000);
    }
    static DateLists Dates() {
        const Frmcoord& c = frmcoord();
        return {c.cbjour->currentIndex(), c.cbmois->currentIndex(), c.cbannee->currentIndex()};
    }
    // At 21:00:00 UT, the coordinates window's object set to a star that many
    // hours from the meridian; returns its right ascension in hours.
    double AimAt(double hourAngleHours, double decDeg) {
        SetUt(21, 0, 0);
        Frmcoord& c = frmcoord();
        c.txtms->setText("0");
        TimeBoxes t = c.Time();
        UpdateUtClock(t);
        ShowSiderealTime0h(t);
        const double raHours = simsky::RaAtHourAngle(t, hourAngleHours);
        c.SetCoordinates(SignedCoordinatesOf(raHours, decDeg));
        return raHours;
    }
    // The mount synchronised now on the object in the coordinate boxes, as
    // the sync does it.
    static void SyncOnBoxes() {
        Frmcoord& c = frmcoord();
        TimeBoxes t = c.Time();
        UpdateUtClock(t);
        c.SetTime(t);
        SyncOnCoordinates(t, c.Coordinates());
    }
    // Tracking started on the object in the coordinates window's boxes, the
    // mount synchronised on it, with bursts as fast as the port goes.
    Frmaltazsuivi& Started(const QString& increment) {
        Frmaltazsuivi& s = frmaltazsuivi();
        s.txtincrement->setText(increment);
        s.txttempoa->setText("0");
        s.txttempoh->setText("0");
        SyncOnBoxes();
        s.imglecture_Click();
        return s;
    }

};

TEST_F(TrackingWindow, LoadingFillsTheSettingsAndStartsNothing) {
    WriteData("suivialtaz.ini", QByteArray("700\r\n1200\r\n3400\r\n"));
    Frmaltazsuivi& s = frmaltazsuivi();
    EXPECT_EQ(s.windowTitle(), "Suivi Sidéral ");
    EXPECT_EQ(s.txtincrement->text(), "700");
    EXPECT_EQ(s.txttempoa->text(), "1200");
    EXPECT_EQ(s.txttempoh->text(), "3400");
    EXPECT_EQ(shared.drive.TrackDelayAz, 1200);
    EXPECT_EQ(shared.drive.TrackDelayAlt, 3400);
    EXPECT_EQ(shared.win.TrackingShown, vb::True);
    EXPECT_FALSE(s.timcompteur->isActive());
    EXPECT_EQ(s.TwipsHeight(), 2910);
    EXPECT_EQ(s.lbl1->Caption(), "6");
    EXPECT_EQ(s.imglecture->toolTip(), "suivi sidéral");
    EXPECT_EQ(s.imgpause->toolTip(), "Pause");
    EXPECT_EQ(s.imgstop->toolTip(), "Arrêt");
    EXPECT_TRUE(messages.isEmpty());
    s.Show();
    EXPECT_TRUE(s.Shown());
}

TEST_F(TrackingWindow, AMissingOrShortSettingsFileIsToldAndTheWindowOpens) {
    for (const char* content : {static_cast<const char*>(nullptr), "900\r\n"}) {
        SCOPED_TRACE(content ? content : "missing");
        messages.clear();
        filereport::Reset();
        QFile::remove(datadir::Path(altazfiles::kSuivi));
        if (content) WriteData("suivialtaz.ini", QByteArray(content));
        forms::Unload<Frmaltazsuivi>();
        frmaltazsuivi().Show();
        const Frmaltazsuivi& s = frmaltazsuivi();
        EXPECT_TRUE(s.Shown());
        EXPECT_EQ(s.txtincrement->text(), content ? "900" : "500");
        EXPECT_EQ(s.txttempoa->text(), "100000");
        EXPECT_EQ(s.txttempoh->text(), "100000");
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains("suivialtaz.ini"));
    }
}

TEST_F(TrackingWindow, SaveWritesTheThreeBoxesAndToldAFailedWrite) {
    Frmaltazsuivi& s = frmaltazsuivi();
    s.txtincrement->setText("300");
    s.txttempoa->setText("2500");
    s.txttempoh->setText("7500");
    s.cmdsave_Click();
    EXPECT_EQ(ReadData("suivialtaz.ini"), "300\r\n2500\r\n7500\r\n");
    EXPECT_TRUE(messages.isEmpty());

    // A data folder that cannot take the file: told, the old file kept.
    WriteData("blocker", QByteArray("x"));
    const QString folder = datadir::Path("\\data\\");
    datadir::SetFolder(datadir::Path("\\data\\blocker"));
    s.txtincrement->setText("400");
    s.cmdsave_Click();
    datadir::SetFolder(folder);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("suivialtaz.ini"));
    EXPECT_EQ(ReadData("suivialtaz.ini"), "300\r\n2500\r\n7500\r\n");
}

TEST_F(TrackingWindow, SaveMakesAPlainFileWhereALinkWasPlantedAtItsNewFile) {
    // During the session a link to a file outside the data folder appears
    // where the save writes its new file.
    QTemporaryDir outside;
    ASSERT_TRUE(outside.isValid());
    const QString target = outside.path() + "/elsewhere.ini";
    QFile t(target);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write("kept\r\n");
    t.close();
    const QString saved = datadir::Path("\\data\\suivialtaz.ini");
    ASSERT_TRUE(QFile::link(target, saved + ".nouveau"));
    Frmaltazsuivi& s = frmaltazsuivi();
    s.txtincrement->setText("300");
    s.txttempoa->setText("2500");
    s.txttempoh->setText("7500");
    s.cmdsave_Click();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_FALSE(QFileInfo(saved).isSymLink());
    EXPECT_EQ(ReadData("suivialtaz.ini"), "300\r\n2500\r\n7500\r\n");
    EXPECT_FALSE(QFileInfo::exists(saved + ".nouveau") || QFileInfo(saved + ".nouveau").isSymLink());
    ASSERT_TRUE(t.open(QIODevice::ReadOnly));
    EXPECT_EQ(t.readAll(), "kept\r\n") << "the file outside the data folder is untouched";
}

TEST_F(TrackingWindow, StartTakesTheClockAndThePaddle) {
    Frminterface& main = frminterface();
    Frmcoord& c = frmcoord();
    c.picraquette_Click();  // paddle on
    ASSERT_TRUE(main.Timer->isActive());
    Frmaltazsuivi& s = Started("500");
    EXPECT_TRUE(s.timcompteur->isActive());
    EXPECT_EQ(s.timcompteur->interval(), 500);
    EXPECT_FALSE(main.heuretimer->isActive());
    EXPECT_FALSE(main.Timer->isActive());
    EXPECT_TRUE(c.picraquette->Shows(ButtonPictures[6]));
    EXPECT_EQ(shared.drive.HandPadCode, 1000);
    EXPECT_EQ(c.frheure->width(), twips::ToPixels(6375));
}

TEST_F(TrackingWindow, StartWithoutASyncTracksWhereTheCountersPoint) {
    // The counters on a point of the sky: its coordinates go into the boxes.
    shared.pos.AzimuthArcsec = 180 * 3600;
    shared.pos.AltitudeArcsec = 30 * 3600;
    shared.pos.PositionSynced = vb::False;
    Frmaltazsuivi& s = frmaltazsuivi();
    s.imglecture_Click();
    const Frmcoord& c = frmcoord();
    // Due south, 30 degrees up at latitude 48°50': declination 30 - 41°10' = -11°10'.
    EXPECT_EQ(c.txtsign->text(), "-");
    EXPECT_EQ(c.txtdec_deg->text(), "11");
    EXPECT_NEAR(vb::Val(c.txtdec_min->text()), 10, 0.01);
    EXPECT_NEAR(shared.pos.AzimuthArcsec, 180 * 3600, 1);
    EXPECT_NEAR(shared.pos.AltitudeArcsec, 30 * 3600, 1);
}

TEST_F(TrackingWindow, TheClockAdvancesByTheIncrementAndResynchronises) {
    // 500 ms from noon: the second whole second comes from the system clock.
    SetUt(12, 0, 0);
    frmcoord().txtms->setText("0");
    Frmaltazsuivi& s = Started("500");
    s.timcompteur_Timer();
    EXPECT_EQ(ClockText(), "12:0:0.500");
    AdvanceClock(500);
    s.timcompteur_Timer();
    EXPECT_EQ(ClockText(), "12:0:1.0");
    AdvanceClock(7000);  // the system clock moved on: read at the next whole second
    s.timcompteur_Timer();
    EXPECT_EQ(ClockText(), "12:0:7.500");

    // 2000 ms: every tick reads the system clock first.
    SetUt(12, 30, 58);
    s.txtincrement->setText("2000");
    frmcoord().txtms->setText("0");
    s.timcompteur_Timer();
    EXPECT_EQ(ClockText(), "12:31:0.0");
    EXPECT_EQ(s.timcompteur->interval(), 2000);
}

TEST_F(TrackingWindow, ThreeHundredMillisecondsResynchroniseEveryTenthTick) {
    SetUt(12, 0, 0);
    frmcoord().txtms->setText("0");
    Frmaltazsuivi& s = Started("300");
    QStringList shown;
    for (int i = 0; i < 11; ++i) {
        s.timcompteur_Timer();
        shown << ClockText();
        AdvanceClock(300);  // each tick on time
    }
    EXPECT_EQ(shown, (QStringList{"12:0:0.300", "12:0:0.600", "12:0:0.900", "12:0:1.200", "12:0:1.500",
                                  "12:0:1.800", "12:0:2.100", "12:0:2.400", "12:0:2.700", "12:0:3.0",
                                  "12:0:3.300"}));
}

TEST_F(TrackingWindow, TicksShorterThanASecondKeepToTheComputersClockWithinOneTick) {
    // Each tick comes its interval after the last one ended, a few
    // milliseconds late; a new increment typed leaves the milliseconds
    // where they are, so that they may never read 0 again. For an hour, the
    // clock stays within one tick of the computer's.
    SetUt(21, 0, 0);
    frmcoord().txtms->setText("0");
    Frmaltazsuivi& s = Started("250");
    double worst = 0;
    auto gap = [&] {
        const TimeBoxes t = frmcoord().Time();
        const double shown = 3600 * vb::Val(t.clock.txth) + 60 * vb::Val(t.clock.txtmin) + vb::Val(t.clock.txts) +
                             vb::Val(t.clock.txtms) / 1000;
        const ClockBoxes ut = UtNow();
        const double system = 3600 * vb::Val(ut.txth) + 60 * vb::Val(ut.txtmin) + vb::Val(ut.txts) +
                              clock.millisecond / 1000.0;
        return std::fabs(std::remainder(shown - system, 86400.0)) * 1000;
    };
    for (const char* increment : {"250", "500", "300"}) {
        s.txtincrement->setText(increment);
        const int ms = QString::fromLatin1(increment).toInt();
        for (int elapsed = 0; elapsed < 1200 * 1000; elapsed += ms + 7) {
            AdvanceClock(ms + 7);
            s.timcompteur_Timer();
            worst = std::max(worst, gap() - ms);
            ASSERT_LE(gap(), ms + 1e-6) << increment << " ms, after " << elapsed / 1000 << " s";
        }
    }
    EXPECT_LE(worst, 1e-6);
}

TEST_F(TrackingWindow, MidnightMovesTheDateListsToTheNextCalendarDay) {
    struct Case {
        const char* what;
        int day, month, year;
        int nextDay, nextMonth, nextYear;
    } cases[] = {
        {"within a month", 10, 12, 2026, 11, 12, 2026},
        {"end of the year", 31, 12, 2026, 1, 1, 2027},
        {"end of February 2027", 28, 2, 2027, 1, 3, 2027},
        {"leap year 2028", 28, 2, 2028, 29, 2, 2028},
    };
    // The pole: the jumps of the clock move the point tracked nowhere.
    frmcoord().SetCoordinates({"0", "0", "+", "90", "0"});
    Frmaltazsuivi& s = Started("500");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetDate(c.day, c.month, c.year);
        SetClockBoxes("23", "59", "59", "500");
        SetUt(23, 59, 59);  // the computer's clock there too
        AdvanceClock(500);
        s.timcompteur_Timer();
        EXPECT_EQ(ClockText(), "0:0:0.0");
        const DateLists next = Dates();
        EXPECT_EQ(next.cbjour, c.nextDay - 1);
        EXPECT_EQ(next.cbmois, c.nextMonth - 1);
        EXPECT_EQ(next.cbannee, c.nextYear - 2000);
        EXPECT_EQ(frmcoord().txtessai->text(), SiderealTime0hText(next));
    }
}

TEST_F(TrackingWindow, AClockReadingMidnightTakesTheSystemDate) {
    // The pole: the jump of the clock moves the point tracked nowhere.
    frmcoord().SetCoordinates({"0", "0", "+", "90", "0"});
    Frmaltazsuivi& s = Started("500");
    SetUt(0, 0, 0);
    SetDate(3, 5, 2027);
    SetClockBoxes("23", "59", "59", "0");  // milliseconds 0: resynchronised first
    s.timcompteur_Timer();
    EXPECT_EQ(ClockText(), "0:0:0.500");
    const DateLists today = DateListsOf(clock);
    EXPECT_EQ(Dates().cbjour, today.cbjour);
    EXPECT_EQ(Dates().cbmois, today.cbmois);
    EXPECT_EQ(Dates().cbannee, today.cbannee);
    EXPECT_EQ(frmcoord().txtessai->text(), SiderealTime0hText(today));
}

TEST_F(TrackingWindow, AClockReadingMidnightInAnotherZoneTakesTheUniversalDate) {
    frmcoord().SetCoordinates({"0", "0", "+", "90", "0"});  // the pole, as above
    Frmaltazsuivi& s = Started("500");
    // New York in summer: universal midnight is 20:00 local, still the 3rd.
    clock = {2027, 5, 3, 20, 0, 0, 0, true, -4 * 3600};
    SetDate(3, 5, 2027);
    SetClockBoxes("23", "59", "59", "0");  // milliseconds 0: resynchronised first
    s.timcompteur_Timer();
    EXPECT_EQ(ClockText(), "0:0:0.500");
    EXPECT_EQ(Dates().cbjour, 3) << "the 4th";
    EXPECT_EQ(Dates().cbmois, 4);
    EXPECT_EQ(frmcoord().txtessai->text(), SiderealTime0hText(DateListsOf(2027, 5, 4)));
}

TEST_F(TrackingWindow, TextsThatAreNotNumbersKeepTheLastValues) {
    SetUt(12, 0, 0);
    frmcoord().txtms->setText("0");
    Frmaltazsuivi& s = Started("500");
    s.txttempoa->setText("1200");
    s.txttempoh->setText("3400");
    s.timcompteur_Timer();
    s.txttempoa->setText("vite");
    s.txttempoh->setText("");
    frmcoord().txth->setText("midi");
    s.timcompteur_Timer();
    EXPECT_EQ(shared.drive.TrackDelayAz, 1200);
    EXPECT_EQ(shared.drive.TrackDelayAlt, 3400);
    EXPECT_EQ(ClockText(), "12:0:1.0");

    // An increment being typed, or one out of range, leaves the tick as it
    // was: tracking never runs flat out.
    for (const char* typed : {"0", "", "-5", "1,5", "12abc", "nan", "9", "40000"}) {
        s.txtincrement->setText(typed);
        s.timcompteur_Timer();
        EXPECT_EQ(shared.drive.TrackIntervalMs, 500) << typed;
        EXPECT_EQ(s.timcompteur->interval(), 500) << typed;
    }
    s.txttempoa->setText("-5");
    s.timcompteur_Timer();
    EXPECT_EQ(shared.drive.TrackDelayAz, 1200) << "a negative delay is not taken";
    EXPECT_TRUE(messages.isEmpty()) << "a running tick says nothing";
}

TEST_F(TrackingWindow, SettingsThatAreNotInRangeAreNeitherSavedNorStarted) {
    WriteData("suivialtaz.ini", QByteArray("300\r\n2500\r\n7500\r\n"));
    forms::Unload<Frmaltazsuivi>();
    struct Case {
        const char* increment;
        const char* delayAz;
        const char* delayAlt;
        const char* named;
        const char* range;
    } cases[] = {
        {"", "2500", "7500", "Incrément de calcul", "un nombre entier de 10 à 32767"},
        {"abc", "2500", "7500", "Incrément de calcul", "un nombre entier de 10 à 32767"},
        {"nan", "2500", "7500", "Incrément de calcul", "un nombre entier de 10 à 32767"},
        {"0", "2500", "7500", "Incrément de calcul", "un nombre entier de 10 à 32767"},
        {"-5", "2500", "7500", "Incrément de calcul", "un nombre entier de 10 à 32767"},
        {"1,5", "2500", "7500", "Incrément de calcul", "un nombre entier de 10 à 32767"},
        {"12abc", "2500", "7500", "Incrément de calcul", "un nombre entier de 10 à 32767"},
        {"9", "2500", "7500", "Incrément de calcul", "un nombre entier de 10 à 32767"},
        {"32768", "2500", "7500", "Incrément de calcul", "un nombre entier de 10 à 32767"},
        {"12.5", "2500", "7500", "Incrément de calcul", "un nombre entier de 10 à 32767"},
        {"500", "-5", "7500", "Vitesse de correction Azimut", "un nombre entier de 0 à 2147483647"},
        {"500", "2500", "1e308", "Vitesse de correction Altitude", "un nombre entier de 0 à 2147483647"},
        {"500", "2500", "", "Vitesse de correction Altitude", "un nombre entier de 0 à 2147483647"},
        {"500", "2.5", "7500", "Vitesse de correction Azimut", "un nombre entier de 0 à 2147483647"},
    };
    Frminterface& main = frminterface();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.increment + std::string(" ") + c.delayAz + " " + c.delayAlt);
        Frmaltazsuivi& s = frmaltazsuivi();
        s.Show();
        s.txtincrement->setText(QString::fromUtf8(c.increment));
        s.txttempoa->setText(QString::fromUtf8(c.delayAz));
        s.txttempoh->setText(QString::fromUtf8(c.delayAlt));
        const QString named = QString::fromUtf8(c.named);
        for (auto [press, consequence] : {std::pair{&Frmaltazsuivi::cmdsave_Click, "Rien n'a été enregistré."},
                                          std::pair{&Frmaltazsuivi::imglecture_Click, "Le suivi n'a pas été lancé."}}) {
            messages.clear();
            Sim().ClearWrites();
            (s.*press)();
            ExpectRefusal(named, QString::fromUtf8(c.range), QString::fromUtf8(consequence));
        }
        EXPECT_EQ(ReadData("suivialtaz.ini"), "300\r\n2500\r\n7500\r\n");
        EXPECT_FALSE(s.timcompteur->isActive());
        EXPECT_TRUE(main.heuretimer->isActive()) << "the clock stays with the main window";
        EXPECT_TRUE(Writes().empty());
        EXPECT_TRUE(s.Shown());
        EXPECT_EQ(s.txtincrement->text(), QString::fromUtf8(c.increment)) << "the box keeps what was typed";
    }

    // The ends of the range are taken.
    Frmaltazsuivi& s = frmaltazsuivi();
    for (const char* increment : {"10", " 32767 "}) {
        s.txtincrement->setText(increment);
        s.txttempoa->setText("0");
        s.txttempoh->setText("2147483647");
        messages.clear();
        s.cmdsave_Click();
        EXPECT_EQ(ReadData("suivialtaz.ini"), QString::fromLatin1(increment).trimmed() + "\r\n0\r\n2147483647\r\n");
        s.imglecture_Click();
        EXPECT_TRUE(s.timcompteur->isActive());
        EXPECT_EQ(s.timcompteur->interval(), QString::fromLatin1(increment).trimmed().toInt());
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        s.imgstop_Click();
    }
}

TEST_F(TrackingWindow, StopOrPauseDuringATickStaysInForce) {
    struct Case {
        const char* what;
        int atEvent;  // 1: the tick's first pass of events, 2: its last (no pulse in between)
        std::function<void(Frmaltazsuivi&)> press;
        bool running;
    } cases[] = {
        {"nothing pressed", 1, [](Frmaltazsuivi&) {}, true},
        {"stop at the first pass", 1, [](Frmaltazsuivi& s) { s.imgstop_Click(); }, false},
        {"stop at the last pass", 2, [](Frmaltazsuivi& s) { s.imgstop_Click(); }, false},
        {"pause at the first pass", 1, [](Frmaltazsuivi& s) { s.imgpause_Click(); }, false},
        {"pause at the last pass", 2, [](Frmaltazsuivi& s) { s.imgpause_Click(); }, false},
        {"pause and resume", 1, [](Frmaltazsuivi& s) { s.imgpause_Click(); s.imgpause_Click(); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A point that stays where it is (the pole): the tick sends no pulse.
        frmcoord().SetCoordinates({"0", "0", "+", "90", "0"});
        Frmaltazsuivi& s = Started("500");
        s.imgpause->SetPicture(ButtonPictures[8]);
        events = 0;
        onEvents = [&](int n) {
            if (n == c.atEvent) c.press(s);
        };
        s.timcompteur_Timer();
        onEvents = nullptr;
        EXPECT_EQ(events, 2);
        EXPECT_EQ(s.timcompteur->isActive(), c.running);
    }
}

TEST_F(TrackingWindow, APointThatDoesNotMoveSendsNothing) {
    frmcoord().SetCoordinates({"0", "0", "+", "90", "0"});
    Frmaltazsuivi& s = Started("1000");
    Sim().ClearWrites();
    for (int i = 0; i < 5; ++i) {
        AdvanceClock(1000);
        s.timcompteur_Timer();
        EXPECT_EQ(s.txtna->text(), "0");
        EXPECT_EQ(s.txtnh->text(), "0");
    }
    EXPECT_TRUE(Data().empty());
}

TEST_F(TrackingWindow, BurstDirectionsFollowTheSignOfTheChange) {
    struct Case {
        const char* what;
        double hourAngleHours;
        int azDirection, altDirection;  // data-register direction bits of the bursts
    } cases[] = {
        {"rising in the south-east: azimuth and altitude grow", -3, 8, 2},
        {"setting in the south-west: azimuth grows, altitude falls", 3, 8, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        AimAt(k.hourAngleHours, 0);
        Frmaltazsuivi& s = Started("10000");
        Sim().ClearWrites();
        AdvanceClock(10000);
        s.timcompteur_Timer();
        const int az = shared.drive.AzStepsTick, alt = vb::CLng(shared.drive.AltStepsTick);
        ASSERT_GT(az, 0);
        ASSERT_GT(alt, 0);
        EXPECT_EQ(Data(), Concat(Pulses(az, k.azDirection, 4), Pulses(alt, k.altDirection, 1)));
        EXPECT_EQ(s.txtna->text(), vb::CStr(az));
        EXPECT_EQ(s.txtnh->text(), vb::CStr(alt));
        s.imgstop_Click();
    }
}

TEST_F(TrackingWindow, PauseLendsTheClockToTheMainWindowAndTheNextTickCatchesUp) {
    Frminterface& main = frminterface();
    SetUt(21, 0, 0);
    frmcoord().txtms->setText("0");
    Frmaltazsuivi& s = Started("1000");
    s.imgpause->SetPicture(ButtonPictures[8]);
    s.timcompteur_Timer();
    s.imgpause_Click();
    EXPECT_FALSE(s.timcompteur->isActive());
    EXPECT_TRUE(s.imgpause->Shows(ButtonPictures[9]));
    EXPECT_TRUE(main.heuretimer->isActive()) << "the clock goes on during the pause";

    // Three minutes later: the whole pause caught up at the next tick.
    AdvanceClock(180000);
    frmcoord().picraquette_Click();  // the paddle switched on meanwhile
    s.imgpause_Click();
    EXPECT_TRUE(s.timcompteur->isActive());
    EXPECT_TRUE(s.imgpause->Shows(ButtonPictures[8]));
    EXPECT_TRUE(frmcoord().picraquette->Shows(ButtonPictures[6]));
    EXPECT_FALSE(main.Timer->isActive());
    EXPECT_FALSE(main.heuretimer->isActive()) << "tracking has the clock again";
    const int catchUps = s.CatchUps();
    s.timcompteur_Timer();
    EXPECT_EQ(ClockText(), "21:3:1.0");
    EXPECT_EQ(s.CatchUps() - catchUps, 1);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(TrackingWindow, APauseLongerThanOneTickIsCaughtUpByAGotoAndTrackingGoesOn) {
    SetUt(21, 0, 0);
    frmcoord().txtms->setText("0");
    Frmaltazsuivi& s = Started("1000");
    s.imgpause->SetPicture(ButtonPictures[8]);
    s.timcompteur_Timer();
    s.imgpause_Click();
    // Ten minutes later the star has gone some degrees: the first tick
    // brings the telescope back as a goto does, with its progress bars.
    AdvanceClock(600000);
    s.imgpause_Click();
    Sim().ClearWrites();
    int widest = 0;
    seams::SetDoEvents([&] { widest = std::max(widest, frmcoord().TwipsWidth()); });
    s.timcompteur_Timer();
    seams::SetDoEvents({});
    EXPECT_EQ(s.CatchUps(), 1);
    EXPECT_FALSE(Data().empty()) << "the goto's pulses";
    EXPECT_GT(widest, 7000) << "the coordinates window showed its progress bars";
    EXPECT_EQ(frmcoord().TwipsWidth(), 5745);
    EXPECT_TRUE(shared.pos.GotoReached);
    EXPECT_TRUE(s.Running());
    EXPECT_TRUE(s.timcompteur->isActive());
    EXPECT_FALSE(frminterface().heuretimer->isActive()) << "tracking keeps the clock";
    EXPECT_TRUE(frmcoord().picraquette->Shows(ButtonPictures[6])) << "the paddle stays off while tracking";
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    // The next tick tracks: a burst of the sky's motion, no goto.
    AdvanceClock(1000);
    s.timcompteur_Timer();
    EXPECT_EQ(s.CatchUps(), 1);
}

TEST_F(TrackingWindow, EachPauseClickOnRunningTrackingPausesItAndThePictureSaysSo) {
    Frmaltazsuivi& s = Started("500");
    struct Step {
        const char* what;
        void (Frmaltazsuivi::*click)();
        bool running;
    } steps[] = {
        {"pause", &Frmaltazsuivi::imgpause_Click, false},
        {"start while paused", &Frmaltazsuivi::imglecture_Click, true},
        {"pause again", &Frmaltazsuivi::imgpause_Click, false},
        {"pause clicked once more: goes on", &Frmaltazsuivi::imgpause_Click, true},
        {"start while running", &Frmaltazsuivi::imglecture_Click, true},
        {"pause", &Frmaltazsuivi::imgpause_Click, false},
    };
    EXPECT_TRUE(s.imgpause->Shows(ButtonPictures[8]));
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        (s.*step.click)();
        EXPECT_EQ(s.timcompteur->isActive(), step.running);
        EXPECT_TRUE(s.imgpause->Shows(ButtonPictures[step.running ? 8 : 9]));
    }
}

TEST_F(TrackingWindow, StopGivesTheClockBack) {
    Frminterface& main = frminterface();
    Frmaltazsuivi& s = Started("500");
    s.timcompteur_Timer();
    s.imgstop_Click();
    EXPECT_FALSE(s.timcompteur->isActive());
    EXPECT_TRUE(main.heuretimer->isActive());
    EXPECT_EQ(frmcoord().txtms->text(), "0");
    EXPECT_EQ(shared.pos.PositionSynced, vb::False);
    EXPECT_EQ(shared.drive.DeltaAz, 0);
    EXPECT_EQ(shared.drive.DeltaAlt, 0);
    for (const QLineEdit* b : {s.txth2, s.txtmin2, s.txts2, s.txtna, s.txtnh, s.txtsommea, s.txtsommeh})
        EXPECT_EQ(b->text(), "0") << b->objectName().toStdString();
    // A pause picture clicked after a stop does not start the tick again.
    s.imgpause_Click();
    s.imgpause_Click();
    EXPECT_FALSE(s.timcompteur->isActive());
}

TEST_F(TrackingWindow, ClosingTheWindowAnyWayStopsTrackingAndGivesTheClockBack) {
    Frminterface& main = frminterface();
    for (const char* how : {"toolbar", "title bar"}) {
        SCOPED_TRACE(how);
        main.baraltaz_ButtonClick(2);
        ASSERT_TRUE(frmaltazsuivi().Shown());
        Frmaltazsuivi& s = Started("500");
        s.timcompteur_Timer();
        ASSERT_FALSE(main.heuretimer->isActive());
        if (QString(how) == "toolbar") main.baraltaz_ButtonClick(2);
        else s.parentWidget()->close();  // the sub-window's own close button
        EXPECT_FALSE(forms::Loaded<Frmaltazsuivi>());
        EXPECT_FALSE(s.timcompteur->isActive());
        EXPECT_TRUE(main.heuretimer->isActive());
        EXPECT_EQ(frmcoord().txtms->text(), "0");
        EXPECT_EQ(shared.win.TrackingShown, vb::False);
        EXPECT_EQ(shared.pos.PositionSynced, vb::False);
        EXPECT_EQ(shared.drive.DeltaAz, 0);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(TrackingWindow, NoTickRunsWhileAGotoRunsButTheClockGoesOn) {
    Frmaltazsuivi& s = Started("500");
    SetClockBoxes("12", "0", "0", "500");
    SetUt(12, 0, 0);  // the computer's clock there too
    AdvanceClock(500);
    shared.altgoto.GotoRunning = true;
    Sim().ClearWrites();
    s.timcompteur_Timer();
    EXPECT_TRUE(Data().empty()) << "no pulse: the goto has the mount";
    EXPECT_EQ(ClockText(), "12:0:1.0") << "the goto's passes read a running clock";
    EXPECT_TRUE(s.timcompteur->isActive());
    s.imgstop_Click();
    s.imglecture_Click();
    EXPECT_FALSE(s.timcompteur->isActive()) << "no start either";
}

TEST_F(TrackingWindow, FoldAndSpinner) {
    Frmaltazsuivi& s = frmaltazsuivi();
    s.lbl1_Click();
    EXPECT_EQ(s.lbl1->Caption(), "5");
    EXPECT_EQ(s.TwipsHeight(), 4785);
    s.lbl1_Click();
    EXPECT_EQ(s.lbl1->Caption(), "6");
    EXPECT_EQ(s.TwipsHeight(), 2910);

    struct Case {
        const char* from;
        bool up;
        const char* to;
    } cases[] = {{"900", true, "1000"}, {"1000", true, "2000"}, {"2000", false, "1000"}, {"1000", false, "900"},
                 {"1500", false, "500"}, {"150", false, "50"},  {"100", false, "100"},  {"31500", true, "32500"},
                 {"32000", true, "32767"}, {"32767", true, "32767"}, {"32767", false, "31767"}};
    for (const Case& c : cases) {
        s.txtincrement->setText(c.from);
        frmcoord().txtms->setText("700");
        c.up ? s.updowntaux_UpClick() : s.updowntaux_DownClick();
        EXPECT_EQ(s.txtincrement->text(), c.to) << c.from << (c.up ? " up" : " down");
    }
    s.txtincrement->setText("500");
    s.updowntaux_UpClick();
    EXPECT_EQ(frmcoord().txtms->text(), "0");
}

TEST_F(TrackingWindow, StateDisplayShowsSiderealTimeCountsAndPosition) {
    struct Case {
        double az, alt;
        const char *az1, *az2, *az3, *alt1, *alt2, *alt3;
    } cases[] = {
        {3661, 3661, "1", "1", "1", "1", "1", "1"},
        {1295999, 0, "359", "59", "59", "0", "0", "0"},
        {0, -1800, "0", "0", "0", "-1", "30", "0"},  // half a degree below the horizon
        {0, -30, "0", "0", "0", "-1", "59", "30"},
    };
    Frmaltazsuivi& s = frmaltazsuivi();
    const Frmcoord& c = frmcoord();
    shared.pos.LocalSiderealSeconds = 45296;
    shared.drive.AzStepsTick = 70000;
    shared.drive.AltStepsTick = 3;
    shared.drive.AzStepRemainder = 0.256;
    shared.drive.AltStepRemainder = -0.4449;
    for (const Case& k : cases) {
        shared.pos.AzimuthArcsec = k.az;
        shared.pos.AltitudeArcsec = k.alt;
        s.ShowTrackState();
        EXPECT_EQ(QStringList({c.txtcoordaz1->text(), c.txtcoordaz2->text(), c.txtcoordaz3->text()}),
                  QStringList({k.az1, k.az2, k.az3}));
        EXPECT_EQ(QStringList({c.txtcoordalt1->text(), c.txtcoordalt2->text(), c.txtcoordalt3->text()}),
                  QStringList({k.alt1, k.alt2, k.alt3}));
    }
    EXPECT_EQ(QStringList({s.txth2->text(), s.txtmin2->text(), s.txts2->text()}), QStringList({"12", "34", "56"}));
    EXPECT_EQ(s.txtna->text(), "70000");
    EXPECT_EQ(s.txtnh->text(), "3");
    EXPECT_EQ(s.txtsommea->text(), "0.26");
    EXPECT_EQ(s.txtsommeh->text(), "-0.44");
}

TEST_F(TrackingWindow, EveryCounterBoxShowsTheCounterAtEachTick) {
    AimAt(-3, 20);  // rising in the south-east: both axes move
    Frmaltazsuivi& s = Started("1000");
    const Frmcoord& c = frmcoord();
    int azChanges = 0, altChanges = 0;
    QString az = c.txtaztos->text(), alt = c.txtalttos->text();
    for (int k = 0; k < 60; ++k) {
        AdvanceClock(1000);
        s.timcompteur_Timer();
        const auto& pos = shared.pos;
        ASSERT_EQ(c.txtaztos->text(), vb::CStr(pos.AzimuthArcsec)) << "tick " << k;
        ASSERT_EQ(c.txtalttos->text(), vb::CStr(pos.AltitudeArcsec)) << "tick " << k;
        const DmsBoxes a = DegreesMinutesSeconds(pos.AzimuthArcsec), h = DegreesMinutesSeconds(pos.AltitudeArcsec);
        ASSERT_EQ(QStringList({c.txtcoordaz1->text(), c.txtcoordaz2->text(), c.txtcoordaz3->text()}),
                  QStringList({a.deg, a.min, a.sec}))
            << "tick " << k;
        ASSERT_EQ(QStringList({c.txtcoordalt1->text(), c.txtcoordalt2->text(), c.txtcoordalt3->text()}),
                  QStringList({h.deg, h.min, h.sec}))
            << "tick " << k;
        azChanges += c.txtaztos->text() != az;
        altChanges += c.txtalttos->text() != alt;
        az = c.txtaztos->text();
        alt = c.txtalttos->text();
    }
    EXPECT_GT(azChanges, 5) << "the arc-second boxes move with the mount";
    EXPECT_GT(altChanges, 5);
    s.imgstop_Click();
}

TEST_F(TrackingWindow, TextBoxHelpers) {
    QLineEdit h, m;
    struct Case {
        void (*helper)(QLineEdit*);
        const char *from, *to;
    } cases[] = {
        {Frmaltazsuivi::DecrementText, "5", "4"},        {Frmaltazsuivi::IncrementText, "5", "6"},
        {Frmaltazsuivi::DecrementSixty, "0", "59"},      {Frmaltazsuivi::DecrementSixty, "30", "29"},
        {Frmaltazsuivi::IncrementSixty, "59", "0"},      {Frmaltazsuivi::IncrementSixty, "58", "59"},
        {Frmaltazsuivi::DecrementTwentyFour, "0", "23"}, {Frmaltazsuivi::IncrementWrap, "23", "0"},
        {Frmaltazsuivi::IncrementWrap, "22", "23"},
    };
    for (const Case& c : cases) {
        h.setText(c.from);
        c.helper(&h);
        EXPECT_EQ(h.text(), c.to) << c.from;
    }
    h.setText("0");
    m.setText("0");
    Frmaltazsuivi::DecrementHourMinute(&h, &m);
    EXPECT_EQ(h.text() + ':' + m.text(), "23:59");
    Frmaltazsuivi::IncrementHourMinute(&h, &m);
    EXPECT_EQ(h.text() + ':' + m.text(), "0:0");
    Frmaltazsuivi::IncrementHourMinute(&h, &m);
    EXPECT_EQ(h.text() + ':' + m.text(), "0:1");
}

// --- Where the mount ends up ---------------------------------------------------

struct Star {
    const char* what;
    double hourAngleStartHours;  // east of the meridian when negative
    double decDeg;
    int incrementMs;
    bool throughNorth;      // the azimuth passes 0
    bool altitudeReverses;  // up, then down past the meridian
};

TEST_F(TrackingWindow, TheMountFollowsTheStarForAnHour) {
    const Star stars[] = {
        {"crossing the meridian, 1 s ticks", -0.5, 20, 1000, false, true},
        {"crossing the meridian, 500 ms ticks", -0.5, 20, 500, false, true},
        {"near the pole, through north", -0.5, 85, 1000, true, true},
        {"low in the east, rising", -5, 5, 1500, false, false},
    };
    for (const Star& star : stars) {
        SCOPED_TRACE(star.what);
        const double raHours = AimAt(star.hourAngleStartHours, star.decDeg);
        Frmcoord& c = frmcoord();

        Frmaltazsuivi& s = Started(vb::CStr(star.incrementMs));
        // The mount was synchronised on the star: it stands where the counters are.
        const double az0 = shared.pos.AzimuthArcsec, alt0 = shared.pos.AltitudeArcsec;
        // Universal time minus local time, whole hours.
        const qint64 utOffsetMs =
            3600000 * std::llround(simsky::AsDateTime(clock).msecsTo(simsky::ShownUt(c.Time())) / 3600000.0);
        Sim().ResetMount();
        Sim().SetRecording(false);

        double worst = 0;
        bool crossedNorth = false, altitudeReversed = false;
        double lastAlt = 0, lastRise = 0;
        const int ticks = 3600000 / star.incrementMs;
        for (int k = 1; k <= ticks; ++k) {
            AdvanceClock(star.incrementMs);
            s.timcompteur_Timer();
            // The program's clock keeps to the system clock: ahead by one
            // increment (the tick points where the star will be at its next
            // run) and the milliseconds the resynchronisation leaves.
            const QDateTime ut = simsky::ShownUt(c.Time());
            const qint64 lead = simsky::AsDateTime(clock).msecsTo(ut) - utOffsetMs;
            ASSERT_GE(lead, 0) << "tick " << k;
            ASSERT_LT(lead, star.incrementMs + 1000) << "tick " << k;
            // The mount against the star at that time.
            const Horizontal h = simsky::StarAt(ut, raHours, star.decDeg);
            worst = std::max(worst, simsky::MountOffset(az0, alt0, h).HalfSteps());
            if (std::fabs(h.azDeg * 3600 - az0) > 180 * 3600) crossedNorth = true;
            const double alt = static_cast<double>(Sim().AltSteps());
            const double rise = alt - lastAlt;
            if (rise * lastRise < 0) altitudeReversed = true;
            if (rise != 0) lastRise = rise;
            lastAlt = alt;
        }
        EXPECT_LE(worst, 2.0) << "worst error in half steps";
        EXPECT_EQ(crossedNorth, star.throughNorth);
        EXPECT_EQ(altitudeReversed, star.altitudeReverses);
        Sim().SetRecording(true);
        s.imgstop_Click();
    }
}

}  // namespace
