#include "chart/frmLegend.h"

#include "chart/canvas.h"
#include "chart/frmCercle.h"
#include "platform/widgets.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

constexpr int kWidth = 3600;
constexpr int kRow = 420;
constexpr int kRows = 9;
constexpr int kPictureHeight = kRow * kRows + 120;
constexpr int kMarkX = 360;
constexpr int kTextX = 720;
const QColor kTextColour(220, 220, 220);

}  // namespace

QImage FrmLegend::LegendPicture() {
    using namespace chart;
    ImageCanvas c(kWidth, kPictureHeight);
    double y = 60 + kRow / 2.0;
    const auto text = [&](const char* caption) {
        c.Print(kTextX, y - 120, QString::fromUtf8(caption), kTextColour, QStringLiteral("DejaVu Sans"), 9);
        y += kRow;
    };
    // A star and its Greek letter.
    c.Circle(kMarkX, y, 25, kStarOutline, kStarFill, true);
    c.Print(kMarkX + 50, y + 50 - 240, QStringLiteral("m"), kStarOutline, QStringLiteral("Symbol"), 12);
    text("Étoile et sa lettre grecque");
    c.Line(kMarkX - 200, y + 100, kMarkX + 200, y - 100, kLineColour);
    text("Ligne de constellation");
    const struct {
        const QColor& outline;
        bool ring;
        const char* caption;
    } objects[] = {{kGalaxyColour, false, "Galaxie"},
                   {kClusterColour, true, "Amas ouvert"},
                   {kClusterColour, false, "Amas globulaire"},
                   {kNebulaColour, true, "Nébuleuse planétaire"},
                   {kNebulaColour, false, "Nébuleuse diffuse"}};
    for (const auto& o : objects) {
        c.Circle(kMarkX, y, 45, o.outline, o.ring ? kBackground : o.outline, true);
        text(o.caption);
    }
    // The telescope's reticle.
    c.Circle(kMarkX, y, 150, kTelescopeColour, kBackground, true);
    c.Line(kMarkX + 50, y, kMarkX + 150, y, kTelescopeColour);
    c.Line(kMarkX - 150, y, kMarkX - 50, y, kTelescopeColour);
    c.Line(kMarkX, y + 50, kMarkX, y + 150, kTelescopeColour);
    c.Line(kMarkX, y - 150, kMarkX, y - 50, kTelescopeColour);
    text("Télescope");
    c.Line(kMarkX - 200, y, kMarkX + 200, y, kRepereColour);
    c.Circle(kMarkX, y, 150, kRepereColour, kRepereColour, false);
    text("Repère (0°, 30°, 60°)");
    return c.Image();
}

FrmLegend::FrmLegend() : Form(QStringLiteral("Légende")) {
    setObjectName(QStringLiteral("frmLegend"));
    picture = ui::Make<QLabel>(this, "picture");
    picture->setPixmap(QPixmap::fromImage(LegendPicture()));
    ui::Place(picture, 0, 0, kWidth, kPictureHeight);
    bFin = ui::Make<QPushButton>(this, "bFin", QStringLiteral("Fin"));
    ui::Place(bFin, kWidth - 1020, kPictureHeight + 90, 900, 375);
    connect(bFin, &QPushButton::clicked, this, &FrmLegend::bFin_Click);
    SetTwipsSize(kWidth, kPictureHeight + 555);
}

void FrmLegend::bFin_Click() {
    Unload();
    if (forms::Loaded<FrmCercle>()) frmCercle().SetLabel1Caption(QStringLiteral("8"));
}

void FrmLegend::closeEvent(QCloseEvent* e) {
    // Closed by its title bar: as its own button.
    e->accept();
    bFin_Click();
}
