#include "platform/port.h"

#include "platform/portlock.h"

#include <cerrno>
#include <functional>
#include <optional>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#if __has_include(<linux/ppdev.h>)
#include <linux/parport.h>
#include <linux/ppdev.h>
#define ORVANEL_HAVE_PPDEV 1
#endif

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define ORVANEL_HAVE_RAWIO 1
#endif

namespace port {

// ---- simulated port --------------------------------------------------------

int16_t SimulatedPort::Inp32(int16_t reg) {
    switch (reg) {
    case kData:
        return data_;
    case kControl: {
        if (!queued_.empty()) {
            const int16_t c = queued_.front();
            queued_.pop_front();
            return c;
        }
        return heldCode_;
    }
    default:
        return 0;
    }
}

void SimulatedPort::Out32(int16_t reg, int16_t value) {
    const auto v = static_cast<uint8_t>(value & 0xFF);
    if (recording_) {
        if (writes_.size() >= 1'000'000) writes_.erase(writes_.begin(), writes_.begin() + 500'000);
        writes_.push_back({reg, v});
    }
    if (reg == kData) {
        const uint8_t rising = static_cast<uint8_t>(v & ~data_);
        data_ = v;
        if (rising & 0x01) {
            altSteps_ += (v & 0x02) ? 1 : -1;
            alt_.Step(v & 0x02);
            if (stepWatch_) stepWatch_(false, (v & 0x02) != 0);
        }
        if (rising & 0x04) {
            azSteps_ += (v & 0x08) ? 1 : -1;
            az_.Step(v & 0x08);
            if (stepWatch_) stepWatch_(true, (v & 0x08) != 0);
        }
    } else if (reg == kControl) {
        control_ = v;
    }
}

void SimulatedPort::Gear::Step(bool plus) {
    if (plus) {
        if (gap == 0) ++axis;
        else --gap;
    } else {
        if (gap == play) --axis;
        else ++gap;
    }
}

void SimulatedPort::SetPlay(int64_t azSteps, int64_t altSteps) {
    az_.play = az_.gap = azSteps > 0 ? azSteps : 0;
    alt_.play = alt_.gap = altSteps > 0 ? altSteps : 0;
}

QString SimulatedPort::Description() const { return QStringLiteral("port simulé"); }

void SimulatedPort::QueuePaddleCodes(const std::vector<int16_t>& codes) {
    queued_.insert(queued_.end(), codes.begin(), codes.end());
}

// ---- Linux ppdev -------------------------------------------------------------

#ifdef ORVANEL_HAVE_PPDEV
namespace {
class PpdevPort final : public Port {
public:
    PpdevPort(int fd, QString device) : fd_(fd), device_(std::move(device)) {}
    ~PpdevPort() override {
        ioctl(fd_, PPRELEASE);
        close(fd_);
    }
    int16_t Inp32(int16_t reg) override {
        unsigned char b = 0;
        if (reg == kData) ioctl(fd_, PPRDATA, &b);
        else if (reg == kControl) ioctl(fd_, PPRCONTROL, &b);
        else if (reg == kStatus) ioctl(fd_, PPRSTATUS, &b);
        return b;
    }
    void Out32(int16_t reg, int16_t value) override {
        unsigned char b = static_cast<unsigned char>(value & 0xFF);
        if (reg == kData) ioctl(fd_, PPWDATA, &b);
        else if (reg == kControl) ioctl(fd_, PPWCONTROL, &b);
    }
    QString Description() const override { return device_; }

private:
    int fd_;
    QString device_;
};
}  // namespace
#endif

// ---- raw I/O ports ---------------------------------------------------------------

#ifdef ORVANEL_HAVE_RAWIO
namespace {
class RawPort final : public Port {
public:
    RawPort(unsigned base, std::unique_ptr<PortLock> lock) : base_(base), lock_(std::move(lock)) {}
    int16_t Inp32(int16_t reg) override { return inb(static_cast<unsigned short>(base_ + (reg - kData))); }
    void Out32(int16_t reg, int16_t value) override {
        outb(static_cast<unsigned char>(value & 0xFF), static_cast<unsigned short>(base_ + (reg - kData)));
    }
    QString Description() const override { return QStringLiteral("ports 0x%1").arg(base_, 0, 16); }

private:
    unsigned base_;
    std::unique_ptr<PortLock> lock_;  // held as long as the port is open
};
}  // namespace
#endif

// ---- choice -------------------------------------------------------------------

namespace {
std::unique_ptr<Port>& current() {
    static std::unique_ptr<Port> p;
    return p;
}
bool sealed = false;
unsigned refusedWrites = 0;
int16_t lastData = 0;

std::function<int(unsigned, unsigned)>& rawAccessHook() {
    static std::function<int(unsigned, unsigned)> h;
    return h;
}

#ifdef ORVANEL_HAVE_RAWIO
// Access to `count` I/O ports from `base`: 0, or the errno of the refusal.
int rawAccess(unsigned base, unsigned count) {
    if (rawAccessHook()) return rawAccessHook()(base, count);
    return ioperm(base, count, 1) == 0 ? 0 : errno;
}
#endif
}  // namespace

void SetRawAccess(std::function<int(unsigned base, unsigned count)> hook) { rawAccessHook() = std::move(hook); }

void Seal() { sealed = true; }
bool Sealed() { return sealed; }
unsigned RefusedWrites() { return refusedWrites; }

Port& Current() {
    if (!current()) current() = std::make_unique<SimulatedPort>();
    return *current();
}

void Install(std::unique_ptr<Port> p) {
    current() = std::move(p);
    sealed = false;
    refusedWrites = 0;
    lastData = 0;
}

int16_t LastPortOutput() { return lastData; }

SimulatedPort* Simulator() { return dynamic_cast<SimulatedPort*>(&Current()); }

namespace {
// The kinds of port and what follows their colon.
const QString kSim = QStringLiteral("sim");
const QString kPpdev = QStringLiteral("ppdev");
const QString kRaw = QStringLiteral("raw");
const QString kKnownPorts = QStringLiteral("sim, ppdev:/dev/parportN ou raw:0x378");

// "ppdev", "raw": the kind; "ppdev:x": the kind and x; anything else: no kind.
struct Parts {
    QString kind, rest;
    bool hasRest = false;
};
Parts split(const QString& choice) {
    const qsizetype colon = choice.indexOf(u':');
    if (colon < 0) return {choice, {}, false};
    return {choice.left(colon), choice.mid(colon + 1), true};
}

// The I/O address of "raw:" (0x378 when none is given), or nothing when the
// text is not an address a port can start at.
std::optional<unsigned> rawBase(const Parts& p) {
    if (!p.hasRest) return 0x378u;
    bool ok = false;
    const unsigned base = p.rest.toUInt(&ok, 0);
    if (!ok || base > 0xFFFC) return std::nullopt;
    return base;
}
}  // namespace

QString ChoiceError(const QString& choice) {
    if (choice.isEmpty()) return QStringLiteral("aucun port nommé : %1").arg(kKnownPorts);
    const Parts p = split(choice);
    if (p.kind == kSim && !p.hasRest) return {};
    if (p.kind == kPpdev) {
        if (p.hasRest && p.rest.isEmpty())
            return QStringLiteral("il manque le périphérique : ppdev:/dev/parport0, par exemple");
        return {};
    }
    if (p.kind == kRaw) {
        if (p.hasRest && p.rest.isEmpty()) return QStringLiteral("il manque l'adresse : raw:0x378, par exemple");
        if (!rawBase(p)) return QStringLiteral("adresse invalide : %1").arg(p.rest);
        return {};
    }
    return QStringLiteral("port inconnu : %1").arg(kKnownPorts);
}

std::unique_ptr<Port> Open(const QString& choice, QString* error) {
    auto fail = [&](const QString& why) -> std::unique_ptr<Port> {
        if (error) *error = why;
        return std::make_unique<SimulatedPort>();
    };
    if (error) error->clear();
    if (choice.isEmpty() || choice == kSim) return std::make_unique<SimulatedPort>();
    if (const QString wrong = ChoiceError(choice); !wrong.isEmpty())
        return fail(QStringLiteral("%1 (%2)").arg(choice, wrong));
    const Parts p = split(choice);

    if (p.kind == kPpdev) {
        const QString device = p.hasRest ? p.rest : QStringLiteral("/dev/parport0");
#ifdef ORVANEL_HAVE_PPDEV
        const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            const int e = errno;
            return fail(QStringLiteral("%1 : %2").arg(device, ErrorText(e)));
        }
        // Claimed exclusively: while this program holds the port no other
        // program, nor a printer driver, can claim it.
        if (ioctl(fd, PPEXCL) < 0) {
            const int e = errno;
            close(fd);
            return fail(QStringLiteral("%1 : pas un port parallèle ppdev (%2)")
                            .arg(device, ErrorText(e)));
        }
        if (ioctl(fd, PPCLAIM) < 0) {
            const int e = errno;
            close(fd);
            if (e == ENXIO || e == EBUSY)
                return fail(QStringLiteral("%1 : déjà pris par un autre programme (un autre Orvanel, ou le pilote "
                                           "d'imprimante lp)")
                                .arg(device));
            return fail(QStringLiteral("%1 : %2").arg(device, ErrorText(e)));
        }
        return std::make_unique<PpdevPort>(fd, device);
#else
        return fail(QStringLiteral("%1 : ppdev absent de ce système").arg(device));
#endif
    }

    // "raw", the one kind left.
    const unsigned base = *rawBase(p);
    const QString name = QStringLiteral("ports 0x%1").arg(base, 0, 16);
#ifdef ORVANEL_HAVE_RAWIO
    // The lock first: a second program is told so, whatever its rights.
    QString why;
    auto lock = PortLock::Take(QStringLiteral("0x%1").arg(base, 0, 16), &why);
    if (!lock) return fail(QStringLiteral("%1 : %2").arg(name, why));
    if (const int e = rawAccess(base, 3); e != 0)
        return fail(QStringLiteral("%1 : %2").arg(name, ErrorText(e)));
    return std::make_unique<RawPort>(base, std::move(lock));
#else
    return fail(QStringLiteral("%1 : accès direct impossible sur ce processeur").arg(name));
#endif
}

}  // namespace port

int16_t Inp32(int16_t reg) { return port::Current().Inp32(reg); }
void Out32(int16_t reg, int16_t value) {
    if (port::Sealed()) {
        ++port::refusedWrites;
        return;
    }
    port::Current().Out32(reg, value);
    if (reg == port::kData) port::lastData = static_cast<int16_t>(value & 0xFF);
}
