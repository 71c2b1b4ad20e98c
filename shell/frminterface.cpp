#include "shell/frminterface.h"

#include "altaz/frmaltazpilot.h"
#include "altaz/frmaltazpointage.h"
#include "altaz/frmaltazsuivi.h"
#include "altaz/frmconfig.h"
#include "altaz/catalogue.h"
#include "altaz/frmcoord.h"
#include "altaz/neareststar.h"
#include "altaz/typefilter.h"
#include "chart/frmCercle.h"
#include "chart/frmLegend.h"
#include "core/calendar.h"
#include "core/counters.h"
#include "core/state.h"
#include "motor/gotopass.h"
#include "equatorial/frmequaconfig.h"
#include "equatorial/frmequapilot.h"
#include "equatorial/frmequapointage.h"
#include "motor/handpad.h"
#include "motor/paddle.h"
#include "motor/settingsfiles.h"
#include "motor/speedtables.h"
#include "platform/busywait.h"
#include "platform/port.h"
#include "platform/saveset.h"
#include "platform/vbrt.h"
#include "platform/seams.h"
#include "platform/widgets.h"
#include "shell/Frmnotes.h"
#include "shell/buttonpictures.h"
#include "shell/frmaide.h"
#include "shell/frmcopyright.h"
#include "shell/frmintro.h"
#include "shell/frmraquette.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QToolBar>

namespace {
QPointer<Frminterface>& mainWindow() {
    static QPointer<Frminterface> w;
    return w;
}
}  // namespace

Frminterface& frminterface() {
    if (!mainWindow()) mainWindow() = new Frminterface();
    return *mainWindow();
}

void ResetMainWindow() {
    delete mainWindow().data();
    mainWindow() = nullptr;
}

void StopMainWindowTimers() {
    if (!mainWindow()) return;
    mainWindow()->heuretimer->stop();
    mainWindow()->Timer->stop();
}

Frminterface::Frminterface() {
    setObjectName(QStringLiteral("frminterface"));
    setWindowTitle(QStringLiteral("Orvanel : Pilotage de télescopes"));

    mdi = new QMdiArea(this);
    mdi->setObjectName(QStringLiteral("mdi"));
    setCentralWidget(mdi);
    Form::SetMdiArea(mdi);

    mnuQuitter = menuBar()->addAction(QStringLiteral("Quitter"), this, &Frminterface::Quitter_Click);
    // However the program ends, it ends as "Quitter" ends it.
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { Quitter_Click(); });
    mnuObservations = menuBar()->addAction(QStringLiteral("Observations"), this, &Frminterface::Observations_Click);
    mnuAide = menuBar()->addAction(QStringLiteral("Aide"), this, &Frminterface::Aide_Click);
    mnuPropos = menuBar()->addAction(QStringLiteral("A propos de "), this, &Frminterface::propos_Click);

    barchoix = makeBar("barchoix", {QStringLiteral("Mode équatorial"), QStringLiteral("Mode altazimutal")},
                       &Frminterface::barchoix_ButtonClick);
    baraltaz = makeBar("baraltaz",
                       {QStringLiteral("Pilotage"), QStringLiteral("Suivi sidéral"), QStringLiteral("Initialisations"),
                        QStringLiteral("constellations")},
                       &Frminterface::baraltaz_ButtonClick);
    barequa = makeBar("barequa",
                      {QStringLiteral("Mode informatique"), QStringLiteral("Mode manuel"), QStringLiteral("Pilotage"),
                       QStringLiteral("Pointage automatique"), QStringLiteral("Paramètres")},
                      &Frminterface::barequa_ButtonClick);
    baraltaz->setVisible(false);
    barequa->setVisible(false);

    // Pop-up menus of the coordinates window's object list.
    BuildFilterMenus(this, typefilter::Owner::MainWindow);

    // The azimuth backlash still to take up, shown while the paddle moves.
    handpad::SetBacklashDisplay([](const QString& text) {
        if (forms::Loaded<Frmcoord>()) frmcoord().txtback->setText(text);
    });

    heuretimer = new QTimer(this);
    heuretimer->setObjectName(QStringLiteral("heuretimer"));
    heuretimer->setInterval(200);
    connect(heuretimer, &QTimer::timeout, this, &Frminterface::heuretimer_Timer);
    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(200);
    connect(Timer, &QTimer::timeout, this, &Frminterface::Timer_Timer);

    resize(OpeningWorkArea() + QSize(0, menuBar()->sizeHint().height() + barchoix->sizeHint().height()));
}

namespace {
// The windows that set the main window's opening size, in twips (their
// insides): the coordinates window with its goto strip, and the widest work
// window, the equatorial manual drive with its speed panel.
constexpr int kCoordinatesWidest = 7820;
constexpr int kWorkWindowWidest = 10680;
}  // namespace

QSize Frminterface::OpeningWorkArea() const {
    // The tallest window is the chart: its picture under a menu bar like this one.
    const QMargins frame = Form::SubWindowFrame();
    const int across = frame.left() + frame.right();
    return {twips::ToPixels(kCoordinatesWidest) + across + twips::ToPixels(kWorkWindowWidest) + across,
            twips::ToPixels(chart::kChartSize) + menuBar()->sizeHint().height() + frame.top() + frame.bottom()};
}

void Frminterface::ShowAtStart() {
    if (seams::Quitting()) return;  // quit during the start-up: no window to show
    // On a screen too small for it the window fills the screen.
    const QScreen* s = screen();
    const QRect room = s ? s->availableGeometry() : QRect();
    if (room.isValid() && (width() > room.width() || height() > room.height())) {
        setGeometry(room);
        showMaximized();
    } else {
        show();
    }
}

QToolBar* Frminterface::makeBar(const char* name, const QStringList& captions,
                                void (Frminterface::*handler)(int)) {
    auto* bar = addToolBar(QString::fromLatin1(name));
    bar->setObjectName(QString::fromLatin1(name));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (int i = 0; i < captions.size(); ++i) {
        QAction* a = bar->addAction(captions[i]);
        const int index = i + 1;
        connect(a, &QAction::triggered, this, [this, handler, index] { (this->*handler)(index); });
    }
    return bar;
}

QAction* Frminterface::Button(QToolBar* bar, int index) const {
    const auto actions = bar->actions();
    return index >= 1 && index <= actions.size() ? actions[index - 1] : nullptr;
}

void Frminterface::MDIForm_Load() {
    // A save cut off when the program last ended is finished or undone
    // before any settings file is read; then the user's folder gets the
    // shipped settings it lacks.
    SaveSet::FinishInterrupted();
    SaveSet::CopyMissingSettings();

    if (port::Current().Simulated())
        setWindowTitle(QStringLiteral("Orvanel : Pilotage de télescopes (port simulé)"));

    Frmintro& intro = frmintro();
    intro.Show();
    intro.repaint();
    intro.Label->setText(QStringLiteral(" chargement des bibliothèques d'objets"));
    intro.Label->repaint();

    LoadSpeedTables();

    // Keeps the splash on screen for a moment.
    BusyWait(100000);
    seams::DoEventsNow();
    // Quit while the splash showed: nothing more to load.
    if (seams::Quitting()) {
        forms::Unload<Frmintro>();
        return;
    }

    LoadButtonPictures();

    forms::Unload<Frmintro>();

    const auto backlash = settingsfiles::ReadBacklash();
    shared.site.BacklashAz = backlash.az;
    shared.site.BacklashAlt = backlash.alt;

    // The paddle's command inversion, for either mount (the coordinates
    // window reads it again when it loads).
    const auto inversion = settingsfiles::ReadInversion();
    shared.site.InvertAz = inversion.az;
    shared.site.InvertAlt = inversion.alt;

    shared.pos.StepCountingOn = vb::False;
    shared.pos.StepCounterAz = 0;
    shared.pos.StepCounterAlt = 0;
    shared.win.TrackingShown = vb::False;
    shared.win.AltazSettingsShown = vb::False;
}

void Frminterface::Quitter_Click() { quitProgram(0); }

void Frminterface::QuitOnSignal(int signal) { quitProgram(128 + signal); }

void Frminterface::quitProgram(int exitStatus) {
    if (seams::Quitting()) return;
    // From here every move and every loop that lets events run leaves at
    // its next check, writing nothing more, and no pending event runs: the
    // handlers on the stack unwind at once and the event loop ends.
    seams::BeginQuit(exitStatus);
    // The flags the moves and gotos watch say so too.
    shared.drive.MotorMode = 0;
    shared.drive.HandPadCode = paddle::kSwitchedOff;
    AskGotoStop();
    heuretimer->stop();
    Timer->stop();
    // No step or direction line is left high, then the port is given back.
    Out32(port::kData, 0);
    Out32(port::kControl, 0);
    port::Seal();
    seams::Quit();
}

void Frminterface::closeEvent(QCloseEvent* e) {
    // Closing the frame is quitting, whatever runs beneath.
    Quitter_Click();
    e->accept();
}

int RunEventLoop() {
    // A quit during the start-up came before there was a loop to end.
    if (seams::Quitting()) return seams::ExitStatus();
    return QCoreApplication::exec();
}

void Frminterface::Observations_Click() { frmnotes().Show(); }
void Frminterface::Aide_Click() { frmaide().Show(); }
void Frminterface::propos_Click() { frmcopyright().Show(); }

void Frminterface::barchoix_ButtonClick(int index) {
    switch (index) {
    case 1:  // "Mode équatorial"
        barequa->setVisible(true);
        baraltaz->setVisible(false);
        forms::Unload<Frmaltazpilot>();
        forms::Unload<Frmaltazpointage>();
        forms::Unload<Frmaltazsuivi>();
        forms::Unload<Frmconfig>();
        forms::Unload<Frmcoord>();
        heuretimer->stop();
        barchoix->setVisible(false);
        break;
    case 2:  // "Mode altazimutal"
        barchoix->setVisible(false);
        barequa->setVisible(false);
        baraltaz->setVisible(true);
        shared.win.AltazMode = vb::True;
        frmcoord().Show();
        forms::Unload<Frmequapilot>();
        forms::Unload<Frmequapointage>();
        forms::Unload<Frmequaconfig>();
        break;
    default:
        break;
    }
}

void Frminterface::baraltaz_ButtonClick(int index) {
    switch (index) {
    case 1:  // "Pilotage"
        frmaltazpilot().Show();
        frmcoord().SwitchPaddleOff();
        break;
    case 2:  // "Suivi sidéral"
        ToggleSiderealTracking();
        break;
    case 3:  // "Initialisations"
        ToggleAltazSettings();
        break;
    case 4:  // "constellations"
        ToggleSkyChart();
        break;
    default:
        break;
    }
}

void Frminterface::barequa_ButtonClick(int index) {
    switch (index) {
    case 1:  // "Mode informatique"
        Out32(port::kControl, 1);
        Out32(port::kData, 0);
        Timer->stop();
        forms::Unload<Frmraquette>();
        break;
    case 2:  // "Mode manuel"
        Out32(port::kControl, 11);
        handpad::ClearDataForPaddle();
        forms::Unload<Frmaltazpilot>();
        forms::Unload<Frmaltazpointage>();
        forms::Unload<Frmaltazsuivi>();
        forms::Unload<Frmconfig>();
        forms::Unload<Frmequapilot>();
        forms::Unload<Frmequapointage>();
        forms::Unload<Frmequaconfig>();
        forms::Unload<FrmCercle>();
        forms::Unload<FrmLegend>();
        frmraquette().Show();
        Timer->start();
        break;
    case 3:  // "Pilotage"
        frmequapilot().Show();
        Timer->stop();
        forms::Unload<Frmraquette>();
        break;
    case 4:  // "Pointage automatique"
        frmequapointage().Show();
        break;
    case 5:  // "Paramètres"
        frmequaconfig().Show();
        break;
    default:
        break;
    }
}

void Frminterface::ToggleSkyChart() {
    if (shared.win.SkyChartShown != 0) {
        frmCercle().Hide();
        shared.win.SkyChartShown = vb::False;
        return;
    }
    frmCercle().mnuPoint->setText(QStringLiteral("Pointage"));
    if (shared.win.ChartInitDone != 0) frmCercle().RedrawChart();
    shared.win.AltazMode = vb::True;
    frmCercle().Show();
    shared.win.SkyChartShown = vb::True;
}

void Frminterface::ToggleSiderealTracking() {
    if (shared.win.TrackingShown == 0) {
        frmaltazsuivi().Show();
        shared.win.TrackingShown = vb::True;
        return;
    }
    // Its unload stops the tick and gives the clock back, however it closes.
    forms::Unload<Frmaltazsuivi>();
    shared.win.TrackingShown = vb::False;
}

void Frminterface::ToggleAltazSettings() {
    if (shared.win.AltazSettingsShown != 0) {
        frmconfig().Hide();
        shared.win.AltazSettingsShown = vb::False;
    } else {
        frmconfig().Show();
        shared.win.AltazSettingsShown = vb::True;
    }
}

void Frminterface::heuretimer_Timer() {
    Frmcoord& coord = frmcoord();
    auto& pos = shared.pos;

    // 1, 2. The universal-time clock; the date lists follow the UT date
    // whenever they are not on it (also after a tick that missed UT midnight).
    TimeBoxes time = coord.Time();
    UpdateUtClock(time);
    coord.SetTime(time);

    // 3. Direction-test pulse counts, or the pending pulses into the counters.
    if (pos.StepCountingOn != 0) {
        const int16_t code = shared.drive.HandPadCode;
        double az = 0, alt = 0;
        switch (code) {
        case 15: case 143: az = 1; break;
        case 9: case 137: az = 5; break;
        case 13: case 141: az = 10; break;
        case 26: case 10: alt = 1; break;
        case 19: case 3: alt = 5; break;
        case 18: case 2: alt = 10; break;
        default: break;
        }
        if (az != 0) pos.StepCounterAz += pos.AzDirectionPlus == vb::True ? az : -az;
        if (alt != 0) pos.StepCounterAlt += pos.AltDirectionPlus == vb::True ? alt : -alt;
        frmconfig().txtnbraz->setText(vb::CStr(pos.StepCounterAz));
        frmconfig().txtnbralt->setText(vb::CStr(pos.StepCounterAlt));
    } else {
        coord.ShowAzimuthCounter(UpdateAzimuthCounter());
        coord.ShowAltitudeCounter(UpdateAltitudeCounter());
    }

    // 4.
    ui::SetText(coord.txtsens, vb::BoolText(pos.AzDirectionPlus));
}

void Frminterface::Timer_Timer() { handpad::PaddleTick(); }

void Frminterface::UncheckFilterMenu() {
    if (QAction* a = FilterItem(shared.cat.ObjectTypeFilter)) a->setChecked(false);
}

void Frminterface::FilterChosen(int16_t code) {
    Frmcoord& coord = frmcoord();
    ShowFilterChoice(shared.cat, code, static_cast<int16_t>(coord.lbCatalogue->currentRow()), coord.lbObjets);
}

void Frminterface::LoadBrightStars() { catalogue::LoadBrightStars(shared.cat); }

void Frminterface::mnunearest_Click() {
    LoadBrightStars();
    neareststar::ShowNearestStar(shared.cat, frmcoord().lbObjets->currentRow(), shared.cat);
}
