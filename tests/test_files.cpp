#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/seqfile.h"
#include "platform/textfile.h"
#include "tests/fixture.h"

#include <QDir>
#include <QFile>

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
    ASSERT_TRUE(textfile::WriteAtomic(path, QStringLiteral("Nébuleuse très belle")));
    EXPECT_EQ(ReadData("notes.txt"), QStringLiteral("Nébuleuse très belle"));
    ASSERT_TRUE(textfile::WriteAtomic(path, QStringLiteral("court")));
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
