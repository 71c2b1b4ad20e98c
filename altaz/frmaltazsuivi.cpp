#include "altaz/frmaltazsuivi.h"

#include "altaz/altazfiles.h"
#include "altaz/frmcoord.h"
#include "altaz/pointing.h"
#include "core/calendar.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/numbers.h"
#include "core/state.h"
#include "motor/gotopass.h"
#include "motor/handpad.h"
#include "motor/moves.h"
#include "platform/inputcheck.h"
#include "platform/seams.h"
#include "platform/vbrt.h"
#include "shell/artwork.h"
#include "shell/buttonpictures.h"
#include "shell/frminterface.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kWidth = 4560;
constexpr int kFoldedHeight = 2910;
constexpr int kUnfoldedHeight = 4785;
constexpr int kCoordClockWidth = 6375;  // the coordinates window's clock frame while tracking

PictureBox* picture(QWidget* parent, const char* name, int left, const QPixmap& p, const QString& tip) {
    auto* b = ui::Make<PictureBox>(parent, name);
    b->SetPicture(p);
    b->setToolTip(tip);
    ui::Place(b, left, 1740, 720, 540);
    return b;
}

QToolButton* spinnerArrow(QWidget* parent, Qt::ArrowType arrow, int top) {
    auto* b = new QToolButton(parent);
    b->setArrowType(arrow);
    ui::Place(b, 0, top, 285, 180);
    return b;
}

// A setting read by a running tick: a box that does not hold one (the user
// may be typing in it) keeps the value in use.
template <typename T>
void readSetting(const QLineEdit* box, const inputcheck::Range& range, T& value) {
    if (const auto v = inputcheck::ValueIn(box->text(), range)) value = static_cast<T>(*v);
}

}  // namespace

Frmaltazsuivi::Frmaltazsuivi() : Form(QStringLiteral("Suivi Sidéral ")) {
    setObjectName(QStringLiteral("frmaltazsuivi"));

    // Shown folded: the sidereal time, the counts of the tick, the controls.
    lblheuresid = ui::Label(this, QStringLiteral("Heure sidérale"), 120, 150, 1500);
    lblheuresid->setObjectName(QStringLiteral("lblheuresid"));
    txth2 = ui::TextBox(this, "txth2", 1680, 120, 600);
    txtmin2 = ui::TextBox(this, "txtmin2", 2340, 120, 600);
    txts2 = ui::TextBox(this, "txts2", 3000, 120, 600);
    Label12 = ui::Label(this, QStringLiteral("Nombre de pas à effectuer"), 120, 570, 3600);
    Label12->setObjectName(QStringLiteral("Label12"));
    txtna = ui::TextBox(this, "txtna", 120, 900, 1500);
    txtnh = ui::TextBox(this, "txtnh", 1740, 900, 1500);
    txtsommea = ui::TextBox(this, "txtsommea", 120, 1260, 1500);
    txtsommeh = ui::TextBox(this, "txtsommeh", 1740, 1260, 1500);
    imglecture = picture(this, "imglecture", 120, artwork::PlaySymbol(32), QStringLiteral("suivi sidéral"));
    imgpause = picture(this, "imgpause", 960, QPixmap(), QStringLiteral("Pause"));
    imgstop = picture(this, "imgstop", 1800, artwork::StopSymbol(32), QStringLiteral("Arrêt"));
    lbl1 = ui::Make<WebdingsLabel>(this, "lbl1");
    lbl1->SetCaption(QStringLiteral("6"));
    ui::Place(lbl1, kWidth - 540, kFoldedHeight - 480, 345, 345);

    // Shown unfolded: the settings.
    Frincrement = ui::Frame(this, "Frincrement", QStringLiteral("Incrément de calcul"), 120, 2940, 2040, 840);
    txtincrement = ui::TextBox(Frincrement, "txtincrement", 120, 330, 900);
    updowntaux = ui::Make<QWidget>(Frincrement, "updowntaux");
    ui::Place(updowntaux, 1035, 285, 285, 360);
    auto* up = spinnerArrow(updowntaux, Qt::UpArrow, 0);
    auto* down = spinnerArrow(updowntaux, Qt::DownArrow, 180);
    ui::Label(Frincrement, QStringLiteral("ms"), 1410, 330, 450);
    Frame3 = ui::Frame(this, "Frame3", QStringLiteral("Vitesse de correction"), 2280, 2940, 2160, 1200);
    ui::Label(Frame3, QStringLiteral("Azimut"), 120, 330, 900);
    txttempoa = ui::TextBox(Frame3, "txttempoa", 1020, 300, 1020);
    ui::Label(Frame3, QStringLiteral("Altitude"), 120, 750, 900);
    txttempoh = ui::TextBox(Frame3, "txttempoh", 1020, 720, 1020);
    cmdsave = ui::Button(this, "cmdsave", QStringLiteral("Enregistrer"), 120, 3900, 2040, 420);

    timcompteur = new QTimer(this);
    timcompteur->setObjectName(QStringLiteral("timcompteur"));

    connect(imglecture, &PictureBox::Click, this, &Frmaltazsuivi::imglecture_Click);
    connect(imgpause, &PictureBox::Click, this, &Frmaltazsuivi::imgpause_Click);
    connect(imgstop, &PictureBox::Click, this, &Frmaltazsuivi::imgstop_Click);
    connect(lbl1, &WebdingsLabel::Click, this, &Frmaltazsuivi::lbl1_Click);
    connect(up, &QToolButton::clicked, this, &Frmaltazsuivi::updowntaux_UpClick);
    connect(down, &QToolButton::clicked, this, &Frmaltazsuivi::updowntaux_DownClick);
    connect(cmdsave, &QPushButton::clicked, this, &Frmaltazsuivi::cmdsave_Click);
    connect(timcompteur, &QTimer::timeout, this, &Frmaltazsuivi::timcompteur_Timer);
}

void Frmaltazsuivi::Form_Load() {
    SetTwipsSize(kWidth, kFoldedHeight);
    shared.win.TrackingShown = vb::True;
    imgpause->SetPicture(ButtonPictures[8]);

    const altazfiles::SuiviAltaz s = altazfiles::ReadSuiviAltaz();
    auto& d = shared.drive;
    txtincrement->setText(vb::CStr(s.increment));
    d.TrackDelayAz = s.delayAz;
    txttempoa->setText(vb::CStr(d.TrackDelayAz));
    d.TrackDelayAlt = s.delayAlt;
    txttempoh->setText(vb::CStr(d.TrackDelayAlt));

    Frmcoord& c = frmcoord();
    TimeBoxes t = c.Time();
    ShowSiderealTime0h(t);
    c.txtessai->setText(t.txtessai);
}

void Frmaltazsuivi::Form_Unload() {
    stopTracking();
    // Not when the alt-azimuth windows are closing all together.
    if (forms::Loaded<Frmcoord>()) giveClockBack();
    shared.win.TrackingShown = vb::False;
}

void Frmaltazsuivi::stopTracking() {
    stopCatchUp();
    timcompteur->stop();
    running_ = false;
    shared.drive.DeltaAz = 0;
    shared.drive.DeltaAlt = 0;
    shared.pos.PositionSynced = vb::False;
    shared.pos.GotoReached = false;
}

void Frmaltazsuivi::aim() {
    Frmcoord& c = frmcoord();
    if (shared.pos.PositionSynced != 0) {
        // The object of the sync is in the coordinate boxes: it is kept.
    } else if (shared.pos.GotoReached) {
        // The object a goto reached.
        c.SetCoordinates(SignedCoordinatesOf(shared.pos.ReachedRA / 600, shared.pos.ReachedDec / 600));
    } else {
        aimAtCounters();
        return;
    }
    tracking::Rebase(point);
}

void Frmaltazsuivi::aimAtCounters() {
    Frmcoord& c = frmcoord();
    TimeBoxes t = c.Time();
    HorizontalToEquatorial(t);
    c.txtessai->setText(t.txtessai);
    c.SetCoordinates(ShowSignedCoordinates());
    tracking::RebaseOnPoint(point, t, c.Coordinates());
}

void Frmaltazsuivi::applyPendingPulses() {
    const auto& pos = shared.pos;
    if (pos.PendingAzSteps == 0 && pos.PendingAltSteps == 0) return;
    Frmcoord& c = frmcoord();
    c.ShowAzimuthCounter(UpdateAzimuthCounter());
    c.ShowAltitudeCounter(UpdateAltitudeCounter());
}

void Frmaltazsuivi::giveClockBack() {
    frmcoord().txtms->setText(QStringLiteral("0"));
    frminterface().heuretimer->start();
}

std::optional<std::vector<double>> Frmaltazsuivi::typedSettings(const QString& consequence) const {
    using namespace inputcheck;
    return Values({{txtincrement->text(), QStringLiteral("Incrément de calcul"), kIncrement},
                   {txttempoa->text(), QStringLiteral("Vitesse de correction Azimut"), kDelay},
                   {txttempoh->text(), QStringLiteral("Vitesse de correction Altitude"), kDelay}},
                  consequence);
}

void Frmaltazsuivi::cmdsave_Click() {
    const auto v = typedSettings(inputcheck::kNothingSaved);
    if (!v) return;
    altazfiles::WriteSuiviAltaz(vb::CStr((*v)[0]), vb::CStr((*v)[1]), vb::CStr((*v)[2]));
}

void Frmaltazsuivi::imglecture_Click() {
    if (shared.altgoto.GotoRunning) return;
    // The tick runs at the increment typed, with the delays typed.
    const auto settings = typedSettings(inputcheck::kNotStarted);
    if (!settings) return;
    // The object of a sync is tracked from the coordinate boxes as they
    // stand: a box that holds no number is refused, not cut.
    if (shared.pos.PositionSynced != 0 && !CoordinateBoxesReadable(frmcoord().Coordinates())) {
        seams::MsgBox(kTypedCoordinatesMessage + u'\n' + inputcheck::kNotStarted);
        return;
    }
    Frminterface& main = frminterface();
    main.Timer->stop();
    main.heuretimer->stop();
    Frmcoord& c = frmcoord();
    c.frheure->resize(twips::ToPixels(kCoordClockWidth), c.frheure->height());
    frmcoord().SwitchPaddleOff();

    // The clock from the computer's, then the point tracked at that clock:
    // the object of a sync, or the one a goto reached, else where the axis
    // counters point.
    applyPendingPulses();
    TimeBoxes t = c.Time();
    tracking::StartTracking(point, t);
    c.SetTime(t);
    aim();

    ShowTrackState();
    shared.drive.TrackIntervalMs = static_cast<int16_t>((*settings)[0]);
    timcompteur->setInterval(shared.drive.TrackIntervalMs);
    running_ = true;
    paused_ = false;
    imgpause->SetPicture(ButtonPictures[8]);
    timcompteur->start();
}

void Frmaltazsuivi::imgpause_Click() {
    if (running_) {
        // Running tracking pauses; paused tracking goes on.
        if (!paused_) {
            stopCatchUp();
            timcompteur->stop();
            paused_ = true;
            imgpause->SetPicture(ButtonPictures[9]);
            // Paused, tracking lends the clock back: a "Recalage", a goto or
            // a move made meanwhile is counted at the time it is made.
            giveClockBack();
            return;
        }
        paused_ = false;
        frminterface().heuretimer->stop();
        timcompteur->start();
        imgpause->SetPicture(ButtonPictures[8]);
        frmcoord().SwitchPaddleOff();
        return;
    }
    // No tracking: only the picture changes.
    if (imgpause->Shows(ButtonPictures[8])) {
        imgpause->SetPicture(ButtonPictures[9]);
        return;
    }
    imgpause->SetPicture(ButtonPictures[8]);
    frmcoord().SwitchPaddleOff();
}

void Frmaltazsuivi::imgstop_Click() {
    stopTracking();
    giveClockBack();
    for (QLineEdit* b : {txth2, txtmin2, txts2, txtna, txtnh, txtsommea, txtsommeh}) b->setText(QStringLiteral("0"));
}

void Frmaltazsuivi::lbl1_Click() {
    if (lbl1->Caption() != u"6") {
        lbl1->SetCaption(QStringLiteral("6"));
        SetTwipsHeight(kFoldedHeight);
    } else {
        lbl1->SetCaption(QStringLiteral("5"));
        SetTwipsHeight(kUnfoldedHeight);
    }
}

void Frmaltazsuivi::readSettingsBoxes() {
    auto& d = shared.drive;
    readSetting(txtincrement, inputcheck::kIncrement, d.TrackIntervalMs);
    timcompteur->setInterval(d.TrackIntervalMs);
    readSetting(txttempoa, inputcheck::kDelay, d.TrackDelayAz);
    readSetting(txttempoh, inputcheck::kDelay, d.TrackDelayAlt);
}

void Frmaltazsuivi::timcompteur_Timer() {
    // The tick re-arms itself at its end: no tick runs inside another.
    timcompteur->stop();
    seams::DoEventsNow();
    // Quitting: the program ends, and tracking with it.
    if (Unloaded() || seams::Quitting()) return;
    if (shared.altgoto.GotoRunning) {
        // A goto has the mount: the tick sends nothing, but the clock, which
        // tracking owns, goes on for the goto's passes to follow the object.
        Frmcoord& c = frmcoord();
        readSettingsBoxes();
        TimeBoxes t = c.Time();
        tracking::TickClock(point, t);
        c.SetTime(t);
    } else {
        const seams::LocalTime began = seams::Now();
        readSettingsBoxes();
        Frmcoord& c = frmcoord();
        // The clock timer is off: the pulses of manual or paddle moves made
        // meanwhile reach the counters here.
        applyPendingPulses();
        // A manual or paddle move under way (this tick runs within one of
        // its pulses): tracking follows the point the move leaves the
        // telescope at, and never brings it back while the user moves it.
        // Otherwise, moved, re-aimed or synchronised since the last tick:
        // tracking follows what the telescope points at now, from where it is.
        const bool moving = HeldMoveUnderWay() || handpad::TickRunning();
        if (moving) aimAtCounters();
        else if (tracking::Reaimed(point)) aim();
        TimeBoxes t = c.Time();
        const tracking::TickOutcome outcome = tracking::TrackTick(point, t, c.Coordinates());
        c.SetTime(t);
        if (outcome == tracking::TickOutcome::CatchUp) {
            if (!moving) catchUp();
            if (Unloaded() || seams::Quitting()) return;
        } else if (outcome == tracking::TickOutcome::TooNearZenith) {
            // The sky asks more of this tick than tracking may send: no
            // slew, tracking stops and says why.
            imgstop_Click();
            showCounters();
            seams::MsgBox(tracking::kTooNearZenithMessage);
            return;
        } else {
            TrackStepAz();
            TrackStepAlt();
            ShowTrackState();
            point.lastTickMs = MillisecondsBetween(began, seams::Now());
            seams::DoEventsNow();
            if (Unloaded() || seams::Quitting()) return;
        }
    }
    // A stop or pause handled while events ran stays in force.
    if (running_ && !paused_) timcompteur->start();
}

void Frmaltazsuivi::catchUp() {
    Frmcoord& c = frmcoord();
    const tracking::GotoTarget object = tracking::GotoTargetOf(c.Coordinates());
    ++catchUps_;
    // The ticks that come due meanwhile keep the clock going, for the goto's
    // passes to follow the object. The paddle is as the goto found it after.
    timcompteur->start();
    const bool paddleOn = c.picraquette->Shows(ButtonPictures[7]);
    catchingUp_ = true;
    const GotoEnd end = c.RunGoto(object.ra, object.dec, paddleOn);
    catchingUp_ = false;
    if (Unloaded() || seams::Quitting()) return;
    showCounters();
    // Reached: the next tick follows the object from where the goto left the
    // telescope. Paused or stopped by tracking's own pictures meanwhile: as
    // they left it.
    if (end == GotoEnd::Reached || paused_ || !running_) return;
    // Refused (the object has set: told as a goto tells it), or stopped by
    // the goto's stop button.
    imgstop_Click();
}

void Frmaltazsuivi::stopCatchUp() {
    if (catchingUp_) AskGotoStop();
}

void Frmaltazsuivi::updowntaux_UpClick() {
    txtincrement->setText(vb::CStr(tracking::IncrementUp(vb::Val(txtincrement->text()))));
    frmcoord().txtms->setText(QStringLiteral("0"));
}

void Frmaltazsuivi::updowntaux_DownClick() {
    const double v = vb::Val(txtincrement->text());
    if (v <= 100) return;
    txtincrement->setText(vb::CStr(tracking::IncrementDown(v)));
    frmcoord().txtms->setText(QStringLiteral("0"));
}

void Frmaltazsuivi::showCounters() {
    // Every box of each counter, the arc-seconds too; degrees by floor, as
    // the clock shows them: an altitude below the horizon reads with its sign.
    Frmcoord& c = frmcoord();
    c.ShowAzimuthCounter(AzimuthCounterBoxes());
    c.ShowAltitudeCounter(AltitudeCounterBoxes());
}

void Frmaltazsuivi::ShowSiderealTime() {
    const tracking::HourMinuteSecond b = tracking::SiderealTimeBoxes(shared.pos.LocalSiderealSeconds);
    txth2->setText(b.h);
    txtmin2->setText(b.m);
    txts2->setText(b.s);
}

void Frmaltazsuivi::ShowTrackState() {
    ShowSiderealTime();
    const auto& d = shared.drive;
    txtna->setText(vb::CStr(d.AzStepsTick));
    txtnh->setText(vb::CStr(d.AltStepsTick));
    showCounters();
    txtsommea->setText(vb::CStr(RoundDecimals(d.AzStepRemainder, 2)));
    txtsommeh->setText(vb::CStr(RoundDecimals(d.AltStepRemainder, 2)));
}

// --- Text-box helpers --------------------------------------------------------

namespace {
double valueOf(const QLineEdit* box) { return vb::Val(box->text()); }
void setValue(QLineEdit* box, double v) { box->setText(vb::CStr(v)); }
// One down from above 0, else to the top; one up from below the top, else to 0.
void down(QLineEdit* box, double top) {
    const double v = valueOf(box);
    setValue(box, v > 0 ? v - 1 : top);
}
void up(QLineEdit* box, double top) {
    const double v = valueOf(box);
    setValue(box, v < top ? v + 1 : 0);
}
}  // namespace

void Frmaltazsuivi::DecrementText(QLineEdit* box) { setValue(box, valueOf(box) - 1); }
void Frmaltazsuivi::IncrementText(QLineEdit* box) { setValue(box, valueOf(box) + 1); }
void Frmaltazsuivi::DecrementSixty(QLineEdit* box) { down(box, 59); }
void Frmaltazsuivi::IncrementSixty(QLineEdit* box) { up(box, 59); }
void Frmaltazsuivi::DecrementTwentyFour(QLineEdit* box) { down(box, 23); }
void Frmaltazsuivi::IncrementWrap(QLineEdit* box) { up(box, 23); }

void Frmaltazsuivi::DecrementHourMinute(QLineEdit* hour, QLineEdit* minute) {
    if (valueOf(minute) > 0) {
        DecrementText(minute);
        return;
    }
    setValue(minute, 59);
    DecrementTwentyFour(hour);
}

void Frmaltazsuivi::IncrementHourMinute(QLineEdit* hour, QLineEdit* minute) {
    if (valueOf(minute) < 59) {
        IncrementText(minute);
        return;
    }
    setValue(minute, 0);
    IncrementWrap(hour);
}
