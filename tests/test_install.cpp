// The install, as a user runs it: the built program installed into a folder
// of the test's own (nothing is built again), what it lays out, the
// installed program started with its own user's folder, a second install
// over the first, and the uninstall.
//
// Each install is of the component "orvanel" alone: its record is
// install_manifest_orvanel.txt, so the build's install_manifest.txt, the
// record of the user's own install, is never touched. These tests share
// that record and run one at a time (the build says so).
#include "platform/commandline.h"
#include "platform/datadir.h"
#include "tests/folders.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace {

using folders::BytesOf;
using folders::ContentsOf;
using folders::FilesBelow;
using folders::Write;

std::string str(const QString& s) { return s.toStdString(); }

const QString kSourceData = QStringLiteral(ORVANEL_SOURCE_DIR "/data");

struct Ran {
    int exitCode = -1;
    QString output;
};

Ran run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env = {}) {
    QProcess p;
    p.setProcessEnvironment(env.isEmpty() ? QProcessEnvironment::systemEnvironment() : env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    Ran r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << str(program) << " still running after 30 s";
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = QString::fromLocal8Bit(p.readAll());
    return r;
}

// Installs the built program under `prefix`, inside `destdir` when one is
// given; returns the files the install lists in its record (which names
// them without `destdir`), where they are.
QStringList install(const QString& prefix, const QString& destdir = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DESTDIR"));
    if (!destdir.isEmpty()) env.insert(QStringLiteral("DESTDIR"), destdir);
    const Ran r = run(QStringLiteral(ORVANEL_CMAKE),
                      {"--install", ORVANEL_BUILD_DIR, "--component", "orvanel", "--prefix", prefix}, env);
    EXPECT_EQ(r.exitCode, 0) << str(r.output);
    QStringList listed =
        QString::fromUtf8(BytesOf(QStringLiteral(ORVANEL_BUILD_DIR "/install_manifest_orvanel.txt")))
            .split(u'\n', Qt::SkipEmptyParts);
    for (QString& file : listed) file.prepend(destdir);
    listed.sort();
    return listed;
}

// The installed program, started offscreen with `env`, ended by SIGTERM
// once `ready` holds (it quits at once, as "Quitter" does).
void runUntil(const QString& program, QProcessEnvironment env, const std::function<bool()>& ready,
              const QStringList& arguments = {}) {
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    ASSERT_TRUE(p.waitForStarted(10000));
    for (int i = 0; i < 1000 && !ready() && p.state() == QProcess::Running; ++i) QThread::msleep(10);
    EXPECT_TRUE(ready()) << "the program did not get there: " << str(QString::fromLocal8Bit(p.readAll()));
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 128 + SIGTERM);
}

// The shipped settings files' names.
QStringList shippedSettings() { return QDir(kSourceData).entryList({"*.ini"}, QDir::Files, QDir::Name); }

// Every settings file is in the folder.
bool holdsEverySetting(const QString& folder) {
    for (const QString& name : shippedSettings())
        if (!QFileInfo::exists(folder + u'/' + name)) return false;
    return true;
}

// The key=value lines of the launcher's [Desktop Entry].
QMap<QString, QString> launcherKeys(const QString& path) {
    QMap<QString, QString> keys;
    for (const QString& line : QString::fromUtf8(BytesOf(path)).split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0) keys.insert(line.left(eq), line.mid(eq + 1));
    }
    return keys;
}

}  // namespace

TEST(Installed, TheProgramItsDataTheLauncherTheIconAndTheManualPageAreLaidOut) {
    QTemporaryDir dest;
    const QStringList listed = install(QStringLiteral("/usr/local"), dest.path());
    const QString root = dest.path() + "/usr/local";
    EXPECT_EQ(listed, FilesBelow(dest.path())) << "the record lists every file installed";

    const QFileInfo program(root + "/bin/orvanel");
    EXPECT_TRUE(program.isFile() && program.isExecutable());

    // The shipped data, as it is in the sources, every file read-only.
    const QString data = root + "/share/orvanel";
    EXPECT_EQ(ContentsOf(data), ContentsOf(kSourceData));
    for (const QString& file : FilesBelow(data)) {
        EXPECT_EQ(QFile(file).permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther), 0)
            << str(file);
    }
    const datadir::Layout layout = datadir::Locate(root + "/bin", {}, "/xdg", "/home/astronome");
    EXPECT_TRUE(layout.installed);
    EXPECT_EQ(layout.shipped, data);
    EXPECT_EQ(layout.user, "/xdg/orvanel/data");

    // The launcher: French, in the astronomy menu, the installed program with no port.
    const QString launcher = root + "/share/applications/orvanel.desktop";
    const QMap<QString, QString> keys = launcherKeys(launcher);
    EXPECT_EQ(keys["Type"], "Application");
    EXPECT_EQ(keys["Name"], "Orvanel");
    EXPECT_EQ(keys["GenericName"], QStringLiteral("Pilotage de télescopes"));
    EXPECT_TRUE(keys["Comment"].startsWith(QStringLiteral("Pilote une monture de télescope"))) << str(keys["Comment"]);
    EXPECT_EQ(keys["Categories"], "Education;Science;Astronomy;");
    EXPECT_EQ(keys["Terminal"], "false");
    EXPECT_EQ(keys["Exec"], "\"/usr/local/bin/orvanel\"");
    EXPECT_EQ(keys["TryExec"], "/usr/local/bin/orvanel");
    EXPECT_EQ(keys["Icon"], "orvanel");
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validator.isEmpty()) {
        const Ran checked = run(validator, {launcher});
        EXPECT_EQ(checked.exitCode, 0) << str(checked.output);
        EXPECT_FALSE(checked.output.contains(QStringLiteral("error"))) << str(checked.output);
    }

    const QImage icon(root + "/share/icons/hicolor/64x64/apps/orvanel.png");
    EXPECT_EQ(icon.size(), QSize(64, 64));
    EXPECT_TRUE(icon.hasAlphaChannel());

    // The manual page names every option of the help.
    const QString page = QString::fromUtf8(BytesOf(root + "/share/man/man1/orvanel.1"));
    EXPECT_TRUE(page.startsWith(QStringLiteral(".TH ORVANEL 1"))) << str(page.left(80));
    const QRegularExpression option(QStringLiteral("^  (--[a-z]+)"), QRegularExpression::MultilineOption);
    QStringList options;
    for (const auto& m : option.globalMatch(commandline::HelpText())) options << m.captured(1);
    EXPECT_GE(options.size(), 4);
    for (QString o : options) EXPECT_TRUE(page.contains(o.replace(QStringLiteral("-"), QStringLiteral("\\-")))) << str(o);
    for (const char* section : {".SH OPTIONS", ".SH PORTS", ".SH FICHIERS", "ppdev:", "raw:", "orvanel/data"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(section))) << section;
    const QString groff = QStandardPaths::findExecutable(QStringLiteral("groff"));
    if (!groff.isEmpty()) {
        const Ran formatted = run(groff, {"-man", "-ww", "-z", "-K", "utf8", root + "/share/man/man1/orvanel.1"});
        EXPECT_EQ(formatted.exitCode, 0) << str(formatted.output);
        EXPECT_TRUE(formatted.output.isEmpty()) << str(formatted.output);
    }

    // The help: the installed README, which the help window names.
    const QString readme = root + "/share/doc/orvanel/README.md";
    EXPECT_EQ(BytesOf(readme), BytesOf(QStringLiteral(ORVANEL_SOURCE_DIR "/README.md")));
    EXPECT_EQ(datadir::Readme(root + "/bin"), readme);
    EXPECT_TRUE(QFileInfo(root + "/share/doc/orvanel/docs/screenshots/sky-chart.png").isFile())
        << "the README's pictures beside it";
}

// Installed in the user's own ~/.local, whose share/ then holds both the
// shipped data and the user's folder: the program fills the user's folder
// and saves there, a second install changes none of the user's files, and
// the shipped data stays as installed.
TEST(Installed, TheUsersFilesAreKeptInTheirOwnFolderAcrossInstalls) {
    QTemporaryDir dir;
    const QString home = dir.path() + "/home";
    const QString prefix = home + "/.local";
    install(prefix);
    const QString shipped = prefix + "/share/orvanel";
    const QString user = prefix + "/share/orvanel/data";
    const auto asInstalled = ContentsOf(shipped);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    runUntil(prefix + "/bin/orvanel", env, [&] { return holdsEverySetting(user); });
    EXPECT_EQ(QDir(user).entryList(QDir::Files, QDir::Name), shippedSettings());
    for (const QString& name : shippedSettings())
        EXPECT_EQ(BytesOf(user + u'/' + name), BytesOf(kSourceData + u'/' + name)) << str(name);

    // The user's own backlash, a settings file gone, a save cut off after its record.
    Write(user + "/backlash.ini", "7\r\n9\r\n");
    Write(user + "/notes.txt", "M 13\r\n");
    QFile::remove(user + "/vitessemanu.ini");
    Write(user + "/config_equa.ini.nouveau", "400\r\n400\r\n144\r\n144\r\n");
    Write(user + "/enregistrement.encours", "Orvanel : enregistrement en cours\r\nconfig_equa.ini\r\nfin\r\n");

    install(prefix);
    EXPECT_EQ(BytesOf(user + "/backlash.ini"), "7\r\n9\r\n") << "the install leaves the user's folder alone";
    runUntil(prefix + "/bin/orvanel", env, [&] {
        return !QFileInfo::exists(user + "/enregistrement.encours") && holdsEverySetting(user);
    });
    EXPECT_EQ(BytesOf(user + "/backlash.ini"), "7\r\n9\r\n");
    EXPECT_EQ(BytesOf(user + "/notes.txt"), "M 13\r\n");
    EXPECT_EQ(BytesOf(user + "/vitessemanu.ini"), BytesOf(kSourceData + "/vitessemanu.ini"));
    EXPECT_EQ(BytesOf(user + "/config_equa.ini"), "400\r\n400\r\n144\r\n144\r\n") << "the cut-off save finished";
    EXPECT_FALSE(QFileInfo::exists(user + "/config_equa.ini.nouveau"));
    auto shippedNow = ContentsOf(shipped);
    for (auto it = shippedNow.begin(); it != shippedNow.end();)
        it = it.key().startsWith(QStringLiteral("data/")) ? shippedNow.erase(it) : std::next(it);
    EXPECT_EQ(shippedNow, asInstalled) << "the installed data is never written";
}

// The uninstall removes what the record lists and the folders of the
// program's own left empty; the user's folder, and whatever else the user
// put beside the installed files, stay.
TEST(Installed, TheUninstallRemovesWhatWasInstalledAndLeavesTheUsersFiles) {
    QTemporaryDir dir;
    const QString prefix = dir.path() + "/home/.local";
    Write(prefix + "/share/applications/autre.desktop", "[Desktop Entry]\n");
    const QStringList listed = install(prefix);
    ASSERT_FALSE(listed.isEmpty());
    const QString user = prefix + "/share/orvanel/data";
    Write(user + "/backlash.ini", "7\r\n9\r\n");
    Write(user + "/notes.txt", "M 13\r\n");

    QTemporaryDir records;
    const QString manifest = records.path() + "/install_manifest.txt";
    QFile::copy(QStringLiteral(ORVANEL_BUILD_DIR "/install_manifest_orvanel.txt"), manifest);
    const Ran r = run(QStringLiteral(ORVANEL_CMAKE),
                      {"-DMANIFEST=" + manifest, "-P", QStringLiteral(ORVANEL_SOURCE_DIR "/tools/uninstall.cmake")});
    EXPECT_EQ(r.exitCode, 0) << str(r.output);
    for (const QString& file : listed) EXPECT_FALSE(QFileInfo::exists(file)) << str(file);
    EXPECT_EQ(FilesBelow(dir.path()), (QStringList{prefix + "/share/applications/autre.desktop",
                                                   user + "/backlash.ini", user + "/notes.txt"}));
    EXPECT_FALSE(QFileInfo::exists(prefix + "/share/doc/orvanel")) << "an emptied folder of its own goes";
    EXPECT_FALSE(QFileInfo::exists(prefix + "/share/orvanel/img"));
    EXPECT_TRUE(QFileInfo(prefix + "/bin").isDir()) << "a folder shared with other programs stays";
    EXPECT_FALSE(QFileInfo::exists(manifest)) << "nothing left to uninstall";
}
