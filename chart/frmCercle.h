// The polar sky chart: the north celestial pole at the centre, the stars
// with their Greek letters, the constellation lines, the objects of one
// catalogue and the telescope's marks. A right click picks a star or an
// object for a goto or a sync; the keys and the pop-up menu zoom, pan and
// rotate the chart.
#pragma once

#include "chart/canvas.h"
#include "chart/chartfiles.h"
#include "chart/chartmath.h"
#include "platform/form.h"
#include "platform/widgets.h"

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

struct CatalogueRecord;
class QAction;
class QMenu;
class QMenuBar;
class QPushButton;

class FrmCercle : public Form {
    Q_OBJECT
public:
    FrmCercle();
    ~FrmCercle() override;
    void Form_Load() override;

    // The whole chart again from the program's chart state (module general's
    // RedrawChart is this method of the one chart window).
    void RedrawChart();
    // Where a position falls on the chart now.
    void NewCoord(double AD, double Dec, double& PosX, double& PosY) const;

    // The layers, each drawn over what is there.
    void DrawRep();
    void DrawStar();
    void DrawConstel();
    void DrawObjets();
    void DrawTeles();   // at TelescopeRA, TelescopeDec
    void DrawTeles1();  // at GotoRA, GotoDec
    void DrawTeles2();  // at SlewRA, SlewDec

    // Check marks of the menu.
    void uncheck();
    void uncheck_();
    void uncheckZ();
    void checkZ(int16_t Zo);
    void ZoomUp();
    void ZoomDown();

    // Keys: the old key codes (37..40 arrows, 33/34 page up/down, 35 end,
    // 36 home, 46 delete) and the Shift (1) and Ctrl (2) state.
    void Form_KeyDown(int16_t KeyCode, int16_t Shift);
    // Mouse press at X, Y in chart units; Button 1 left, 2 right.
    void Form_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    // The entry nearest to X, Y: index and kind (0 star, 1 object), -1 and -1 when none.
    void Cherche(float X, float Y, int16_t& Val_, int16_t& Wher) const;

    // Menu handlers.
    void mnuRep_Click();
    void mnuConst_Click();
    void mnuCatalogue_Click(const QString& stem);  // mnuMessier_Click, mnuIc_Click, mnuNgc0_Click..
    void mnuType_Click(int16_t filter);            // mnuaucun_Click, mnuTous_Click, ..
    void mnuZoom_Click(int16_t n);                 // mnuZUn_Click .. mnuZSept_Click
    void mnuMessier_Click() { mnuCatalogue_Click(QStringLiteral("messier")); }
    void mnuIc_Click() { mnuCatalogue_Click(QStringLiteral("ic")); }
    void mnuNgc0_Click() { mnuCatalogue_Click(QStringLiteral("ngc0")); }
    void mnuNgc1_Click() { mnuCatalogue_Click(QStringLiteral("ngc1")); }
    void mnuNgc2_Click() { mnuCatalogue_Click(QStringLiteral("ngc2")); }
    void mnuNgc3_Click() { mnuCatalogue_Click(QStringLiteral("ngc3")); }
    void mnuNgc4_Click() { mnuCatalogue_Click(QStringLiteral("ngc4")); }
    void mnuNgc5_Click() { mnuCatalogue_Click(QStringLiteral("ngc5")); }
    void mnuNgc6_Click() { mnuCatalogue_Click(QStringLiteral("ngc6")); }
    void mnuNgc7_Click() { mnuCatalogue_Click(QStringLiteral("ngc7")); }
    void mnuaucun_Click() { mnuType_Click(0); }
    void mnuTous_Click() { mnuType_Click(1); }
    void mnuGalaxie_Click() { mnuType_Click(2); }
    void mnuAmas_Click() { mnuType_Click(3); }
    void mnuNebuleuse_Click() { mnuType_Click(4); }
    void mnuZUn_Click() { mnuZoom_Click(1); }
    void mnuZDeux_Click() { mnuZoom_Click(2); }
    void mnuZTrois_Click() { mnuZoom_Click(3); }
    void mnuZQuatre_Click() { mnuZoom_Click(4); }
    void mnuZCinq_Click() { mnuZoom_Click(5); }
    void mnuZSix_Click() { mnuZoom_Click(6); }
    void mnuZSept_Click() { mnuZoom_Click(7); }
    void mnuRaz_Click();
    void mnuCw_Click();
    void mnuCcw_Click();
    void mnuPoint_Click();
    void mnureinit_Click();
    void mnuquit_Click();
    void bEsc_Click();
    void Label1_Click();

    // The legend switch's caption in the Webdings font: "8" legend closed, "7" open.
    QString Label1Caption() const { return Label1->Caption(); }
    void SetLabel1Caption(const QString& caption);

    // Draw on another canvas (tests record the drawing); null: the window's picture.
    void SetCanvas(chart::Canvas* canvas);
    // The window's picture as drawn so far.
    const QImage& Picture();

    // The radius of the declination-0 circle; like the rest of the chart's
    // view it outlives the window, so a reopened chart looks the same.
    static inline double chartScale = chart::kFirstScale;
    // The stars and objects of the last drawing, and how many of each it read.
    std::array<QString, chart::kStarRows> starName, starConst;
    std::array<double, chart::kStarRows> starAD{}, starDec{}, starX{}, starY{};
    int starCount = 0;
    std::array<QString, chart::kObjectRows> objName, objType;
    std::array<double, chart::kObjectRows> objAD{}, objDec{}, objX{}, objY{};
    int objCount = 0;
    // Where the mouse was last pressed on the chart.
    float pickX = 0;
    float pickY = 0;

    QMenuBar* menuBar = nullptr;
    QAction* mnuquit = nullptr;
    QMenu* mnuName = nullptr;
    QAction* mnuNom = nullptr;
    QAction* mnuRep = nullptr;
    QAction* mnuConst = nullptr;
    QMenu* mnuObjets = nullptr;
    QMenu* mnuTyp = nullptr;
    std::array<QAction*, 10> catalogueItems{};  // mnuMessier, mnuIc, mnuNgc0..mnuNgc7
    QAction* mnuaucun = nullptr;
    QAction* mnuTous = nullptr;
    QAction* mnuGalaxie = nullptr;
    QAction* mnuAmas = nullptr;
    QAction* mnuNebuleuse = nullptr;
    QMenu* mnuZ = nullptr;
    QAction* mnuRaz = nullptr;
    std::array<QAction*, 7> zoomItems{};  // mnuZUn..mnuZSept
    QMenu* mnuRot = nullptr;
    QAction* mnuCw = nullptr;
    QAction* mnuCcw = nullptr;
    QAction* mnureinit = nullptr;
    QAction* mnuPoint = nullptr;
    QWidget* picture = nullptr;  // the chart's area, 9030 x 9030
    WebdingsLabel* Label1 = nullptr;
    QPushButton* bEsc = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    class Area;
    chart::View view() const;
    // The type items in the order of the filter they set (0 "Aucun" .. 4 "Nébuleuses").
    std::array<QAction*, 5> typeItems() const;
    bool drawing() const;  // the drawing can be seen (or is recorded)
    void circle(double x, double y, double r);
    // A record of a file into one entry of a table, with its place on the chart.
    void enter(const CatalogueRecord& r, QString& name, QString& kind, double& ad, double& dec, double& x,
               double& y) const;
    void drawReticle(double ad, double dec);
    void zoomTo(int16_t n, int16_t old);
    void showZoomCaptions(int16_t n);
    void showChecks();
    void rotate(int step);
    // The coordinates of what the last press picked; false when it picked nothing.
    bool picked(double& ad, double& dec) const;
    // mnuPoint on an equatorial mount: a goto in the pointing role, a sync in the other.
    void pointEquatorial();

    // What the next drawing inherits from the last: colours and fill.
    QColor foreColor_ = chart::kStarOutline;
    QColor fillColor_ = chart::kBackground;
    bool fillSolid_ = false;

    std::unique_ptr<chart::ImageCanvas> image_;
    chart::Canvas* canvas_ = nullptr;
    bool forceDraw_ = false;
    bool stale_ = false;  // redrawn while hidden: draw again when shown
};

// The chart window (module general's RedrawChart is frmCercle().RedrawChart()).
inline FrmCercle& frmCercle() { return forms::Use<FrmCercle>(); }

// The Greek letter of a star name in the Symbol font, " " when none.
inline QString GreekToSymbolLetter(const QString& name) { return chart::GreekToSymbolLetter(name); }
