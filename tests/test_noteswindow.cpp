#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/widgets.h"
#include "shell/Frmnotes.h"
#include "shell/buttonpictures.h"
#include "shell/frminterface.h"
#include "tests/started.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <functional>
#include <sys/stat.h>

class NotesWindow : public StartedProgramTest {
protected:
    // Presses and releases the save picture with a mouse button.
    static void PressSave(Frmnotes& n, Qt::MouseButton button) {
        QTest::mousePress(n.Picturesave, button);
        EXPECT_TRUE(n.Picturesave->Shows(ButtonPictures[1])) << "pressed";
        QTest::mouseRelease(n.Picturesave, button);
        EXPECT_TRUE(n.Picturesave->Shows(ButtonPictures[0])) << "released";
    }
};

TEST_F(NotesWindow, OpensOnTheNotesAtItsFixedSize) {
    WriteData("notes.txt", QByteArray("a\r\nb\r\nc\r\n"));
    frminterface().Observations_Click();
    Frmnotes& n = frmnotes();
    EXPECT_TRUE(n.Shown());
    EXPECT_EQ(n.windowTitle(), QStringLiteral("Notes d'observation"));
    EXPECT_EQ(n.txtnotes->toPlainText(), "a\nb\nc") << "three lines";
    EXPECT_EQ(n.NotesText(), "a\r\nb\r\nc");
    EXPECT_TRUE(n.Picturesave->Shows(ButtonPictures[0]));
    EXPECT_EQ(n.effacer->text(), "&Effacer");
    EXPECT_EQ(n.cmdnotesquit->text(), "&Quitter");
    // The user drags the window's frame.
    QWidget* frame = n.parentWidget();
    ASSERT_NE(frame, nullptr);
    for (QSize s : {QSize(200, 100), QSize(900, 900)}) {
        frame->resize(s);
        EXPECT_EQ(n.TwipsWidth(), 7485);
        EXPECT_EQ(n.TwipsHeight(), 6705);
    }
    // The menu item shows the open window again without reading the file.
    n.txtnotes->setPlainText("en cours");
    frminterface().Observations_Click();
    EXPECT_EQ(n.txtnotes->toPlainText(), "en cours");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(NotesWindow, SavingWritesTheTextWithOneLineBreakAndReadsBackTheSame) {
    struct Case {
        const char* typed;  // as the box holds it
        const char* file;
    } cases[] = {
        {"a\nb\nc", "a\r\nb\r\nc\r\n"},
        {"ends in a break\n", "ends in a break\r\n\r\n"},
        {"\n\nafter two blank lines", "\r\n\r\nafter two blank lines\r\n"},
        {"é, ü, °", "é, ü, °\r\n"},
        // No-break spaces, as French typing puts before ":" and inside numbers.
        {"Jupiter\u00a0: 4\u202f500 m", "Jupiter\u00a0: 4\u202f500 m\r\n"},
    };
    for (const auto& c : cases) {
        Frmnotes& n = frmnotes();
        n.Show();
        n.txtnotes->setPlainText(QString::fromUtf8(c.typed));
        PressSave(n, Qt::LeftButton);
        EXPECT_EQ(ReadData("notes.txt"), QString::fromUtf8(c.file)) << c.typed;
        n.cmdnotesquit->click();
        EXPECT_EQ(frmnotes().NotesText(), QString::fromUtf8(c.typed).replace(u'\n', QStringLiteral("\r\n")))
            << "reloaded";
        forms::Unload<Frmnotes>();
    }
}

TEST_F(NotesWindow, EffacerThenSaveLeavesASingleLineBreak) {
    WriteData("notes.txt", QByteArray("M 31, belle nuit\r\n"));
    Frmnotes& n = frmnotes();
    n.Show();
    n.effacer->click();
    EXPECT_TRUE(n.txtnotes->toPlainText().isEmpty());
    EXPECT_EQ(ReadData("notes.txt"), "M 31, belle nuit\r\n") << "the file waits for the save";
    PressSave(n, Qt::LeftButton);
    EXPECT_EQ(ReadData("notes.txt"), "\r\n");
}

TEST_F(NotesWindow, AnyMouseButtonSaves) {
    for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
        Frmnotes& n = frmnotes();
        n.Show();
        n.txtnotes->setPlainText(QStringLiteral("button %1").arg(int(b)));
        PressSave(n, b);
        EXPECT_EQ(ReadData("notes.txt"), QStringLiteral("button %1\r\n").arg(int(b)));
    }
}

TEST_F(NotesWindow, QuitDiscardsUnsavedEdits) {
    WriteData("notes.txt", QByteArray("gardé\r\n"));
    Frmnotes& n = frmnotes();
    n.Show();
    n.txtnotes->setPlainText("perdu");
    n.cmdnotesquit->click();
    EXPECT_FALSE(forms::Loaded<Frmnotes>());
    EXPECT_EQ(ReadData("notes.txt"), "gardé\r\n");
    EXPECT_EQ(frmnotes().txtnotes->toPlainText(), "gardé");
}

TEST_F(NotesWindow, NoNotesFileIsAnEmptyPageAndTheFirstSaveCreatesIt) {
    for (bool emptyFile : {false, true}) {
        QDir(datadir::Folder()).remove("notes.txt");
        if (emptyFile) WriteData("notes.txt", QByteArray());
        Frmnotes& n = frmnotes();
        n.Show();
        EXPECT_TRUE(n.txtnotes->toPlainText().isEmpty());
        EXPECT_TRUE(messages.isEmpty());
        n.txtnotes->setPlainText("Première nuit");
        PressSave(n, Qt::LeftButton);
        EXPECT_EQ(ReadData("notes.txt"), QStringLiteral("Première nuit\r\n"));
        forms::Unload<Frmnotes>();
    }
}

TEST_F(NotesWindow, AFailedSaveIsToldAndKeepsTheText) {
    Frmnotes& n = frmnotes();
    n.Show();
    n.txtnotes->setPlainText("ne pas perdre");
    // A folder in the file's place: nothing can be written there.
    QDir(datadir::Folder()).mkdir("notes.txt");
    PressSave(n, Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("notes.txt")) << messages[0].toStdString();
    EXPECT_EQ(n.txtnotes->toPlainText(), "ne pas perdre");
}

TEST_F(NotesWindow, APipeOrADeviceInPlaceOfTheNotesIsNamedAndAPlainFileSavedInItsPlace) {
    const QString path = datadir::Folder() + QStringLiteral("/notes.txt");
    const struct {
        const char* what;
        std::function<bool()> plant;
    } cases[] = {
        {"a pipe", [&] { return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0; }},
        {"a link to /dev/zero", [&] { return QFile::link(QStringLiteral("/dev/zero"), path); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(path);
        ASSERT_TRUE(c.plant());
        filereport::Reset();
        messages.clear();
        Frmnotes& n = frmnotes();
        n.Show();
        EXPECT_TRUE(n.txtnotes->toPlainText().isEmpty());
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Fichier ignoré : %1\nCe n'est pas un fichier ordinaire")
                                               .arg(QDir::toNativeSeparators(path))))
            << messages[0].toStdString();
        n.txtnotes->setPlainText("Nuit claire");
        PressSave(n, Qt::LeftButton);
        EXPECT_TRUE(QFileInfo(path).isFile() && !QFileInfo(path).isSymLink());
        EXPECT_EQ(ReadData("notes.txt"), QStringLiteral("Nuit claire\r\n"));
        forms::Unload<Frmnotes>();
    }
}
