// The kill test's child: started as the program starts, it saves settings
// in a loop until it is killed.
//
//   orvanel_save_child DATA_FOLDER setup|paddle FIRST_SAVE [FIRST_STOP]
//
// "setup" presses the set-up window's "Ok", "paddle" the coordinates window's
// paddle "OK", with the values of savekill.h for saves FIRST_SAVE, the one
// after it, and so on. It writes "pret" on its output once the loop begins,
// and every message the program shows as a line "message : ..." there too.
//
// With FIRST_STOP, the first save stops before its file operation number
// FIRST_STOP (counted from 1), the next one before the operation after that,
// and so on: at each stop the child writes "etape N" and waits for a line on
// its input. After each save it writes "enregistre S" (S its save number)
// and waits for a line before the next one; once a save has ended before its
// stop, it writes "fini" and ends.
#include "altaz/frmconfig.h"
#include "altaz/frmcoord.h"
#include "platform/datadir.h"
#include "platform/port.h"
#include "platform/seams.h"
#include "platform/textfile.h"
#include "shell/frminterface.h"
#include "tests/savekill.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "orvanel_save_child DATA_FOLDER setup|paddle FIRST_SAVE [FIRST_STOP]\n");
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[2]);
    datadir::SetFolder(QString::fromLocal8Bit(argv[1]));
    seams::SetMsgBox([](const QString& text) {
        std::printf("message : %s\n", QString(text).replace(u'\n', u' ').toUtf8().constData());
        std::fflush(stdout);
    });
    port::Install(std::make_unique<port::SimulatedPort>());

    frminterface().MDIForm_Load();
    Frmcoord& coord = frmcoord();
    Frmconfig& config = frmconfig();
    config.txtdegre->setText(QStringLiteral("2"));
    config.txtmin->setText(QStringLiteral("20"));
    config.txtlatdeg->setText(QStringLiteral("48"));
    config.txtlatmin->setText(QStringLiteral("50"));
    config.txtpasalt->setText(QStringLiteral("200"));
    config.txtRalt->setText(QStringLiteral("100"));
    // The operation of the save under way to stop before (0: none), and how
    // many it has begun.
    int stopAt = argc == 5 ? QString::fromLocal8Bit(argv[4]).toInt() : 0;
    int operations = 0;
    const auto waitForALine = [] {
        std::fflush(stdout);
        char line[16];
        if (!std::fgets(line, sizeof line, stdin)) std::exit(3);
    };
    textfile::SetSaveStepHook([&] {
        if (++operations != stopAt) return;
        std::printf("etape %d\n", stopAt);
        waitForALine();
    });

    std::puts("pret");
    std::fflush(stdout);

    for (int s = QString::fromLocal8Bit(argv[3]).toInt();; s = savekill::After(s)) {
        operations = 0;
        if (mode == QStringLiteral("setup")) {
            const savekill::SetupValues v = savekill::Setup(s);
            config.txtpasaz->setText(QString::number(v.azSteps));
            config.txtRaz->setText(QString::number(v.azRatio));
            config.Frame3->txtbacklash_az->setText(QString::number(v.backlashAz));
            config.Frame3->txtbacklash_alt->setText(QString::number(v.backlashAlt));
            config.cbpointaz->setCurrentIndex(v.levelAz - 1);
            config.cbpointalt->setCurrentIndex(v.levelAlt - 1);
            config.cmdvalid_Click();
        } else {
            for (int speed = 0; speed < 3; ++speed) {
                coord.Frame1->txtaz[speed]->setText(QString::number(savekill::PaddleDelay(s, 0, speed)));
                coord.Frame1->txtalt[speed]->setText(QString::number(savekill::PaddleDelay(s, 1, speed)));
            }
            coord.chkaz->setChecked(savekill::PaddleInverted(s, 0));
            coord.chkalt->setChecked(savekill::PaddleInverted(s, 1));
            coord.cmdvalid_Click();
        }
        if (stopAt == 0) continue;
        std::printf("enregistre %d\n", s);
        if (operations < stopAt) {
            std::puts("fini");
            std::fflush(stdout);
            return 0;
        }
        ++stopAt;
        waitForALine();
    }
}
