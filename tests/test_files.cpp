#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/saveset.h"
#include "platform/seqfile.h"
#include "platform/textfile.h"
#include "tests/fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {
QStringList allFields(const QString& text) {
    SeqReader r(text);
    QStringList out;
    while (!r.AtEnd()) out << r.Field();
    return out;
}
}  // namespace

TEST(SequentialFile, FieldsAcrossCommasQuotesAndLineEnds) {
    struct Case {
        const char* text;
        QStringList fields;
    } cases[] = {
        {"1\r\n2\r\n3\r\n", {"1", "2", "3"}},
        {"1\n2\n3", {"1", "2", "3"}},
        {"\"M 31\",\"GL\",442,24849\r\n", {"M 31", "GL", "442", "24849"}},
        {"\"Alpha, Beta\",\"ST\",1,2\r\n", {"Alpha, Beta", "ST", "1", "2"}},
        {"\"A\",\"GL\"\r\n10,20\r\n", {"A", "GL", "10", "20"}},
        {"a,\r\nb", {"a", "", "b"}},
        {"   12  ,  -5\r\n", {"12", "-5"}},
        {"", {}},
        {"\r\n\r\n", {}},
        {"7\r\n\r\n", {"7"}},
        {"a,,b", {"a", "", "b"}},
        {"\"x\" junk,y", {"x", "y"}},
    };
    for (const auto& c : cases) EXPECT_EQ(allFields(QString::fromUtf8(c.text)), c.fields) << c.text;
}

TEST(SequentialFile, WholeLines) {
    SeqReader r(QStringLiteral("first, with comma\r\nsecond\nthird"));
    EXPECT_EQ(r.Line(), "first, with comma");
    EXPECT_EQ(r.Line(), "second");
    EXPECT_EQ(r.Line(), "third");
    EXPECT_TRUE(r.AtEnd());
}

TEST(TextFile, Utf8WhenValidElseWindows1252) {
    EXPECT_EQ(textfile::Decode(QByteArray("Sid\xC3\xA9ral")), QStringLiteral("Sidéral"));
    EXPECT_EQ(textfile::Decode(QByteArray("Sid\xE9ral")), QStringLiteral("Sidéral"));
    EXPECT_EQ(textfile::Decode(QByteArray("\x80 \x9C")), QString::fromUtf8("€ œ"));
    EXPECT_EQ(textfile::Decode(QByteArray("\xEF\xBB\xBFplain")), QStringLiteral("plain"));
}

class DataFiles : public OrvanelTest {};

TEST_F(DataFiles, EverySpellingOfTheDataFolderNamesOneFolder) {
    WriteData("backlash.ini", QByteArray("1\r\n2\r\n"));
    WriteData("img/liste.txt", QByteArray("a\r\n"));
    for (const char* p : {"\\data\\backlash.ini", "\\Data\\backlash.ini", "\\DATA\\backlash.ini", "\\data\\BACKLASH.INI"})
        EXPECT_TRUE(QFile::exists(datadir::Path(QString::fromLatin1(p)))) << p;
    EXPECT_TRUE(QFile::exists(datadir::Path(QStringLiteral("\\data\\IMG\\liste.txt"))));
    EXPECT_EQ(datadir::Path(QStringLiteral("\\data\\nouveau.ini")), datadir::Folder() + "/nouveau.ini");
}

TEST_F(DataFiles, WritesAreUtf8AndReplaceTheFileWhole) {
    const QString path = datadir::Path(QStringLiteral("\\data\\notes.txt"));
    ASSERT_TRUE(textfile::WriteAllAtomic(datadir::Folder(), {{path, QStringLiteral("Nébuleuse très belle")}}).ok);
    EXPECT_EQ(ReadData("notes.txt"), QStringLiteral("Nébuleuse très belle"));
    ASSERT_TRUE(textfile::WriteAllAtomic(datadir::Folder(), {{path, QStringLiteral("court")}}).ok);
    EXPECT_EQ(ReadData("notes.txt"), "court");
    EXPECT_EQ(QDir(datadir::Folder()).entryList(QDir::Files), QStringList{"notes.txt"});
}

TEST_F(DataFiles, AFailedSaveIsToldAndReportedAsFailed) {
    // A plain file where the folder should be: no one, not even root, can save there.
    WriteData("blocker", QByteArray("x"));
    SeqWriter w;
    w.Print(1.0);
    EXPECT_FALSE(filereport::Save(QStringLiteral("\\data\\blocker\\backlash.ini"), w));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("backlash.ini"));
    EXPECT_EQ(ReadData("blocker"), "x");
}

TEST_F(DataFiles, AProblemIsToldOnceUntilTheFileReadsWell) {
    const QString p = QStringLiteral("\\data\\inversion.ini");
    filereport::Missing(p);
    filereport::Missing(p);
    EXPECT_EQ(messages.size(), 1);
    filereport::Readable(p);
    filereport::Missing(p);
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].contains("inversion.ini"));
}

class SaveSets : public OrvanelTest {
protected:
    static SeqWriter Lines(std::initializer_list<const char*> lines) {
        SeqWriter w;
        for (const char* l : lines) w.Print(QString::fromLatin1(l));
        return w;
    }
    QStringList Files() const { return QDir(datadir::Folder()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }
};

TEST_F(SaveSets, EveryFileOfTheSetIsReplacedAndNothingElseIsLeft) {
    WriteData("a.ini", QByteArray("old a\r\n"));
    WriteData("b.ini", QByteArray("old b\r\n"));
    SaveSet set;
    set.Add("\\data\\a.ini", Lines({"1", "2"})).Add("\\DATA\\B.INI", Lines({"Vrai"})).Add("\\data\\c.ini", Lines({"3"}));
    EXPECT_TRUE(set.Save());
    EXPECT_EQ(ReadData("a.ini"), "1\r\n2\r\n");
    EXPECT_EQ(ReadData("b.ini"), "Vrai\r\n") << "the file is found whatever the case of its name";
    EXPECT_EQ(ReadData("c.ini"), "3\r\n");
    EXPECT_EQ(Files(), (QStringList{"a.ini", "b.ini", "c.ini"}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SaveSets, APipeOrADeviceInPlaceOfAFileIsReplacedWithoutWaitingForIt) {
    // What a file held is kept to be given back should the save fail: a
    // pipe is not waited for, nor a device read.
    const QString data = datadir::Folder();
    ASSERT_EQ(::mkfifo(QFile::encodeName(data + "/a.ini").constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), data + "/b.ini"));
    SaveSet set;
    set.Add("\\data\\a.ini", Lines({"1"})).Add("\\data\\b.ini", Lines({"2"}));
    EXPECT_TRUE(set.Save());
    for (const char* f : {"a.ini", "b.ini"}) {
        const QFileInfo info(data + u'/' + QString::fromLatin1(f));
        EXPECT_TRUE(info.isFile() && !info.isSymLink()) << f;
    }
    EXPECT_EQ(ReadData("a.ini"), "1\r\n");
    EXPECT_EQ(ReadData("b.ini"), "2\r\n");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SaveSets, AFileThatCannotBeWrittenOrRenamedLeavesEveryOldFile) {
    // The new files are all written before any is renamed: a file that
    // cannot be written changes nothing; one that cannot be renamed gives
    // the files renamed before it their old content back.
    struct Case {
        const char* blocked;  // what stands in the way of the second file
        bool folder;          // a folder in the file's place (its rename fails), else a file where its folder should be
    } cases[] = {{"b.ini", true}, {"blocker", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.blocked);
        QDir data(datadir::Folder());
        for (const QString& f : Files()) data.remove(f) || data.rmdir(f);
        WriteData("a.ini", QByteArray("old a\r\n"));
        WriteData("c.ini", QByteArray("old c\r\n"));
        if (c.folder) QDir(datadir::Folder()).mkdir(c.blocked);
        else WriteData(c.blocked, QByteArray("x"));
        const QString second = c.folder ? QStringLiteral("\\data\\b.ini") : QStringLiteral("\\data\\blocker\\b.ini");
        SaveSet set;
        set.Add("\\data\\a.ini", Lines({"new a"}))
            .Add(second, Lines({"new b"}))
            .Add("\\data\\c.ini", Lines({"new c"}))
            .Add("\\data\\d.ini", Lines({"new d"}));
        messages.clear();
        EXPECT_FALSE(set.Save());
        EXPECT_EQ(ReadData("a.ini"), "old a\r\n");
        EXPECT_EQ(ReadData("c.ini"), "old c\r\n");
        EXPECT_FALSE(DataExists("d.ini")) << "a file that was not there is not left either";
        EXPECT_EQ(Files(), (QStringList{"a.ini", c.blocked, "c.ini"})) << "no new file is left beside the old ones";
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains("b.ini")) << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(QStringLiteral("Aucun fichier n'a été modifié"))) << messages[0].toStdString();
    }
}

TEST_F(SaveSets, ALinkLeftAtANewFilesNameIsNeverWrittenThrough) {
    // A link planted where a save makes its new file, or its record's, to a
    // file outside the data folder or to a name where nothing is yet.
    QTemporaryDir outside;
    ASSERT_TRUE(outside.isValid());
    const QString target = outside.path() + "/target.ini";
    for (const char* planted : {"a.ini.nouveau", "b.ini.nouveau", "enregistrement.encours.nouveau"}) {
        for (const bool targetExists : {true, false}) {
            SCOPED_TRACE(std::string(planted) + (targetExists ? ", to a file" : ", to nothing"));
            QDir data(datadir::Folder());
            for (const QString& f : Files()) data.remove(f);
            QFile::remove(target);
            if (targetExists) {
                QFile t(target);
                ASSERT_TRUE(t.open(QIODevice::WriteOnly));
                t.write("kept\r\n");
            }
            WriteData("a.ini", QByteArray("old a\r\n"));
            ASSERT_TRUE(QFile::link(target, datadir::Folder() + u'/' + QString::fromLatin1(planted)));
            SaveSet set;
            set.Add("\\data\\a.ini", Lines({"new a"})).Add("\\data\\b.ini", Lines({"new b"}));
            EXPECT_TRUE(set.Save());
            EXPECT_EQ(Files(), (QStringList{"a.ini", "b.ini"}));
            for (const char* f : {"a.ini", "b.ini"})
                EXPECT_FALSE(QFileInfo(datadir::Folder() + u'/' + QString::fromLatin1(f)).isSymLink()) << f;
            EXPECT_EQ(ReadData("a.ini"), "new a\r\n");
            EXPECT_EQ(ReadData("b.ini"), "new b\r\n");
            if (targetExists) {
                QFile t(target);
                ASSERT_TRUE(t.open(QIODevice::ReadOnly));
                EXPECT_EQ(t.readAll(), "kept\r\n");
            } else {
                EXPECT_FALSE(QFileInfo::exists(target)) << "nothing is made outside the data folder";
            }
            EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        }
    }
}

TEST_F(SaveSets, ASaveOverAFileThatIsNoPlainFileNeverWaitsOnIt) {
    // A FIFO where a settings file should be: reading it would wait for a
    // writer for ever. The save replaces it; when the save then fails, the
    // FIFO's content cannot be given back, and the message says so.
    for (const bool secondBlocked : {false, true}) {
        SCOPED_TRACE(secondBlocked ? "the save fails after it" : "the save goes through");
        QDir data(datadir::Folder());
        for (const QString& f : Files()) data.remove(f) || data.rmdir(f);
        ASSERT_EQ(::mkfifo(QFile::encodeName(datadir::Folder() + "/a.ini").constData(), 0644), 0);
        if (secondBlocked) data.mkdir("b.ini");
        SaveSet set;
        set.Add("\\data\\a.ini", Lines({"new a"})).Add("\\data\\b.ini", Lines({"new b"}));
        messages.clear();
        EXPECT_EQ(set.Save(), !secondBlocked);
        EXPECT_TRUE(QFileInfo(datadir::Folder() + "/a.ini").isFile());
        EXPECT_EQ(ReadData("a.ini"), "new a\r\n");
        if (!secondBlocked) {
            EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
            continue;
        }
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains("b.ini")) << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(QStringLiteral("n'ont pas tous pu être remis en place")))
            << messages[0].toStdString();
    }
}
