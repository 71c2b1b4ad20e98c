// Saves cut off by a kill or a power cut: what the next start finds and does,
// also when it is another program's start, during a save.
#include "core/state.h"
#include "platform/datadir.h"
#include "platform/saveset.h"
#include "platform/textfile.h"
#include "shell/frminterface.h"
#include "tests/fixture.h"
#include "tests/savekill.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

namespace {

const QString kRecord = QString(textfile::kSetRecord);

QString recordOf(const QStringList& names) {
    return QStringLiteral("Orvanel : enregistrement en cours\r\n") + names.join(QStringLiteral("\r\n")) +
           QStringLiteral("\r\nfin\r\n");
}

}  // namespace

class InterruptedSaves : public OrvanelTest {
protected:
    // Every entry of the data folder, below it too, as "name" or "img/name".
    QStringList Entries() const {
        QStringList out;
        QDirIterator it(datadir::Folder(), QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) out << QDir(datadir::Folder()).relativeFilePath(it.next());
        out.sort();
        return out;
    }
    // A set of three files saved as "old", with the new files of a save
    // written beside them.
    void OldFilesAndNewBeside() {
        for (const char* f : {"a.ini", "b.ini", "c.ini"}) {
            WriteData(QString::fromLatin1(f), QByteArray("old\r\n"));
            WriteData(QString::fromLatin1(f) + ".nouveau", QByteArray("new\r\n"));
        }
    }
};

TEST_F(InterruptedSaves, ASaveWhoseRecordIsInPlaceIsFinished) {
    // Cut off after its record, the save may have renamed some files already.
    struct Case {
        const char* name;
        QStringList renamedBefore;
    } cases[] = {{"before any rename", {}},
                 {"after one rename", {"a.ini"}},
                 {"after every rename", {"a.ini", "b.ini", "c.ini"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OldFilesAndNewBeside();
        for (const QString& f : c.renamedBefore) {
            QFile::remove(datadir::Folder() + u'/' + f);
            QFile::rename(datadir::Folder() + u'/' + f + ".nouveau", datadir::Folder() + u'/' + f);
        }
        WriteData(kRecord, recordOf({"a.ini", "b.ini", "c.ini"}));
        SaveSet::FinishInterrupted();
        for (const char* f : {"a.ini", "b.ini", "c.ini"}) EXPECT_EQ(ReadData(QString::fromLatin1(f)), "new\r\n") << f;
        EXPECT_EQ(Entries(), (QStringList{"a.ini", "b.ini", "c.ini"})) << "neither the record nor a new file is left";
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    }
}

TEST_F(InterruptedSaves, NewFilesWithoutARecordAreRemovedAndTheOldOnesStand) {
    // A save cut off before its record was in place, a single file's save
    // cut off before its rename, a record cut off while it was written. A
    // file of that name in a folder below, or one no save makes (the data
    // folder may be one the user chose), is not the program's: it stays.
    OldFilesAndNewBeside();
    WriteData("notes.txt", QByteArray("old notes"));
    WriteData("notes.txt.nouveau", QByteArray("new no"));
    WriteData(kRecord + ".nouveau", QByteArray("Orvanel : enregistrement en cours\r\na.ini\r\n"));
    WriteData("img/liste.txt", QByteArray("a\r\n"));
    WriteData("img/liste.txt.nouveau", QByteArray("b\r\n"));
    WriteData("rapport.nouveau", QByteArray("mine\r\n"));
    SaveSet::FinishInterrupted();
    for (const char* f : {"a.ini", "b.ini", "c.ini"}) EXPECT_EQ(ReadData(QString::fromLatin1(f)), "old\r\n") << f;
    EXPECT_EQ(ReadData("notes.txt"), "old notes");
    EXPECT_EQ(Entries(), (QStringList{"a.ini", "b.ini", "c.ini", "img", "img/liste.txt", "img/liste.txt.nouveau",
                                      "notes.txt", "rapport.nouveau"}));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(InterruptedSaves, TheSweepOfNewFilesStaysInsideTheDataFolder) {
    // A folder of the data folder that is a link to another folder, and a
    // new file that is a link to a file elsewhere: neither is followed.
    QTemporaryDir outside;
    ASSERT_TRUE(outside.isValid());
    for (const char* f : {"victim.ini.nouveau", "target.ini"}) {
        QFile out(outside.path() + u'/' + QString::fromLatin1(f));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("kept\r\n");
    }
    ASSERT_TRUE(QFile::link(outside.path(), datadir::Folder() + "/link"));
    ASSERT_TRUE(QFile::link(outside.path() + "/target.ini", datadir::Folder() + "/a.ini.nouveau"));
    WriteData("a.ini", QByteArray("old\r\n"));
    SaveSet::FinishInterrupted();
    EXPECT_EQ(Entries(), (QStringList{"a.ini", "link"})) << "the linked new file is gone, the linked folder stays";
    EXPECT_EQ(ReadData("a.ini"), "old\r\n");
    EXPECT_TRUE(QFile::exists(outside.path() + "/victim.ini.nouveau")) << "nothing removed through the link";
    QFile target(outside.path() + "/target.ini");
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), "kept\r\n");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(InterruptedSaves, ARecordThatCannotBeTrustedIsToldAndNothingIsTouched) {
    // Outside the data folder: a file beside it that a record must never reach.
    QTemporaryDir outside;
    ASSERT_TRUE(outside.isValid());
    QFile out(outside.path() + "/victim.ini");
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("kept\r\n");
    out.close();
    QFile(outside.path() + "/victim.ini.nouveau").open(QIODevice::WriteOnly);
    const QString outsideRel = QDir(datadir::Folder()).relativeFilePath(outside.path() + "/victim.ini");
    struct Case {
        QByteArray record;
        const char* told;  // what the message says is wrong
    } cases[] = {
        {"a.ini\r\nfin\r\n", "première ligne"},
        {"", "première ligne"},
        {"Orvanel : enregistrement en cours\r\na.ini\r\nb.ini\r\n", "incomplet"},
        {"Orvanel : enregistrement en cours\r\nfin\r\n", "aucun fichier"},
        {"Orvanel : enregistrement en cours\r\na.ini\r\n" + outsideRel.toUtf8() + "\r\nfin\r\n", "ligne 3"},
        {"Orvanel : enregistrement en cours\r\n" + outside.path().toUtf8() + "/victim.ini\r\nfin\r\n", "ligne 2"},
        {"Orvanel : enregistrement en cours\r\nlink/victim.ini\r\nfin\r\n", "ligne 2"},
        {"Orvanel : enregistrement en cours\r\n..\\victim.ini\r\nfin\r\n", "ligne 2"},
        {"Orvanel : enregistrement en cours\r\n\r\na.ini\r\nfin\r\n", "ligne 2"},
        {"Orvanel : enregistrement en cours\r\na.ini.nouveau\r\nfin\r\n", "fichier de réglages"},
        {"Orvanel : enregistrement en cours\r\nenregistrement.encours\r\nfin\r\n", "fichier de réglages"},
    };
    ASSERT_TRUE(QFile::link(outside.path(), datadir::Folder() + "/link"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record.toStdString());
        OldFilesAndNewBeside();
        WriteData(kRecord, c.record);
        const QStringList before = Entries();
        messages.clear();
        SaveSet::FinishInterrupted();
        EXPECT_EQ(Entries(), before) << "the record and every new file are kept for the user to look at";
        for (const char* f : {"a.ini", "b.ini", "c.ini"}) EXPECT_EQ(ReadData(QString::fromLatin1(f)), "old\r\n") << f;
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(datadir::Folder() + u'/' + kRecord)))
            << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(QString::fromUtf8(c.told), Qt::CaseInsensitive)) << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(QStringLiteral("Aucun fichier n'a été modifié")))
            << messages[0].toStdString();
    }
    QFile victim(outside.path() + "/victim.ini");
    ASSERT_TRUE(victim.open(QIODevice::ReadOnly));
    EXPECT_EQ(victim.readAll(), "kept\r\n");
    EXPECT_TRUE(QFile::exists(outside.path() + "/victim.ini.nouveau"));

    // Nor is a record that is no plain file followed.
    QDir(datadir::Folder()).remove(kRecord);
    ASSERT_TRUE(QFile::link(outside.path() + "/victim.ini", datadir::Folder() + u'/' + kRecord));
    messages.clear();
    SaveSet::FinishInterrupted();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("fichier ordinaire"))) << messages[0].toStdString();
}

TEST_F(InterruptedSaves, AFileThatCannotBeFinishedIsToldAndKeepsItsOldContent) {
    // A folder stands where b.ini's new file should go.
    OldFilesAndNewBeside();
    QFile::remove(datadir::Folder() + "/b.ini");
    ASSERT_TRUE(QDir(datadir::Folder()).mkdir("b.ini"));
    WriteData(kRecord, recordOf({"a.ini", "b.ini", "c.ini"}));
    SaveSet::FinishInterrupted();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(datadir::Folder() + "/b.ini")))
        << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("ancien contenu"))) << messages[0].toStdString();
    EXPECT_EQ(ReadData("a.ini"), "new\r\n");
    EXPECT_EQ(ReadData("c.ini"), "new\r\n");
    EXPECT_EQ(Entries(), (QStringList{"a.ini", "b.ini", "c.ini"})) << "the record and the new file are gone";
    messages.clear();
    SaveSet::FinishInterrupted();
    EXPECT_TRUE(messages.isEmpty()) << "told once: the next start finds nothing left";
}

class InterruptedSaveAtStart : public WindowTest {};

TEST_F(InterruptedSaveAtStart, TheStartFinishesTheSaveBeforeReadingTheBacklash) {
    UseShippedData();
    WriteData("backlash.ini", QByteArray("1\r\n2\r\n"));
    WriteData("backlash.ini.nouveau", QByteArray("15\r\n6\r\n"));
    WriteData("vitessemanu.ini.nouveau", QByteArray("1\r\n"));
    WriteData(kRecord, recordOf({"backlash.ini"}));
    frminterface().MDIForm_Load();
    EXPECT_EQ(shared.site.BacklashAz, 15);
    EXPECT_EQ(shared.site.BacklashAlt, 6);
    EXPECT_FALSE(DataExists(kRecord));
    EXPECT_FALSE(DataExists("backlash.ini.nouveau"));
    EXPECT_FALSE(DataExists("vitessemanu.ini.nouveau"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// A child process started as the program starts saves one window's files in
// a loop and is killed at random moments; after each kill the start-up's
// recovery leaves the files of one save and nothing else.
class KilledSaves : public InterruptedSaves {
protected:
    struct Save {
        const char* mode;                // the child's save
        QStringList files;               // the files it writes
        QStringList (*filesOf)(int);     // their texts for save s
        int (*saveOf)(const QString&);   // the save number the first file holds
    };

    void KillWhileSaving(const Save& save, int kills, unsigned seed) {
        UseShippedData();
        int s = savekill::kLastSave;
        for (int i = 0; i < save.files.size(); ++i) WriteData(save.files[i], save.filesOf(s)[i]);
        const QStringList shipped = Entries();
        std::mt19937 random(seed);
        int cutOff = 0;    // kills that left a save to finish or undo
        int committed = 0; // of them, those whose record was in place
        for (int k = 0; k < kills; ++k) {
            SCOPED_TRACE(QStringLiteral("kill %1").arg(k + 1).toStdString());
            const int first = savekill::After((s + 1000 * (k + 1)) % savekill::kLastSave);
            QProcess child;
            child.setProcessChannelMode(QProcess::SeparateChannels);
            child.start(QStringLiteral(ORVANEL_SAVE_CHILD),
                        {datadir::Folder(), QString::fromLatin1(save.mode), QString::number(first)});
            ASSERT_TRUE(child.waitForStarted(10000));
            while (!child.canReadLine()) ASSERT_TRUE(child.waitForReadyRead(10000)) << "the child never got ready";
            ASSERT_EQ(child.readLine(), "pret\n") << child.readAllStandardError().toStdString();
            std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution(0, 20000)(random)));
            child.kill();
            ASSERT_TRUE(child.waitForFinished(10000));
            ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << "the child ended by itself";
            const QString shown = QString::fromUtf8(child.readAllStandardOutput());
            EXPECT_FALSE(shown.contains(QStringLiteral("message :"))) << shown.toStdString();

            const QStringList left = Entries();
            if (left != shipped) ++cutOff;
            if (left.contains(kRecord)) ++committed;
            SaveSet::FinishInterrupted();
            EXPECT_EQ(Entries(), shipped) << "no new file nor record is left";
            EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
            s = save.saveOf(ReadData(save.files[0]));
            const QStringList expected = save.filesOf(s);
            for (int i = 0; i < save.files.size(); ++i)
                EXPECT_EQ(ReadData(save.files[i]), expected[i])
                    << save.files[i].toStdString() << " is not of save " << s;
            if (HasFailure()) return;
        }
        // The kills did land in saves, before and after their records.
        EXPECT_GT(cutOff, 0);
        RecordProperty("cut_off", cutOff);
        RecordProperty("committed", committed);
    }

    static int lineValue(const QString& text, int line) {
        return text.split(QStringLiteral("\r\n")).value(line).toInt();
    }
};

TEST_F(KilledSaves, TheSetupWindowsThreeFilesAreAlwaysOfOneSave) {
    KillWhileSaving({"setup", savekill::kSetupFiles, savekill::SetupFiles,
                     [](const QString& config) { return lineValue(config, 4); }},
                    36, 20261211);
}

TEST_F(KilledSaves, ThePaddleSettingsTwoFilesAreAlwaysOfOneSave) {
    KillWhileSaving({"paddle", savekill::kPaddleFiles, savekill::PaddleFiles,
                     [](const QString& speeds) { return lineValue(speeds, 0) / 10; }},
                    30, 1211);
}

// Two programs on one data folder: a child process presses the set-up
// window's "Ok" and stops before one file operation of its save while this
// program, the second, runs its start-up's recovery; the stop moves on by
// one operation at each turn, so the recovery is tried at every step of the
// save. The recovery waits for the save to end (or for its program to die),
// and each program tells the truth about its files.
class TwoPrograms : public InterruptedSaves {
protected:
    static constexpr int kOld = 101, kNew = 202;  // the save on the disk, and the child's
    static inline const QString kNothingMore = QStringLiteral("(the child says nothing more)");

    void SetUp() override {
        InterruptedSaves::SetUp();
        UseShippedData();
        PutSave(kOld);
        shipped = Entries();
    }
    void PutSave(int s) {
        for (int i = 0; i < savekill::kSetupFiles.size(); ++i)
            WriteData(savekill::kSetupFiles[i], savekill::SetupFiles(s)[i]);
    }
    // The save the set-up files are all of, or 0 when they are mixed.
    int SaveOnDisk() const {
        for (int s : {kOld, kNew}) {
            bool all = true;
            for (int i = 0; i < savekill::kSetupFiles.size(); ++i)
                all = all && ReadData(savekill::kSetupFiles[i]) == savekill::SetupFiles(s)[i];
            if (all) return s;
        }
        return 0;
    }
    // Starts the child, its first save stopping before operation `stop`.
    void StartSaving(QProcess& child, int firstSave, int stop) {
        child.setProcessChannelMode(QProcess::SeparateChannels);
        child.start(QStringLiteral(ORVANEL_SAVE_CHILD), {datadir::Folder(), QStringLiteral("setup"),
                                                         QString::number(firstSave), QString::number(stop)});
        ASSERT_TRUE(child.waitForStarted(10000));
        ASSERT_EQ(NextLine(child).toStdString(), "pret") << child.readAllStandardError().toStdString();
    }
    static QString NextLine(QProcess& child) {
        while (!child.canReadLine())
            if (!child.waitForReadyRead(10000)) return kNothingMore;
        return QString::fromUtf8(child.readLine()).trimmed();
    }
    // The recovery of a second program's start-up, begun in a thread; it
    // must still be waiting a moment later.
    std::thread StartRecovery(std::atomic<bool>& done) {
        std::thread recovery([&done] {
            SaveSet::FinishInterrupted();
            done = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_FALSE(done) << "the recovery ran while the save was under way";
        return recovery;
    }

    QStringList shipped;  // the data folder's entries between saves
};

TEST_F(TwoPrograms, ARecoveryDuringASaveWaitsAndTheSaveGoesThrough) {
    // One child saves again and again, each save stopping one step later.
    QProcess child;
    StartSaving(child, kNew, 1);
    int steps = 0;
    for (int s = kNew;; s = savekill::After(s)) {
        const QString line = NextLine(child);
        if (line.startsWith(QStringLiteral("enregistre"))) {
            EXPECT_EQ(NextLine(child).toStdString(), "fini");
            break;
        }
        SCOPED_TRACE(line.toStdString());
        ASSERT_EQ(line.toStdString(), QStringLiteral("etape %1").arg(++steps).toStdString());
        std::atomic<bool> recovered{false};
        std::thread recovery = StartRecovery(recovered);
        child.write("\n");
        QStringList told;  // what the child said before its save ended: its messages
        for (QString l = NextLine(child); !l.startsWith(QStringLiteral("enregistre")); l = NextLine(child)) {
            told << l;
            if (l == kNothingMore) break;
        }
        if (!told.isEmpty()) child.kill();  // lets the lock go in any case
        recovery.join();
        EXPECT_TRUE(told.isEmpty()) << told.join('\n').toStdString();
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        for (int i = 0; i < savekill::kSetupFiles.size(); ++i)
            EXPECT_EQ(ReadData(savekill::kSetupFiles[i]), savekill::SetupFiles(s)[i])
                << savekill::kSetupFiles[i].toStdString() << " is not of the save just made";
        EXPECT_EQ(Entries(), shipped);
        if (HasFailure()) break;
        child.write("\n");  // on to the next save
    }
    if (HasFailure()) child.kill();
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_TRUE(HasFailure() || child.exitCode() == 0);
    EXPECT_GE(steps, 9) << "three new files, the record, four renames and the record's removal";
}

TEST_F(TwoPrograms, ASaveWhoseProgramDiesIsFinishedOrUndoneOnceItIsDead) {
    for (int stop = 1;; ++stop) {
        SCOPED_TRACE(QStringLiteral("killed before operation %1").arg(stop).toStdString());
        PutSave(kOld);
        QProcess child;
        StartSaving(child, kNew, stop);
        const QString line = NextLine(child);
        if (line.startsWith(QStringLiteral("enregistre"))) {
            // Three new files, the record, four renames and the record's removal.
            EXPECT_GT(stop, 9) << "the save had fewer steps than expected";
            ASSERT_TRUE(child.waitForFinished(10000));
            break;
        }
        ASSERT_EQ(line.toStdString(), QStringLiteral("etape %1").arg(stop).toStdString());
        std::atomic<bool> recovered{false};
        std::thread recovery = StartRecovery(recovered);
        child.kill();
        EXPECT_TRUE(child.waitForFinished(10000));
        recovery.join();
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        EXPECT_NE(SaveOnDisk(), 0) << "the set-up files are of two saves";
        EXPECT_EQ(Entries(), shipped) << "no new file nor record is left";
        if (HasFailure()) break;
    }
}
