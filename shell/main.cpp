// Orvanel: drives an amateur telescope mount through the parallel port.
//
//   orvanel [--port=sim | --port=ppdev:/dev/parport0 | --port=raw:0x378]
//
// The simulated port is the default: nothing leaves the computer.
#include "platform/form.h"
#include "platform/port.h"
#include "platform/seams.h"
#include "shell/frminterface.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanel"));

    QString choice = QStringLiteral("sim");
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a.startsWith(QStringLiteral("--port="))) {
            choice = a.mid(7);
        } else if (a == QStringLiteral("--port") && i + 1 < args.size()) {
            choice = args[++i];
        } else if (a == QStringLiteral("--help") || a == QStringLiteral("-h")) {
            QTextStream(stdout) << "orvanel [--port=sim | --port=ppdev:/dev/parportN | --port=raw:0x378]\n";
            return 0;
        }
    }

    seams::SetMsgBox(forms::ShowMessageBox);

    QString portError;
    port::Install(port::Open(choice, &portError));

    Frminterface& main = frminterface();
    main.MDIForm_Load();
    main.ShowAtStart();
    if (!portError.isEmpty())
        seams::MsgBox(QStringLiteral("Port parallèle inaccessible : %1\nLe port simulé est utilisé.").arg(portError));
    return RunEventLoop();
}
