#include "tests/fixture.h"

#include "core/state.h"
#include "motor/handpad.h"
#include "platform/datadir.h"
#include "platform/filereport.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QEvent>
#include <QFile>
#include <QFileInfo>

QString ShippedDataFolder() { return QStringLiteral(ORVANEL_SOURCE_DIR "/data"); }

void OrvanelTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    ResetSharedState();
    handpad::Reset();
    filereport::Reset();
    datadir::SetFolder(dir_.path());
    auto sim = std::make_unique<port::SimulatedPort>();
    sim_ = sim.get();
    port::Install(std::move(sim));
    seams::SetMsgBox([this](const QString& t) { messages << t; });
    clock = seams::LocalTime{2026, 12, 10, 21, 30, 0, 0, false};
    seams::SetClock([this] { return clock; });
    seams::SetQuit([this] { ++quitCalls; });
    seams::ResetQuitting();
    seams::SetDoEvents({});
}

void OrvanelTest::TearDown() {
    seams::SetDoEvents({});
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    seams::SetMsgBox({});
    seams::SetClock({});
    seams::SetQuit({});
    seams::ResetQuitting();
    port::Install(nullptr);
    datadir::SetFolder(QString());
}

std::vector<int> OrvanelTest::Data() const {
    std::vector<int> out;
    for (const auto& w : Writes())
        if (w.reg == port::kData) out.push_back(w.value);
    return out;
}

std::vector<int> OrvanelTest::Pulses(int n, int direction, int step) {
    std::vector<int> out;
    for (int i = 0; i < n; ++i) {
        out.push_back(direction);
        out.push_back(direction + step);
    }
    return out;
}

void OrvanelTest::ExpectRefusal(const QString& box, const QString& range, const QString& consequence) {
    ASSERT_EQ(messages.size(), 1) << messages.join('\n').toStdString();
    const QString& m = messages[0];
    EXPECT_TRUE(m.contains(QStringLiteral("« %1 »").arg(box))) << m.toStdString();
    EXPECT_TRUE(m.contains(range)) << m.toStdString();
    EXPECT_TRUE(m.endsWith(consequence)) << m.toStdString();
    messages.clear();
}

void OrvanelTest::WriteData(const QString& relative, const QByteArray& bytes) {
    const QString path = dir_.path() + u'/' + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString OrvanelTest::ReadData(const QString& relative) const {
    QFile f(dir_.path() + u'/' + relative);
    if (!f.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(f.readAll());
}

bool OrvanelTest::DataExists(const QString& relative) const {
    return QFileInfo::exists(dir_.path() + u'/' + relative);
}

void OrvanelTest::UseShippedData() {
    const QDir src(ShippedDataFolder());
    QDirIterator it(src.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString rel = src.relativeFilePath(file);
        const QString dst = dir_.path() + u'/' + rel;
        QDir().mkpath(QFileInfo(dst).absolutePath());
        QFile::copy(file, dst);
    }
}

#include "platform/form.h"
#include "shell/frminterface.h"

void WindowTest::TearDown() {
    // A tick due after a long case must not open a window again while they close.
    StopMainWindowTimers();
    forms::UnloadAll();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ResetMainWindow();
    OrvanelTest::TearDown();
}

bool WindowTest::InSight(const QWidget& window, QWidget* control) {
    QWidget* seen = window.childAt(control->mapTo(&window, control->rect().center()));
    return seen == control || control->isAncestorOf(seen);
}
