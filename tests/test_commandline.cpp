// The command line: what each argument list starts, prints or refuses, read
// by the parser and then by the real program, started with no display at
// all; and the real program ended by signals.
#include "platform/commandline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

using commandline::Outcome;

namespace {

std::string str(const QString& s) { return s.toStdString(); }

const QString kHint = QStringLiteral("La liste des options : orvanel --help\n");

}  // namespace

TEST(CommandLine, StartsOnThePortNamedTheSimulatedOneByDefault) {
    const struct {
        QStringList arguments;
        const char* port;
    } cases[] = {
        {{}, "sim"},
        {{"--port=raw:0x378"}, "raw:0x378"},
        {{"--port", "ppdev:/dev/parport1"}, "ppdev:/dev/parport1"},
        {{"--port=raw:888"}, "raw:888"},
        {{"--port", "raw"}, "raw"},
        {{"--port=ppdev"}, "ppdev"},
        {{"--port=raw:0x278", "--port=sim"}, "sim"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(str(c.arguments.join(' ')));
        const Outcome o = commandline::Parse(c.arguments);
        EXPECT_EQ(o.action, Outcome::Action::Start) << str(o.text);
        EXPECT_EQ(o.options.port, QString::fromLatin1(c.port));
        EXPECT_TRUE(o.text.isEmpty());
    }
}

// The folder of the user's files, named as the user typed it, taken whole.
TEST(CommandLine, DataNamesAnExistingFolder) {
    QTemporaryDir dir;
    const QString here = QDir::currentPath();
    const struct {
        QStringList arguments;
        QString data;
    } cases[] = {
        {{}, {}},
        {{"--data=" + dir.path()}, dir.path()},
        {{"--data", dir.path() + "/"}, dir.path()},
        {{"--data=."}, here},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(str(c.arguments.join(' ')));
        const Outcome o = commandline::Parse(c.arguments);
        EXPECT_EQ(o.action, Outcome::Action::Start) << str(o.text);
        EXPECT_EQ(QDir::cleanPath(o.options.data), c.data);
    }
}

// Refused: status 2, each fault on a line of its own that quotes what was
// typed, then where the options are listed; nothing is started, not even by
// a "--help" or "--version" among them.
TEST(CommandLine, AnUnknownOptionOrAMalformedValueIsNamedAndRefused) {
    const struct {
        QStringList arguments;
        QStringList named;  // each on a line of its own
    } cases[] = {
        {{"--prot=raw:0x378"}, {"option inconnue : « --prot=raw:0x378 »"}},
        {{"-p", "raw:0x378"}, {"option inconnue : « -p »", "argument inattendu : « raw:0x378 »"}},
        {{"raw:0x378"}, {"argument inattendu : « raw:0x378 »"}},
        {{"--port=raw:zzz"}, {"--port : « raw:zzz » (adresse invalide : zzz)"}},
        {{"--port", "raw:0x10000"}, {"--port : « raw:0x10000 » (adresse invalide : 0x10000)"}},
        {{"--port=raw:"}, {"--port : « raw: » (il manque l'adresse"}},
        {{"--port=ppdev:"}, {"--port : « ppdev: » (il manque le périphérique"}},
        {{"--port=usb"}, {"--port : « usb » (port inconnu : sim, ppdev:/dev/parportN ou raw:0x378)"}},
        {{"--port=rawhide"}, {"--port : « rawhide » (port inconnu"}},
        {{"--port="}, {"--port : «  » (aucun port nommé"}},
        {{"--port"}, {"l'option --port attend une valeur (--port=PORT)"}},
        {{"--help=oui"}, {"l'option --help ne prend pas de valeur : « --help=oui »"}},
        {{"--version", "--verbose"}, {"option inconnue : « --verbose »"}},
        {{"--help", "--port=usb"}, {"« usb »"}},
        {{"--data=/nonexistent/orvanel"}, {"--data : « /nonexistent/orvanel » (dossier introuvable)"}},
        {{"--data", ORVANEL_SOURCE_DIR "/README.md"}, {"README.md » (ce n'est pas un dossier)"}},
        {{"--data="}, {"--data : «  » (aucun dossier nommé)"}},
        {{"--data"}, {"l'option --data attend une valeur (--data=DOSSIER)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(str(c.arguments.join(' ')));
        const Outcome o = commandline::Parse(c.arguments);
        EXPECT_EQ(o.action, Outcome::Action::Refuse);
        EXPECT_EQ(o.exitStatus, 2);
        const QStringList lines = o.text.split(u'\n');
        ASSERT_EQ(lines.size(), c.named.size() + 2) << str(o.text);
        for (qsizetype i = 0; i < c.named.size(); ++i) {
            EXPECT_TRUE(lines[i].startsWith(QStringLiteral("orvanel : "))) << str(lines[i]);
            EXPECT_TRUE(lines[i].contains(c.named[i])) << str(lines[i]);
        }
        EXPECT_TRUE(o.text.endsWith(kHint)) << str(o.text);
    }
}

TEST(CommandLine, HelpAndVersionArePrinted) {
    for (const QStringList& arguments : {QStringList{"--help"}, QStringList{"-h"}, QStringList{"--port=raw", "--help"},
                                         QStringList{"--version", "--help"}}) {
        SCOPED_TRACE(str(arguments.join(' ')));
        const Outcome o = commandline::Parse(arguments);
        EXPECT_EQ(o.action, Outcome::Action::Print);
        EXPECT_EQ(o.exitStatus, 0);
        EXPECT_EQ(o.text, commandline::HelpText());
    }
    const Outcome o = commandline::Parse({"--version"});
    EXPECT_EQ(o.action, Outcome::Action::Print);
    EXPECT_EQ(o.exitStatus, 0);
    EXPECT_EQ(o.text, commandline::VersionText());
    EXPECT_TRUE(o.text.startsWith(QStringLiteral("Orvanel "))) << str(o.text);
    EXPECT_TRUE(o.text.endsWith(u'\n'));
    EXPECT_EQ(o.text.count(u'\n'), 1);
}

// Every option and both its spellings, the three ports of the port table,
// the signals and the exit statuses; in lines that fit a terminal.
TEST(CommandLine, TheHelpListsEveryOptionThePortsAndTheSignals) {
    const QString help = commandline::HelpText();
    for (const char* shown :
         {"--port=PORT, --port PORT", "--data=DOSSIER, --data DOSSIER", "--help, -h", "--version", "sim ", "ppdev:/dev/parport0 ", "raw:0x378 ",
          "ioperm", "lp)", "SIGINT", "SIGTERM", "SIGHUP", "130", "143", "129", "ligne de commande refusée"}) {
        EXPECT_TRUE(help.contains(QString::fromUtf8(shown))) << shown << "\n" << str(help);
    }
    for (const QString& line : help.split(u'\n')) EXPECT_LE(line.size(), 79) << str(line);
}

// ---- The real program ---------------------------------------------------------

namespace {

struct Ended {
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QString out, err;
};

// The program run with no display at all: no X, no Wayland, no platform
// chosen. Building its application object would end it (status 134).
Ended runWithoutDisplay(const QStringList& arguments) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QString::fromLatin1(name));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVANEL_PROGRAM), arguments);
    Ended r;
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "still running after 10 s";
    }
    r.exitCode = p.exitCode();
    r.exitStatus = p.exitStatus();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The signals the process catches, as /proc shows them.
bool catches(qint64 pid, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("SigCgt:")) continue;
        bool ok = false;
        const qulonglong mask = line.mid(7).trimmed().toULongLong(&ok, 16);
        return ok && (mask >> (signal - 1)) & 1;
    }
    return false;
}

}  // namespace

TEST(ProgramCommandLine, HelpAndVersionNeedNoDisplay) {
    const Ended help = runWithoutDisplay({"--help"});
    EXPECT_EQ(help.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(help.exitCode, 0) << str(help.err);
    EXPECT_EQ(help.out, commandline::HelpText());
    EXPECT_TRUE(help.err.isEmpty()) << str(help.err);

    const Ended version = runWithoutDisplay({"--version"});
    EXPECT_EQ(version.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(version.exitCode, 0) << str(version.err);
    EXPECT_EQ(version.out, commandline::VersionText());
    EXPECT_TRUE(version.err.isEmpty()) << str(version.err);
}

TEST(ProgramCommandLine, ARefusedCommandLineEndsWithStatus2AndStartsNothing) {
    const struct {
        QStringList arguments;
        const char* named;
    } cases[] = {
        {{"--prot=raw:0x378"}, "« --prot=raw:0x378 »"},
        {{"--port=raw:zzz"}, "« raw:zzz »"},
        {{"--port", "usb"}, "« usb »"},
        {{"--port"}, "--port"},
        {{"--data=/nonexistent/orvanel"}, "« /nonexistent/orvanel » (dossier introuvable)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(str(c.arguments.join(' ')));
        const Ended r = runWithoutDisplay(c.arguments);
        EXPECT_EQ(r.exitStatus, QProcess::NormalExit);
        EXPECT_EQ(r.exitCode, 2) << str(r.err);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.named))) << str(r.err);
        EXPECT_TRUE(r.err.endsWith(kHint)) << str(r.err);
        EXPECT_TRUE(r.out.isEmpty()) << str(r.out);
    }
}

// SIGTERM, sent twice: the program ends by itself, as "Quitter" ends it,
// with the status that tells the signal.
TEST(ProgramSignals, SigtermEndsTheProgramWithStatus143) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVANEL_PROGRAM), {});
    ASSERT_TRUE(p.waitForStarted(10000));
    const auto pid = static_cast<pid_t>(p.processId());
    for (int i = 0; i < 1000 && !catches(pid, SIGTERM); ++i) QThread::msleep(10);
    ASSERT_TRUE(catches(pid, SIGTERM)) << "the program catches SIGTERM";

    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    ::kill(pid, SIGTERM);
    ASSERT_TRUE(p.waitForFinished(10000)) << "ended";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "by itself, not by the signal";
    EXPECT_EQ(p.exitCode(), 128 + SIGTERM);
}

// --data: the program run from the build tree keeps the user's files in the
// folder named, which gets the settings the program ships, and its own data
// folder is left as it was.
TEST(ProgramCommandLine, DataKeepsTheUsersFilesInTheFolderNamed) {
    QTemporaryDir dir;
    const QString shipped = QFileInfo(QStringLiteral(ORVANEL_PROGRAM)).absolutePath() + "/data";
    const QStringList settings = QDir(shipped).entryList({"*.ini"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(settings.isEmpty());
    const auto filled = [&] { return QDir(dir.path()).entryList({"*.ini"}, QDir::Files, QDir::Name) == settings; };
    const auto lastChange = QFileInfo(shipped).lastModified();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVANEL_PROGRAM), {"--data=" + dir.path()});
    ASSERT_TRUE(p.waitForStarted(10000));
    for (int i = 0; i < 1000 && !filled() && p.state() == QProcess::Running; ++i) QThread::msleep(10);
    EXPECT_TRUE(filled()) << QDir(dir.path()).entryList().join(' ').toStdString();
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 128 + SIGTERM);
    for (const QString& name : settings) {
        QFile a(dir.path() + u'/' + name), b(shipped + u'/' + name);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << str(name);
        EXPECT_EQ(a.readAll(), b.readAll()) << str(name);
    }
    EXPECT_EQ(QFileInfo(shipped).lastModified(), lastChange) << "nothing made or removed in the program's own data/";
}
