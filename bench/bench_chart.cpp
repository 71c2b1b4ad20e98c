// What the sky chart's drawing costs: a full redraw of the chart (its 201
// stars, constellation lines, the largest catalogue file shipped, reference
// marks and the telescope reticle) into the window's own picture, the files
// read again each time as the chart does; then the chart work of one goto
// pass (a redraw, the telescope's mark, the stars, lines and objects again).
//
//   bash tools/dev.sh bench      (or build/bench/bench_chart, from the build folder)

#include "chart/frmCercle.h"
#include "core/state.h"
#include "platform/datadir.h"
#include "platform/seams.h"
#include "platform/vbrt.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <class F>
double medianMs(int runs, F f) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = Clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// The stem of the catalogue file with the most records.
QString largestCatalogue() {
    QString best = QStringLiteral("messier");
    qint64 size = -1;
    for (const char* stem : {"messier", "ic", "ngc0", "ngc1", "ngc2", "ngc3", "ngc4", "ngc5", "ngc6", "ngc7"}) {
        const QFileInfo f(datadir::Path(chart::CatalogueFile(QString::fromLatin1(stem))));
        if (f.size() > size) {
            size = f.size();
            best = QString::fromLatin1(stem);
        }
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    seams::SetMsgBox([](const QString& t) { std::fprintf(stderr, "message: %s\n", qPrintable(t)); });
    const QString data = QCoreApplication::applicationDirPath() + QStringLiteral("/../data");
    datadir::SetFolder(QDir(data).exists() ? data : QCoreApplication::applicationDirPath() + QStringLiteral("/data"));

    FrmCercle& chart = frmCercle();
    chart.Show();
    auto& w = shared.win;
    w.ChartCatalogue = largestCatalogue();
    w.ChartFilter = 1;
    w.ChartShowConst = vb::True;
    w.ChartShowRepere = vb::True;
    w.ShowTelescope = vb::True;
    shared.equa.TelescopeRA = 5000;
    shared.equa.TelescopeDec = 20000;
    shared.altgoto.SlewRA = 5200;
    shared.altgoto.SlewDec = 21000;
    chart.RedrawChart();
    std::printf("catalogue drawn: %s.cat, %d objects; %d stars\n", qPrintable(w.ChartCatalogue), chart.objCount,
                chart.starCount);

    const int runs = 50;
    const double pass = medianMs(runs, [&] {
        chart.RedrawChart();
        chart.DrawTeles2();
        chart.DrawStar();
        chart.DrawConstel();
        chart.DrawObjets();
        (void)chart.Picture();
    });
    std::printf("one goto pass's chart work (redraw, telescope mark, stars, lines, objects): %.2f ms\n", pass);
    const double redraw = medianMs(runs, [&] {
        chart.RedrawChart();
        (void)chart.Picture();
    });
    std::printf("chart redraw: %.2f ms\n", redraw);
    return 0;
}
