// How fast the data files are read, from the file on disk to the values
// taken: a settings file behind a megabyte of blank lines, a settings file
// followed by one, and a megabyte of catalogue records. Reading is linear in
// the file's size, so the blank lines cost what the same size of text does.
//
//   bash tools/dev.sh bench      (or build/bench/bench_reader, from the build folder)

#include "altaz/catalogue.h"
#include "motor/settingsfiles.h"
#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/seams.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <limits>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double medianSeconds(int runs, const std::function<void()>& f) {
    std::vector<double> s;
    for (int i = 0; i < runs; ++i) {
        filereport::Reset();
        const auto t0 = Clock::now();
        f();
        s.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
    }
    std::sort(s.begin(), s.end());
    return s[s.size() / 2];
}

void write(const QString& name, const QByteArray& bytes) {
    QFile f(datadir::Folder() + u'/' + name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
        std::exit(1);
    }
}

// Megabytes read a second.
double rate(qsizetype bytes, double seconds) { return bytes / 1e6 / seconds; }

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    datadir::SetFolder(dir.path());
    seams::SetMsgBox([](const QString&) {});

    constexpr qsizetype kMegabyte = 1 << 20;
    const QByteArray blank = QByteArray("\r\n").repeated(kMegabyte / 2);
    QByteArray records;
    for (int i = 0; records.size() < kMegabyte; ++i)
        records += QStringLiteral("\"NGC %1\",\"GL\",%2,%3\r\n").arg(i).arg(i % 14400).arg(i % 54000 - 27000).toUtf8();
    const int runs = 9;

    write(QStringLiteral("backlash.ini"), blank + "14\r\n9\r\n");
    const double before = medianSeconds(runs, [] { settingsfiles::ReadBacklash(); });
    write(QStringLiteral("backlash.ini"), "14\r\n9\r\n" + blank);
    const double after = medianSeconds(runs, [] { settingsfiles::ReadBacklash(); });
    write(QStringLiteral("ngc0.cat"), records);
    std::size_t loaded = 0;
    const double text = medianSeconds(runs, [&] {
        const auto r = catalogue::ReadRecords(QStringLiteral("\\data\\ngc0.cat"), std::numeric_limits<int>::max());
        loaded = r ? r->size() : 0;
    });

    std::printf("reader: %.0f MB/s (1 MB of blank lines before a settings file's values)\n",
                rate(blank.size(), before));
    std::printf("reader: %.0f MB/s (1 MB of blank lines after them)\n", rate(blank.size(), after));
    std::printf("reader: %.0f MB/s (1 MB of catalogue records, %zu records)\n", rate(records.size(), text), loaded);
    return 0;
}
