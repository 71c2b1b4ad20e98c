// Quitting while something runs: by "Quitter", by closing the main window or
// by a signal (Ctrl+C, SIGTERM, SIGHUP), while a goto, a held manual move, a
// paddle move or a tracking burst runs, alone or one within another. Each
// case runs inside the real event loop; the quit comes from within the loop
// under way, through the pass of events it lets run. Nothing more is asked
// of the port once the registers are cleared, every loop unwinds at once and
// the event loop ends.
#include "altaz/frmaltazpilot.h"
#include "altaz/frmaltazsuivi.h"
#include "altaz/frmcoord.h"
#include "core/state.h"
#include "equatorial/frmequapilot.h"
#include "equatorial/frmequapointage.h"
#include "motor/handpad.h"
#include "platform/form.h"
#include "platform/quitsignals.h"
#include "shell/frminterface.h"
#include "shell/frmintro.h"
#include "tests/started.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>

using port::Write;

namespace {

enum class QuitWay { Menu, TitleBar, Sigint, Sigterm, Sighup };

int signalOf(QuitWay way) {
    switch (way) {
    case QuitWay::Sigint: return SIGINT;
    case QuitWay::Sigterm: return SIGTERM;
    case QuitWay::Sighup: return SIGHUP;
    default: return 0;
    }
}

// What the program returns: 0 after "Quitter", 128 + the signal after one.
int exitStatusOf(QuitWay way) { return signalOf(way) ? 128 + signalOf(way) : 0; }

// The signals caught as the program catches them (and as a program in the
// terminal's foreground has them, not ignored), for as long as it lives.
struct CaughtSignals {
    CaughtSignals() {
        for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, SIG_DFL);
        QString error;
        EXPECT_TRUE(quitsignals::Install(&error)) << error.toStdString();
        quitsignals::Watch([](int signal) { frminterface().QuitOnSignal(signal); });
    }
    ~CaughtSignals() { quitsignals::Uninstall(); }
    CaughtSignals(const CaughtSignals&) = delete;
    CaughtSignals& operator=(const CaughtSignals&) = delete;
};

// Within a pass of events: the menu item, the title bar's close, or a signal
// that comes just before the pass goes on to the pending events.
void quit(QuitWay way) {
    switch (way) {
    case QuitWay::Menu: frminterface().mnuQuitter->trigger(); break;
    case QuitWay::TitleBar: frminterface().close(); break;
    default:
        std::raise(signalOf(way));
        QCoreApplication::processEvents();
        break;
    }
}

// Runs `start` from within the program's event loop (its real quit ends the
// loop); returns what the loop returned. Should the loop outlive the quit, a
// watchdog ends it with 99.
int runInEventLoop(std::function<void()> start) {
    seams::SetQuit({});
    QTimer::singleShot(0, [&start] { start(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(10000);
    const int rc = QCoreApplication::exec();
    watchdog.stop();
    // The frame closed inside the loop may have asked to end it once more.
    QCoreApplication::removePostedEvents(QCoreApplication::instance(), QEvent::Quit);
    return rc;
}

class Quit;

// One loop, perhaps with another within it.
struct LoopCase {
    const char* name;
    void (*prepare)(Quit&);    // the mount chosen, the windows open, the loop ready
    void (*run)(Quit&);        // starts the loop; returns once it has unwound
    bool (*busy)(Quit&);       // at the quit: the loop under way had more to do
    int nestAt;                // 0, or the pass of events at which `nested` starts
    void (*nested)(Quit&);
    int quitAt;                // the pass of events at which quit comes
};

class Quit : public StartedProgramTest {
public:
    // Fine mechanics (3.24 arc-seconds a half step): a tracking tick of 30 s
    // sends bursts of many pulses.
    void Altaz() {
        WriteData("config_altaz.ini", QByteArray("2\r\n20\r\n48\r\n50\r\n200\r\n200\r\n1000000\r\n1000000\r\n"));
        frminterface().barchoix_ButtonClick(2);
        fast();
    }
    void Equatorial(const char* raSteps) {
        WriteData("config_equa.ini", QByteArray(raSteps) + "\r\n200\r\n100\r\n100\r\n");
        frminterface().barchoix_ButtonClick(1);
        fast();
    }
    static void Select(const char* name) {
        Frmcoord& c = frmcoord();
        c.lbObjets->setCurrentItem(c.lbObjets->findItems(QString::fromLatin1(name), Qt::MatchExactly).value(0));
    }
    // Synchronised on Capella, Deneb selected.
    void GotoReady() {
        Altaz();
        Select("Capella");
        frmcoord().cmdreinit_Click();
        Select("Deneb");
    }
    // Tracking started on Capella, ticks of 30 s.
    void TrackingReady() {
        GotoReady();
        frminterface().baraltaz_ButtonClick(2);
        Frmaltazsuivi& s = frmaltazsuivi();
        s.txtincrement->setText("30000");
        s.txttempoa->setText("0");
        s.txttempoh->setText("0");
        s.imglecture_Click();
        Sim().ResetMount();
    }
    // Equatorial sidereal tracking started, the next tick in a new second.
    void EquaTrackingReady() {
        Equatorial("20000");  // 46 pulses a second
        frminterface().barequa_ButtonClick(3);
        SetSecond(17);
        frmequapilot().cmdgo->click();
        SetSecond(18);
        Sim().ResetMount();
    }
    // The paddle's button `code` held down.
    void Press(int16_t code) { Sim().HoldPaddleCode(code); }
    int64_t AzSteps() { return std::abs(Sim().AzSteps()); }
    void SetSecond(int s) { clock.second = s; }

    bool inner = false;  // the nested loop is under way

private:
    static void fast() {
        auto& d = shared.drive;
        d.AltazSpeedTable = {{{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}}};
        d.EquaSpeedTable = d.AltazSpeedTable;
        d.PaddleDelayAzSlow = d.PaddleDelayAzMedium = d.PaddleDelayAzFast = 1;
        d.PaddleDelayAltSlow = d.PaddleDelayAltMedium = d.PaddleDelayAltFast = 1;
    }
};

class Quitting : public Quit, public testing::WithParamInterface<std::tuple<LoopCase, QuitWay>> {};

void clickEast(Quit&) { frmaltazpilot().cmdad->click(); }
void paddleTick(Quit&) { frminterface().Timer_Timer(); }
void trackingTick(Quit&) { frmaltazsuivi().timcompteur_Timer(); }
void equaTrackingTick(Quit&) { frmequapilot().timersuivi_Timer(); }

const LoopCase kCases[] = {
    {"goto", [](Quit& t) { t.GotoReady(); }, [](Quit&) { frmcoord().cmdpointage_Click(); },
     [](Quit&) { return shared.altgoto.GotoRunning; }, 0, nullptr, 30},
    {"manual move held",
     [](Quit& t) {
         t.Altaz();
         frmaltazpilot().Show();
     },
     clickEast, [](Quit&) { return shared.drive.MotorMode != 0; }, 0, nullptr, 10},
    {"paddle move", [](Quit& t) {
         t.Altaz();
         t.Press(13);  // azimuth, fast
     },
     paddleTick, [](Quit&) { return handpad::TickRunning(); }, 0, nullptr, 10},
    {"tracking burst", [](Quit& t) { t.TrackingReady(); }, trackingTick,
     [](Quit& t) { return t.AzSteps() < shared.drive.AzStepsTick; }, 0, nullptr, 7},
    {"equatorial goto",
     [](Quit& t) {
         t.Equatorial("200");
         frminterface().barequa_ButtonClick(4);
         Frmequapointage& p = frmequapointage();
         p.lbEtoiles->setCurrentRow(0);
         p.lbEtoiles_DblClick();
         p.lbObjets->setCurrentRow(30);
     },
     [](Quit&) { frmequapointage().lbObjets_DblClick(); }, [](Quit&) { return shared.altgoto.GotoRunning; }, 0,
     nullptr, 10},
    {"equatorial tracking burst", [](Quit& t) { t.EquaTrackingReady(); }, equaTrackingTick,
     [](Quit& t) { return t.AzSteps() < shared.drive.EquaStepCount; }, 0, nullptr, 7},
    {"equatorial manual move held",
     [](Quit& t) {
         t.Equatorial("200");
         frminterface().barequa_ButtonClick(3);
     },
     [](Quit&) { frmequapilot().cmdad->click(); }, [](Quit&) { return shared.drive.MotorMode != 0; }, 0, nullptr,
     10},
    // Nested: the inner loop starts at the outer's fourth pass of events, and
    // quit comes within it, after two pulses of its first burst.
    {"tracking tick within a manual move",
     [](Quit& t) {
         t.TrackingReady();
         frmaltazpilot().Show();
     },
     clickEast, [](Quit&) { return shared.drive.AzStepsTick > 3; }, 4, trackingTick, 10},
    {"tracking tick within a paddle move",
     [](Quit& t) {
         t.TrackingReady();
         t.Press(13);
     },
     paddleTick, [](Quit&) { return shared.drive.AzStepsTick > 3; }, 4, trackingTick, 10},
    {"equatorial tracking tick within a manual move", [](Quit& t) { t.EquaTrackingReady(); },
     [](Quit&) { frmequapilot().cmdad->click(); }, [](Quit&) { return shared.drive.EquaStepCount > 3; }, 4,
     equaTrackingTick, 9},
    // The paddle timer ticking while a goto pass runs.
    {"paddle move within a goto pass", [](Quit& t) { t.GotoReady(); }, [](Quit&) { frmcoord().cmdpointage_Click(); },
     [](Quit&) { return handpad::TickRunning(); }, 20,
     [](Quit& t) {
         t.Press(13);
         handpad::PaddleTick();
     },
     26},
};

void PrintTo(const LoopCase& c, std::ostream* os) { *os << c.name; }
const char* nameOf(QuitWay way) {
    switch (way) {
    case QuitWay::Menu: return "Quitter";
    case QuitWay::TitleBar: return "TitleBar";
    case QuitWay::Sigint: return "SIGINT";
    case QuitWay::Sigterm: return "SIGTERM";
    case QuitWay::Sighup: return "SIGHUP";
    }
    return "";
}
void PrintTo(QuitWay w, std::ostream* os) { *os << nameOf(w); }

std::string caseName(const testing::TestParamInfo<std::tuple<LoopCase, QuitWay>>& info) {
    std::string name;
    bool upper = true;
    for (const char* c = std::get<0>(info.param).name; *c; ++c) {
        if (*c == ' ') {
            upper = true;
            continue;
        }
        name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(*c))) : *c;
        upper = false;
    }
    return name + '_' + nameOf(std::get<1>(info.param));
}

// The ticks that may still come: none sends anything, none lets events run.
void tickEverything() {
    handpad::PaddleTick();
    if (forms::Loaded<Frmaltazsuivi>()) frmaltazsuivi().timcompteur_Timer();
    if (forms::Loaded<Frmequapilot>()) frmequapilot().timersuivi_Timer();
}

}  // namespace

TEST_P(Quitting, NothingMoreIsAskedOfThePortEveryLoopUnwindsAndTheEventLoopEnds) {
    const auto& [c, way] = GetParam();
    std::optional<CaughtSignals> caught;
    if (signalOf(way)) caught.emplace();
    c.prepare(*this);
    Sim().ClearWrites();
    int events = 0, eventsAtQuit = 0;
    qsizetype messagesAtQuit = -1;
    bool busyAtQuit = false, insideAtQuit = false, nestedReturned = false;
    seams::SetDoEvents([&, c = &c, way = way] {
        ++events;
        if (eventsAtQuit != 0 && events == eventsAtQuit + 1000) {
            // Still running long after the quit: ended here, so that the case fails instead of hanging.
            ADD_FAILURE() << "a loop went on after the quit";
            Sim().HoldPaddleCode(11);
            shared.drive.MotorMode = 0;
        }
        if (c->nested && events == c->nestAt) {
            inner = true;
            c->nested(*this);
            inner = false;
            nestedReturned = true;
            return;
        }
        if (events != c->quitAt) return;
        busyAtQuit = c->busy(*this);
        insideAtQuit = inner;
        eventsAtQuit = events;
        messagesAtQuit = messages.size();
        quit(way);
        // A signal is acted on within the pass of events that follows it,
        // after what was pending before.
        EXPECT_TRUE(seams::Quitting()) << "the quit came within the pass";
        eventsAtQuit = events;
        messagesAtQuit = messages.size();
    });

    EXPECT_EQ(runInEventLoop([&] { c.run(*this); }), exitStatusOf(way)) << "the event loop ended with the quit";

    ASSERT_GT(eventsAtQuit, 0) << "the quit came while the loop ran";
    EXPECT_TRUE(busyAtQuit) << "the loop under way had more to do";
    if (c.nested) {
        EXPECT_TRUE(insideAtQuit) << "the quit came within the nested loop";
        EXPECT_TRUE(nestedReturned) << "the nested loop unwound";
    }
    EXPECT_EQ(events, eventsAtQuit) << "no event ran after the quit";
    EXPECT_EQ(messages.size(), messagesAtQuit) << "no message box after the quit: " << messages.join('\n').toStdString();
    EXPECT_EQ(port::RefusedWrites(), 0u) << "no write was asked of the port after the quit";
    ASSERT_GE(Writes().size(), 2u);
    EXPECT_EQ(Writes().end()[-2], (Write{888, 0}));
    EXPECT_EQ(Writes().back(), (Write{890, 0}));
    EXPECT_NE(Writes().size(), 2u) << "the loop had pulsed before the quit";
    EXPECT_FALSE(shared.altgoto.GotoRunning) << "a goto under way unwound";
    EXPECT_FALSE(handpad::TickRunning()) << "a paddle move under way unwound";
    EXPECT_FALSE(frminterface().Timer->isActive());
    EXPECT_FALSE(frminterface().heuretimer->isActive());

    tickEverything();
    EXPECT_EQ(port::RefusedWrites(), 0u) << "a tick after the quit asks nothing of the port";
    EXPECT_EQ(events, eventsAtQuit);
    EXPECT_EQ(messages.size(), messagesAtQuit);
    seams::SetDoEvents({});
}

INSTANTIATE_TEST_SUITE_P(WhileALoopRuns, Quitting,
                         testing::Combine(testing::ValuesIn(kCases), testing::Values(QuitWay::Menu, QuitWay::TitleBar)),
                         caseName);
INSTANTIATE_TEST_SUITE_P(OnASignalWhileALoopRuns, Quitting,
                         testing::Combine(testing::ValuesIn(kCases), testing::Values(QuitWay::Sigint, QuitWay::Sigterm)),
                         caseName);

namespace {
// The simulated port, with one more signal coming in the middle of the
// quit's clean-up: at its first write, between the two registers.
class SecondSignalPort final : public port::Port {
public:
    explicit SecondSignalPort(int signal) : signal_(signal) {}
    int16_t Inp32(int16_t reg) override { return sim.Inp32(reg); }
    void Out32(int16_t reg, int16_t value) override {
        sim.Out32(reg, value);
        if (seams::Quitting() && !raised) {
            raised = true;
            std::raise(signal_);
        }
    }
    QString Description() const override { return sim.Description(); }

    port::SimulatedPort sim;
    bool raised = false;

private:
    int signal_;
};
}  // namespace

// Ctrl+C pressed twice, or a SIGTERM that follows it: the signals that come
// while the program ends are only noted. The clean-up goes to its end, the
// exit status is the first signal's, and once the event loop has ended a
// signal neither ends the program nor reaches the port.
TEST_F(Quit, ASignalDuringTheCleanUpOrAfterItLeavesThePortClear) {
    CaughtSignals caught;
    GotoReady();
    auto owned = std::make_unique<SecondSignalPort>(SIGTERM);
    SecondSignalPort& p = *owned;
    port::Install(std::move(owned));
    int events = 0;
    seams::SetDoEvents([&] {
        if (++events != 30) return;
        std::raise(SIGINT);
        QCoreApplication::processEvents();
    });

    EXPECT_EQ(runInEventLoop([] { frmcoord().cmdpointage_Click(); }), 128 + SIGINT);
    EXPECT_EQ(events, 30);
    EXPECT_TRUE(p.raised) << "the second signal came during the clean-up";
    const auto& writes = p.sim.Writes();
    ASSERT_GE(writes.size(), 3u);
    EXPECT_EQ(writes.end()[-2], (Write{888, 0}));
    EXPECT_EQ(writes.back(), (Write{890, 0}));
    EXPECT_EQ(port::RefusedWrites(), 0u);

    const std::size_t written = writes.size();
    std::raise(SIGHUP);
    std::raise(SIGINT);
    QCoreApplication::processEvents();
    EXPECT_EQ(p.sim.Writes().size(), written);
    EXPECT_EQ(port::RefusedWrites(), 0u);
    seams::SetDoEvents({});
}

namespace {
class QuitAtStart : public WindowTest, public testing::WithParamInterface<QuitWay> {};
}  // namespace

// The start-up's pause lets events run before there is an event loop: a quit
// then ends the start-up and the program without ever showing the window.
TEST_P(QuitAtStart, EndsTheStartUpAndTheProgram) {
    std::optional<CaughtSignals> caught;
    if (signalOf(GetParam())) caught.emplace();
    UseShippedData();
    Frminterface& w = frminterface();
    seams::SetQuit({});
    int events = 0;
    seams::SetDoEvents([&] {
        if (++events == 1) quit(GetParam());
    });
    w.MDIForm_Load();
    w.ShowAtStart();
    EXPECT_EQ(events, 1);
    EXPECT_FALSE(forms::Loaded<Frmintro>()) << "the splash is gone";
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Writes(), (std::vector<Write>{{888, 0}, {890, 0}}));
    EXPECT_EQ(port::RefusedWrites(), 0u);

    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(10000);
    EXPECT_EQ(RunEventLoop(), exitStatusOf(GetParam())) << "no event loop to wait in";
    watchdog.stop();
    seams::SetDoEvents({});
}

INSTANTIATE_TEST_SUITE_P(ByMenuTitleBarOrSignal, QuitAtStart,
                         testing::Values(QuitWay::Menu, QuitWay::TitleBar, QuitWay::Sigint, QuitWay::Sigterm,
                                         QuitWay::Sighup),
                         [](const testing::TestParamInfo<QuitWay>& i) { return std::string(nameOf(i.param)); });
