#include "altaz/pointing.h"
#include "chart/frmCercle.h"
#include "core/state.h"
#include "equatorial/frmequapointage.h"
#include "motor/equagoto.h"
#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"
#include "shell/buttonpictures.h"
#include "shell/frmDepl.h"
#include "shell/frminterface.h"
#include "tests/fixture.h"
#include "tests/popups.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QtTest/QTest>

#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace {

// 37 reference stars: the window selects the 36th.
QString referenceStars(int count) {
    QString text = QStringLiteral("\"Alpha\",\"Ori\",3327,-1234\r\n\"Beta\",\"Tau\",4230,2740\r\n");
    for (int i = 2; i < count; ++i) text += QStringLiteral("\"Star %1\",\"Tau\",%2,%3\r\n").arg(i).arg(4236).arg(2740);
    return text;
}
const char* const kConst = "\"Ori\",\"Orion\"\r\n\"Tau\",\"Taureau\"\r\n";
const char* const kMessier =
    "\"M 1\",\"DN\",4266,2740\r\n"      // 36 tenths of a time-minute east of Beta
    "\"M 2\",\"GC\",4230,2795\r\n"
    "\"M 45\",\"OC\",4266,2795\r\n";
const char* const kIc = "\"IC 1\",\"GL\",100,100\r\n";

class EquaPointing : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseShippedData();
        WriteData("5magstar.cat", referenceStars(37));
        WriteData("const.cat", QString(kConst));
        WriteData("messier.cat", QString(kMessier));
        WriteData("ic.cat", QString(kIc));
        WriteData("config_equa.ini", QByteArray("200\r\n200\r\n100\r\n100\r\n"));
        frminterface().MDIForm_Load();
        frminterface().show();
        frminterface().barchoix_ButtonClick(1);  // "Mode équatorial"
        shared.drive.EquaSpeedTable = {};          // no waiting between writes
        messages.clear();
        RecordPopups(popups);
    }
    void TearDown() override {
        ui::SetPopupHook({});
        WindowTest::TearDown();
    }
    Frmequapointage& w() { return frmequapointage(); }
    // A sync on reference star `row`.
    void SyncOn(int row) {
        w().lbEtoiles->setCurrentRow(row);
        w().lbEtoiles_DblClick();
    }
    void Type(const char* h, const char* m, const char* d, const char* dm) {
        w().tAD[0]->setText(h);
        w().tAD[1]->setText(m);
        w().tDec[0]->setText(d);
        w().tDec[1]->setText(dm);
    }
    // Runs `action` once, during the first write of pulse k (1-based).
    void AtPulse(int k, std::function<void()> action) {
        auto events = std::make_shared<int>(0);
        seams::SetDoEvents([events, k, action] {
            if (++*events == 2 * k - 1) action();
        });
    }
    QStringList popups;
};

}  // namespace

TEST_F(EquaPointing, OpensWithOnlyTheStarsAndItsSettings) {
    WriteData("pointagequa.ini", QByteArray("3\r\n5\r\n"));
    w().Show();
    EXPECT_EQ(w().windowTitle(), "pointage");
    EXPECT_EQ(w().TwipsWidth(), 7680);
    EXPECT_EQ(w().TwipsHeight(), 6075);
    EXPECT_EQ(w().lbEtoiles->count(), 37);
    EXPECT_EQ(w().lbEtoiles->currentRow(), 35);
    EXPECT_FALSE(w().lbCatalogue->isVisible());
    EXPECT_FALSE(w().lbObjets->isVisible());
    EXPECT_FALSE(w().Frame4->isVisible());
    ASSERT_EQ(w().lbCatalogue->count(), 11);
    EXPECT_EQ(w().lbCatalogue->item(0)->text(), "Autre...");
    EXPECT_EQ(w().lbCatalogue->item(10)->text(), QStringLiteral("Objets NGC de 7000 à 7999"));
    EXPECT_EQ(w().lbCatalogue->currentRow(), 1);
    EXPECT_EQ(w().lbObjets->count(), 3);
    EXPECT_EQ(w().cbpointaz->currentText(), "3");
    EXPECT_EQ(w().cbpointalt->currentText(), "5");
    EXPECT_EQ(shared.win.ShowTelescope, vb::False);
    EXPECT_TRUE(w().Picinit->Shows(ButtonPictures[2]));
    EXPECT_TRUE(w().picpointage->Shows(ButtonPictures[4]));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    // The user drags the window's frame.
    QWidget* frame = w().parentWidget() ? w().parentWidget() : &w();
    frame->resize(200, 100);
    frame->resize(900, 900);
    EXPECT_EQ(w().TwipsWidth(), 7680);
    EXPECT_EQ(w().TwipsHeight(), 6075);
}

TEST_F(EquaPointing, TheSavedGotoInversionAppliesFromTheStart) {
    WriteData("inversion_point.ini", QByteArray("Vrai\r\nvrai\r\n"));
    WriteData("pointagequa.ini", QByteArray("3\r\n5\r\n"));
    w();
    EXPECT_TRUE(w().chkpointad->isChecked());
    EXPECT_FALSE(w().chkpointdec->isChecked());
    EXPECT_EQ(shared.site.GotoInvertRA, vb::True) << "a saved inversion is used before any save";
    EXPECT_EQ(shared.site.GotoInvertDec, vb::False);

    // So the first goto already drives right ascension the other way.
    SyncOn(1);
    w().lbObjets->setCurrentRow(0);
    w().lbObjets_DblClick();
    EXPECT_EQ(Sim().AzSteps(), -101);

    w().cmdsave_Click();
    EXPECT_EQ(ReadData("pointagequa.ini"), "3\r\n5\r\n");
    EXPECT_EQ(ReadData("inversion_point.ini"), "Vrai\r\nFaux\r\n");
    w().chkpointad->setChecked(false);
    w().chkpointdec->setChecked(true);
    w().cbpointaz->setCurrentIndex(0);
    w().cmdsave_Click();
    EXPECT_EQ(shared.site.GotoInvertRA, vb::False);
    EXPECT_EQ(shared.site.GotoInvertDec, vb::True);
    EXPECT_EQ(ReadData("pointagequa.ini"), "1\r\n5\r\n");
    EXPECT_EQ(ReadData("inversion_point.ini"), "Faux\r\nVrai\r\n");
}

TEST_F(EquaPointing, TheTwoSettingsFilesAreSavedAsOne) {
    WriteData("pointagequa.ini", QByteArray("3\r\n5\r\n"));
    WriteData("inversion_point.ini", QByteArray("Faux\r\nFaux\r\n"));
    w();
    // Either file standing in the way keeps both old files and the goto's inversion.
    for (const char* blocked : {"pointagequa.ini", "inversion_point.ini"}) {
        SCOPED_TRACE(blocked);
        const QString other = QString(blocked) == "pointagequa.ini" ? "inversion_point.ini" : "pointagequa.ini";
        const QString otherBefore = ReadData(other);
        QFile::remove(datadir::Folder() + '/' + blocked);
        QDir(datadir::Folder()).mkdir(blocked);
        w().chkpointad->setChecked(true);
        w().cbpointaz->setCurrentIndex(0);
        messages.clear();
        w().cmdsave_Click();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(blocked)) << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(QStringLiteral("Aucun fichier n'a été modifié"))) << messages[0].toStdString();
        EXPECT_EQ(ReadData(other), otherBefore);
        EXPECT_EQ(shared.site.GotoInvertRA, vb::False);
        QDir(datadir::Folder()).rmdir(blocked);
        WriteData(blocked, QByteArray(QString(blocked) == "pointagequa.ini" ? "3\r\n5\r\n" : "Faux\r\nFaux\r\n"));
    }
    messages.clear();
    w().cmdsave_Click();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(ReadData("pointagequa.ini"), "1\r\n5\r\n");
    EXPECT_EQ(ReadData("inversion_point.ini"), "Vrai\r\nFaux\r\n");
    EXPECT_EQ(shared.site.GotoInvertRA, vb::True);
}

TEST_F(EquaPointing, MissingOrOutOfRangeSettingsAreToldAndDefaulted) {
    struct Case {
        const char* pointagequa;  // nullptr: no file
        const char* inversion;
        const char* az;
        const char* alt;
        const char* named;        // the file the message names
    } cases[] = {
        {nullptr, "Faux\r\nFaux\r\n", "3", "3", "pointagequa.ini"},
        {"0\r\n9\r\n", "Faux\r\nFaux\r\n", "3", "3", "pointagequa.ini"},
        {"2\r\n2.5\r\n", "Faux\r\nFaux\r\n", "2", "3", "pointagequa.ini"},
        {"deux\r\n4\r\n", "Faux\r\nFaux\r\n", "3", "4", "pointagequa.ini"},
        {"2\r\n4\r\n", nullptr, "2", "4", "inversion_point.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pointagequa ? c.pointagequa : "no file");
        forms::UnloadAll();
        QCoreApplication::processEvents();
        filereport::Reset();
        messages.clear();
        if (c.pointagequa) WriteData("pointagequa.ini", QByteArray(c.pointagequa));
        else QFile::remove(datadir::Path(kPointagequaFile));
        if (c.inversion) WriteData("inversion_point.ini", QByteArray(c.inversion));
        else QFile::remove(datadir::Path(kInversionPointFile));
        w();
        EXPECT_EQ(w().cbpointaz->currentText(), c.az);
        EXPECT_EQ(w().cbpointalt->currentText(), c.alt);
        ASSERT_EQ(messages.size(), 1) << messages.join('\n').toStdString();
        EXPECT_TRUE(messages[0].contains(c.named)) << messages[0].toStdString();
        EXPECT_FALSE(w().chkpointad->isChecked());
    }
}

TEST_F(EquaPointing, FewOrManyReferenceStarsNeverReachOutsideTheTable) {
    WriteData("5magstar.cat", referenceStars(3));
    EXPECT_EQ(w().lbEtoiles->count(), 3);
    EXPECT_EQ(w().lbEtoiles->currentRow(), -1);
    w().lbEtoiles_DblClick();  // nothing selected
    EXPECT_EQ(shared.win.ShowTelescope, vb::False);
    EXPECT_TRUE(w().lbCatalogue->isHidden());
    w().lbEtoiles_MouseDown(Qt::RightButton);
    EXPECT_TRUE(popups.isEmpty());

    forms::UnloadAll();
    QCoreApplication::processEvents();
    WriteData("5magstar.cat", referenceStars(130));
    EXPECT_EQ(w().lbEtoiles->count(), 121);
    SyncOn(120);
    EXPECT_EQ(shared.equa.TelescopeRA, 4236);
}

TEST_F(EquaPointing, ASyncOnAReferenceStarSetsThePositionWithoutMoving) {
    struct Case {
        int row;
        double ra, dec;
        const char* raCaption;
        const char* decCaption;
    } cases[] = {
        {1, 4230, 2740, "7h3'", "4°34'"},
        {2, 4236, 2740, "7h3.6'", "4°34'"},
        {0, 3327, -1234, "5h32.7'", "-2°3.4'"},
    };
    for (const auto& c : cases) {
        SyncOn(c.row);
        EXPECT_EQ(shared.equa.TelescopeRA, c.ra);
        EXPECT_EQ(shared.equa.TelescopeDec, c.dec);
        EXPECT_EQ(w().tADpos->text(), QString::fromUtf8(c.raCaption));
        EXPECT_EQ(w().tdcpos->text(), QString::fromUtf8(c.decCaption));
    }
    EXPECT_FALSE(w().lbCatalogue->isHidden());
    EXPECT_FALSE(w().lbObjets->isHidden());
    EXPECT_EQ(shared.win.ShowTelescope, vb::True);
    EXPECT_TRUE(Data().empty()) << "no pulse";
    EXPECT_EQ(Sim().AzSteps(), 0);
}

TEST_F(EquaPointing, TheStarPopUpDescribesTheSelectedStar) {
    w().lbEtoiles->setCurrentRow(0);
    w().lbEtoiles_MouseDown(Qt::LeftButton);
    EXPECT_TRUE(popups.isEmpty());
    w().lbEtoiles_MouseDown(Qt::RightButton);
    ASSERT_EQ(popups.size(), 1);
    EXPECT_EQ(popups[0], QStringLiteral("mnuConst: in Orion | AD: 5h 32.7' | Dec:-2°-3.4'"));
}

TEST_F(EquaPointing, ACatalogueGotoMovesAndTakesThePositionReached) {
    SyncOn(1);  // 4230, 2740
    Sim().ClearWrites();
    w().lbObjets->setCurrentRow(0);  // M 1: 36 east, same declination
    w().lbObjets_DblClick();
    EXPECT_EQ(Data(), [] {
        auto v = Pulses(101, 8, 4);
        auto d = Pulses(1, 0, 1);
        v.insert(v.end(), d.begin(), d.end());
        return v;
    }());
    // Where the pulses took the telescope: 101 pulses east, one north (a
    // zero difference still sends one).
    EXPECT_DOUBLE_EQ(shared.equa.TelescopeRA, 4230 + 101 * 0.36);
    EXPECT_DOUBLE_EQ(shared.equa.TelescopeDec, 2740 + 5.4);
    EXPECT_EQ(w().tADpos->text(), "7h6.64'");
    EXPECT_EQ(w().tdcpos->text(), QStringLiteral("4°34.54'"));
    EXPECT_FALSE(forms::Loaded<FrmDepl>());
    EXPECT_FALSE(shared.altgoto.GotoRunning);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(EquaPointing, TheProgressWindowRepaintsDuringALongGoto) {
    // Thousands of right-ascension pulses of 5 us, with the real event loop
    // on its time budget: the values the progress window is painted with.
    SyncOn(1);  // 4230, 2740
    for (auto& level : shared.drive.EquaSpeedTable) level = {250, 250};
    QSet<int> painted;
    class PaintWatch : public QObject {
    public:
        explicit PaintWatch(QSet<int>& seen) : seen_(seen) {}
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Paint && o->objectName() == QLatin1String("ProgressBaraz") &&
                o->parent() == forms::Slot<FrmDepl>::instance && shared.altgoto.GotoRunning)
                seen_.insert(static_cast<QProgressBar*>(o)->value());
            return false;
        }

    private:
        QSet<int>& seen_;
    } watch(painted);
    qApp->installEventFilter(&watch);
    w().lbCatalogue->setCurrentRow(0);  // "Autre..."
    Type("10", "0", "45", "40");        // 6000: 1770 tenths east, 4917 pulses
    w().bOK_Click();
    qApp->removeEventFilter(&watch);
    EXPECT_DOUBLE_EQ(shared.equa.TelescopeRA, 4230 + 4917 * 0.36);
    int between = 0;
    for (int v : painted) between += v > 0 && v < 100;
    EXPECT_GE(between, 5) << "painted with " << painted.size() << " values";
}

TEST_F(EquaPointing, WithAFilterTheFirstRowIsTheFirstFilteredObject) {
    SyncOn(1);
    w().lbObjets->setCurrentRow(0);
    w().mnuAOuverts_Click();  // M 45 only
    ASSERT_EQ(w().lbObjets->count(), 1);
    EXPECT_EQ(w().mnufilt->text(), "filtre:[Ouverts]");
    w().lbObjets->setCurrentRow(0);
    w().lbObjets_DblClick();
    EXPECT_DOUBLE_EQ(shared.equa.TelescopeRA, 4230 + 101 * 0.36);  // M 45, within a pulse
    EXPECT_DOUBLE_EQ(shared.equa.TelescopeDec, 2740 + 11 * 5.4);
    w().lbObjets_MouseDown(Qt::RightButton);
    ASSERT_FALSE(popups.isEmpty());
    EXPECT_TRUE(popups.last().startsWith("mnufiltre: TYPE:[AMAS OUVERT]")) << popups.last().toStdString();
    w().mnunearest_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("L'ETOILE LA PLUS PROCHE EST:\r\n")));
}

TEST_F(EquaPointing, AutreShowsTheTypedFrameAndACatalogueResetsTheFilter) {
    SyncOn(1);
    w().mnuAOuverts_Click();
    w().lbCatalogue->setCurrentRow(0);  // "Autre..."
    EXPECT_TRUE(w().lbObjets->isHidden());
    EXPECT_FALSE(w().Frame4->isHidden());
    w().lbCatalogue->setCurrentRow(2);  // "Objets IC"
    EXPECT_FALSE(w().lbObjets->isHidden());
    EXPECT_FALSE(w().Frame4->isHidden()) << "the frame stays";
    EXPECT_EQ(w().lbObjets->count(), 1);
    EXPECT_EQ(w().lbObjets->item(0)->text(), "IC 1");
    EXPECT_EQ(w().mnufilt->text(), "Filtre=[Aucun]");
    EXPECT_TRUE(w().mnuaucun->isChecked());
    EXPECT_FALSE(w().mnuAOuverts->isChecked());
}

TEST_F(EquaPointing, AClickOnTheCatalogueAlreadyChosenReloadsItAndResetsTheFilter) {
    w().Show();
    SyncOn(1);
    QListWidget* list = w().lbCatalogue;
    ASSERT_EQ(list->currentRow(), 1);  // "Objets Messier"
    w().mnugalaxies->trigger();
    ASSERT_FALSE(w().mnuaucun->isChecked());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(w().lbObjets->count(), 3) << "the whole catalogue again";
    EXPECT_EQ(w().mnufilt->text(), "Filtre=[Aucun]");
    EXPECT_TRUE(w().mnuaucun->isChecked());
    EXPECT_FALSE(w().mnugalaxies->isChecked());
}

TEST_F(EquaPointing, TheChosenListOrFrameIsTheOneInSight) {
    w().Show();
    SyncOn(1);
    const auto inSight = [this](QWidget* control) { return InSight(w(), control); };
    EXPECT_TRUE(inSight(w().lbObjets));
    w().lbCatalogue->setCurrentRow(0);  // "Autre..."
    EXPECT_TRUE(inSight(w().Frame4));
    w().lbCatalogue->setCurrentRow(2);  // "Objets IC"
    EXPECT_TRUE(inSight(w().lbObjets)) << "the objects of the catalogue just chosen";
    w().lbCatalogue->setCurrentRow(0);
    EXPECT_TRUE(inSight(w().Frame4));
}

TEST_F(EquaPointing, ACatalogueOrFilterChosenDuringAGotoIsUndone) {
    w().Show();
    SyncOn(1);
    AtPulse(3, [this] {  // a click on "Objets IC", then the filter "Galaxies"
        QListWidget* list = w().lbCatalogue;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
        w().mnugalaxies->trigger();
    });
    w().lbObjets->setCurrentRow(0);
    w().lbObjets_DblClick();
    seams::SetDoEvents({});
    QCoreApplication::processEvents();
    EXPECT_EQ(w().lbCatalogue->currentRow(), 1) << "the catalogue whose objects the list shows";
    EXPECT_EQ(w().lbCatalogue->selectedItems(), QList<QListWidgetItem*>{w().lbCatalogue->item(1)});
    EXPECT_EQ(w().lbObjets->item(0)->text(), "M 1");
    EXPECT_EQ(w().lbObjets->count(), 3);
    EXPECT_FALSE(w().mnugalaxies->isChecked());
    EXPECT_TRUE(w().mnuaucun->isChecked());
    w().lbCatalogue->setCurrentRow(2);  // chosen again once the goto is over
    ASSERT_EQ(w().lbObjets->count(), 1);
    EXPECT_EQ(w().lbObjets->item(0)->text(), "IC 1");
}

TEST_F(EquaPointing, TypedCoordinatesAreCheckedThenPointedAt) {
    struct Case {
        const char* h;
        const char* m;
        const char* d;
        const char* dm;
        double ra, dec;
        int pulsesRA, pulsesDec;  // signed, north and east positive
        const char* raCaption;    // where the pulses took the telescope
        const char* decCaption;
    } cases[] = {
        {"7", "3", "4", "34", 4230, 2740, 1, 1, "7h3.04'", "4°34.54'"},  // where the telescope is: one pulse each
        {"5", "34", "22", "1", 3340, 13210, -2474, 1939, "5h33.94'", "22°1.06'"},
        {"7", "3", "-10", "12", 4230, -6120, 1, -1642, "7h3.04'", "-10°12.68'"},
        {"7", "3", "0", "-30", 4230, -300, 1, -564, "7h3.04'", "0°-30.56'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.decCaption);
        SyncOn(1);
        Type(c.h, c.m, c.d, c.dm);
        w().bOK_Click();
        EXPECT_EQ(shared.equa.GotoRA, c.ra);
        EXPECT_EQ(shared.equa.GotoDec, c.dec);
        EXPECT_NEAR(shared.equa.TelescopeRA, 4230 + c.pulsesRA * 0.36, 1e-9);
        EXPECT_NEAR(shared.equa.TelescopeDec, 2740 + c.pulsesDec * 5.4, 1e-9);
        EXPECT_EQ(w().tADpos->text(), QString::fromUtf8(c.raCaption));
        EXPECT_EQ(w().tdcpos->text(), QString::fromUtf8(c.decCaption));
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EquaPointing, ThePositionShowsThePlaceOnTheSky) {
    // Right ascension within 0 to 24 h; a declination past a pole as the
    // place the telescope points at, on the pole's other side, 12 h round;
    // a hair under 24 h or 90 degrees as 0 h or 90 degrees.
    struct Case {
        double ra, dec;
        const char* raCaption;
        const char* decCaption;
    } cases[] = {
        {4236, -6120, "7h3.6'", "-10°12'"},
        {-0.5, 100, "23h59.95'", "0°10'"},
        {14400.3, 0, "0h0.03'", "0°0'"},
        {14399.96, 0, "0h0'", "0°0'"},
        {100, 54000.6, "12h10'", "89°59.94'"},
        {100, -54000.6, "12h10'", "-89°59.94'"},
        {8000, 54000, "13h20'", "90°0'"},
        {8000, 53999.96, "13h20'", "90°0'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ra << ", " << c.dec);
        w().ShowPosition(c.ra, c.dec);
        EXPECT_EQ(w().tADpos->text(), QString::fromUtf8(c.raCaption));
        EXPECT_EQ(w().tdcpos->text(), QString::fromUtf8(c.decCaption));
    }
}

TEST_F(EquaPointing, GotosTo0hAndToThePoleShowWhereTheTelescopePointsAndTheNextGotoCountsFromThePulses) {
    for (const int play : {0, 5}) {
        SCOPED_TRACE(testing::Message() << "gear play " << play);
        Sim().ResetMount();
        Sim().SetPlay(play, play);
        SyncOn(1);  // 7h3', 4 deg 34'
        w().lbCatalogue->setCurrentRow(0);  // "Autre..."

        // 0h0': the last pulse goes a hair past it, west.
        Type("0", "0", "4", "34");
        w().bOK_Click();
        EXPECT_EQ(Sim().AzSteps(), -11751);
        EXPECT_NEAR(shared.equa.TelescopeRA, 14400 - 0.36, 1e-6);
        EXPECT_EQ(w().tADpos->text(), "23h59.96'");

        // 23h59.9', 89 deg 59.9': the declination's last pulse goes past the
        // pole; the telescope points 12 h round, just short of it.
        SyncOn(1);
        Sim().ResetMount();
        Type("23", "59.9", "89", "59.9");
        w().bOK_Click();
        EXPECT_EQ(Sim().AzSteps(), -11754) << "right ascension the short way, west across 0 h";
        EXPECT_EQ(Sim().AltSteps(), -9493) << "north";
        EXPECT_NEAR(shared.equa.TelescopeDec, 2740 + 9493 * 5.4, 1e-6) << "the pulses' position is kept";
        EXPECT_EQ(w().tADpos->text(), "11h59.86'");
        EXPECT_EQ(w().tdcpos->text(), QStringLiteral("89°59.78'"));

        // Back to the star: the pulses' position takes the mount back.
        Type("7", "3", "4", "34");
        w().bOK_Click();
        EXPECT_NEAR(static_cast<double>(Sim().AzSteps()), 0, 2);
        EXPECT_NEAR(static_cast<double>(Sim().AltSteps()), 0, 2);
        EXPECT_LE(std::fabs(shared.equa.TelescopeRA - 4230), 2 * 0.36 + 1e-9);
        EXPECT_LE(std::fabs(shared.equa.TelescopeDec - 2740), 2 * 5.4 + 1e-9);
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(EquaPointing, InvalidOrEmptyTypedCoordinatesMoveNothing) {
    SyncOn(1);
    Sim().ClearWrites();
    for (auto typed : {std::array<const char*, 4>{"55", "0", "0", "0"}, std::array<const char*, 4>{"7", "3", "-95", "0"},
                       std::array<const char*, 4>{"sept", "3", "4", "34"}}) {
        Type(typed[0], typed[1], typed[2], typed[3]);
        w().bOK_Click();
    }
    EXPECT_EQ(messages, QStringList(3, kTypedCoordinatesMessage));
    Type("", "", "", "");
    w().bOK_Click();
    EXPECT_EQ(messages.size(), 3);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(shared.equa.TelescopeRA, 4230);
    EXPECT_EQ(w().tADpos->text(), "7h3'");
}

TEST_F(EquaPointing, AStoppedGotoLeavesTheTelescopeWhereItGot) {
    SyncOn(1);
    frmCercle().mnuPoint->setText("Pointage");
    shared.win.SkyChartShown = vb::True;
    AtPulse(10, [] { frmDepl().cmstoppointage_Click(); });
    w().lbObjets->setCurrentRow(2);  // M 45: 36 east, 55 north
    w().lbObjets_DblClick();
    seams::SetDoEvents({});
    EXPECT_EQ(Sim().AzSteps(), 10);
    EXPECT_EQ(Sim().AltSteps(), 0) << "a stop during the right ascension skips the declination";
    EXPECT_DOUBLE_EQ(shared.equa.TelescopeRA, 4230 + 10 * 0.36);
    EXPECT_EQ(shared.equa.TelescopeDec, 2740);
    EXPECT_EQ(w().tADpos->text(), "7h3.36'");
    EXPECT_EQ(shared.altgoto.StopGoto, vb::False);
    EXPECT_FALSE(forms::Loaded<FrmDepl>());
    EXPECT_EQ(frmCercle().mnuPoint->text(), "initialisation");
    EXPECT_EQ(shared.win.SkyChartShown, vb::False);

    // The next goto starts from there.
    Sim().ResetMount();
    w().lbObjets_DblClick();
    EXPECT_GE(Sim().AzSteps(), 90);
    EXPECT_LE(Sim().AzSteps(), 91);
    EXPECT_EQ(Sim().AltSteps(), -11);  // north is the direction line low
    EXPECT_EQ(shared.equa.TelescopeRA, 4266);
}

TEST_F(EquaPointing, TwentyGotosTheSameWayLeaveThePositionOnTheMount) {
    // Each goto sends a pulse or two more than the difference; the position
    // follows the pulses, so the next goto starts from the mount. The gears'
    // play is crossed by a first goto the same way, after which the mount is
    // counted from where the position then says (as by a sync on a star there).
    struct Case {
        const char* what;
        int play;
        int sign;  // +1: east and north, 3 minutes of time and 12' a goto; -1: west and south
    };
    const Case cases[] = {{"east and north", 0, 1}, {"west and south", 0, -1}, {"east and north, play 5", 5, 1},
                          {"west and south, play 5", 5, -1}};
    constexpr double kRaPulse = 0.36, kDecPulse = 5.4;  // 200 steps, 1:100
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sim().ResetMount();
        Sim().SetPlay(c.play, c.play);
        SyncOn(1);  // 7h3', 4 deg 34'
        w().lbCatalogue->setCurrentRow(0);  // "Autre..."
        // Typed in minutes of time and of arc.
        const auto gotoTyped = [this](int raMinutes, int decMinutes) {
            Type(QByteArray::number(raMinutes / 60).constData(), QByteArray::number(raMinutes % 60).constData(),
                 QByteArray::number(decMinutes / 60).constData(), QByteArray::number(decMinutes % 60).constData());
            w().bOK_Click();
        };
        int ra = 423 + 3 * c.sign, dec = 274 + 12 * c.sign;
        gotoTyped(ra, dec);
        const double ra0 = shared.equa.TelescopeRA, dec0 = shared.equa.TelescopeDec;
        const int64_t axisRA0 = Sim().AzAxis(), axisDec0 = Sim().AltAxis();
        for (int n = 1; n <= 20; ++n) {
            SCOPED_TRACE(n);
            ra += 3 * c.sign;
            dec += 12 * c.sign;
            gotoTyped(ra, dec);
            ASSERT_EQ(shared.equa.GotoRA, 10 * ra);
            // The mount: right ascension up with the direction line high,
            // declination north with it low.
            const double mountRA = ra0 + static_cast<double>(Sim().AzAxis() - axisRA0) * kRaPulse;
            const double mountDec = dec0 - static_cast<double>(Sim().AltAxis() - axisDec0) * kDecPulse;
            EXPECT_NEAR(shared.equa.TelescopeRA, mountRA, 1e-6);
            EXPECT_NEAR(shared.equa.TelescopeDec, mountDec, 1e-6);
            // And within two pulses of the target, beyond it.
            EXPECT_LE(std::fabs(shared.equa.TelescopeRA - 10 * ra), 2 * kRaPulse + 1e-9);
            EXPECT_LE(std::fabs(shared.equa.TelescopeDec - 10 * dec), 2 * kDecPulse + 1e-9);
        }
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(EquaPointing, QuittingDuringAGotoStopsItFirst) {
    for (bool byMenu : {false, true}) {
        SCOPED_TRACE(byMenu);
        forms::UnloadAll();
        QCoreApplication::processEvents();
        Sim().ResetMount();
        SyncOn(1);
        frmCercle();
        AtPulse(5, [this, byMenu] { byMenu ? w().mnuquit->trigger() : w().Cmdquit->click(); });
        Frmequapointage& window = w();
        window.lbObjets->setCurrentRow(2);
        window.lbObjets_DblClick();
        seams::SetDoEvents({});
        EXPECT_EQ(Sim().AzSteps(), 5);
        EXPECT_EQ(Sim().AltSteps(), 0);
        EXPECT_FALSE(forms::Loaded<Frmequapointage>());
        EXPECT_FALSE(forms::Loaded<FrmCercle>());
        EXPECT_FALSE(forms::Loaded<FrmDepl>());
        EXPECT_EQ(shared.altgoto.StopGoto, vb::False);
        EXPECT_FALSE(shared.altgoto.GotoRunning);
    }
}

TEST_F(EquaPointing, ThePaddleRestsDuringAGotoAndComesBackAfter) {
    frminterface().Timer->start();
    SyncOn(1);
    bool polledDuring = true;
    AtPulse(3, [&] { polledDuring = frminterface().Timer->isActive(); });
    w().lbObjets->setCurrentRow(0);
    w().lbObjets_DblClick();
    seams::SetDoEvents({});
    EXPECT_FALSE(polledDuring);
    EXPECT_TRUE(frminterface().Timer->isActive());
    EXPECT_EQ(Sim().DataLatch(), 0) << "the data register is cleared for the paddle";

    frminterface().Timer->stop();
    w().lbObjets_DblClick();
    EXPECT_FALSE(frminterface().Timer->isActive()) << "a paddle that was off stays off";
}

TEST_F(EquaPointing, UnusableMechanicsRefuseTheGotoWithAMessage) {
    WriteData("config_equa.ini", QByteArray("200\r\n0\r\n100\r\n100\r\n"));
    SyncOn(1);
    w().lbObjets->setCurrentRow(0);
    w().lbObjets_DblClick();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], UnusableMechanicsMessage());
    EXPECT_TRUE(Writes().empty());
    EXPECT_FALSE(forms::Loaded<FrmDepl>());
    EXPECT_EQ(shared.equa.TelescopeRA, 4230);
}

TEST_F(EquaPointing, ARefusedTypedGotoKeepsTheTelescopePositionShown) {
    WriteData("config_equa.ini", QByteArray("200\r\n200\r\n100\r\n"));
    SyncOn(1);
    w().lbCatalogue->setCurrentRow(0);  // "Autre..."
    Type("5", "34", "22", "1");
    w().bOK_Click();
    EXPECT_EQ(messages, QStringList{UnusableMechanicsMessage()});
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(shared.equa.TelescopeRA, 4230);
    EXPECT_EQ(shared.equa.TelescopeDec, 2740);
    EXPECT_EQ(w().tADpos->text(), "7h3'");
    EXPECT_EQ(w().tdcpos->text(), QStringLiteral("4°34'"));
}

TEST_F(EquaPointing, TheChartButtonsOpenTheChartInItsTwoRoles) {
    w().Show();
    w().Picinit_MouseDown();
    EXPECT_TRUE(w().Picinit->Shows(ButtonPictures[3]));
    w().Picinit_MouseUp();
    EXPECT_TRUE(w().Picinit->Shows(ButtonPictures[2]));
    EXPECT_EQ(frmCercle().mnuPoint->text(), "Initialisation");
    EXPECT_EQ(shared.win.SkyChartShown, vb::False);
    EXPECT_EQ(shared.win.AltazMode, vb::False);
    EXPECT_TRUE(frmCercle().Shown());

    w().picpointage_MouseDown();
    EXPECT_TRUE(w().picpointage->Shows(ButtonPictures[5]));
    w().picpointage_MouseUp();
    EXPECT_TRUE(w().picpointage->Shows(ButtonPictures[4]));
    EXPECT_EQ(frmCercle().mnuPoint->text(), "Pointage");
    EXPECT_EQ(shared.win.SkyChartShown, vb::True);
}

TEST_F(EquaPointing, TheToolbarOpensIt) {
    frminterface().barequa_ButtonClick(4);  // "Pointage automatique"
    EXPECT_TRUE(w().Shown());
}

namespace {
struct QuitCase {
    const char* when;
    int atPulse;  // quit while this pulse of the goto holds its step line high; 0: after the goto
    bool byTitleBar;
};
void PrintTo(const QuitCase& c, std::ostream* os) { *os << c.when; }
class EquaQuit : public EquaPointing, public testing::WithParamInterface<QuitCase> {};
}  // namespace

TEST_P(EquaQuit, LeavesEveryLineOfThePortLow) {
    const QuitCase& c = GetParam();
    auto quit = [&c] { c.byTitleBar ? void(frminterface().close()) : frminterface().mnuQuitter->trigger(); };
    SyncOn(1);
    if (c.atPulse != 0) {
        auto events = std::make_shared<int>(0);
        seams::SetDoEvents([&, events] {
            if (++*events != 2 * c.atPulse) return;  // the second half of the pulse
            EXPECT_EQ(Sim().DataLatch(), 12) << "a step line is high";
            quit();
        });
    }
    w().lbObjets->setCurrentRow(2);  // M 45: both axes move
    w().lbObjets_DblClick();
    seams::SetDoEvents({});
    if (c.atPulse == 0) {
        EXPECT_NE(Sim().DataLatch(), 0) << "a direction line stays high after a move";
        Sim().ClearWrites();
        quit();
        EXPECT_EQ(Writes(), (std::vector<port::Write>{{888, 0}, {890, 0}}));
    }
    EXPECT_EQ(Sim().DataLatch(), 0);
    EXPECT_EQ(Sim().ControlLatch(), 0);
    ASSERT_GE(Writes().size(), 2u);
    EXPECT_EQ(Writes().end()[-2], (port::Write{888, 0}));
    EXPECT_EQ(Writes().back(), (port::Write{890, 0})) << "nothing more reaches the port";
    EXPECT_EQ(quitCalls, 1);
}

INSTANTIATE_TEST_SUITE_P(AfterOrDuringAGoto, EquaQuit,
                         testing::Values(QuitCase{"after the goto, Quitter", 0, false},
                                         QuitCase{"after the goto, title bar", 0, true},
                                         QuitCase{"during a pulse, Quitter", 5, false},
                                         QuitCase{"during a pulse, title bar", 5, true}),
                         [](const testing::TestParamInfo<QuitCase>& i) {
                             return std::string(i.param.atPulse ? "During" : "After") +
                                    (i.param.byTitleBar ? "TitleBar" : "Quitter");
                         });
