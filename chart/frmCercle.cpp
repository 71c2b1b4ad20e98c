#include "chart/frmCercle.h"

#include "altaz/catalogue.h"
#include "altaz/frmcoord.h"
#include "chart/frmLegend.h"
#include "core/calendar.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/gotostep.h"
#include "core/state.h"
#include "equatorial/frmequapointage.h"
#include "motor/gotopass.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"
#include "shell/frmDepl.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

#include <cmath>
#include <limits>

using chart::kCentre;

// The chart's area: shows the picture and takes the mouse presses.
class FrmCercle::Area : public QWidget {
public:
    explicit Area(FrmCercle* chart) : QWidget(chart), chart_(chart) {
        setObjectName(QStringLiteral("picture"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, chart_->Picture());
    }
    void mousePressEvent(QMouseEvent* e) override {
        int16_t button = 0;
        switch (e->button()) {
        case Qt::LeftButton: button = 1; break;
        case Qt::RightButton: button = 2; break;
        case Qt::MiddleButton: button = 4; break;
        default: break;
        }
        const QPointF at = e->position() * twips::FromPixels(1);
        chart_->Form_MouseDown(button, shiftState(e->modifiers()), static_cast<float>(at.x()),
                               static_cast<float>(at.y()));
    }

public:
    static int16_t shiftState(Qt::KeyboardModifiers m) {
        return static_cast<int16_t>((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                                    (m & Qt::AltModifier ? 4 : 0));
    }

private:
    FrmCercle* chart_;
};

namespace {

struct CatalogueItem {
    const char* name;
    const char* caption;
    const char* stem;
};
constexpr CatalogueItem kCatalogueItems[10] = {
    {"mnuMessier", "Messier", "messier"}, {"mnuIc", "IC", "ic"},         {"mnuNgc0", "NGC0xxx", "ngc0"},
    {"mnuNgc1", "NGC1xxx", "ngc1"},       {"mnuNgc2", "NGC2xxx", "ngc2"}, {"mnuNgc3", "NGC3xxx", "ngc3"},
    {"mnuNgc4", "NGC4xxx", "ngc4"},       {"mnuNgc5", "NGC5xxx", "ngc5"}, {"mnuNgc6", "NGC6xxx", "ngc6"},
    {"mnuNgc7", "NGC7xxx", "ngc7"},
};
constexpr const char* kZoomNames[7] = {"mnuZUn", "mnuZDeux", "mnuZTrois", "mnuZQuatre",
                                       "mnuZCinq", "mnuZSix", "mnuZSept"};

// Old key codes.
constexpr int16_t kKeyPageUp = 33, kKeyPageDown = 34, kKeyEnd = 35, kKeyHome = 36, kKeyLeft = 37, kKeyUp = 38,
                  kKeyRight = 39, kKeyDown = 40, kKeyDelete = 46;

int16_t keyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_PageUp: return kKeyPageUp;
    case Qt::Key_PageDown: return kKeyPageDown;
    case Qt::Key_End: return kKeyEnd;
    case Qt::Key_Home: return kKeyHome;
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Right: return kKeyRight;
    case Qt::Key_Down: return kKeyDown;
    case Qt::Key_Delete: return kKeyDelete;
    default: return 0;
    }
}

QAction* item(QMenu* menu, const char* name, const QString& caption, bool checkable = false) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    return a;
}

// Runs the handler when the item is chosen. The check mark is the handler's
// to set: the one the menu toggles on its own is undone first.
template <class F>
void onChoose(QAction* a, QObject* owner, F handler) {
    QObject::connect(a, &QAction::triggered, owner, [a, handler] {
        if (a->isCheckable()) a->setChecked(!a->isChecked());
        handler();
    });
}

QMenu* submenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* m = parent->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

}  // namespace

FrmCercle::FrmCercle() : Form(QStringLiteral("Visualisation graphique [1:1]")) {
    setObjectName(QStringLiteral("frmCercle"));
    setFocusPolicy(Qt::StrongFocus);
    setStyleSheet(QStringLiteral("FrmCercle { background: black; }"));

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    // The chart's own close item: a glyph, so the item shows.
    mnuquit = menuBar->addAction(QStringLiteral("×"));
    mnuquit->setObjectName(QStringLiteral("mnuquit"));
    mnuquit->setToolTip(QStringLiteral("Fermer"));
    connect(mnuquit, &QAction::triggered, this, &FrmCercle::mnuquit_Click);

    mnuName = new QMenu(QStringLiteral("pointage automatique (graphique)"), this);
    mnuName->setObjectName(QStringLiteral("mnuName"));
    mnuNom = item(mnuName, "mnuNom", QStringLiteral("?"));
    mnuName->addSeparator()->setObjectName(QStringLiteral("mnuSep1"));
    mnuRep = item(mnuName, "mnuRep", QStringLiteral("Repère"), true);
    mnuRep->setChecked(true);
    onChoose(mnuRep, this, [this] { mnuRep_Click(); });
    mnuConst = item(mnuName, "mnuConst", QStringLiteral("Constellations"), true);
    mnuConst->setChecked(true);
    onChoose(mnuConst, this, [this] { mnuConst_Click(); });

    mnuObjets = submenu(mnuName, "mnuObjets", QStringLiteral("Objets"));
    mnuTyp = submenu(mnuObjets, "mnuTyp", QStringLiteral("Type"));
    for (int i = 0; i < 10; ++i) {
        const CatalogueItem& c = kCatalogueItems[i];
        catalogueItems[i] = item(mnuTyp, c.name, QString::fromLatin1(c.caption), true);
        const QString stem = QString::fromLatin1(c.stem);
        onChoose(catalogueItems[i], this, [this, stem] { mnuCatalogue_Click(stem); });
    }
    catalogueItems[0]->setChecked(true);
    mnuaucun = item(mnuObjets, "mnuaucun", QStringLiteral("Aucun"), true);
    mnuTous = item(mnuObjets, "mnuTous", QStringLiteral("Tous"), true);
    mnuGalaxie = item(mnuObjets, "mnuGalaxie", QStringLiteral("Galaxies"), true);
    mnuAmas = item(mnuObjets, "mnuAmas", QStringLiteral("Amas"), true);
    mnuNebuleuse = item(mnuObjets, "mnuNebuleuse", QStringLiteral("Nébuleuses"), true);
    mnuTous->setChecked(true);
    const auto types = typeItems();
    for (int16_t f = 0; f < 5; ++f) onChoose(types[f], this, [this, f] { mnuType_Click(f); });
    mnuName->addSeparator()->setObjectName(QStringLiteral("mnuSep2"));

    mnuZ = submenu(mnuName, "mnuZ", QStringLiteral("Zoom (1:1)"));
    mnuRaz = item(mnuZ, "mnuRaz", QStringLiteral("R.A.Z"));
    connect(mnuRaz, &QAction::triggered, this, &FrmCercle::mnuRaz_Click);
    for (int16_t n = 1; n <= chart::kMaxZoom; ++n) {
        zoomItems[n - 1] = item(mnuZ, kZoomNames[n - 1], QString::number(n) + QStringLiteral(":1"), true);
        onChoose(zoomItems[n - 1], this, [this, n] { mnuZoom_Click(n); });
    }
    zoomItems[0]->setChecked(true);
    mnuRot = submenu(mnuName, "mnuRot", QStringLiteral("Rotation"));
    mnuCw = item(mnuRot, "mnuCw", QStringLiteral("+ 10°"));
    mnuCcw = item(mnuRot, "mnuCcw", QStringLiteral("- 10°"));
    connect(mnuCw, &QAction::triggered, this, &FrmCercle::mnuCw_Click);
    connect(mnuCcw, &QAction::triggered, this, &FrmCercle::mnuCcw_Click);
    mnureinit = item(mnuName, "mnureinit", QStringLiteral("Ré(initialisation)"));
    connect(mnureinit, &QAction::triggered, this, &FrmCercle::mnureinit_Click);
    mnuPoint = item(mnuName, "mnuPoint", QStringLiteral("Opération"));
    connect(mnuPoint, &QAction::triggered, this, &FrmCercle::mnuPoint_Click);

    const int top = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, twips::ToPixels(chart::kChartSize), top);
    picture = new Area(this);
    picture->setGeometry(0, top, twips::ToPixels(chart::kChartSize), twips::ToPixels(chart::kChartSize));

    Label1 = ui::Make<WebdingsLabel>(picture, "Label1");
    Label1->setToolTip(QStringLiteral("Légende"));
    Label1->setStyleSheet(QStringLiteral("color: rgb(160, 160, 160);"));
    Label1->setAlignment(Qt::AlignCenter);
    ui::Place(Label1, 60, 60, 450, 450);
    QFont f = Label1->font();
    f.setPixelSize(twips::ToPixels(300));
    Label1->setFont(f);
    // A legend left open by the last chart is still open.
    SetLabel1Caption(forms::Loaded<FrmLegend>() ? QStringLiteral("7") : QStringLiteral("8"));
    connect(Label1, &WebdingsLabel::Click, this, &FrmCercle::Label1_Click);

    bEsc = ui::Make<QPushButton>(picture, "bEsc", QStringLiteral("Fin"));
    bEsc->setFocusPolicy(Qt::NoFocus);
    ui::Place(bEsc, chart::kChartSize - 60 - 900, chart::kChartSize - 60 - 375, 900, 375);
    connect(bEsc, &QPushButton::clicked, this, &FrmCercle::bEsc_Click);

    image_ = std::make_unique<chart::ImageCanvas>(chart::kChartSize, chart::kChartSize);
    canvas_ = image_.get();
    SetTwipsSize(chart::kChartSize, chart::kChartSize + twips::FromPixels(top));
}

FrmCercle::~FrmCercle() = default;

void FrmCercle::SetLabel1Caption(const QString& caption) {
    Label1->SetCaption(caption);
}

void FrmCercle::SetCanvas(chart::Canvas* canvas) { canvas_ = canvas ? canvas : image_.get(); }

const QImage& FrmCercle::Picture() { return image_->Image(); }

std::array<QAction*, 5> FrmCercle::typeItems() const {
    return {mnuaucun, mnuTous, mnuGalaxie, mnuAmas, mnuNebuleuse};
}

chart::View FrmCercle::view() const {
    const auto& w = shared.win;
    return {chartScale, w.ChartRotation, w.ChartPanX, w.ChartPanY};
}

bool FrmCercle::drawing() const { return forceDraw_ || canvas_ != image_.get() || isVisible(); }

void FrmCercle::Form_Load() {
    auto& w = shared.win;
    if (w.ChartInitDone == vb::False) {
        w.ChartRotation = 0;
        w.ChartShowConst = vb::True;
        w.ChartFilter = 1;
        w.ChartShowRepere = vb::True;
        w.ChartZoom = 1;
        chartScale = chart::kFirstScale;
        w.ChartPanX = 0;
        w.ChartPanY = 0;
        w.ChartCatalogue = QStringLiteral("messier");
        w.ChartInitDone = vb::True;
    }
    for (int n = 0; n < 200; ++n) starName[n] = QStringLiteral("XXX");
    for (int n = 0; n < 1100; ++n) objName[n] = QStringLiteral("XXX");
    starCount = 0;
    objCount = 0;
    showChecks();
    RedrawChart();
}

void FrmCercle::showChecks() {
    const auto& w = shared.win;
    mnuRep->setChecked(w.ChartShowRepere != 0);
    mnuConst->setChecked(w.ChartShowConst != 0);
    for (int i = 0; i < 10; ++i)
        catalogueItems[i]->setChecked(w.ChartCatalogue == QLatin1String(kCatalogueItems[i].stem));
    uncheck();
    if (w.ChartFilter >= 0 && w.ChartFilter < 5) typeItems()[w.ChartFilter]->setChecked(true);
}

void FrmCercle::showZoomCaptions(int16_t n) {
    mnuZ->setTitle(QStringLiteral("Zoom (") + QString::number(n) + QStringLiteral(":1)"));
    const QString caption = QStringLiteral("Visualisation graphique [") + QString::number(n) + QStringLiteral(":1]");
    setWindowTitle(caption);
    if (Frame() != this) Frame()->setWindowTitle(caption);
}

void FrmCercle::NewCoord(double AD, double Dec, double& PosX, double& PosY) const {
    const chart::Point p = chart::Project(AD, Dec, view());
    PosX = p.x;
    PosY = p.y;
}

void FrmCercle::RedrawChart() {
    const auto& w = shared.win;
    if (drawing()) canvas_->Clear();
    uncheckZ();
    checkZ(w.ChartZoom);
    showZoomCaptions(w.ChartZoom);
    if (!drawing()) {
        // Nobody sees the chart: it is drawn when it is shown.
        stale_ = true;
        return;
    }
    stale_ = false;
    if (w.ChartShowRepere != 0) DrawRep();
    if (w.ShowTelescope == vb::True) DrawTeles();
    DrawStar();
    if (w.ChartShowConst != 0) DrawConstel();
    if (w.ChartFilter != 0) DrawObjets();
    picture->update();
}

void FrmCercle::showEvent(QShowEvent* e) {
    Form::showEvent(e);
    setFocus();  // the keys move the chart at once
    if (!stale_) return;
    forceDraw_ = true;
    RedrawChart();
    forceDraw_ = false;
}

void FrmCercle::circle(double x, double y, double r) { canvas_->Circle(x, y, r, foreColor_, fillColor_, fillSolid_); }

void FrmCercle::DrawRep() {
    if (!drawing()) return;
    const auto& w = shared.win;
    foreColor_ = chart::kRepereColour;
    fillColor_ = chart::kRepereColour;
    fillSolid_ = false;
    const double cx = kCentre + w.ChartPanX, cy = kCentre + w.ChartPanY;
    for (double r : {4500.0, 3000.0, 1500.0}) circle(cx, cy, r);
    canvas_->Line(w.ChartPanX, cy, w.ChartPanX + 9000, cy, foreColor_);
    canvas_->Line(cx, w.ChartPanY, cx, w.ChartPanY + 9000, foreColor_);
    picture->update();
}

void FrmCercle::enter(const CatalogueRecord& r, QString& name, QString& kind, double& ad, double& dec, double& x,
                      double& y) const {
    name = r.name;
    kind = r.type;
    ad = r.ra;
    dec = r.dec;
    NewCoord(ad, dec, x, y);
}

void FrmCercle::DrawStar() {
    if (!drawing()) return;
    foreColor_ = chart::kStarOutline;
    fillColor_ = chart::kStarFill;
    fillSolid_ = true;
    starCount = 0;
    const auto records = catalogue::ReadRecords(chart::kStarFile, chart::kStarRows);
    if (!records) return;
    for (const CatalogueRecord& r : *records) {
        if (r.number >= chart::kStarRows) break;
        // An unreadable record keeps its number, so the lines still join the
        // stars they name; it has no place on the chart.
        for (; starCount < r.number; ++starCount) {
            starName[starCount] = starConst[starCount] = QString();
            starAD[starCount] = starDec[starCount] = 0;
            starX[starCount] = starY[starCount] = std::numeric_limits<double>::quiet_NaN();
        }
        const int n = starCount++;
        enter(r, starName[n], starConst[n], starAD[n], starDec[n], starX[n], starY[n]);
        circle(starX[n], starY[n], 25);
        if (shared.win.ChartLabels != 0) {
            const QString letter = GreekToSymbolLetter(r.name);
            if (letter != QLatin1String(" "))
                canvas_->Print(starX[n] + 50, starY[n] + 50, letter, foreColor_, QStringLiteral("Symbol"), 12);
        }
    }
    if (starCount < chart::kStarRows) starName[starCount] = QStringLiteral("XXX");
    picture->update();
}

void FrmCercle::DrawConstel() {
    if (!drawing()) return;
    for (const chart::LineRecord& l : chart::ReadLines(starCount)) {
        if (std::isnan(starX[l.a]) || std::isnan(starX[l.b])) continue;  // a star that could not be read
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        NewCoord(starAD[l.a], starDec[l.a], x1, y1);
        NewCoord(starAD[l.b], starDec[l.b], x2, y2);
        canvas_->Line(x1, y1, x2, y2, chart::kLineColour);
    }
    picture->update();
}

void FrmCercle::DrawObjets() {
    if (!drawing()) return;
    const int16_t filter = shared.win.ChartFilter;
    fillSolid_ = true;
    objCount = 0;
    const auto records = catalogue::ReadRecords(chart::CatalogueFile(shared.win.ChartCatalogue), chart::kObjectRows);
    if (!records) return;
    // Sets the colours of a known type; false for any other.
    const auto colours = [this](const QString& type) {
        static const struct {
            const char* type;
            const QColor& outline;
            bool ring;
        } kLooks[] = {{"GL", chart::kGalaxyColour, false},
                      {"OC", chart::kClusterColour, true},
                      {"GC", chart::kClusterColour, false},
                      {"PN", chart::kNebulaColour, true},
                      {"DN", chart::kNebulaColour, false}};
        for (const auto& l : kLooks) {
            if (type != QLatin1String(l.type)) continue;
            foreColor_ = l.outline;
            fillColor_ = l.ring ? chart::kBackground : l.outline;
            return true;
        }
        return false;
    };
    const auto oneOf = [](const QString& type, const char* a, const char* b) {
        return type == QLatin1String(a) || type == QLatin1String(b);
    };
    for (const CatalogueRecord& r : *records) {
        const int n = objCount++;
        enter(r, objName[n], objType[n], objAD[n], objDec[n], objX[n], objY[n]);
        bool draw = false;
        switch (filter) {
        case 1:
            colours(r.type);  // any other type keeps the colours drawn last
            draw = true;
            break;
        case 2: draw = r.type == QLatin1String("GL") && colours(r.type); break;
        case 3: draw = oneOf(r.type, "OC", "GC") && colours(r.type); break;
        case 4: draw = oneOf(r.type, "PN", "DN") && colours(r.type); break;
        default: break;
        }
        if (draw) circle(objX[n], objY[n], 25 + 5 * filter);
    }
    if (objCount < chart::kObjectRows) objName[objCount] = QStringLiteral("XXX");
    picture->update();
}

void FrmCercle::drawReticle(double ad, double dec) {
    if (!drawing()) return;
    double x = 0, y = 0;
    NewCoord(ad, dec, x, y);
    foreColor_ = chart::kTelescopeColour;
    fillColor_ = chart::kBackground;
    circle(x, y, 150);
    canvas_->Line(x + 50, y, x + 150, y, foreColor_);
    canvas_->Line(x - 150, y, x - 50, y, foreColor_);
    canvas_->Line(x, y + 50, x, y + 150, foreColor_);
    canvas_->Line(x, y - 150, x, y - 50, foreColor_);
    picture->update();
}

void FrmCercle::DrawTeles() { drawReticle(shared.equa.TelescopeRA, shared.equa.TelescopeDec); }
void FrmCercle::DrawTeles1() { drawReticle(shared.equa.GotoRA, shared.equa.GotoDec); }
void FrmCercle::DrawTeles2() { drawReticle(shared.altgoto.SlewRA, shared.altgoto.SlewDec); }

// ---- Check marks, zoom and rotation.

void FrmCercle::uncheck() {
    for (QAction* a : typeItems()) a->setChecked(false);
}

void FrmCercle::uncheck_() {
    for (QAction* a : catalogueItems) a->setChecked(false);
}

void FrmCercle::uncheckZ() {
    for (QAction* a : zoomItems) a->setChecked(false);
}

void FrmCercle::checkZ(int16_t Zo) {
    if (Zo >= 1 && Zo <= chart::kMaxZoom) zoomItems[Zo - 1]->setChecked(true);
}

void FrmCercle::zoomTo(int16_t n, int16_t old) {
    auto& w = shared.win;
    w.ChartZoom = n;
    w.ChartPanX = chart::ZoomedPan(w.ChartPanX, n, old);
    w.ChartPanY = chart::ZoomedPan(w.ChartPanY, n, old);
    chartScale = chart::kScalePerZoom * n;
    w.ChartLabels = vb::Bool(n > 3);
    RedrawChart();  // checks the zoom's item and writes its captions
}

void FrmCercle::mnuZoom_Click(int16_t n) { zoomTo(n, shared.win.ChartZoom); }

void FrmCercle::ZoomUp() {
    const int16_t z = shared.win.ChartZoom;
    if (z <= chart::kMaxZoom - 1) zoomTo(static_cast<int16_t>(z + 1), z);
}

void FrmCercle::ZoomDown() {
    const int16_t z = shared.win.ChartZoom;
    if (z >= 2) zoomTo(static_cast<int16_t>(z - 1), z);
}

void FrmCercle::mnuRaz_Click() {
    auto& w = shared.win;
    w.ChartZoom = 1;
    w.ChartLabels = vb::False;
    w.ChartPanX = 0;
    w.ChartPanY = 0;
    w.ChartRotation = 0;
    chartScale = chart::kScalePerZoom;
    RedrawChart();
}

void FrmCercle::rotate(int step) {
    shared.win.ChartRotation = chart::Rotated(shared.win.ChartRotation, step);
    RedrawChart();
}

void FrmCercle::mnuCw_Click() { rotate(10); }
void FrmCercle::mnuCcw_Click() { rotate(-10); }

void FrmCercle::mnuRep_Click() {
    auto& w = shared.win;
    w.ChartShowRepere = static_cast<int16_t>(~w.ChartShowRepere);
    RedrawChart();
    mnuRep->setChecked(w.ChartShowRepere != 0);
}

void FrmCercle::mnuConst_Click() {
    auto& w = shared.win;
    w.ChartShowConst = static_cast<int16_t>(~w.ChartShowConst);
    RedrawChart();
    mnuConst->setChecked(w.ChartShowConst != 0);
}

void FrmCercle::mnuType_Click(int16_t filter) {
    shared.win.ChartFilter = filter;
    uncheck();
    typeItems()[filter]->setChecked(true);
    RedrawChart();
}

void FrmCercle::mnuCatalogue_Click(const QString& stem) {
    if (stem == shared.win.ChartCatalogue) return;
    shared.win.ChartCatalogue = stem;
    uncheck_();
    for (int i = 0; i < 10; ++i)
        if (stem == QLatin1String(kCatalogueItems[i].stem)) catalogueItems[i]->setChecked(true);
    RedrawChart();
}

void FrmCercle::Form_KeyDown(int16_t KeyCode, int16_t Shift) {
    auto& w = shared.win;
    double step = 0;
    if (Shift & 1) step = 500;
    if (Shift & 2) step = 250;
    switch (KeyCode) {
    case kKeyRight: w.ChartPanX -= step; break;
    case kKeyLeft: w.ChartPanX += step; break;
    case kKeyUp: w.ChartPanY += step; break;
    case kKeyDown: w.ChartPanY -= step; break;
    case kKeyHome: mnuRaz_Click(); break;
    case kKeyPageUp: ZoomUp(); break;
    case kKeyPageDown: ZoomDown(); break;
    case kKeyEnd: w.ChartRotation = chart::Rotated(w.ChartRotation, -10); break;
    case kKeyDelete: w.ChartRotation = chart::Rotated(w.ChartRotation, 10); break;
    default: break;
    }
    RedrawChart();
}

void FrmCercle::keyPressEvent(QKeyEvent* e) {
    Form_KeyDown(keyCode(e->key()), Area::shiftState(e->modifiers()));
    e->accept();
}

// ---- Legend and closing.

void FrmCercle::Label1_Click() {
    if (Label1->Caption() == QLatin1String("8")) {
        SetLabel1Caption(QStringLiteral("7"));
        frmLegend().Show();
    } else {
        SetLabel1Caption(QStringLiteral("8"));
        forms::Unload<FrmLegend>();
    }
}

void FrmCercle::mnuquit_Click() {
    Unload();
    shared.win.SkyChartShown = vb::False;
}

void FrmCercle::bEsc_Click() { Unload(); }

void FrmCercle::closeEvent(QCloseEvent* e) {
    // Closed by its title bar: as its own close item.
    e->accept();
    mnuquit_Click();
}

// ---- Picking, goto and sync.

void FrmCercle::Cherche(float X, float Y, int16_t& Val_, int16_t& Wher) const {
    Val_ = -1;
    Wher = -1;
    int n = chart::NearestInBox(starX.data(), starY.data(), starCount, X, Y);
    if (n >= 0) {
        Val_ = static_cast<int16_t>(n);
        Wher = 0;
        return;
    }
    n = chart::NearestInBox(objX.data(), objY.data(), objCount, X, Y);
    if (n >= 0) {
        Val_ = static_cast<int16_t>(n);
        Wher = 1;
    }
}

void FrmCercle::Form_MouseDown(int16_t Button, int16_t, float X, float Y) {
    pickX = X;
    pickY = Y;
    if (Button != 2) return;
    int16_t index = -1, kind = -1;
    Cherche(X, Y, index, kind);
    const bool altaz = shared.win.AltazMode == vb::True;
    if (kind < 0) {
        mnuNom->setText(QStringLiteral("aucun objet"));
        mnuPoint->setEnabled(false);
        mnureinit->setEnabled(false);
        mnuName->setDefaultAction(nullptr);
        ui::ShowPopup(mnuName);
        mnuPoint->setEnabled(true);
        if (altaz) mnureinit->setEnabled(true);
        return;
    }
    if (kind == 1) {
        mnuNom->setText(objName[index]);
    } else {
        const QString full = catalogue::ConstellationName(starConst[index]);
        mnuNom->setText(starName[index] + QStringLiteral(" [") + full + QStringLiteral("]."));
    }
    if (!altaz) mnureinit->setEnabled(false);
    mnuName->setDefaultAction(mnuNom);
    ui::ShowPopup(mnuName);
}

bool FrmCercle::picked(double& ad, double& dec) const {
    int16_t index = -1, kind = -1;
    Cherche(pickX, pickY, index, kind);
    if (index < 0) return false;
    ad = kind != 0 ? objAD[index] : starAD[index];
    dec = kind != 0 ? objDec[index] : starDec[index];
    return true;
}

void FrmCercle::mnuPoint_Click() {
    auto& g = shared.altgoto;
    // Never a second move while a goto runs (its pulses let this menu through).
    if (g.GotoRunning) return;
    if (shared.win.AltazMode != vb::True) {
        pointEquatorial();
        return;
    }
    // Only a chart in its pointing role starts an alt-azimuth goto.
    if (shared.win.SkyChartShown == vb::False) return;
    double ad = 0, dec = 0;
    if (!picked(ad, dec)) return;

    g.GotoRunning = true;
    Frmcoord& coord = frmcoord();
    coord.SetTwipsWidth(7820);
    coord.ProgressBaraz->setValue(0);
    coord.ProgressBaralt->setValue(0);
    coord.SwitchPaddleOff();
    shared.equa.GotoRA = ad;
    shared.equa.GotoDec = dec;
    SplitGotoTarget(ad, dec);
    // No pass of events between the passes: the goto's pulses let them run.
    RunGotoLoop(*coord.GotoView(), false);
    forms::Unload<FrmDepl>();
    g.StopGoto = vb::False;
    coord.switchPaddleOnAfterGoto();
    coord.SetTwipsWidth(5745);
    g.GotoRunning = false;
}

void FrmCercle::pointEquatorial() {
    double ad = 0, dec = 0;
    if (!picked(ad, dec)) return;
    auto& e = shared.equa;
    auto& w = shared.win;
    if (w.SkyChartShown != vb::False) {
        // Pointing role: a goto. A stop from the progress window leaves the
        // telescope where the pulses took it and the chart in its sync role.
        e.GotoRA = ad;
        e.GotoDec = dec;
        // The pointing window redraws the chart with the telescope's mark
        // (unless quitting it during the goto closed the chart too).
        frmequapointage().RunGoto();
        return;
    }
    // Sync role: the telescope is aimed at the pick; from now on the chart points.
    e.TelescopeRA = ad;
    e.TelescopeDec = dec;
    Frmequapointage& pointing = frmequapointage();
    pointing.ShowPosition(ad, dec);
    pointing.ShowCatalogueLists();
    w.ShowTelescope = vb::True;
    pointing.picpointage->setEnabled(true);
    mnuPoint->setText(QStringLiteral("Pointage"));
    w.SkyChartShown = vb::True;
    RedrawChart();
    w.AltazMode = vb::False;
}

void FrmCercle::mnureinit_Click() {
    if (shared.altgoto.GotoRunning) return;
    auto& e = shared.equa;
    if (!picked(e.GotoRA, e.GotoDec)) return;

    Frmcoord& coord = frmcoord();
    const chart::Split ra = chart::SplitCoordinate(e.GotoRA);
    const chart::Split dec = chart::SplitCoordinate(e.GotoDec);
    coord.Txtad_h->setText(vb::CStr(ra.whole));
    coord.txtad_min->setText(vb::CStr(ra.minutes));
    coord.txtdec_deg->setText(vb::CStr(dec.whole));
    coord.txtdec_min->setText(vb::CStr(dec.minutes));
    coord.txtsign->setText(dec.whole < 0 ? QStringLiteral("-") : QStringLiteral("+"));
    if (dec.whole < 0) {
        // The sign now stands in its own box: only a minus goes.
        for (QLineEdit* box : {coord.txtdec_min, coord.txtdec_deg})
            if (box->text().startsWith(u'-')) box->setText(box->text().mid(1));
    }
    TimeBoxes t = coord.Time();
    ShowSiderealTime0h(t);
    coord.txtessai->setText(t.txtessai);
    SyncOnCoordinates(t, coord.Coordinates());
    coord.SetTelescopeDisplay(ShowTelescopeAzAlt());

    RedrawChart();
    DrawTeles1();
    DrawStar();
    if (shared.win.ChartShowConst != 0) DrawConstel();
    if (shared.win.ChartFilter != 0) DrawObjets();
}
