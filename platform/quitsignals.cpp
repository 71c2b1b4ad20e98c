#include "platform/quitsignals.h"

#include "platform/portlock.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <iterator>
#include <fcntl.h>
#include <unistd.h>

namespace quitsignals {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t kCount = std::size(kSignals);

int readEnd = -1;
// What the handler writes to: set before it is installed, cleared once it
// is removed.
volatile sig_atomic_t writeEnd = -1;
bool installed = false;
bool caught[kCount] = {};
struct sigaction previous[kCount];

QPointer<QSocketNotifier> notifier;
std::function<void(int)> onSignalHook;

void noteSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    // Non-blocking: a full pipe already holds a signal to act on.
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &number, 1);
    errno = savedErrno;
}

void readPipe() {
    unsigned char number = 0;
    while (::read(readEnd, &number, 1) == 1) {
        const std::function<void(int)> onSignal = onSignalHook;
        if (onSignal) onSignal(number);
    }
}

}  // namespace

bool Install(QString* error) {
    if (installed) return true;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        const int e = errno;
        if (error) *error = port::ErrorText(e);
        return false;
    }
    readEnd = ends[0];
    writeEnd = ends[1];

    struct sigaction action = {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    // While one is noted the others wait their turn.
    for (const int s : kSignals) sigaddset(&action.sa_mask, s);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kCount; ++i) {
        sigaction(kSignals[i], nullptr, &previous[i]);
        caught[i] = previous[i].sa_handler != SIG_IGN;
        if (caught[i]) sigaction(kSignals[i], &action, nullptr);
    }
    installed = true;
    if (error) error->clear();
    return true;
}

void Watch(std::function<void(int signal)> onSignal) {
    onSignalHook = std::move(onSignal);
    if (!installed || notifier || !QCoreApplication::instance()) return;
    notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { readPipe(); });
}

void Uninstall() {
    if (!installed) return;
    for (std::size_t i = 0; i < kCount; ++i)
        if (caught[i]) sigaction(kSignals[i], &previous[i], nullptr);
    const int written = writeEnd;
    writeEnd = -1;
    delete notifier.data();
    onSignalHook = {};
    ::close(readEnd);
    ::close(written);
    readEnd = -1;
    installed = false;
}

}  // namespace quitsignals
