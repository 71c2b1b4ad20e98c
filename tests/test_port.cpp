#include "core/state.h"
#include "motor/cmd_moteur.h"
#include "motor/paddle.h"
#include "platform/portlock.h"
#include "tests/fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using port::Write;

class PortTest : public OrvanelTest {};

TEST_F(PortTest, OnePulseHasItsExactShape) {
    std::vector<std::string> seen;
    seams::SetDoEvents([&] {
        const auto& w = Sim().Writes();
        seen.push_back("events after " + std::to_string(w.back().value));
    });
    Pulse(8, 4, 0);
    EXPECT_EQ(Writes(), (std::vector<Write>{{888, 8}, {888, 12}}));
    EXPECT_EQ(seen, (std::vector<std::string>{"events after 8", "events after 12"}));
    EXPECT_EQ(Sim().DataLatch(), 12) << "the step line stays high";
}

TEST_F(PortTest, TheRealEventSeamRunsEventsOnItsTimeBudget) {
    int ran = 0;
    const auto post = [&ran] { QMetaObject::invokeMethod(qApp, [&ran] { ++ran; }, Qt::QueuedConnection); };
    using Clock = std::chrono::steady_clock;
    post();
    seams::DoEventsNow();
    EXPECT_EQ(ran, 1) << "now: whatever the time";
    post();
    seams::DoEvents(Clock::time_point{});
    EXPECT_EQ(ran, 1) << "a pulse before the budget is spent lets nothing run";
    seams::DoEvents(Clock::now() + seams::kEventBudget);
    EXPECT_EQ(ran, 2) << "a pulse once it is spent";
    post();
    seams::DoEventsNow();
    EXPECT_EQ(ran, 3) << "now again, however soon";

    // A test's hook runs at every call.
    int hooked = 0;
    seams::SetDoEvents([&hooked] { ++hooked; });
    seams::DoEvents(Clock::time_point{});
    seams::DoEventsNow();
    Pulse(8, 4, 0);
    EXPECT_EQ(hooked, 4);
}

TEST_F(PortTest, ThePulseOfTheMoveUnderWayUsesItsBits) {
    shared.drive.DirectionBits = 2;
    shared.drive.StepBit = 1;
    shared.drive.StepDelay = 3;
    SendPulse();
    SendPulse();
    EXPECT_EQ(Writes(), (std::vector<Write>{{888, 2}, {888, 3}, {888, 2}, {888, 3}}));
    EXPECT_EQ(Sim().AltSteps(), 2);
    EXPECT_EQ(Sim().AzSteps(), 0);
}

TEST_F(PortTest, TheSimulatedMountCountsRisingStepEdgesByDirection) {
    struct Case {
        int16_t dir, step;
        int64_t az, alt;
    } cases[] = {{8, 4, 1, 0}, {0, 4, -1, 0}, {2, 1, 0, 1}, {0, 1, 0, -1}};
    for (const auto& c : cases) {
        Sim().ResetMount();
        for (int i = 0; i < 3; ++i) Pulse(c.dir, c.step, 0);
        EXPECT_EQ(Sim().AzSteps(), 3 * c.az) << c.dir << "," << c.step;
        EXPECT_EQ(Sim().AltSteps(), 3 * c.alt) << c.dir << "," << c.step;
    }
    // A write that keeps the step line high is no new edge.
    Sim().ResetMount();
    Out32(888, 12);
    Out32(888, 12);
    Out32(888, 8);
    Out32(888, 12);
    EXPECT_EQ(Sim().AzSteps(), 2);
}

TEST_F(PortTest, PaddleCodeIsReadAgainstWhatTheProgramLastWroteToTheDataRegister) {
    // Whatever move left its bits on the data register (a paddle pulse, a
    // tracking burst's step line high, an arrow's direction line), they cancel:
    // the code is the paddle's own.
    struct Case {
        int16_t lastData, control;
    } cases[] = {
        {0, 11}, {12, 11}, {12, 137}, {3, 11}, {4, 11}, {8, 11}, {2, 26}, {255, 11},
    };
    for (const auto& c : cases) {
        Out32(888, c.lastData);
        EXPECT_EQ(port::LastPortOutput(), c.lastData);
        Sim().HoldPaddleCode(c.control);
        EXPECT_EQ(paddle::ReadCode(), c.control) << "data " << c.lastData;
    }
    // Lines the paddle lifts on the data register show through.
    class Lifted final : public port::Port {
    public:
        int16_t Inp32(int16_t reg) override { return reg == port::kData ? static_cast<int16_t>(data | 128) : 9; }
        void Out32(int16_t reg, int16_t value) override {
            if (reg == port::kData) data = value;
        }
        QString Description() const override { return QStringLiteral("lifted"); }
        int16_t data = 0;
    };
    port::Install(std::make_unique<Lifted>());
    EXPECT_EQ(port::LastPortOutput(), 0) << "a port installed starts from a cleared record";
    Out32(888, 6);
    EXPECT_EQ(paddle::ReadCode(), 137);
    // A write kept from a sealed port is no write.
    port::Seal();
    Out32(888, 1);
    EXPECT_EQ(port::LastPortOutput(), 6);
    port::Install(std::make_unique<port::SimulatedPort>());
}

TEST_F(PortTest, QueuedPaddleCodesAreReadInOrderThenTheHeldOne) {
    Sim().QueuePaddleCodes({137, 137, 11});
    Sim().HoldPaddleCode(26);
    EXPECT_EQ(paddle::ReadCode(), 137);
    EXPECT_EQ(paddle::ReadCode(), 137);
    EXPECT_EQ(paddle::ReadCode(), 11);
    EXPECT_EQ(paddle::ReadCode(), 26);
}

TEST(PaddleCodes, EveryCodeDecodes) {
    using paddle::Axis;
    using paddle::Speed;
    struct Case {
        int16_t code;
        std::optional<paddle::Button> button;
    } cases[] = {
        {2, paddle::Button{Axis::AltDec, Speed::Fast, 0}},
        {3, paddle::Button{Axis::AltDec, Speed::Medium, 0}},
        {10, paddle::Button{Axis::AltDec, Speed::Slow, 0}},
        {18, paddle::Button{Axis::AltDec, Speed::Fast, 2}},
        {19, paddle::Button{Axis::AltDec, Speed::Medium, 2}},
        {26, paddle::Button{Axis::AltDec, Speed::Slow, 2}},
        {9, paddle::Button{Axis::AzRa, Speed::Medium, 0}},
        {13, paddle::Button{Axis::AzRa, Speed::Fast, 0}},
        {15, paddle::Button{Axis::AzRa, Speed::Slow, 0}},
        {137, paddle::Button{Axis::AzRa, Speed::Medium, 8}},
        {141, paddle::Button{Axis::AzRa, Speed::Fast, 8}},
        {143, paddle::Button{Axis::AzRa, Speed::Slow, 8}},
        {11, std::nullopt},
        {1000, std::nullopt},
        {0, std::nullopt},
        {27, std::nullopt},
        {-5, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(paddle::Decode(c.code), c.button) << c.code;
    // The second direction is the first plus 16 (altitude) or 128 (azimuth).
    for (int16_t code : {2, 3, 10}) EXPECT_EQ(paddle::Decode(code + 16)->speed, paddle::Decode(code)->speed);
    for (int16_t code : {9, 13, 15}) EXPECT_EQ(paddle::Decode(code + 128)->speed, paddle::Decode(code)->speed);
}

TEST(PortChoice, ThePortNamedOnTheCommandLineOrTheSimulatorWithAReason) {
    QString error;
    auto sim = port::Open(QStringLiteral("sim"), &error);
    EXPECT_TRUE(sim->Simulated());
    EXPECT_TRUE(error.isEmpty());

    auto missing = port::Open(QStringLiteral("ppdev:/dev/parport-absent"), &error);
    EXPECT_TRUE(missing->Simulated());
    EXPECT_TRUE(error.contains("/dev/parport-absent")) << error.toStdString();

    auto bad = port::Open(QStringLiteral("raw:zzz"), &error);
    EXPECT_TRUE(bad->Simulated());
    EXPECT_TRUE(error.contains("zzz"));

    auto unknown = port::Open(QStringLiteral("usb"), &error);
    EXPECT_TRUE(unknown->Simulated());
    EXPECT_TRUE(error.contains("usb"));
}

// ---- One program per real port ------------------------------------------------

namespace {

class PortLocks : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        port::SetLockFolder(dir_.path());
        // Sockets of this test program's own: test programs run side by side.
        port::SetLockSocketPrefix(QStringLiteral("orvanel-test-%1-port-").arg(::getpid()));
    }
    void TearDown() override {
        port::SetLockFolder({});
        port::SetLockSocketPrefix({});
        port::SetRawAccess({});
    }
    QString folder(const QString& name) {
        QDir(dir_.path()).mkpath(name);
        return dir_.filePath(name);
    }
    QString lockPath(const QString& folder, const char* name) const {
        return QDir(folder).filePath(QStringLiteral("orvanel-port-%1.lock").arg(name));
    }
    static QString held(const QString& lock) {
        return QStringLiteral("déjà piloté par un autre programme Orvanel (verrou %1)").arg(lock);
    }

    // What another program, started now under `user`, is told when it takes
    // the lock of a port; it lets the lock go again as it ends.
    struct Outcome {
        bool taken = false;
        QString error;
    };
    static Outcome inAnotherProgram(const char* name, uid_t user = ::geteuid()) {
        int out[2];
        if (::pipe(out) != 0) return {false, QStringLiteral("no pipe")};
        const pid_t child = ::fork();
        if (child < 0) return {false, QStringLiteral("no fork")};
        if (child == 0) {
            ::close(out[0]);
            if (user != ::geteuid() && (::setgroups(0, nullptr) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0))
                _exit(1);
            QString error;
            const bool taken = port::PortLock::Take(QString::fromLatin1(name), &error) != nullptr;
            const QByteArray told = (taken ? QByteArray("1") : QByteArray("0")) + error.toUtf8();
            const bool written = ::write(out[1], told.constData(), static_cast<size_t>(told.size())) == told.size();
            _exit(written ? 0 : 1);
        }
        ::close(out[1]);
        QByteArray told;
        char buffer[512];
        for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) told.append(buffer, n);
        ::close(out[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || told.isEmpty())
            return {false, QStringLiteral("the other program failed")};
        return {told.startsWith('1'), QString::fromUtf8(told.mid(1))};
    }

    QTemporaryDir dir_;
};

}  // namespace

TEST_F(PortLocks, ALockNamedAfterThePortIsHeldUntilItsHolderGoes) {
    QString error;
    auto first = port::PortLock::Take("0x378", &error);
    ASSERT_TRUE(first) << error.toStdString();
    EXPECT_EQ(first->Path(), lockPath(dir_.path(), "0x378"));
    EXPECT_TRUE(QFileInfo::exists(first->Path()));

    auto second = port::PortLock::Take("0x378", &error);
    EXPECT_FALSE(second);
    EXPECT_EQ(error, held(first->Path()));

    EXPECT_TRUE(port::PortLock::Take("0x278", &error)) << "another port is free";
    first.reset();
    EXPECT_TRUE(port::PortLock::Take("0x378", &error)) << "free once its holder is gone";
    EXPECT_TRUE(QFileInfo::exists(lockPath(dir_.path(), "0x378"))) << "the file stays for the next holder";
}

TEST_F(PortLocks, AFolderThatCannotHoldTheLockRefusesThePortByName) {
    QFile file(dir_.filePath("a-file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const QString& f : {dir_.filePath("absent"), file.fileName()}) {
        SCOPED_TRACE(f.toStdString());
        port::SetLockFolder(f);
        QString error;
        EXPECT_FALSE(port::PortLock::Take("0x378", &error));
        EXPECT_EQ(error, QStringLiteral("verrou %1 impossible : dossier %2 introuvable").arg(lockPath(f, "0x378"), f));
    }
}

TEST_F(PortLocks, EveryUserLocksInTheOneFolderEvenOneOnlyRootMayWriteTo) {
    // The lock folder as /run/lock may be, writable by root only: a user is
    // refused there, never sent to a folder of its own, until root has made
    // the lock file; from then on each takes the one lock in turn. Root's
    // part is played by the folder's owner when the tests do not run as root.
    const bool root = ::geteuid() == 0;
    const uid_t user = root ? 65534 : ::geteuid();  // nobody
    const QString shared = folder("run-lock");
    const QByteArray sharedName = QFile::encodeName(shared);
    ASSERT_EQ(::chmod(QFile::encodeName(dir_.path()).constData(), 0755), 0);
    const auto writable = [&](bool yes) {
        ASSERT_EQ(::chmod(sharedName.constData(), root || yes ? 0755 : 0555), 0);
    };
    port::SetLockFolder(shared);
    const QString path = lockPath(shared, "0x378");

    writable(false);
    const Outcome before = inAnotherProgram("0x378", user);
    EXPECT_FALSE(before.taken);
    EXPECT_EQ(before.error, QStringLiteral("verrou %1 impossible : permission refusée").arg(path));

    // Made under a umask that lets nobody else read, the file is still one every user can open.
    writable(true);
    const mode_t mask = ::umask(077);
    QString error;
    auto rootHolds = port::PortLock::Take("0x378", &error);
    ::umask(mask);
    writable(false);
    ASSERT_TRUE(rootHolds) << error.toStdString();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);

    const Outcome meanwhile = inAnotherProgram("0x378", user);
    EXPECT_FALSE(meanwhile.taken);
    EXPECT_EQ(meanwhile.error, held(path));

    rootHolds.reset();
    const Outcome after = inAnotherProgram("0x378", user);
    EXPECT_TRUE(after.taken) << after.error.toStdString();
    writable(true);
}

TEST_F(PortLocks, ALockFileThatCannotBeTakenRefusesThePort) {
    const QString elsewhere = dir_.filePath("elsewhere");
    QFile target(dir_.filePath("target"));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.close();
    struct Case {
        const char* what;
        std::function<bool(const QString& path)> plant;
        const char* told;
    } cases[] = {
        {"a link to nowhere", [&](const QString& p) { return QFile::link(elsewhere, p); },
         "un lien symbolique tient la place du fichier"},
        {"a link to a file", [&](const QString& p) { return QFile::link(target.fileName(), p); },
         "un lien symbolique tient la place du fichier"},
        {"a folder", [](const QString& p) { return QDir().mkdir(p); }, "ce n'est pas un fichier ordinaire"},
        {"a pipe", [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0644) == 0; },
         "ce n'est pas un fichier ordinaire"},
    };
    int n = 0;
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        const QString locks = folder(QStringLiteral("locks%1").arg(n++));
        const QString planted = lockPath(locks, "0x378");
        ASSERT_TRUE(k.plant(planted));
        port::SetLockFolder(locks);
        QString error;
        EXPECT_FALSE(port::PortLock::Take("0x378", &error));
        EXPECT_EQ(error, QStringLiteral("verrou %1 impossible : %2").arg(planted, QString::fromUtf8(k.told)));
        EXPECT_FALSE(QFileInfo::exists(elsewhere)) << "nothing made where the link leads";
    }
}

TEST_F(PortLocks, WhileALinkIsPlantedNoneTakesThePortAndOnceGoneOnlyOne) {
    // A link planted in a folder anyone may write to, before either program starts.
    const QString planted = lockPath(dir_.path(), "0x378");
    ASSERT_TRUE(QFile::link(dir_.filePath("elsewhere"), planted));

    QString error;
    auto first = port::PortLock::Take("0x378", &error);
    EXPECT_FALSE(first);
    EXPECT_TRUE(error.contains(planted)) << error.toStdString();

    // The link removed: the first program takes the lock, the second is refused while it holds it.
    ASSERT_TRUE(QFile::remove(planted));
    first = port::PortLock::Take("0x378", &error);
    ASSERT_TRUE(first) << error.toStdString();
    EXPECT_EQ(first->Path(), planted);
    EXPECT_FALSE(port::PortLock::Take("0x378", &error));
    EXPECT_EQ(error, held(planted));
}

TEST_F(PortLocks, ALockFileRemovedOrReplacedWhileHeldStillHoldsThePort) {
    const QString locks = folder("locks");
    port::SetLockFolder(locks);
    QString error;
    auto first = port::PortLock::Take("0x378", &error);
    ASSERT_TRUE(first) << error.toStdString();
    const QString path = first->Path();
    const QString other = dir_.filePath("other");
    struct Case {
        const char* what;
        std::function<bool()> act;
    } cases[] = {
        {"the file removed", [&] { return QFile::remove(path); }},
        {"another file renamed over it",
         [&] {
             QFile f(other);
             return f.open(QIODevice::WriteOnly) && f.flush() &&
                    ::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()) == 0;
         }},
        {"the folder removed and made again",
         [&] { return QFile::remove(path) && QDir(dir_.path()).rmdir("locks") && QDir(dir_.path()).mkdir("locks"); }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        ASSERT_TRUE(k.act());
        const Outcome second = inAnotherProgram("0x378");
        EXPECT_FALSE(second.taken);
        EXPECT_EQ(second.error, held(port::LockSocketName("0x378")));
    }
    first.reset();
    EXPECT_TRUE(inAnotherProgram("0x378").taken);
}

TEST_F(PortLocks, TwoProgramsToldDifferentLockFoldersCannotBothHoldOnePort) {
    port::SetLockFolder(folder("root-lock"));
    QString error;
    auto first = port::PortLock::Take("0x378", &error);
    ASSERT_TRUE(first) << error.toStdString();

    port::SetLockFolder(folder("user-lock"));
    const Outcome second = inAnotherProgram("0x378");
    EXPECT_FALSE(second.taken);
    EXPECT_EQ(second.error, held(port::LockSocketName("0x378")));
    EXPECT_EQ(port::LockSocketName("0x378"), QStringLiteral("@orvanel-test-%1-port-0x378").arg(::getpid()));
    EXPECT_TRUE(inAnotherProgram("0x278").taken) << "another port is free";

    first.reset();
    const Outcome later = inAnotherProgram("0x378");
    EXPECT_TRUE(later.taken) << later.error.toStdString();
}

TEST(PortMessages, TheErrorsAUserMeetsAreToldInFrench) {
    const struct {
        int error;
        const char* text;
    } cases[] = {
        {ENOENT, "périphérique introuvable"},  {ENODEV, "périphérique introuvable"},
        {ENXIO, "périphérique introuvable"},   {EACCES, "permission refusée"},
        {EPERM, "permission refusée"},         {EBUSY, "périphérique occupé"},
        {ENOSYS, "fonction non prise en charge"}, {ENOTTY, "fonction non prise en charge"},
        {ELOOP, "un lien symbolique tient la place du fichier"},
    };
    for (const auto& c : cases) EXPECT_EQ(port::ErrorText(c.error), QString::fromUtf8(c.text)) << c.error;
    // Any other error in the system's own words.
    EXPECT_EQ(port::ErrorText(EMFILE), QString::fromLocal8Bit(std::strerror(EMFILE)));
    // The program's own sockets.
    port::SetLockSocketPrefix({});
    EXPECT_EQ(port::LockSocketName("0x378"), QStringLiteral("@orvanel-port-0x378"));
    EXPECT_EQ(port::LockFolder(), QStringLiteral("/run/lock"));
}

TEST_F(PortLocks, AProgramThatEndsEvenByACrashFreesItsPort) {
    // Another program holds the lock, then is killed.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        QString error;
        const auto lock = port::PortLock::Take("0x378", &error);
        if (!lock) _exit(1);
        const char c = 1;
        if (::write(ready[1], &c, 1) != 1) _exit(1);
        for (;;) pause();
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    QString error;
    EXPECT_FALSE(port::PortLock::Take("0x378", &error)) << "held by the other program";
    kill(other, SIGKILL);
    int status = 0;
    waitpid(other, &status, 0);
    EXPECT_TRUE(port::PortLock::Take("0x378", &error)) << error.toStdString();
    ::close(ready[0]);
    ::close(ready[1]);
}

#if defined(__x86_64__) || defined(__i386__)
TEST_F(PortLocks, ASecondRawPortIsRefusedAndTheSimulatorUsed) {
    int accessAsked = 0;
    int refusal = 0;  // what ioperm answers: 0 granted, else an errno
    port::SetRawAccess([&](unsigned base, unsigned count) {
        ++accessAsked;
        EXPECT_EQ(count, 3u);
        EXPECT_TRUE(base == 0x378 || base == 0x278) << base;
        return refusal;
    });
    QString error;
    auto first = port::Open("raw:0x378", &error);
    ASSERT_FALSE(first->Simulated()) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(accessAsked, 1);

    auto second = port::Open("raw:0x378", &error);
    EXPECT_TRUE(second->Simulated());
    EXPECT_TRUE(error.contains("ports 0x378")) << error.toStdString();
    EXPECT_TRUE(error.contains("autre programme Orvanel")) << error.toStdString();
    EXPECT_EQ(accessAsked, 1) << "refused before any access to the ports is asked for";

    EXPECT_FALSE(port::Open("raw:0x278", &error)->Simulated()) << "another port is free";

    // Access refused: the lock goes with the failed port.
    first.reset();
    refusal = EPERM;
    auto refused = port::Open("raw:0x378", &error);
    EXPECT_TRUE(refused->Simulated());
    EXPECT_EQ(error, QStringLiteral("ports 0x378 : permission refusée"));
    refusal = ENOSYS;
    EXPECT_TRUE(port::Open("raw:0x378", &error)->Simulated());
    EXPECT_EQ(error, QStringLiteral("ports 0x378 : fonction non prise en charge"));
    refusal = 0;
    EXPECT_FALSE(port::Open("raw:0x378", &error)->Simulated()) << error.toStdString();
}
#endif

TEST_F(PortLocks, ADeviceThatIsNoPpdevPortIsRefusedByName) {
    // Without a parallel port only the refusals can be seen: /dev/null opens
    // but takes no exclusive claim.
    QString error;
    auto p = port::Open("ppdev:/dev/null", &error);
    EXPECT_TRUE(p->Simulated());
    EXPECT_TRUE(error.contains("/dev/null")) << error.toStdString();
#if __has_include(<linux/ppdev.h>)
    EXPECT_EQ(error, QStringLiteral("/dev/null : pas un port parallèle ppdev (fonction non prise en charge)"));
    EXPECT_TRUE(port::Open("ppdev:/dev/orvanel-no-such-port", &error)->Simulated());
    EXPECT_EQ(error, QStringLiteral("/dev/orvanel-no-such-port : périphérique introuvable"));
#endif
}
