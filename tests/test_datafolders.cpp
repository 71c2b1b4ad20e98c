// The shipped files and the user's files in two folders, as an installed
// program has them: what is read from where, where saves go, what the start
// copies into the user's folder; and where a program finds both folders and
// its help.
#include "altaz/frmconfig.h"
#include "core/state.h"
#include "platform/datadir.h"
#include "platform/saveset.h"
#include "platform/seqfile.h"
#include "shell/Frmnotes.h"
#include "shell/buttonpictures.h"
#include "shell/frminterface.h"
#include "tests/fixture.h"
#include "tests/folders.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QTemporaryDir>

namespace {

using folders::BytesOf;
using folders::ContentsOf;
using folders::Write;

std::string str(const QString& s) { return s.toStdString(); }

// The shipped settings files' names.
QStringList shippedSettings() { return QDir(ShippedDataFolder()).entryList({"*.ini"}, QDir::Files, QDir::Name); }

}  // namespace

// The shipped files in a folder of their own, as the install lays them out,
// and the user's folder beside it, not made yet.
class TwoFolders : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(root_.isValid());
        shipped = root_.path() + "/share/orvanel";
        user = root_.path() + "/home/.local/share/orvanel/data";
        const QDir src(ShippedDataFolder());
        QDirIterator it(src.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            Write(shipped + u'/' + src.relativeFilePath(file), BytesOf(file));
        }
        datadir::SetFolders(user, shipped);
        asShipped = ContentsOf(shipped);
    }
    void Start() {
        frminterface().MDIForm_Load();
        frminterface().show();
    }

    QString root() const { return root_.path(); }

    QString shipped, user;
    QMap<QString, QByteArray> asShipped;

private:
    QTemporaryDir root_;
};

TEST_F(TwoFolders, EachFileIsReadFromTheUsersFolderFirstThenFromTheShippedOne) {
    Write(user + "/backlash.ini", "3\r\n4\r\n");
    Write(user + "/Notes.txt", "vu M 31\r\n");
    const struct {
        const char* programPath;
        QString read;  // where it is read
    } cases[] = {
        {"\\data\\backlash.ini", user + "/backlash.ini"},
        {"\\DATA\\NOTES.TXT", user + "/Notes.txt"},
        {"\\data\\messier.cat", shipped + "/messier.cat"},
        {"\\Data\\Vitessemanu.INI", shipped + "/vitessemanu.ini"},
        {"\\data\\IMG\\liste.txt", shipped + "/img/liste.txt"},
        // In neither folder: named where it belongs.
        {"\\data\\nouveau.ini", user + "/nouveau.ini"},
        {"\\data\\absent.cat", shipped + "/absent.cat"},
        {"\\data\\img\\absent.txt", shipped + "/img/absent.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.programPath);
        EXPECT_EQ(datadir::Path(QString::fromLatin1(c.programPath)), c.read);
        EXPECT_TRUE(datadir::SavePath(QString::fromLatin1(c.programPath)).startsWith(user + u'/'));
    }
}

TEST_F(TwoFolders, SavesGoToTheUsersFolderAndNeverToTheShippedOne) {
    Write(user + "/backlash.ini", "3\r\n4\r\n");
    SeqWriter speeds, backlash;
    speeds.Print(1.0);
    backlash.Print(5.0);
    // vitessemanu.ini is only in the shipped folder: its save makes the user's own.
    ASSERT_TRUE(SaveSet().Add("\\data\\vitessemanu.ini", speeds).Add("\\data\\backlash.ini", backlash).Save());
    EXPECT_EQ(BytesOf(user + "/vitessemanu.ini"), "1\r\n");
    EXPECT_EQ(BytesOf(user + "/backlash.ini"), "5\r\n");
    EXPECT_EQ(ContentsOf(shipped), asShipped);
    EXPECT_TRUE(messages.isEmpty()) << str(messages.join('\n'));
}

// The first start makes the user's folder and copies every shipped settings
// file into it; a later start copies only what is missing, never over the
// user's own, after finishing a save cut off there; every save of the
// windows then goes there and the shipped files stay as they were.
TEST_F(TwoFolders, TheStartFillsTheUsersFolderAndTheWindowsSaveThere) {
    Start();
    QStringList copied = QDir(user).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(copied, shippedSettings()) << "settings only: no catalogue, picture or notes";
    for (const QString& name : copied) EXPECT_EQ(BytesOf(user + u'/' + name), asShipped[name]) << str(name);
    EXPECT_FALSE(ButtonPictures[7].isNull()) << "pictures read from the shipped folder";
    EXPECT_TRUE(messages.isEmpty()) << str(messages.join('\n'));
    forms::UnloadAll();

    // The user's own settings, a file gone, a save cut off after its record.
    Write(user + "/backlash.ini", "3\r\n4\r\n");
    QFile::remove(user + "/vitessemanu.ini");
    Write(user + "/config_altaz.ini.nouveau", "-71\r\n30\r\n-33\r\n-54\r\n400\r\n400\r\n50000\r\n60000\r\n");
    Write(user + "/enregistrement.encours", "Orvanel : enregistrement en cours\r\nconfig_altaz.ini\r\nfin\r\n");
    Start();
    EXPECT_EQ(BytesOf(user + "/backlash.ini"), "3\r\n4\r\n") << "never replaced";
    EXPECT_EQ(shared.site.BacklashAz, 3);
    EXPECT_EQ(BytesOf(user + "/vitessemanu.ini"), asShipped["vitessemanu.ini"]) << "a missing one copied again";
    EXPECT_EQ(BytesOf(user + "/config_altaz.ini"), "-71\r\n30\r\n-33\r\n-54\r\n400\r\n400\r\n50000\r\n60000\r\n")
        << "the save cut off is finished in the user's folder";
    EXPECT_FALSE(QFileInfo::exists(user + "/enregistrement.encours"));
    EXPECT_FALSE(QFileInfo::exists(user + "/config_altaz.ini.nouveau"));

    // The notes and the set-up window's "Ok".
    Frmnotes& notes = frmnotes();
    notes.txtnotes->setPlainText("M 13 superbe");
    notes.Picturesave_MouseDown(Qt::LeftButton);
    EXPECT_EQ(BytesOf(user + "/notes.txt"), "M 13 superbe\r\n");
    frminterface().barchoix_ButtonClick(2);  // "Mode altazimutal"
    Frmconfig& config = frmconfig();
    config.Frame3->txtbacklash_az->setText("12");
    config.cmdvalid_Click();
    EXPECT_TRUE(BytesOf(user + "/backlash.ini").startsWith("12\r\n"));
    EXPECT_TRUE(messages.isEmpty()) << str(messages.join('\n'));
    EXPECT_EQ(ContentsOf(shipped), asShipped) << "the shipped files are never written";
}

TEST_F(TwoFolders, AUsersFolderThatCannotBeMadeIsToldAndTheShippedSettingsAreUsed) {
    Write(root() + "/home/.local", "a file where the folder should be");
    Start();
    ASSERT_EQ(messages.size(), 1) << str(messages.join('\n'));
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(user))) << str(messages[0]);
    EXPECT_EQ(shared.site.BacklashAz, 0) << "read from the shipped backlash.ini";
    EXPECT_FALSE(ButtonPictures[7].isNull());
    EXPECT_EQ(ContentsOf(shipped), asShipped);
}

// ---- Where a program finds its folders and its help -----------------------

namespace {

// A program's folder and the folders around it, made in a temporary folder.
struct Tree {
    QTemporaryDir root;
    QString make(const QString& relative) {
        const QString path = QDir::cleanPath(root.path() + u'/' + relative);
        QDir().mkpath(path);
        return path;
    }
    QString path(const QString& relative) const { return QDir::cleanPath(root.path() + u'/' + relative); }
};

}  // namespace

TEST(DataLayout, TheBuildTreeKeepsOneFolderAnInstalledProgramTwo) {
    Tree build;
    const QString buildBin = build.make("build");
    build.make("build/data");

    Tree installed;
    const QString bin = installed.make("usr/bin");
    const QString shipped = installed.make(QStringLiteral("usr/bin/" ORVANEL_INSTALLED_DATA));

    const QString home = QStringLiteral("/home/astronome");
    const struct {
        const char* what;
        QString programDir, chosen, dataHome;
        bool installed;
        QString shipped, user;
    } cases[] = {
        {"build tree", buildBin, {}, "/xdg", false, buildBin + "/data", buildBin + "/data"},
        {"build tree, --data", buildBin, installed.path("mine"), {}, false, buildBin + "/data",
         installed.path("mine")},
        {"installed", bin, {}, {}, true, shipped, home + "/.local/share/orvanel/data"},
        {"installed, XDG_DATA_HOME", bin, {}, "/xdg", true, shipped, "/xdg/orvanel/data"},
        {"installed, a relative XDG_DATA_HOME is ignored", bin, {}, "xdg", true, shipped,
         home + "/.local/share/orvanel/data"},
        {"installed, --data", bin, installed.path("mine/"), "/xdg", true, shipped, installed.path("mine")},
        {"neither: data/ beside, as always", installed.make("opt"), {}, {}, false, installed.path("opt/data"),
         installed.path("opt/data")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const datadir::Layout l = datadir::Locate(c.programDir, c.chosen, c.dataHome, home);
        EXPECT_EQ(l.installed, c.installed);
        EXPECT_EQ(l.shipped, c.shipped);
        EXPECT_EQ(l.user, c.user);
    }
}

TEST(DataLayout, TheHelpIsTheInstalledReadmeOrTheOneBesideTheSources) {
    const QString sources = QStringLiteral(ORVANEL_SOURCE_DIR "/README.md");
    Tree build;
    build.make("build/data");
    EXPECT_EQ(datadir::Readme(build.path("build")), sources);

    Tree installed;
    const QString bin = installed.make("usr/bin");
    installed.make(QStringLiteral("usr/bin/" ORVANEL_INSTALLED_DATA));
    EXPECT_EQ(datadir::Readme(bin), sources) << "no installed copy: the sources' one, which is there";
    const QString doc = installed.make(QStringLiteral("usr/bin/" ORVANEL_INSTALLED_DOC)) + "/README.md";
    Write(doc, "# Orvanel\n");
    EXPECT_EQ(datadir::Readme(bin), doc);
}
