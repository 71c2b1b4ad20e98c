// The settings files as the program reads them: values beyond what their
// quantity allows, files padded with blank lines, and what is no plain file.
#include "altaz/altazfiles.h"
#include "altaz/catalogue.h"
#include "core/state.h"
#include "motor/settingsfiles.h"
#include "motor/speedtables.h"
#include "platform/datadir.h"
#include "platform/filereport.h"
#include "tests/fixture.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <sys/stat.h>

namespace {

class Readers : public OrvanelTest {
protected:
    // The messages that name the file.
    QStringList toldAbout(const char* file) const { return messages.filter(QString::fromLatin1(file)); }
};

QByteArray lines(std::initializer_list<const char*> values) {
    QByteArray out;
    for (const char* v : values) out += QByteArray(v) + "\r\n";
    return out;
}

double speedAltaz(int level, int axis) {
    LoadSpeedTables();
    return shared.drive.AltazSpeedTable[level][axis];
}

}  // namespace

TEST_F(Readers, ValuesBeyondTheirRangeAreToldAndKeepTheirDefaults) {
    using altazfiles::ReadConfigAltaz;
    using altazfiles::ReadSuiviAltaz;
    using settingsfiles::ReadBacklash;
    using settingsfiles::ReadConfigEqua;
    const auto site = [](std::initializer_list<const char*> four) {
        QByteArray out = lines(four);
        return out + lines({"200", "200", "100000", "100000"});
    };
    const auto mechanics = [](const char* steps, const char* ratio1000) {
        return lines({"2", "20", "48", "50", steps, "200", ratio1000, "100000"});
    };
    struct Case {
        const char* what;
        const char* file;
        QByteArray content;
        std::function<double()> read;  // the value the program takes
        double want;
        bool told;
    };
    const std::vector<Case> cases = {
        // Speed tables: busy-wait counts from 1 up; a value rounds to the nearest count.
        {"speed 1", "vitessealtaz.ini", lines({"1", "1", "1", "1", "1", "1", "1", "1", "1", "1"}),
         [] { return speedAltaz(1, 0); }, 1, false},
        {"speed 0", "vitessealtaz.ini", lines({"1", "0", "1", "1", "1", "1", "1", "1", "1", "1"}),
         [] { return speedAltaz(1, 0); }, 200000, true},
        {"speed -5", "vitessealtaz.ini", lines({"1", "-5", "1", "1", "1", "1", "1", "1", "1", "1"}),
         [] { return speedAltaz(1, 0); }, 200000, true},
        {"speed -0.6 rounds below 0", "vitessealtaz.ini", lines({"1", "1", "1", "1", "1", "1", "-0.6", "1", "1", "1"}),
         [] { return speedAltaz(1, 1); }, 200000, true},
        {"speed past 32 bits", "vitessealtaz.ini", lines({"1", "1e308", "1", "1", "1", "1", "1", "1", "1", "1"}),
         [] { return speedAltaz(1, 0); }, 200000, true},
        // A number too large for any value is no number, not 0.
        {"speed past any number", "vitessealtaz.ini", lines({"1", "1e400", "1", "1", "1", "1", "1", "1", "1", "1"}),
         [] { return speedAltaz(1, 0); }, 200000, true},
        {"backlash past any number", "backlash.ini", lines({"3", "-1e400"}), [] { return ReadBacklash().alt; }, 0,
         true},
        {"longitude past any number", "config_altaz.ini", site({"1e400", "0", "48", "50"}),
         [] { return ReadConfigAltaz().longitudeDeg; }, 2, true},
        {"tracking delay past any number", "suivialtaz.ini", lines({"500", "1e999", "5"}),
         [] { return double(ReadSuiviAltaz().delayAz); }, 100000, true},
        {"paddle speed -1", "vitessemanu.ini", lines({"1", "1", "-1", "1", "1", "1"}),
         [] {
             LoadSpeedTables();
             return double(shared.drive.ManualSpeedTable[2][0]);
         },
         70434, true},
        {"equatorial speed -100", "vitesseequa.ini", lines({"1", "1", "1", "1", "1", "-100", "1", "1", "1", "1"}),
         [] {
             LoadSpeedTables();
             return double(shared.drive.EquaSpeedTable[0][1]);
         },
         400000, true},
        // Backlash: whole counts from 0 to 32767, what the take-up record holds.
        {"backlash 0", "backlash.ini", lines({"0", "3"}), [] { return ReadBacklash().az; }, 0, false},
        {"backlash 32767", "backlash.ini", lines({"32767", "3"}), [] { return ReadBacklash().az; }, 32767, false},
        {"backlash 32768", "backlash.ini", lines({"32768", "3"}), [] { return ReadBacklash().az; }, 0, true},
        {"backlash 1e308", "backlash.ini", lines({"1e308", "3"}), [] { return ReadBacklash().az; }, 0, true},
        {"backlash -5", "backlash.ini", lines({"3", "-5"}), [] { return ReadBacklash().alt; }, 0, true},
        {"backlash 7.5", "backlash.ini", lines({"7.5", "3"}), [] { return ReadBacklash().az; }, 0, true},
        {"backlash 2147483648", "backlash.ini", lines({"2147483648", "3"}), [] { return ReadBacklash().az; }, 0,
         true},
        // Equatorial mechanics: steps and ratios above 0, at most 32767.
        {"RA steps 0", "config_equa.ini", lines({"0", "200", "144", "100"}), [] { return ReadConfigEqua().raSteps; },
         200, true},
        {"Dec steps -200", "config_equa.ini", lines({"200", "-200", "144", "100"}),
         [] { return ReadConfigEqua().decSteps; }, 200, true},
        {"RA ratio 0", "config_equa.ini", lines({"200", "200", "0", "100"}), [] { return ReadConfigEqua().raRatio; },
         100, true},
        {"Dec ratio -5", "config_equa.ini", lines({"200", "200", "144", "-5"}),
         [] { return ReadConfigEqua().decRatio; }, 100, true},
        {"RA ratio 1e308", "config_equa.ini", lines({"200", "200", "1e308", "100"}),
         [] { return ReadConfigEqua().raRatio; }, 100, true},
        {"Dec steps 32767", "config_equa.ini", lines({"200", "32767", "144", "100"}),
         [] { return ReadConfigEqua().decSteps; }, 32767, false},
        {"Dec steps 32768", "config_equa.ini", lines({"200", "32768", "144", "100"}),
         [] { return ReadConfigEqua().decSteps; }, 200, true},
        {"RA steps 0.3", "config_equa.ini", lines({"0.3", "200", "144", "100"}),
         [] { return ReadConfigEqua().raSteps; }, 200, true},
        {"Dec steps 200.5", "config_equa.ini", lines({"200", "200.5", "144", "100"}),
         [] { return ReadConfigEqua().decSteps; }, 200, true},
        {"RA ratio 0.5", "config_equa.ini", lines({"200", "200", "0.5", "100"}),
         [] { return ReadConfigEqua().raRatio; }, 0.5, false},
        // Alt-azimuth site and mechanics.
        {"latitude 90", "config_altaz.ini", site({"2", "20", "90", "0"}), [] { return ReadConfigAltaz().latitudeDeg; },
         90, false},
        {"latitude -90", "config_altaz.ini", site({"2", "20", "-90", "0"}),
         [] { return ReadConfigAltaz().latitudeDeg; }, -90, false},
        {"latitude 91", "config_altaz.ini", site({"2", "20", "91", "0"}),
         [] { return ReadConfigAltaz().latitudeDeg; }, 48, true},
        {"latitude 1e308", "config_altaz.ini", site({"2", "20", "1e308", "0"}),
         [] { return ReadConfigAltaz().latitudeDeg; }, 48, true},
        {"latitude 90 and 30 minutes", "config_altaz.ini", site({"2", "20", "90", "30"}),
         [] { return ReadConfigAltaz().latitudeDeg; }, 48, true},
        {"latitude -89 and -59.9 minutes", "config_altaz.ini", site({"2", "20", "-89", "-59.9"}),
         [] { return ReadConfigAltaz().latitudeMin; }, -59.9, false},
        {"latitude minutes 60", "config_altaz.ini", site({"2", "20", "48", "60"}),
         [] { return ReadConfigAltaz().latitudeMin; }, 50, true},
        {"longitude -180", "config_altaz.ini", site({"-180", "0", "48", "50"}),
         [] { return ReadConfigAltaz().longitudeDeg; }, -180, false},
        {"longitude 99999999999", "config_altaz.ini", site({"99999999999", "0", "48", "50"}),
         [] { return ReadConfigAltaz().longitudeDeg; }, 2, true},
        {"longitude minutes -60", "config_altaz.ini", site({"-3", "-60", "48", "50"}),
         [] { return ReadConfigAltaz().longitudeMin; }, 20, true},
        {"longitude 180 and 1 minute", "config_altaz.ini", site({"180", "1", "48", "50"}),
         [] { return ReadConfigAltaz().longitudeDeg; }, 2, true},
        {"azimuth steps 0", "config_altaz.ini", mechanics("0", "100000"),
         [] { return ReadConfigAltaz().azMotorSteps; }, 200, true},
        {"azimuth steps -5", "config_altaz.ini", mechanics("-5", "100000"),
         [] { return ReadConfigAltaz().azMotorSteps; }, 200, true},
        {"altitude ratio 0", "config_altaz.ini", mechanics("200", "0"),
         [] { return ReadConfigAltaz().altRatioTimes1000; }, 100000, true},
        {"altitude ratio -5", "config_altaz.ini", mechanics("200", "-5000"),
         [] { return ReadConfigAltaz().altRatioTimes1000; }, 100000, true},
        {"altitude ratio 32767", "config_altaz.ini", mechanics("200", "32767000"),
         [] { return ReadConfigAltaz().altRatioTimes1000; }, 32767000, false},
        {"altitude ratio past 32767", "config_altaz.ini", mechanics("200", "32768000"),
         [] { return ReadConfigAltaz().altRatioTimes1000; }, 100000, true},
        // Tracking: an increment of whole ms from 10 to 32767, delays from 0 up.
        {"increment 10", "suivialtaz.ini", lines({"10", "5", "5"}), [] { return ReadSuiviAltaz().increment; }, 10,
         false},
        {"increment 32767", "suivialtaz.ini", lines({"32767", "5", "5"}), [] { return ReadSuiviAltaz().increment; },
         32767, false},
        {"increment 0", "suivialtaz.ini", lines({"0", "5", "5"}), [] { return ReadSuiviAltaz().increment; }, 500, true},
        {"increment -5", "suivialtaz.ini", lines({"-5", "5", "5"}), [] { return ReadSuiviAltaz().increment; }, 500,
         true},
        {"increment 9", "suivialtaz.ini", lines({"9", "5", "5"}), [] { return ReadSuiviAltaz().increment; }, 500, true},
        {"increment 32768", "suivialtaz.ini", lines({"32768", "5", "5"}), [] { return ReadSuiviAltaz().increment; },
         500, true},
        {"increment 1.5", "suivialtaz.ini", lines({"1.5", "5", "5"}), [] { return ReadSuiviAltaz().increment; }, 500,
         true},
        {"increment 250.5", "suivialtaz.ini", lines({"250.5", "5", "5"}), [] { return ReadSuiviAltaz().increment; },
         500, true},
        {"tracking delay 0", "suivialtaz.ini", lines({"500", "0", "5"}),
         [] { return double(ReadSuiviAltaz().delayAz); }, 0, false},
        {"tracking delay -1", "suivialtaz.ini", lines({"500", "5", "-1"}),
         [] { return double(ReadSuiviAltaz().delayAlt); }, 100000, true},
        // A delay's fraction is rounded, as the message says.
        {"tracking delay 2500.4", "suivialtaz.ini", lines({"500", "2500.4", "5"}),
         [] { return double(ReadSuiviAltaz().delayAz); }, 2500, false},
        {"tracking delay 2500.5", "suivialtaz.ini", lines({"500", "5", "2500.5"}),
         [] { return double(ReadSuiviAltaz().delayAlt); }, 2500, false},
        // Goto speed levels: 1 to 5.
        {"altaz level 0", "pointagealtaz.ini", lines({"0", "2"}),
         [] { return double(altazfiles::ReadPointageAltaz().az); }, 3, true},
        {"altaz level 6", "pointagealtaz.ini", lines({"2", "6"}),
         [] { return double(altazfiles::ReadPointageAltaz().alt); }, 3, true},
        {"altaz level 2.5", "pointagealtaz.ini", lines({"2.5", "2"}),
         [] { return double(altazfiles::ReadPointageAltaz().az); }, 3, true},
        {"altaz level 5", "pointagealtaz.ini", lines({"5", "2"}),
         [] { return double(altazfiles::ReadPointageAltaz().az); }, 5, false},
        {"equatorial level -1", "pointagequa.ini", lines({"-1", "2"}),
         [] { return double(settingsfiles::ReadGotoLevels(QStringLiteral("\\data\\pointagequa.ini"), 3).az); }, 3,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetSharedState();
        filereport::Reset();
        const QString file = QString::fromLatin1(c.file);
        WriteData(file, c.content);
        messages.clear();
        EXPECT_EQ(c.read(), c.want);
        QFile::remove(datadir::Path(QStringLiteral("\\data\\") + file));
        const QStringList told = toldAbout(c.file);
        if (!c.told) {
            EXPECT_TRUE(told.isEmpty()) << told.join('|').toStdString();
            continue;
        }
        ASSERT_EQ(told.size(), 1) << messages.join('|').toStdString();
        EXPECT_TRUE(told[0].startsWith("Fichier mal formé")) << told[0].toStdString();
        EXPECT_TRUE(told[0].contains("valeur par défaut")) << told[0].toStdString();
    }
}

TEST_F(Readers, AMegabyteOfBlankLinesAfterTheValuesReadsThemAtOnce) {
    // Lines that hold nothing after the values are no values; before the
    // values they stand where values should be, and the file is told.
    const QByteArray padding = QByteArray("\r\n").repeated(512 * 1024);
    WriteData("backlash.ini", lines({"14", "9"}) + padding);
    WriteData("suivialtaz.ini", lines({"700", "1200", "3400"}) + QByteArray(" \n").repeated(512 * 1024));
    const auto b = settingsfiles::ReadBacklash();
    EXPECT_EQ(b.az, 14);
    EXPECT_EQ(b.alt, 9);
    const auto s = altazfiles::ReadSuiviAltaz();
    EXPECT_EQ(s.increment, 700);
    EXPECT_EQ(s.delayAlt, 3400);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();

    WriteData("backlash.ini", padding + lines({"14", "9"}));
    const auto late = settingsfiles::ReadBacklash();
    EXPECT_EQ(late.az, 0);
    EXPECT_EQ(late.alt, 0);
    ASSERT_EQ(toldAbout("backlash.ini").size(), 1);
}

TEST_F(Readers, ASiteBeyondItsBoundWithItsMinutesIsToldHowTheyAddUp) {
    // Degrees and minutes each within their range, together past the pole or
    // half a turn: the message says that the bound holds with the minutes.
    const struct {
        const char* what;
        QByteArray content;
        const char* bound;
    } cases[] = {
        {"latitude 90 and 30 minutes", lines({"2", "20", "90", "30", "200", "200", "100000", "100000"}),
         "latitude en degrés et minutes (au plus 90° vers le nord ou vers le sud, minutes comprises"},
        {"longitude -180 and -1 minute", lines({"-180", "-1", "48", "50", "200", "200", "100000", "100000"}),
         "longitude en degrés et minutes (au plus 180° vers l'est ou vers l'ouest, minutes comprises"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        filereport::Reset();
        WriteData("config_altaz.ini", c.content);
        messages.clear();
        altazfiles::ReadConfigAltaz();
        const QStringList told = toldAbout("config_altaz.ini");
        ASSERT_EQ(told.size(), 1) << messages.join('|').toStdString();
        EXPECT_TRUE(told[0].contains(QString::fromUtf8(c.bound))) << told[0].toStdString();
    }
}

TEST_F(Readers, TheTrackingFileSaysWhatItsReaderTakes) {
    // A whole increment; delays rounded to the nearest count.
    WriteData("suivialtaz.ini", lines({"250.5", "2500.4", "-1"}));
    messages.clear();
    const auto s = altazfiles::ReadSuiviAltaz();
    EXPECT_EQ(s.increment, 500);
    EXPECT_EQ(s.delayAz, 2500);
    const QStringList told = toldAbout("suivialtaz.ini");
    ASSERT_EQ(told.size(), 1) << messages.join('|').toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("l'incrément en millisecondes (un nombre entier de 10 à 32767)")))
        << told[0].toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral(
        "délais de correction en azimut et en altitude (des nombres de 0 à 2147483647, une fraction arrondie à "
        "l'entier le plus proche)")))
        << told[0].toStdString();
}

TEST_F(Readers, WhatIsNoPlainFileIsNamedAndTheDefaultsUsedWithoutWaitingOrReading) {
    // A pipe with no writer would hold an open for ever, a device endless
    // bytes: neither is opened to wait nor read.
    const QString elsewhere = datadir::Folder() + QStringLiteral("/elsewhere");
    QDir().mkpath(elsewhere);
    const auto fifo = [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0644) == 0; };
    const struct {
        const char* what;
        std::function<bool(const QString& path)> plant;
    } kinds[] = {
        {"a pipe", fifo},
        {"a link to a pipe", [&](const QString& p) { return fifo(elsewhere + "/pipe") && QFile::link(elsewhere + "/pipe", p); }},
        {"a link to /dev/zero", [](const QString& p) { return QFile::link(QStringLiteral("/dev/zero"), p); }},
        {"a folder", [](const QString& p) { return QDir().mkdir(p); }},
    };
    const struct {
        const char* file;
        std::function<double()> read;  // the value the program takes
        double defaultValue;
    } readers[] = {
        {"config_equa.ini", [] { return settingsfiles::ReadConfigEqua().raSteps; }, 200},
        {"vitessealtaz.ini", [] { return speedAltaz(1, 0); }, 200000},
        {"suivialtaz.ini", [] { return double(altazfiles::ReadSuiviAltaz().increment); }, 500},
        {"messier.cat",
         [] {
             ObjectTable table;
             return double(catalogue::LoadCatalogue(table, 1).size() + table.CatalogueCount);
         },
         0},
    };
    for (const auto& k : kinds) {
        for (const auto& r : readers) {
            SCOPED_TRACE(std::string(k.what) + " as " + r.file);
            const QString path = datadir::Folder() + u'/' + QString::fromLatin1(r.file);
            QFile::remove(elsewhere + "/pipe");
            ASSERT_TRUE(k.plant(path));
            filereport::Reset();
            messages.clear();
            EXPECT_EQ(r.read(), r.defaultValue);
            const QStringList told = toldAbout(r.file);
            ASSERT_EQ(told.size(), 1) << messages.join('|').toStdString();
            EXPECT_EQ(told[0], QStringLiteral("Fichier ignoré : %1\nCe n'est pas un fichier ordinaire (un tube, un "
                                              "périphérique ou un dossier porte son nom).\nLes valeurs par défaut "
                                              "sont utilisées.")
                                   .arg(datadir::Shown(QStringLiteral("\\data\\") + QString::fromLatin1(r.file))));
            QFile::remove(path) || QDir().rmdir(path);
        }
    }

    // A link to a plain file is read as the file.
    WriteData("elsewhere/config_equa.ini", lines({"400", "200", "144", "100"}));
    ASSERT_TRUE(QFile::link(elsewhere + "/config_equa.ini", datadir::Folder() + "/config_equa.ini"));
    messages.clear();
    EXPECT_EQ(settingsfiles::ReadConfigEqua().raSteps, 400);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}
