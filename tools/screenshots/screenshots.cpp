// Takes the README's screenshots: the main window with each work window open
// in turn, on the simulated port, over a copy of the shipped data. Run by
// tools/make_screenshots.sh under a virtual X server.
//
//   orvanel_screenshots <shipped data folder> <output folder>
#include "platform/datadir.h"
#include "platform/form.h"
#include "platform/port.h"
#include "platform/seams.h"
#include "shell/frminterface.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <functional>

namespace {

void copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString dst = to + u'/' + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(dst).absolutePath());
        QFile::copy(file, dst);
    }
}

// Long enough for the clock timer (200 ms) to have shown the counters.
void settle() {
    for (int i = 0; i < 40; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        QTextStream(stderr) << "usage: orvanel_screenshots <data folder> <output folder>\n";
        return 2;
    }
    const QString shipped = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    QTemporaryDir data;
    copyTree(shipped, data.path());
    datadir::SetFolder(data.path());
    port::Install(std::make_unique<port::SimulatedPort>());
    QStringList messages;
    seams::SetMsgBox([&](const QString& t) { messages << t; });
    seams::SetQuit([] {});

    // Each shot is the program as the user leaves it: the mount chosen and
    // the windows opened as the user opens them, where the program places
    // them, in the main window at the size it opens with.
    struct Shot {
        const char* file;
        bool altaz;
        std::function<void(Frminterface&)> open;
    };
    const Shot shots[] = {
        {"altaz-coordinates.png", true, [](Frminterface&) {}},
        {"altaz-setup.png", true, [](Frminterface& w) { w.baraltaz_ButtonClick(3); }},
        {"altaz-manual-drive.png", true, [](Frminterface& w) { w.baraltaz_ButtonClick(1); }},
        {"altaz-tracking.png", true, [](Frminterface& w) { w.baraltaz_ButtonClick(2); }},
        {"sky-chart.png", true, [](Frminterface& w) { w.baraltaz_ButtonClick(4); }},
        {"equatorial-pointing.png", false, [](Frminterface& w) { w.barequa_ButtonClick(4); }},
        // The manual drive opened after the pointing and mechanics windows.
        {"equatorial-manual-drive.png", false,
         [](Frminterface& w) {
             w.barequa_ButtonClick(4);
             w.barequa_ButtonClick(5);
             w.barequa_ButtonClick(3);
         }},
        {"equatorial-mechanics.png", false, [](Frminterface& w) { w.barequa_ButtonClick(5); }},
        {"paddle-settings.png", false, [](Frminterface& w) { w.barequa_ButtonClick(2); }},
        {"notes.png", false, [](Frminterface& w) { w.Observations_Click(); }},
    };

    int failed = 0;
    for (const Shot& s : shots) {
        Frminterface& w = frminterface();
        w.MDIForm_Load();
        w.ShowAtStart();
        w.barchoix_ButtonClick(s.altaz ? 2 : 1);
        s.open(w);
        settle();
        const QString path = out + u'/' + QString::fromLatin1(s.file);
        if (!w.grab().save(path)) {
            QTextStream(stderr) << "cannot write " << path << "\n";
            ++failed;
        } else {
            QTextStream(stdout) << path << "\n";
        }
        w.heuretimer->stop();
        w.Timer->stop();
        forms::UnloadAll();
        settle();
        ResetMainWindow();
    }
    for (const QString& m : messages) QTextStream(stderr) << "message: " << m << "\n";
    return failed == 0 ? 0 : 1;
}
