#include "altaz/frmcoord.h"

#include "altaz/altazfiles.h"
#include "altaz/catalogue.h"
#include "altaz/typefilter.h"
#include "altaz/frmconfig.h"
#include "chart/frmCercle.h"
#include "core/calendar.h"
#include "core/counters.h"
#include "core/gotostep.h"
#include "core/conversions.h"
#include "core/state.h"
#include "motor/directions.h"
#include "motor/gotopass.h"
#include "motor/handpad.h"
#include "motor/paddle.h"
#include "motor/settingsfiles.h"
#include "platform/port.h"
#include "platform/datadir.h"
#include "platform/vbrt.h"
#include "shell/artwork.h"
#include "shell/buttonpictures.h"
#include "shell/frmDepl.h"
#include "shell/frminterface.h"
#include "shell/paddlesettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <utility>

namespace {

constexpr int kBoxHeight = ui::kLineHeight;
constexpr auto box = ui::TextBox;
constexpr auto label = ui::Label;

void setDms(QLineEdit* d, QLineEdit* m, QLineEdit* s, const DmsBoxes& b) {
    ui::SetText(d, b.deg);
    ui::SetText(m, b.min);
    ui::SetText(s, b.sec);
}

DmsBoxes dms(const QLineEdit* d, const QLineEdit* m, const QLineEdit* s) {
    return {d->text(), m->text(), s->text()};
}

}  // namespace

Frmcoord::Frmcoord() : Form(QStringLiteral("Coordonnées altazimutales")) {
    setObjectName(QStringLiteral("frmcoord"));

    // Top band.
    frheure = ui::Make<QGroupBox>(this, "frheure");
    ui::Place(frheure, 0, 0, 5745, 2055);
    label(frheure, QStringLiteral("Date"), 120, 240, 600);
    cbjour = ui::Make<QComboBox>(frheure, "cbjour");
    ui::Place(cbjour, 720, 210, 720, 315);
    cbmois = ui::Make<QComboBox>(frheure, "cbmois");
    ui::Place(cbmois, 1500, 210, 1380, 315);
    cbannee = ui::Make<QComboBox>(frheure, "cbannee");
    ui::Place(cbannee, 2940, 210, 900, 315);
    optété = ui::Make<QRadioButton>(frheure, "optété");
    optété->setText(QStringLiteral("été"));
    ui::Place(optété, 3960, 210, 720, kBoxHeight);
    opthivers = ui::Make<QRadioButton>(frheure, "opthivers");
    opthivers->setText(QStringLiteral("hivers"));
    ui::Place(opthivers, 4680, 210, 1020, kBoxHeight);

    label(frheure, QStringLiteral("Heure TU"), 120, 660, 900);
    txth = box(frheure, "txth", 1080, 630, 420);
    txtmin = box(frheure, "txtmin", 1560, 630, 420);
    txts = box(frheure, "txts", 2040, 630, 420);
    label(frheure, QStringLiteral("ms"), 2520, 660, 300);
    txtms = box(frheure, "txtms", 2820, 630, 540);
    txtms->setText(QStringLiteral("0"));
    txtessai = box(frheure, "txtessai", 3480, 630, 1200);

    label(frheure, QStringLiteral("Azimut"), 120, 1080, 900);
    txtcoordaz1 = box(frheure, "txtcoordaz1", 1080, 1050, 540);
    txtcoordaz2 = box(frheure, "txtcoordaz2", 1680, 1050, 420);
    txtcoordaz3 = box(frheure, "txtcoordaz3", 2160, 1050, 420);
    // The counters show the whole text of their value.
    txtaztos = box(frheure, "txtaztos", 2700, 1050, 2000);
    label(frheure, QStringLiteral("Altitude"), 120, 1500, 900);
    txtcoordalt1 = box(frheure, "txtcoordalt1", 1080, 1470, 540);
    txtcoordalt2 = box(frheure, "txtcoordalt2", 1680, 1470, 420);
    txtcoordalt3 = box(frheure, "txtcoordalt3", 2160, 1470, 420);
    txtalttos = box(frheure, "txtalttos", 2700, 1470, 2000);
    txtsens = box(frheure, "txtsens", 4800, 1050, 700);
    cmdtrace = ui::Make<QPushButton>(frheure, "cmdtrace");
    cmdtrace->setIcon(artwork::ChartIcon(24));
    cmdtrace->setIconSize(QSize(22, 22));
    ui::Place(cmdtrace, 4800, 1440, 480, 420);

    // Middle band.
    Frobservation = ui::Make<QGroupBox>(this, "Frobservation");
    ui::Place(Frobservation, 0, 2040, 5745, 2655);
    lbCatalogue = ui::Make<QListWidget>(Frobservation, "lbCatalogue");
    ui::Place(lbCatalogue, 120, 240, 3000, 1260);
    lbObjets = ui::Make<QListWidget>(Frobservation, "lbObjets");
    ui::Place(lbObjets, 3180, 240, 2460, 1260);
    label(Frobservation, QStringLiteral("A.D"), 120, 1650, 500);
    Txtad_h = box(Frobservation, "Txtad_h", 660, 1620, 480);
    txtad_min = box(Frobservation, "txtad_min", 1200, 1620, 780);
    label(Frobservation, QStringLiteral("min"), 2040, 1650, 400);
    label(Frobservation, QStringLiteral("Déc."), 120, 2070, 500);
    txtsign = box(Frobservation, "txtsign", 660, 2040, 300);
    txtdec_deg = box(Frobservation, "txtdec_deg", 1020, 2040, 480);
    txtdec_min = box(Frobservation, "txtdec_min", 1560, 2040, 780);
    label(Frobservation, QStringLiteral("min"), 2400, 2070, 400);
    cmdpointage = ui::Make<QPushButton>(Frobservation, "cmdpointage");
    cmdpointage->setIcon(artwork::Telescope(44));
    cmdpointage->setIconSize(QSize(40, 40));
    cmdpointage->setToolTip(QStringLiteral("Pointage automatique"));
    ui::Place(cmdpointage, 4800, 1620, 780, 720);

    // On the window.
    cmdreinit = ui::Make<QPushButton>(this, "cmdreinit");
    cmdreinit->setText(QStringLiteral("Recalage"));
    cmdreinit->setToolTip(QStringLiteral("(Ré)initialisation"));
    ui::Place(cmdreinit, 3600, 4800, 1200, 420);
    txtback = box(this, "txtback", 4920, 4860, 720);
    label(this, QStringLiteral("Raquette de commande"), 120, 4920, 2160);
    picraquette = ui::Make<PictureBox>(this, "picraquette");
    picraquette->setToolTip(QStringLiteral("Activation raquette de commande"));
    ui::Place(picraquette, 2280, 4740, 720, 480);
    label(this, QStringLiteral("Fenêtre de réglages"), 120, 5400, 1800);
    optinvis = ui::Make<QRadioButton>(this, "optinvis");
    optinvis->setText(QStringLiteral("cachée"));
    ui::Place(optinvis, 2040, 5370, 1000, kBoxHeight);
    optvis = ui::Make<QRadioButton>(this, "optvis");
    optvis->setText(QStringLiteral("apparente"));
    ui::Place(optvis, 3120, 5370, 1200, kBoxHeight);

    // Settings panel. The delays below the frame, azimut and altitude side by
    // side, slow to fast downwards, wide enough for the slowest.
    Frame1 = new PaddleSpeedPanel(this, {.frame = {0, 5760, 5745, 2295}, .azLeft = 240, .altLeft = 3000,
                                         .captionTop = 240, .captionWidth = 2400, .barTop = 600, .barWidth = 2400,
                                         .azCaption = QStringLiteral("Azimut"),
                                         .altCaption = QStringLiteral("Altitude"),
                                         .azName = QStringLiteral("Raquette Azimut"),
                                         .altName = QStringLiteral("Raquette Altitude"), .boxesOnWindow = true,
                                         .boxAzLeft = 120, .boxAltLeft = 1320, .boxTop = 8085, .boxRowStep = 300,
                                         .boxWidth = 1080});
    Frame2 = ui::Frame(this, "Frame2", QStringLiteral("Inversion des commandes"), 2580, 8040, 2520, 855);
    chkalt = ui::Make<QCheckBox>(Frame2, "chkalt");
    chkalt->setText(QStringLiteral("Déclinaison \\ Altitude"));
    ui::Place(chkalt, 60, 510, 2400, kBoxHeight);
    chkaz = ui::Make<QCheckBox>(Frame2, "chkaz");
    chkaz->setText(QStringLiteral("A.D. \\ Azimut"));
    ui::Place(chkaz, 60, 240, 2400, kBoxHeight);
    cmdvalid = ui::Button(this, "cmdvalid", QStringLiteral("OK"), 5160, 8280, 540, 390);

    // Right-hand strip.
    Frame3 = ui::Frame(this, "Frame3", QStringLiteral("Coordonnées"), 5760, 1920, 2055, 3045);
    label(Frame3, QStringLiteral("Coordonnées visées"), 120, 240, 1800);
    label(Frame3, QStringLiteral("Azimut"), 120, 600, 1800);
    txtcoordaz4 = box(Frame3, "txtcoordaz4", 120, 900, 540);
    txtcoordaz5 = box(Frame3, "txtcoordaz5", 720, 900, 540);
    txtcoordaz6 = box(Frame3, "txtcoordaz6", 1320, 900, 540);
    label(Frame3, QStringLiteral("Altitude"), 120, 1260, 1800);
    txtcoordalt4 = box(Frame3, "txtcoordalt4", 120, 1560, 540);
    txtcoordalt5 = box(Frame3, "txtcoordalt5", 720, 1560, 540);
    txtcoordalt6 = box(Frame3, "txtcoordalt6", 1320, 1560, 540);
    ProgressBaraz = ui::Make<ProgressBar>(Frame3, "ProgressBaraz");
    // Plain bars, without a percentage: cheap to redraw at every pulse.
    ProgressBaraz->setRange(0, 100);
    ProgressBaraz->setValue(0);
    ProgressBaraz->setTextVisible(false);
    ui::Place(ProgressBaraz, 120, 1980, 1800, 240);
    ProgressBaralt = ui::Make<ProgressBar>(Frame3, "ProgressBaralt");
    ProgressBaralt->setRange(0, 100);
    ProgressBaralt->setValue(0);
    ProgressBaralt->setTextVisible(false);
    ui::Place(ProgressBaralt, 120, 2280, 1800, 240);
    cmstoppointage = ui::Make<QPushButton>(Frame3, "cmstoppointage");
    cmstoppointage->setIcon(artwork::StopSign(26));
    cmstoppointage->setIconSize(QSize(24, 24));
    cmstoppointage->setToolTip(QStringLiteral("arrêt du pointage"));
    ui::Place(cmstoppointage, 720, 2580, 600, 420);

    connect(picraquette, &PictureBox::Click, this, &Frmcoord::picraquette_Click);
    connect(chkaz, &QCheckBox::clicked, this, &Frmcoord::chkaz_Click);
    connect(chkalt, &QCheckBox::clicked, this, &Frmcoord::chkalt_Click);
    connect(cmdvalid, &QPushButton::clicked, this, &Frmcoord::cmdvalid_Click);
    connect(cmdpointage, &QPushButton::clicked, this, &Frmcoord::cmdpointage_Click);
    connect(cmstoppointage, &QPushButton::clicked, this, &Frmcoord::cmstoppointage_Click);
    connect(cmdreinit, &QPushButton::clicked, this, &Frmcoord::cmdreinit_Click);
    connect(cmdtrace, &QPushButton::clicked, this, &Frmcoord::cmdtrace_Click);
    ui::OnListClick(lbCatalogue, [this] { lbCatalogue_Click(); });
    lbObjets->viewport()->installEventFilter(this);
    // Each pair of options is a choice of one.
    for (auto [a, b] : {std::pair{optété, opthivers}, std::pair{optinvis, optvis}}) {
        auto* group = new QButtonGroup(this);
        group->addButton(a);
        group->addButton(b);
    }
    connect(optété, &QRadioButton::clicked, this, &Frmcoord::optété_Click);
    connect(opthivers, &QRadioButton::clicked, this, &Frmcoord::opthivers_Click);
    connect(optinvis, &QRadioButton::clicked, this, &Frmcoord::optinvis_Click);
    connect(optvis, &QRadioButton::clicked, this, &Frmcoord::optvis_Click);
}

void Frmcoord::Form_Load() {
    // 1. Settings panel hidden.
    SetTwipsSize(5745, 5700);
    optinvis->setChecked(true);
    shared.win.SkyChartShown = vb::False;

    // 2. Date lists from the computer's date.
    const seams::LocalTime now = seams::Now();
    const DateListItems items = FillDateLists();
    cbjour->addItems(items.cbjour);
    cbmois->addItems(items.cbmois);
    cbannee->addItems(items.cbannee);
    const DateLists today = DateListsOf(now);
    cbjour->setCurrentIndex(today.cbjour);
    cbmois->setCurrentIndex(today.cbmois);
    cbannee->setCurrentIndex(today.cbannee);

    // 3. Season, from the system's own summer-time state.
    if (DefaultUtOffsetHours(now) == 2) optété_Click();
    else opthivers_Click();
    shared.site.SeasonDefaultHours = DefaultUtOffsetHours(now);

    // 4, 5. Universal time, and the date lists on the UT date (before 2 h in
    // summer or 1 h in winter, French time, still the day before). The
    // sidereal time at 0 h is shown at every load: the conversions read it.
    TimeBoxes t = Time();
    UpdateUtClock(t);
    ShowSiderealTime0h(t);
    SetTime(t);

    // 6. Counters and their displays. The pulses of a move the clock has not
    // applied yet (the mount type chosen again right after it) reach the
    // counters, at the step angles they were sent with.
    TakePendingPulses();
    for (QLineEdit* b : {txtcoordaz1, txtcoordaz2, txtcoordaz3, txtcoordalt1, txtcoordalt2, txtcoordalt3})
        b->setText(QStringLiteral("?"));

    // 7. The clock runs.
    frminterface().heuretimer->start();

    // 8. The bright stars of the star pop-up.
    catalogue::LoadBrightStars(bright);

    // 9, 10, 11. The first catalogue, the catalogue list, the first object.
    DataFolder = datadir::Path(QStringLiteral("\\data\\"));
    shared.cat.ObjectTypeFilter = 0;
    CatalogueIndex = 0;
    LoadCatalogue(0);
    lbCatalogue->addItems(catalogue::Captions());
    lbCatalogue->setCurrentRow(0);
    lbObjets->setCurrentRow(0);

    // 12. Paddle shown off.
    picraquette->SetPicture(ButtonPictures[6]);

    // 13. Command inversion.
    paddlesettings::ShowSavedInversion(chkaz, chkalt);

    // 14, 15. Paddle delays and the positions of their bars.
    Frame1->ShowStoredSpeeds();

    // 16, 17. Site and mechanics.
    ApplyConfigAltaz(altazfiles::ReadConfigAltaz());

    // 18. Direction values, as they start: an axis a direction test swapped
    // is swapped back with its slack record (motor/directions.h).
    directions::SetStartingValues();

    // 19. The set-up window, loaded and hidden.
    frmconfig().Hide();
    shared.win.AltazSettingsShown = vb::False;

    // 20.
    shared.pos.AzDirectionPlus = vb::False;
    shared.pos.AltDirectionPlus = vb::False;
}

void Frmcoord::LoadCatalogue(int16_t index) {
    lbObjets->addItems(catalogue::LoadCatalogue(shared.cat, index));
}

void Frmcoord::lbCatalogue_Click() {
    if (shared.altgoto.GotoRunning) return;
    CatalogueIndex = static_cast<int16_t>(lbCatalogue->currentRow());
    lbObjets->clear();
    Frminterface& main = frminterface();
    main.UncheckFilterMenu();
    const typefilter::Change change = typefilter::ChooseCatalogue(shared.cat, CatalogueIndex);
    main.mnuaucun->setChecked(true);
    main.mnufilt->setText(change.caption);
    lbObjets->addItems(change.rows);
}

void Frmcoord::lbObjets_MouseDown(Qt::MouseButton button) {
    if (button != Qt::RightButton) return;
    // The pop-ups describe the selected row, not the row under the pointer.
    const int row = lbObjets->currentRow();
    Frminterface& main = frminterface();
    if (lbCatalogue->currentRow() == 0) {
        if (const auto star = catalogue::StarInfoForRow(bright, row)) {
            main.mnutype->setText(star->constellation);
            main.mnuAD->setText(star->rightAscension);
            main.mnuDc->setText(star->declination);
            ui::ShowPopup(main.mnuConst);
        }
    }
    if (const auto type = typefilter::TypeCaptionForRow(shared.cat, row)) {
        main.mnutype1->setText(*type);
        ui::ShowPopup(main.mnufiltre);
    }
}

bool Frmcoord::eventFilter(QObject* watched, QEvent* e) {
    if (watched == lbObjets->viewport() && e->type() == QEvent::MouseButtonPress) {
        const auto button = static_cast<QMouseEvent*>(e)->button();
        if (button == Qt::RightButton) {
            // A right press leaves the selection as it is.
            lbObjets_MouseDown(button);
            return true;
        }
        lbObjets_MouseDown(button);
    }
    return Form::eventFilter(watched, e);
}

namespace {

// The rest of the chart after its telescope mark.
void drawChartOverlays(FrmCercle& chart) {
    chart.DrawStar();
    if (shared.win.ChartShowConst != 0) chart.DrawConstel();
    if (shared.win.ChartFilter != 0) chart.DrawObjets();
}

// The goto pass's view of the coordinates and set-up windows.
class CoordGotoWindows final : public GotoWindows {
public:
    explicit CoordGotoWindows(Frmcoord& c) : c_(c) {}
    TimeBoxes Time() override { return c_.Time(); }
    void SetSiderealTime0h(const QString& t) override { c_.txtessai->setText(t); }
    GotoLevels Levels() override { return {frmconfig().cbpointaz->currentIndex(), frmconfig().cbpointalt->currentIndex()}; }
    void SetTargetDisplay(const AzAltBoxes& b) override { c_.SetTargetDisplay(b); }
    void SetProgressAz(int p) override { ui::SetProgressSoon(c_.ProgressBaraz, p); }
    void SetProgressAlt(int p) override { ui::SetProgressSoon(c_.ProgressBaralt, p); }
    void RedrawChartMark() override {
        FrmCercle& chart = frmCercle();
        chart.RedrawChart();
        chart.DrawTeles2();
        drawChartOverlays(chart);
    }

private:
    Frmcoord& c_;
};

// The mark at the telescope's present position.
void drawTelescopeOnChart() {
    TimeBoxes t = frmcoord().Time();
    HorizontalToEquatorial(t);
    frmcoord().txtessai->setText(t.txtessai);
    shared.altgoto.SlewRA = shared.conv.RaHours * 600;
    shared.altgoto.SlewDec = shared.conv.TargetDecDeg * 600;
}

}  // namespace

void Frmcoord::cmdpointage_Click() {
    if (shared.altgoto.GotoRunning) return;
    const int row = typefilter::ObjectRow(shared.cat, lbObjets->currentRow());
    if (row < 0) return;  // no object selected: nothing to point at
    RunGoto(shared.cat.CatalogueRA[row], shared.cat.CatalogueDec[row], true);
}

GotoEnd Frmcoord::RunGoto(double ra, double dec, bool paddleAfter) {
    auto& g = shared.altgoto;
    g.GotoRunning = true;
    for (QWidget* w : std::initializer_list<QWidget*>{lbCatalogue, lbObjets, cmdpointage, cmdreinit}) w->setEnabled(false);

    SetTwipsWidth(7820);
    ProgressBaraz->setValue(0);
    ProgressBaralt->setValue(0);
    SwitchPaddleOff();
    shared.equa.GotoRA = ra;
    shared.equa.GotoDec = dec;
    SplitGotoTarget(shared.equa.GotoRA, shared.equa.GotoDec);
    const GotoEnd end = RunGotoLoop(*GotoView(), true);
    forms::Unload<FrmDepl>();
    g.StopGoto = vb::False;
    if (shared.win.SkyChartShown != 0) {
        FrmCercle& chart = frmCercle();
        chart.RedrawChart();
        chart.DrawTeles1();
        drawChartOverlays(chart);
    }
    if (paddleAfter) switchPaddleOnAfterGoto();
    SetTwipsWidth(5745);
    for (QWidget* w : std::initializer_list<QWidget*>{lbCatalogue, lbObjets, cmdpointage, cmdreinit}) w->setEnabled(true);
    g.GotoRunning = false;
    return end;
}

std::unique_ptr<GotoWindows> Frmcoord::GotoView() { return std::make_unique<CoordGotoWindows>(*this); }

void Frmcoord::switchPaddleOnAfterGoto() {
    if (port::Sealed()) return;  // the program is ending
    picraquette->SetPicture(ButtonPictures[7]);
    handpad::ClearDataForPaddle();
    frminterface().Timer->start();
}

void Frmcoord::cmstoppointage_Click() {
    AskGotoStop();
    switchPaddleOnAfterGoto();
}

void Frmcoord::cmdreinit_Click() {
    if (shared.altgoto.GotoRunning) return;
    const int row = typefilter::ObjectRow(shared.cat, lbObjets->currentRow());
    if (row < 0) return;
    const int32_t ra = shared.cat.CatalogueRA[row];
    const int32_t dec = shared.cat.CatalogueDec[row];
    const int32_t hours = ra / 600;
    Txtad_h->setText(vb::Str(hours));
    txtad_min->setText(vb::Str((ra - 600.0 * hours) / 10));
    const int32_t degrees = dec / 600;  // truncated toward zero
    txtdec_deg->setText(vb::Str(degrees));
    txtdec_min->setText(vb::Str((dec - 600.0 * degrees) / 10));
    const bool south = txtdec_deg->text().startsWith(u'-') || txtdec_min->text().startsWith(u'-');
    txtsign->setText(south ? QStringLiteral("-") : QStringLiteral("+"));
    if (south) {
        txtdec_min->setText(txtdec_min->text().mid(1));
        txtdec_deg->setText(txtdec_deg->text().mid(1));
    }
    TimeBoxes t = Time();
    ShowSiderealTime0h(t);
    txtessai->setText(t.txtessai);
    SyncOnCoordinates(t, Coordinates());
    SetTelescopeDisplay(ShowTelescopeAzAlt());
    if (shared.win.SkyChartShown != 0) {
        FrmCercle& chart = frmCercle();
        chart.RedrawChart();
        drawTelescopeOnChart();
        chart.DrawTeles2();
        drawChartOverlays(chart);
    }
}

void Frmcoord::cmdtrace_Click() {
    if (shared.win.SkyChartShown == 0) return;
    drawTelescopeOnChart();
    FrmCercle& chart = frmCercle();
    chart.RedrawChart();
    chart.DrawTeles2();
    drawChartOverlays(chart);
}

void Frmcoord::Form_Unload() {
    // A goto still running ends at its next pulse.
    if (shared.altgoto.GotoRunning) {
        AskGotoStop();
    }
}

void Frmcoord::picraquette_Click() {
    if (picraquette->Shows(ButtonPictures[6]))
        SwitchPaddleOn();
    else
        paddleOff();
}

void Frmcoord::SwitchPaddleOn() {
    if (!picraquette->Shows(ButtonPictures[6])) return;
    picraquette->SetPicture(ButtonPictures[7]);
    Out32(port::kControl, 11);
    handpad::ClearDataForPaddle();
    frminterface().Timer->start();
}

void Frmcoord::SwitchPaddleOff() {
    if (picraquette->Shows(ButtonPictures[7])) paddleOff();
}

void Frmcoord::paddleOff() {
    picraquette->SetPicture(ButtonPictures[6]);
    frminterface().Timer->stop();
    shared.drive.HandPadCode = paddle::kSwitchedOff;
}

// The paddle follows the boxes at once; the file changes only with OK.
void Frmcoord::chkaz_Click() { shared.site.InvertAz = vb::Bool(chkaz->isChecked()); }
void Frmcoord::chkalt_Click() { shared.site.InvertAlt = vb::Bool(chkalt->isChecked()); }

void Frmcoord::cmdvalid_Click() {
    // The speeds and the inversion are saved as one, once every box is taken.
    if (const auto speeds = Frame1->Typed())
        paddlesettings::Save(*speeds, chkaz, chkalt);
}

void Frmcoord::optété_Click() {
    optété->setChecked(true);
    shared.site.UtOffsetHours = 2;
}

void Frmcoord::opthivers_Click() {
    opthivers->setChecked(true);
    shared.site.UtOffsetHours = 1;
}

void Frmcoord::optinvis_Click() {
    optinvis->setChecked(true);
    SetTwipsHeight(5700);
}

void Frmcoord::optvis_Click() {
    optvis->setChecked(true);
    SetTwipsHeight(9000);
}

TimeBoxes Frmcoord::Time() const {
    TimeBoxes t;
    t.dates = {cbjour->currentIndex(), cbmois->currentIndex(), cbannee->currentIndex()};
    t.clock = {txth->text(), txtmin->text(), txts->text(), txtms->text()};
    t.txtessai = txtessai->text();
    return t;
}

void Frmcoord::SetTime(const TimeBoxes& t) {
    // The season the clock runs on (it follows the system's daylight saving).
    (shared.site.UtOffsetHours == 2 ? optété : opthivers)->setChecked(true);
    cbjour->setCurrentIndex(t.dates.cbjour);
    cbmois->setCurrentIndex(t.dates.cbmois);
    cbannee->setCurrentIndex(t.dates.cbannee);
    // Written five times a second: only what changed repaints.
    ui::SetText(txth, t.clock.txth);
    ui::SetText(txtmin, t.clock.txtmin);
    ui::SetText(txts, t.clock.txts);
    ui::SetText(txtms, t.clock.txtms);
    ui::SetText(txtessai, t.txtessai);
}

EquatorialBoxes Frmcoord::Coordinates() const {
    return {Txtad_h->text(), txtad_min->text(), txtsign->text(), txtdec_deg->text(), txtdec_min->text()};
}

void Frmcoord::SetCoordinates(const EquatorialBoxes& c) {
    Txtad_h->setText(c.Txtad_h);
    txtad_min->setText(c.txtad_min);
    txtsign->setText(c.txtsign);
    txtdec_deg->setText(c.txtdec_deg);
    txtdec_min->setText(c.txtdec_min);
}

AzAltBoxes Frmcoord::TelescopeDisplay() const {
    return {dms(txtcoordaz1, txtcoordaz2, txtcoordaz3), dms(txtcoordalt1, txtcoordalt2, txtcoordalt3)};
}

void Frmcoord::SetTelescopeDisplay(const AzAltBoxes& b) {
    setDms(txtcoordaz1, txtcoordaz2, txtcoordaz3, b.az);
    setDms(txtcoordalt1, txtcoordalt2, txtcoordalt3, b.alt);
}

AzAltBoxes Frmcoord::TargetDisplay() const {
    return {dms(txtcoordaz4, txtcoordaz5, txtcoordaz6), dms(txtcoordalt4, txtcoordalt5, txtcoordalt6)};
}

void Frmcoord::SetTargetDisplay(const AzAltBoxes& b) {
    setDms(txtcoordaz4, txtcoordaz5, txtcoordaz6, b.az);
    setDms(txtcoordalt4, txtcoordalt5, txtcoordalt6, b.alt);
}

void Frmcoord::ShowAzimuthCounter(const AxisCounterBoxes& b) {
    setDms(txtcoordaz1, txtcoordaz2, txtcoordaz3, b.dms);
    ui::SetText(txtaztos, b.arcsec);
}

void Frmcoord::ShowAltitudeCounter(const AxisCounterBoxes& b) {
    setDms(txtcoordalt1, txtcoordalt2, txtcoordalt3, b.dms);
    ui::SetText(txtalttos, b.arcsec);
}

void Frmcoord::closeEvent(QCloseEvent* e) {
    // This window holds the program's clock: it stays while the
    // alt-azimuth mount is in use.
    e->ignore();
}
