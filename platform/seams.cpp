#include "platform/seams.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTextStream>

#include <vector>

namespace seams {

namespace {
std::function<void()>& doEventsHook() { static std::function<void()> h; return h; }
std::function<LocalTime()>& clockHook() { static std::function<LocalTime()> h; return h; }
std::function<void(const QString&)>& msgBoxHook() { static std::function<void(const QString&)> h; return h; }
std::function<void()>& quitHook() { static std::function<void()> h; return h; }
std::vector<std::function<void()>>& whenNotNested() {
    static std::vector<std::function<void()>> w;
    return w;
}
int depth = 0;
bool quitting = false;
int exitStatus = 0;
}  // namespace

NestedLoop::NestedLoop() { ++depth; }
NestedLoop::~NestedLoop() {
    if (--depth > 0) return;
    const std::vector<std::function<void()>> waiting = std::move(whenNotNested());
    whenNotNested().clear();
    for (const auto& then : waiting) then();
}
int NestingDepth() { return depth; }
void WhenNotNested(std::function<void()> then) {
    if (depth == 0) then();
    else whenNotNested().push_back(std::move(then));
}

namespace {
// Before it the pulses let no events run; the epoch lets the first call through.
std::chrono::steady_clock::time_point nextEvents{};

void runEvents() {
    // Whatever is still pending would only start what is ending.
    if (quitting) return;
    NestedLoop nested;
    if (doEventsHook()) {
        doEventsHook()();
        return;
    }
    if (!QCoreApplication::instance()) return;
    QCoreApplication::processEvents();
    // Counted from the end of the pass: a long repaint does not call for
    // another pass at once.
    nextEvents = std::chrono::steady_clock::now() + kEventBudget;
}
}  // namespace

void DoEvents(std::chrono::steady_clock::time_point now) {
    if (!doEventsHook() && now < nextEvents) return;
    runEvents();
}
void DoEventsNow() { runEvents(); }
void SetDoEvents(std::function<void()> hook) { doEventsHook() = std::move(hook); }

LocalTime Now() {
    if (clockHook()) return clockHook()();
    const QDateTime now = QDateTime::currentDateTime();
    LocalTime t;
    t.year = now.date().year();
    t.month = now.date().month();
    t.day = now.date().day();
    t.hour = now.time().hour();
    t.minute = now.time().minute();
    t.second = now.time().second();
    t.millisecond = now.time().msec();
    t.daylightSaving = now.isDaylightTime();
    t.utcOffsetSeconds = now.offsetFromUtc();
    return t;
}
int UtcOffsetSeconds(const LocalTime& t) {
    if (t.utcOffsetSeconds) return *t.utcOffsetSeconds;
    return t.daylightSaving ? 7200 : 3600;
}
void SetClock(std::function<LocalTime()> hook) { clockHook() = std::move(hook); }

void MsgBox(const QString& text) {
    if (quitting) return;  // nobody is left to read it
    NestedLoop nested;
    if (msgBoxHook()) {
        msgBoxHook()(text);
        return;
    }
    QTextStream(stderr) << text << '\n';
}
void SetMsgBox(std::function<void(const QString&)> hook) { msgBoxHook() = std::move(hook); }
const std::function<void(const QString&)>& MsgBoxHook() { return msgBoxHook(); }

void Quit() {
    if (quitHook()) {
        quitHook()();
    } else if (QCoreApplication::instance()) {
        QCoreApplication::exit(exitStatus);
    }
}
void SetQuit(std::function<void()> hook) { quitHook() = std::move(hook); }

void BeginQuit(int status) {
    quitting = true;
    exitStatus = status;
}
bool Quitting() { return quitting; }
int ExitStatus() { return exitStatus; }
void ResetQuitting() {
    quitting = false;
    exitStatus = 0;
}

}  // namespace seams
