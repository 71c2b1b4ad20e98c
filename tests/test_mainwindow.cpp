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
#include "platform/datadir.h"
#include "platform/vbrt.h"
#include "shell/Frmnotes.h"
#include "shell/buttonpictures.h"
#include "shell/frmaide.h"
#include "shell/frmcopyright.h"
#include "shell/frminterface.h"
#include "shell/frmintro.h"
#include "shell/frmraquette.h"
#include "tests/fixture.h"

#include <QAction>
#include <QFile>
#include <functional>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <sys/stat.h>

using port::Write;

class MainWindow : public WindowTest {
protected:
    Frminterface& started() {
        Frminterface& w = frminterface();
        w.MDIForm_Load();
        w.show();
        return w;
    }
    // The toolbars' visibility as the user sees it, in the order choice, altaz, equa.
    static std::array<bool, 3> bars(Frminterface& w) {
        return {w.barchoix->isVisible(), w.baraltaz->isVisible(), w.barequa->isVisible()};
    }
};

TEST_F(MainWindow, TheSavedInversionReachesThePaddleInEitherMount) {
    UseShippedData();
    WriteData("inversion.ini", QByteArray("Vrai\r\nFaux\r\n"));
    Frminterface& w = started();
    w.barchoix_ButtonClick(1);
    w.barequa_ButtonClick(2);  // "Mode manuel": the paddle drives the equatorial mount
    EXPECT_EQ(shared.site.InvertAz, vb::True);
    EXPECT_EQ(shared.site.InvertAlt, vb::False);
    EXPECT_FALSE(forms::Loaded<Frmcoord>());
}

TEST_F(MainWindow, QuitterDuringAGotoStopsItAndLeavesThePaddleOff) {
    UseShippedData();
    WriteData("vitessealtaz.ini", QByteArray("1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n"));
    Frminterface& w = started();
    w.barchoix_ButtonClick(2);
    Frmcoord& c = frmcoord();
    auto select = [&](const char* name) {
        c.lbObjets->setCurrentItem(c.lbObjets->findItems(QString::fromLatin1(name), Qt::MatchExactly).value(0));
    };
    select("Capella");
    c.cmdreinit_Click();
    select("Deneb");
    int pauses = 0;
    seams::SetDoEvents([&] {
        if (++pauses == 30) w.mnuQuitter->trigger();
    });
    Sim().ClearWrites();
    c.cmdpointage_Click();
    seams::SetDoEvents({});
    EXPECT_EQ(quitCalls, 1);
    EXPECT_LE(pauses, 32) << "the goto ended at its next pulse";
    ASSERT_FALSE(Writes().empty());
    EXPECT_EQ(Writes().back(), (Write{890, 0})) << "nothing reaches the port after the last write";
    EXPECT_FALSE(w.Timer->isActive()) << "the paddle is not switched back on";
    EXPECT_FALSE(shared.altgoto.GotoRunning);
}

TEST_F(MainWindow, StartsWithOnlyTheMountChoiceAndNoTimer) {
    UseShippedData();
    WriteData("backlash.ini", QByteArray("14\r\n9\r\n"));
    shared.pos.StepCountingOn = vb::True;
    shared.pos.StepCounterAz = 3;
    shared.win.TrackingShown = vb::True;
    shared.win.AltazSettingsShown = vb::True;

    Frminterface& w = started();

    EXPECT_EQ(w.windowTitle(), QStringLiteral("Orvanel : Pilotage de télescopes (port simulé)"));
    EXPECT_EQ(bars(w), (std::array<bool, 3>{true, false, false}));
    EXPECT_FALSE(w.heuretimer->isActive());
    EXPECT_FALSE(w.Timer->isActive());
    EXPECT_EQ(w.heuretimer->interval(), 200);
    EXPECT_EQ(w.Timer->interval(), 200);
    EXPECT_EQ(shared.site.BacklashAz, 14);
    EXPECT_EQ(shared.site.BacklashAlt, 9);
    EXPECT_EQ(shared.site.InvertAz, vb::False);
    EXPECT_EQ(shared.pos.StepCountingOn, 0);
    EXPECT_EQ(shared.pos.StepCounterAz, 0);
    EXPECT_EQ(shared.win.TrackingShown, 0);
    EXPECT_EQ(shared.win.AltazSettingsShown, 0);
    EXPECT_FALSE(forms::Loaded<Frmintro>()) << "the splash is gone once loading is done";
    EXPECT_TRUE(Writes().empty()) << "nothing is written to the port before a mode is chosen";
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    for (auto& p : ButtonPictures) EXPECT_FALSE(p.isNull());
    EXPECT_NE(ButtonPictures[6].toImage(), ButtonPictures[7].toImage());
}

TEST_F(MainWindow, MenusAndToolbarsCarryTheirCaptions) {
    Frminterface& w = frminterface();
    QStringList menus;
    for (QAction* a : w.menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, (QStringList{"Quitter", "Observations", "Aide", "A propos de "}));
    auto captions = [](QToolBar* bar) {
        QStringList out;
        for (QAction* a : bar->actions()) out << a->text();
        return out;
    };
    EXPECT_EQ(captions(w.barchoix), (QStringList{"Mode équatorial", "Mode altazimutal"}));
    EXPECT_EQ(captions(w.baraltaz), (QStringList{"Pilotage", "Suivi sidéral", "Initialisations", "constellations"}));
    EXPECT_EQ(captions(w.barequa), (QStringList{"Mode informatique", "Mode manuel", "Pilotage",
                                                "Pointage automatique", "Paramètres"}));
}

TEST_F(MainWindow, TheSplashSaysWhatIsLoading) {
    UseShippedData();
    QString shownWhileLoading;
    // The pause after the tables lets events run once: the splash is up then.
    seams::SetDoEvents([&] {
        if (forms::Loaded<Frmintro>() && shownWhileLoading.isEmpty()) {
            shownWhileLoading = frmintro().Label->text();
            EXPECT_TRUE(frmintro().isVisible());
        }
    });
    started();
    EXPECT_EQ(shownWhileLoading, QStringLiteral(" chargement des bibliothèques d'objets"));
}

TEST_F(MainWindow, MissingStartUpFilesAreToldAndTheProgramGoesOn) {
    Frminterface& w = started();
    EXPECT_TRUE(w.barchoix->isVisible());
    // One message per file, in the order start-up reads them.
    const char* const order[] = {"vitessemanu.ini", "vitesseequa.ini", "vitessealtaz.ini",
                                 "liste.txt",       "backlash.ini",    "inversion.ini"};
    ASSERT_EQ(messages.size(), 6) << messages.join('\n').toStdString();
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(messages[i].contains(QString::fromLatin1(order[i]))) << order[i];
    EXPECT_EQ(shared.site.BacklashAz, 0);
    // Drawn stand-ins keep the paddle switch's two states apart.
    EXPECT_NE(ButtonPictures[6].toImage(), ButtonPictures[7].toImage());
}

TEST_F(MainWindow, AShortPictureListLoadsThoseItNames) {
    UseShippedData();
    const QString list = ReadData("img/liste.txt");
    const QStringList names = list.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(names.size(), 11);
    WriteData("img/liste.txt", (names[0] + "\r\n" + names[1] + "\r\n").toUtf8());
    started();
    QPixmap first;
    ASSERT_TRUE(first.load(ShippedDataFolder() + "/img/" + names[0] + ".gif"));
    EXPECT_EQ(ButtonPictures[0].toImage(), first.toImage());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_NE(ButtonPictures[6].toImage(), ButtonPictures[7].toImage());
}

TEST_F(MainWindow, ATooLongPictureListIsToldAndStopsAtEleven) {
    UseShippedData();
    WriteData("img/liste.txt", ReadData("img/liste.txt") + "encore\r\n");
    started();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("liste.txt"));
}

TEST_F(MainWindow, StartUpGoesPastAPipeADeviceAndAHugePictureNameAndNamesEach) {
    UseShippedData();
    // A pipe with no writer, a link to an endless device, and a first line
    // of 10 MB in the picture list.
    const QString data = datadir::Folder();
    ASSERT_TRUE(QFile::remove(data + "/vitessemanu.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(data + "/vitessemanu.ini").constData(), 0644), 0);
    ASSERT_TRUE(QFile::remove(data + "/backlash.ini"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), data + "/backlash.ini"));
    QStringList names = ReadData("img/liste.txt").split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(names.size(), 11);
    const QString second = names[1];
    names[0] = QString(10 * 1024 * 1024, u'x');
    WriteData("img/liste.txt", (names.join(QStringLiteral("\r\n")) + "\r\n").toUtf8());

    Frminterface& w = started();
    EXPECT_TRUE(w.barchoix->isVisible());
    const auto notPlain = [](const char* file) {
        return QStringLiteral("Fichier ignoré : %1\nCe n'est pas un fichier ordinaire (un tube, un périphérique ou un "
                              "dossier porte son nom).\nLes valeurs par défaut sont utilisées.")
            .arg(datadir::Shown(QStringLiteral("\\data\\") + QString::fromLatin1(file)));
    };
    // The picture is named by the start of its line only.
    const QString picture =
        QStringLiteral("Fichier introuvable ou illisible : %1\nLes valeurs par défaut sont utilisées.")
            .arg(datadir::Shown(QStringLiteral("\\data\\img\\") + QString(80, u'x') + QStringLiteral("….gif")));
    EXPECT_EQ(messages, (QStringList{notPlain("vitessemanu.ini"), picture, notPlain("backlash.ini")}));
    EXPECT_EQ(shared.drive.ManualSpeedTable, DriveState{}.ManualSpeedTable);
    EXPECT_EQ(shared.site.BacklashAz, 0);
    QPixmap shipped;
    ASSERT_TRUE(shipped.load(ShippedDataFolder() + "/img/" + second + ".gif"));
    EXPECT_EQ(ButtonPictures[1].toImage(), shipped.toImage()) << "the other pictures load";
}

TEST_F(MainWindow, ChoosingTheAltazimuthMount) {
    UseShippedData();
    Frminterface& w = started();
    frmequapilot();
    frmequapointage();
    frmequaconfig();
    w.barchoix_ButtonClick(2);
    EXPECT_EQ(bars(w), (std::array<bool, 3>{false, true, false}));
    EXPECT_EQ(shared.win.AltazMode, vb::True);
    EXPECT_TRUE(frmcoord().Shown());
    EXPECT_FALSE(forms::Loaded<Frmequapilot>());
    EXPECT_FALSE(forms::Loaded<Frmequapointage>());
    EXPECT_FALSE(forms::Loaded<Frmequaconfig>());
}

TEST_F(MainWindow, ChoosingTheEquatorialMount) {
    UseShippedData();
    Frminterface& w = started();
    frmaltazpilot();
    frmaltazpointage();
    frmaltazsuivi();
    frmconfig();
    frmcoord();
    Sim().ClearWrites();  // the manual-drive window's load took the port
    w.heuretimer->start();
    w.barchoix_ButtonClick(1);
    EXPECT_EQ(bars(w), (std::array<bool, 3>{false, false, true}));
    EXPECT_FALSE(w.heuretimer->isActive());
    EXPECT_EQ(shared.win.AltazMode, vb::False) << "left as it was";
    for (bool loaded : {forms::Loaded<Frmaltazpilot>(), forms::Loaded<Frmaltazpointage>(),
                        forms::Loaded<Frmaltazsuivi>(), forms::Loaded<Frmconfig>(), forms::Loaded<Frmcoord>()})
        EXPECT_FALSE(loaded);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(MainWindow, EquatorialToolbar) {
    UseShippedData();
    Frminterface& w = started();
    w.barchoix_ButtonClick(1);

    // "Mode manuel": the port to the paddle, every work window closed, the paddle settings shown.
    frmaltazpilot();
    frmaltazpointage();
    frmaltazsuivi();
    frmconfig();
    frmequapilot();
    frmequapointage();
    frmequaconfig();
    frmCercle();
    frmLegend();
    Sim().ClearWrites();  // the manual-drive windows' loads took the port
    Out32(888, 12);
    Sim().ClearWrites();
    w.barequa_ButtonClick(2);
    EXPECT_EQ(Writes(), (std::vector<Write>{{890, 11}, {888, 0}}));
    EXPECT_EQ(port::LastPortOutput(), 0);
    const bool loaded[] = {forms::Loaded<Frmaltazpilot>(), forms::Loaded<Frmaltazpointage>(),
                           forms::Loaded<Frmaltazsuivi>(), forms::Loaded<Frmconfig>(),
                           forms::Loaded<Frmequapilot>(),  forms::Loaded<Frmequapointage>(),
                           forms::Loaded<Frmequaconfig>(), forms::Loaded<FrmCercle>(),
                           forms::Loaded<FrmLegend>()};
    for (int i = 0; i < 9; ++i) EXPECT_FALSE(loaded[i]) << "window " << i;
    EXPECT_TRUE(frmraquette().Shown());
    EXPECT_TRUE(w.Timer->isActive());

    // "Mode informatique": the port back to the program.
    Sim().ClearWrites();
    w.barequa_ButtonClick(1);
    EXPECT_EQ(Writes(), (std::vector<Write>{{890, 1}, {888, 0}}));
    EXPECT_FALSE(w.Timer->isActive());
    EXPECT_FALSE(forms::Loaded<Frmraquette>());

    // "Pilotage": manual drive, paddle polling off.
    w.barequa_ButtonClick(2);
    Sim().ClearWrites();
    w.barequa_ButtonClick(3);
    EXPECT_TRUE(frmequapilot().Shown());
    EXPECT_FALSE(w.Timer->isActive());
    EXPECT_FALSE(forms::Loaded<Frmraquette>());

    w.barequa_ButtonClick(4);
    EXPECT_TRUE(frmequapointage().Shown());
    w.barequa_ButtonClick(5);
    EXPECT_TRUE(frmequaconfig().Shown());
}

TEST_F(MainWindow, ModeManuelWithNoWindowOpenStillEndsWithThePaddleSettings) {
    UseShippedData();
    Frminterface& w = started();
    w.barchoix_ButtonClick(1);
    w.barequa_ButtonClick(2);
    EXPECT_TRUE(frmraquette().Shown());
    EXPECT_TRUE(w.Timer->isActive());
}

TEST_F(MainWindow, AltazimuthPilotageSwitchesThePaddleOffOnlyWhenItWasOn) {
    UseShippedData();
    Frminterface& w = started();
    w.barchoix_ButtonClick(2);

    frmcoord().picraquette->SetPicture(ButtonPictures[6]);
    shared.drive.HandPadCode = 11;
    w.Timer->start();
    w.baraltaz_ButtonClick(1);
    EXPECT_TRUE(frmaltazpilot().Shown());
    EXPECT_TRUE(frmcoord().picraquette->Shows(ButtonPictures[6]));
    EXPECT_TRUE(w.Timer->isActive());
    EXPECT_EQ(shared.drive.HandPadCode, 11);

    frmcoord().picraquette->SetPicture(ButtonPictures[7]);
    w.baraltaz_ButtonClick(1);
    EXPECT_TRUE(frmcoord().picraquette->Shows(ButtonPictures[6]));
    EXPECT_FALSE(w.Timer->isActive());
    EXPECT_EQ(shared.drive.HandPadCode, 1000);
}

TEST_F(MainWindow, TrackingToggle) {
    UseShippedData();
    Frminterface& w = started();
    w.barchoix_ButtonClick(2);
    w.heuretimer->stop();
    w.baraltaz_ButtonClick(2);
    EXPECT_TRUE(frmaltazsuivi().Shown());
    EXPECT_EQ(shared.win.TrackingShown, vb::True);

    frmaltazsuivi().timcompteur->start(1000);
    shared.drive.DeltaAz = 12;
    shared.drive.DeltaAlt = -3;
    shared.pos.PositionSynced = vb::True;
    frmcoord().txtms->setText(QStringLiteral("450"));
    w.baraltaz_ButtonClick(2);
    EXPECT_FALSE(forms::Loaded<Frmaltazsuivi>());
    EXPECT_EQ(shared.win.TrackingShown, vb::False);
    EXPECT_EQ(shared.drive.DeltaAz, 0);
    EXPECT_EQ(shared.drive.DeltaAlt, 0);
    EXPECT_EQ(frmcoord().txtms->text(), "0");
    EXPECT_TRUE(w.heuretimer->isActive());
    EXPECT_EQ(shared.pos.PositionSynced, vb::False);
}

TEST_F(MainWindow, SettingsToggleHidesAndKeepsTheWindowLoaded) {
    UseShippedData();
    Frminterface& w = started();
    w.barchoix_ButtonClick(2);
    w.baraltaz_ButtonClick(3);
    EXPECT_TRUE(frmconfig().Shown());
    EXPECT_EQ(shared.win.AltazSettingsShown, vb::True);
    w.baraltaz_ButtonClick(3);
    EXPECT_TRUE(forms::Loaded<Frmconfig>());
    EXPECT_FALSE(frmconfig().Shown());
    EXPECT_EQ(shared.win.AltazSettingsShown, vb::False);
}

TEST_F(MainWindow, ChartToggleShowsThenOnlyHides) {
    UseShippedData();
    Frminterface& w = started();
    w.barchoix_ButtonClick(2);
    shared.win.AltazMode = vb::False;
    frmCercle().mnuPoint->setText(QStringLiteral("initialisation"));
    w.baraltaz_ButtonClick(4);
    EXPECT_TRUE(frmCercle().Shown());
    EXPECT_EQ(frmCercle().mnuPoint->text(), "Pointage");
    EXPECT_EQ(shared.win.SkyChartShown, vb::True);
    EXPECT_EQ(shared.win.AltazMode, vb::True);
    w.baraltaz_ButtonClick(4);
    EXPECT_TRUE(forms::Loaded<FrmCercle>());
    EXPECT_FALSE(frmCercle().Shown());
    EXPECT_EQ(shared.win.SkyChartShown, vb::False);
}

TEST_F(MainWindow, MenuItemsOpenTheirWindows) {
    UseShippedData();
    Frminterface& w = started();
    w.mnuObservations->trigger();
    EXPECT_TRUE(frmnotes().Shown());
    w.mnuAide->trigger();
    EXPECT_TRUE(frmaide().Shown());
    w.mnuPropos->trigger();
    EXPECT_TRUE(frmcopyright().Shown());
}

TEST_F(MainWindow, QuitterClearsTheDataThenTheControlRegisterAndEndsTheProgram) {
    UseShippedData();
    Frminterface& w = started();
    w.barchoix_ButtonClick(1);
    w.barequa_ButtonClick(2);
    Sim().ClearWrites();
    shared.drive.MotorMode = 2;
    w.mnuQuitter->trigger();
    EXPECT_EQ(Writes(), (std::vector<Write>{{888, 0}, {890, 0}}));
    EXPECT_EQ(quitCalls, 1);
    EXPECT_EQ(shared.drive.MotorMode, 0) << "a held move ends at its next pulse";
    EXPECT_FALSE(w.Timer->isActive());
}

TEST_F(MainWindow, EachToolbarButtonRunsItsOwnEffect) {
    UseShippedData();
    Frminterface& w = started();
    w.Button(w.barchoix, 1)->trigger();
    EXPECT_TRUE(w.barequa->isVisible());
    struct Case {
        int index;
        std::function<bool()> effect;
    } equa[] = {
        {2, [] { return frmraquette().Shown(); }},
        {1, [] { return !forms::Loaded<Frmraquette>(); }},
        {3, [] { return frmequapilot().Shown(); }},
        {4, [] { return frmequapointage().Shown(); }},
        {5, [] { return frmequaconfig().Shown(); }},
    };
    for (const auto& c : equa) {
        w.Button(w.barequa, c.index)->trigger();
        EXPECT_TRUE(c.effect()) << "equatorial button " << c.index;
    }
    EXPECT_EQ(w.Button(w.barequa, 6), nullptr);
}

TEST_F(MainWindow, EachAltazimuthToolbarButtonRunsItsOwnEffect) {
    UseShippedData();
    Frminterface& w = started();
    w.Button(w.barchoix, 2)->trigger();
    EXPECT_TRUE(w.baraltaz->isVisible());
    struct Case {
        int index;
        std::function<bool()> effect;
    } altaz[] = {
        {1, [] { return frmaltazpilot().Shown(); }},
        {2, [] { return frmaltazsuivi().Shown(); }},
        {3, [] { return frmconfig().Shown(); }},
        {4, [] { return frmCercle().Shown(); }},
    };
    for (const auto& c : altaz) {
        w.Button(w.baraltaz, c.index)->trigger();
        EXPECT_TRUE(c.effect()) << "alt-azimuth button " << c.index;
    }
}

TEST_F(MainWindow, AfterQuitterNothingMoreReachesThePort) {
    UseShippedData();
    Frminterface& w = started();
    w.mnuQuitter->trigger();
    // A move still finishing its pulse, or the frame closing, writes nothing more.
    Out32(888, 12);
    w.close();
    EXPECT_EQ(Writes(), (std::vector<Write>{{888, 0}, {890, 0}}));
    EXPECT_EQ(quitCalls, 1);
}
