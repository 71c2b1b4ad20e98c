// Orvanel: drives an amateur telescope mount through the parallel port.
//
//   orvanel [--port=sim | --port=ppdev:/dev/parport0 | --port=raw:0x378] [--data=DIR] [--help] [--version]
//
// The simulated port is the default: nothing leaves the computer. Run from
// the build tree it keeps every file in data/ beside it; installed, it reads
// the shipped files where the install put them and keeps the user's in
// ~/.local/share/orvanel/data (or the folder --data names).
#include "platform/commandline.h"
#include "platform/datadir.h"
#include "platform/form.h"
#include "platform/port.h"
#include "platform/quitsignals.h"
#include "platform/seams.h"
#include "shell/frminterface.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    // The command line first: a refused one, the help and the version start
    // nothing, and need no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const commandline::Outcome asked = commandline::Parse(arguments);
    if (asked.action != commandline::Outcome::Action::Start) {
        std::FILE* out = asked.action == commandline::Outcome::Action::Print ? stdout : stderr;
        std::fputs(asked.text.toLocal8Bit().constData(), out);
        return asked.exitStatus;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanel"));

    // From before the port opens, Ctrl+C, SIGTERM and SIGHUP end the program
    // as "Quitter" does.
    QString signalError;
    if (!quitsignals::Install(&signalError))
        std::fprintf(stderr, "orvanel : Ctrl+C, SIGTERM et SIGHUP ne libéreront pas le port (%s)\n",
                     signalError.toLocal8Bit().constData());

    seams::SetMsgBox(forms::ShowMessageBox);

    const datadir::Layout where = datadir::LocateProgram(asked.options.data);
    datadir::SetFolders(where.user, where.shipped);

    QString portError;
    port::Install(port::Open(asked.options.port, &portError));

    Frminterface& main = frminterface();
    quitsignals::Watch([](int signal) { frminterface().QuitOnSignal(signal); });
    main.MDIForm_Load();
    main.ShowAtStart();
    if (!portError.isEmpty())
        seams::MsgBox(QStringLiteral("Port parallèle inaccessible : %1\nLe port simulé est utilisé.").arg(portError));
    return RunEventLoop();
}
