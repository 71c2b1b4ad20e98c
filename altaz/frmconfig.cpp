#include "altaz/frmconfig.h"

#include "altaz/altazfiles.h"
#include "altaz/frmcoord.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/state.h"
#include "motor/directions.h"
#include "motor/settingsfiles.h"
#include "platform/inputcheck.h"
#include "platform/saveset.h"
#include "platform/seams.h"
#include "shell/paddlesettings.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <optional>

namespace {

QLineEdit* box(QWidget* parent, const char* name, int left, int top, int width = 900) {
    return ui::TextBox(parent, name, left, top, width);
}

constexpr auto label = ui::Label;

// Every frame spans the window's width.
constexpr int kFrameLeft = 60;
constexpr int kFrameWidth = 3900;

}  // namespace

Frmconfig::Frmconfig() : Form(QStringLiteral("Initialisations")) {
    setObjectName(QStringLiteral("frmconfig"));

    Frlieu = ui::Frame(this, "Frlieu", QStringLiteral("Lieu d'observation"), kFrameLeft, 60, kFrameWidth, 1140);
    label(Frlieu, QStringLiteral("Longitude"), 120, 300, 1000);
    txtdegre = box(Frlieu, "txtdegre", 1200, 270, 700);
    label(Frlieu, QStringLiteral("min"), 1980, 300, 400);
    txtmin = box(Frlieu, "txtmin", 2400, 270, 700);
    label(Frlieu, QStringLiteral("Latitude"), 120, 720, 1000);
    txtlatdeg = box(Frlieu, "txtlatdeg", 1200, 690, 700);
    label(Frlieu, QStringLiteral("min"), 1980, 720, 400);
    txtlatmin = box(Frlieu, "txtlatmin", 2400, 690, 700);

    frmeca = ui::Frame(this, "frmeca", QStringLiteral("Paramètres mécaniques"), kFrameLeft, 1260, kFrameWidth, 2760);
    // Captions on the left, on two lines (the encoding caption on three), so
    // that the azimuth and altitude columns on the right hold a measured
    // ratio whole.
    constexpr int kAz = 1680;
    constexpr int kAlt = 2760;
    constexpr int kColumn = 1020;
    const auto caption = [this](const QString& text, int top, int height) {
        QLabel* l = label(frmeca, text, 120, top, 1500);
        l->setWordWrap(true);
        ui::Place(l, 120, top, 1500, height);
    };
    label(frmeca, QStringLiteral("Azimut"), kAz, 240, kColumn);
    label(frmeca, QStringLiteral("Altitude"), kAlt, 240, kColumn);
    caption(QStringLiteral("Nombre de pas moteur"), 518, 450);
    txtpasaz = box(frmeca, "txtpasaz", kAz, 600, kColumn);
    txtpasalt = box(frmeca, "txtpasalt", kAlt, 600, kColumn);
    caption(QStringLiteral("Rapport de réduction"), 1058, 450);
    txtRaz = box(frmeca, "txtRaz", kAz, 1140, kColumn);
    txtRalt = box(frmeca, "txtRalt", kAlt, 1140, kColumn);
    caption(QStringLiteral("Angle d'un demi pas ('')"), 1598, 450);
    txtapas = box(frmeca, "txtapas", kAz, 1680, kColumn);
    txtapas->setReadOnly(true);
    txthpas = box(frmeca, "txthpas", kAlt, 1680, kColumn);
    txthpas->setReadOnly(true);
    caption(QStringLiteral("Azimut   et  altitude encoding"), 2070, 660);
    cmdazencoding = ui::Button(frmeca, "cmdazencoding", QStringLiteral("\u25B6"), kAz, 2220, 340);
    cmdazencoding_result = ui::Button(frmeca, "cmdazencoding_result", QStringLiteral("="), kAz + 360, 2220, 340);
    cmdaltencoding = ui::Button(frmeca, "cmdaltencoding", QStringLiteral("\u25B6"), kAlt, 2220, 340);
    cmdaltencoding_result = ui::Button(frmeca, "cmdaltencoding_result", QStringLiteral("="), kAlt + 360, 2220, 340);

    frame5 = ui::Frame(this, "frame5", QStringLiteral("Vitesses de pointage"), kFrameLeft, 4080, kFrameWidth, 840);
    label(frame5, QStringLiteral("Azimut"), 120, 360, 800);
    cbpointaz = ui::Make<QComboBox>(frame5, "cbpointaz");
    ui::Place(cbpointaz, 960, 330, 700, 315);
    label(frame5, QStringLiteral("Altitude"), 1920, 360, 800);
    cbpointalt = ui::Make<QComboBox>(frame5, "cbpointalt");
    ui::Place(cbpointalt, 2760, 330, 700, 315);

    Frame3 = new BacklashPanel(this, {.frame = {kFrameLeft, 4980, kFrameWidth, 1260},
                                      .azCaption = QStringLiteral("Azimut"), .altCaption = QStringLiteral("Altitude"),
                                      .azCaptionName = nullptr, .altCaptionName = nullptr,
                                      .captionTop = 330, .captionWidth = 800,
                                      .boxLeft = 960, .boxTop = 300, .boxWidth = 800,
                                      .buttonTop = 270, .startLeft = 1860, .endLeft = 2820, .buttonWidth = 900,
                                      .rowStep = 450, .counts = true});

    auto* test = ui::Frame(this, "Frame4", QStringLiteral("Sens des moteurs"), kFrameLeft, 6300, kFrameWidth, 1620);
    cmdinitcoord = ui::Button(test, "cmdinitcoord", QStringLiteral("initialisation coordonnées"), 120, 270, 2400);
    cmdinitok = ui::Button(test, "cmdinitok", QStringLiteral("ok"), 2640, 270, 900);
    label(test, QStringLiteral("Azimut"), 120, 750, 800);
    txtnbraz = box(test, "txtnbraz", 960, 720, 800);
    txtazplus = box(test, "txtazplus", 1860, 720, 500);
    txtazplus->setText(QStringLiteral("8"));
    txtazmoins = box(test, "txtazmoins", 2460, 720, 500);
    txtazmoins->setText(QStringLiteral("0"));
    label(test, QStringLiteral("Altitude"), 120, 1170, 800);
    txtnbralt = box(test, "txtnbralt", 960, 1140, 800);
    txtaltplus = box(test, "txtaltplus", 1860, 1140, 500);
    txtaltplus->setText(QStringLiteral("2"));
    txtaltmoins = box(test, "txtaltmoins", 2460, 1140, 500);
    txtaltmoins->setText(QStringLiteral("0"));

    cmdvalid = ui::Button(this, "cmdvalid", QStringLiteral("Ok"), 1500, 7980, 1000);

    connect(cmdazencoding, &QPushButton::clicked, this, &Frmconfig::cmdazencoding_Click);
    connect(cmdaltencoding, &QPushButton::clicked, this, &Frmconfig::cmdaltencoding_Click);
    connect(cmdazencoding_result, &QPushButton::clicked, this, &Frmconfig::cmdazencoding_result_Click);
    connect(cmdaltencoding_result, &QPushButton::clicked, this, &Frmconfig::cmdaltencoding_result_Click);
    connect(cmdinitcoord, &QPushButton::clicked, this, &Frmconfig::cmdinitcoord_Click);
    connect(cmdinitok, &QPushButton::clicked, this, &Frmconfig::cmdinitok_Click);
    connect(cmdvalid, &QPushButton::clicked, this, &Frmconfig::cmdvalid_Click);
}

void Frmconfig::Form_Load() {
    shared.win.AltazSettingsShown = vb::True;
    SetTwipsSize(4110, 8490);
    const auto& m = shared.site.SiteAndMount;
    txtdegre->setText(SiteDegreesText(m.SiteLongitudeDeg));
    txtmin->setText(vb::CStr(m.SiteLongitudeMin));
    txtlatdeg->setText(SiteDegreesText(m.SiteLatitudeDeg));
    txtlatmin->setText(vb::CStr(m.SiteLatitudeMin));
    txtpasaz->setText(vb::CStr(m.AzMotorSteps));
    txtpasalt->setText(vb::CStr(m.AltMotorSteps));
    txtRalt->setText(vb::CStr(m.AltitudeRatio));
    txtRaz->setText(vb::CStr(shared.site.AzimuthRatio));
    for (QComboBox* list : {cbpointaz, cbpointalt})
        for (int level = 1; level <= 5; ++level) list->addItem(QString::number(level));
    const auto levels = altazfiles::ReadPointageAltaz();
    cbpointaz->setCurrentIndex(levels.az - 1);
    cbpointalt->setCurrentIndex(levels.alt - 1);
    txtapas->setText(vb::CStr(shared.site.AzStepArcsec));
    txthpas->setText(vb::CStr(shared.site.AltStepArcsec));
    cmdazencoding_result->setEnabled(false);
    cmdaltencoding_result->setEnabled(false);
    Frame3->ShowStoredBacklash();
}

void Frmconfig::cmdazencoding_Click() {
    shared.drive.EncoderCountAz = 0;
    frmcoord().SwitchPaddleOn();
    cmdazencoding_result->setEnabled(true);
}

void Frmconfig::cmdaltencoding_Click() {
    shared.drive.EncoderCountAlt = 0;
    frmcoord().SwitchPaddleOn();
    cmdaltencoding_result->setEnabled(true);
}

namespace {

// How the save and the calibrations name the mechanics boxes.
QString stepsName(const QString& axis) { return QStringLiteral("Nombre de pas moteur (%1)").arg(axis); }
QString ratioName(const QString& axis) { return QStringLiteral("Rapport de réduction (%1)").arg(axis); }

// The ratio a calibration measured from the motor steps of the axis's box:
// nothing when the box holds no motor steps, or when the ratio is none a
// mount can have (no pulse counted, a turn not made); the user is told, and
// the ratio in use stays.
std::optional<double> calibratedRatio(const QLineEdit* stepsBox, const QString& axis, const QString& turn,
                                      const std::function<double(double)>& ratioOf) {
    using namespace inputcheck;
    const QString unchanged = QStringLiteral("Le rapport de réduction n'a pas été changé.");
    const auto steps = Values({{stepsBox->text(), stepsName(axis), kSteps}}, unchanged);
    if (!steps) return std::nullopt;
    const double ratio = ratioOf((*steps)[0]);
    if (kRatio.Contains(ratio)) return ratio;
    Refuse(ratioName(axis), vb::CStr(ratio),
           QStringLiteral("%1 : après \u25B6, tournez l'axe %2 avec la raquette, puis cliquez sur « = »")
               .arg(RangeText(kRatio), turn),
           unchanged);
    return std::nullopt;
}

}  // namespace

void Frmconfig::cmdazencoding_result_Click() {
    // One pulse is half a motor step: a full azimuth turn is 2 x steps x ratio pulses.
    const auto ratio = calibratedRatio(txtpasaz, QStringLiteral("azimut"), QStringLiteral("d'un tour complet"),
                                       [](double steps) { return shared.drive.EncoderCountAz / (2 * steps); });
    if (!ratio) return;
    txtRaz->setText(vb::CStr(*ratio));
    shared.site.AzimuthRatio = vb::Val(txtRaz->text());
    shared.site.AzStepArcsec = AzimuthStepArcsec();
    txtapas->setText(vb::CStr(shared.site.AzStepArcsec));
}

void Frmconfig::cmdaltencoding_result_Click() {
    // The altitude is calibrated on a quarter turn (90 degrees); the count is
    // doubled in 32 bits.
    const auto ratio = calibratedRatio(txtpasalt, QStringLiteral("altitude"), QStringLiteral("d'un quart de tour"),
                                       [](double steps) {
                                           const auto doubled = static_cast<int32_t>(
                                               2 * static_cast<int64_t>(shared.drive.EncoderCountAlt));
                                           return doubled / steps;
                                       });
    if (!ratio) return;
    txtRalt->setText(vb::CStr(*ratio));
    shared.site.SiteAndMount.AltitudeRatio = vb::Val(txtRalt->text());
    shared.site.AltStepArcsec = AltitudeStepArcsec();
    txthpas->setText(vb::CStr(shared.site.AltStepArcsec));
}


void Frmconfig::cmdinitcoord_Click() {
    auto& pos = shared.pos;
    pos.DirTestStartAz = pos.AzimuthArcsec;
    pos.DirTestStartAlt = pos.AltitudeArcsec;
    pos.StepCountingOn = vb::True;
    // Each test counts from 0 (a test run again does not add to the last one).
    pos.StepCounterAz = 0;
    pos.StepCounterAlt = 0;
    txtnbraz->setText(QStringLiteral("0"));
    txtnbralt->setText(QStringLiteral("0"));
    pos.DirTestSynced = false;
    pos.AzimuthArcsec = 0;
    pos.AltitudeArcsec = 0;
    ++pos.PositionChanges;
}

void Frmconfig::cmdinitok_Click() {
    auto& pos = shared.pos;
    auto& site = shared.site;
    pos.DirTestEndAz = pos.AzimuthArcsec;
    pos.DirTestEndAlt = pos.AltitudeArcsec;
    if (pos.DirTestSynced) {
        // The counted direction and the span between the two stars disagree:
        // the direction line of that motor works the other way round (the
        // values swap, and with them what was written down in their sense:
        // the slack record, the direction flag, the pulses not yet applied).
        // An axis the paddle did not move measured nothing.
        if (pos.StepCounterAz != 0 && (pos.StepCounterAz > 0) != (ShortAzimuthSpan() > 0))
            directions::Swap(directions::Axis::Azimuth);
        if (pos.StepCounterAlt != 0 && (pos.StepCounterAlt > 0) != (AltitudeSpan() > 0))
            directions::Swap(directions::Axis::Altitude);
    } else {
        // No second star: nothing was measured. The counters go back to where
        // the test found them, moved by whatever moved them since it zeroed
        // them (a goto, tracking); the paddle's pulses follow at the next tick.
        pos.AzimuthArcsec = WrappedAzimuth(pos.DirTestStartAz + pos.AzimuthArcsec);
        pos.AltitudeArcsec = pos.DirTestStartAlt + pos.AltitudeArcsec;
        ++pos.PositionChanges;
        seams::MsgBox(kDirectionTestNeedsSyncMessage);
    }
    txtazplus->setText(vb::CStr(site.AzPlusBits));
    txtazmoins->setText(vb::CStr(site.AzMinusBits));
    txtaltplus->setText(vb::CStr(site.AltPlusBits));
    txtaltmoins->setText(vb::CStr(site.AltMinusBits));
    pos.StepCountingOn = vb::False;
}

void Frmconfig::cmdvalid_Click() {
    // Every value is checked before any file is written, and the three files
    // are saved as one: a save never leaves the settings half-written.
    using namespace inputcheck;
    const auto v = Values({{txtdegre->text(), QStringLiteral("Longitude"), kLongitude},
                           {txtmin->text(), QStringLiteral("Longitude (min)"), kSiteMinutes},
                           {txtlatdeg->text(), QStringLiteral("Latitude"), kLatitude},
                           {txtlatmin->text(), QStringLiteral("Latitude (min)"), kSiteMinutes},
                           {txtpasaz->text(), stepsName(QStringLiteral("azimut")), kSteps},
                           {txtpasalt->text(), stepsName(QStringLiteral("altitude")), kSteps},
                           {txtRalt->text(), ratioName(QStringLiteral("altitude")), kRatio},
                           {txtRaz->text(), ratioName(QStringLiteral("azimut")), kRatio},
                           {Frame3->txtbacklash_az->text(), QStringLiteral("Backlash (azimut)"), kBacklash},
                           {Frame3->txtbacklash_alt->text(), QStringLiteral("Backlash (altitude)"), kBacklash}});
    if (!v) return;
    const struct {
        QString name;
        const QLineEdit* degrees;
        const QLineEdit* minutes;
        double limit;
        QString expected;
    } angles[] = {
        {QStringLiteral("Longitude"), txtdegre, txtmin, ranges::kMaxLongitudeDeg, altazfiles::LongitudeBound()},
        {QStringLiteral("Latitude"), txtlatdeg, txtlatmin, ranges::kMaxLatitudeDeg, altazfiles::LatitudeBound()},
    };
    for (const auto& a : angles) {
        if (SiteAngleFits(vb::Val(a.degrees->text()), vb::Val(a.minutes->text()), a.limit)) continue;
        Refuse(a.name, QStringLiteral("%1° %2 min").arg(a.degrees->text().trimmed(), a.minutes->text().trimmed()),
               a.expected);
        return;
    }
    altazfiles::ConfigAltaz c;
    c.longitudeDeg = SiteDegreesValue(txtdegre->text());  // "-0" stays south or west
    c.longitudeMin = vb::Val(txtmin->text());
    c.latitudeDeg = SiteDegreesValue(txtlatdeg->text());
    c.latitudeMin = vb::Val(txtlatmin->text());
    c.azMotorSteps = vb::Val(txtpasaz->text());
    c.altMotorSteps = vb::Val(txtpasalt->text());
    c.altRatioTimes1000 = vb::Val(txtRalt->text()) * 1000;
    c.azRatioTimes1000 = vb::Val(txtRaz->text()) * 1000;
    SaveSet files;
    files.Add(altazfiles::kConfig, altazfiles::ConfigAltazLines(c))
        .Add(settingsfiles::kBacklash, settingsfiles::BacklashLines((*v)[8], (*v)[9]))
        .Add(altazfiles::kPointage,
             altazfiles::PointageAltazLines({cbpointaz->currentIndex() + 1, cbpointalt->currentIndex() + 1}));
    // Files that cannot be written have been told; the mechanics in use stay.
    if (!files.Save()) return;
    ApplyConfigAltaz(altazfiles::ReadConfigAltaz());
    txthpas->setText(vb::CStr(shared.site.AltStepArcsec));
    txtapas->setText(vb::CStr(shared.site.AzStepArcsec));
}
