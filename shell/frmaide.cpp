#include "shell/frmaide.h"

#include "platform/datadir.h"
#include "platform/widgets.h"
#include "shell/artwork.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>

Frmaide::Frmaide() : Form(QStringLiteral("Aide")) {
    setObjectName(QStringLiteral("frmaide"));
    SetTwipsSize(5400, 3000);

    Image1 = ui::Make<QLabel>(this, "Image1");
    Image1->setPixmap(artwork::Telescope(twips::ToPixels(1080)));
    ui::Place(Image1, 120, 120, 1080, 1080);

    Label1 = ui::Make<QLabel>(this, "Label1");
    Label1->setText(QStringLiteral("Consultez les pages d'aides présentes à l'adresse suivante :"));
    Label1->setWordWrap(true);
    ui::Place(Label1, 1320, 180, 3900, 720);

    // The help is the README: the copy installed with the program, or the
    // one beside the sources of a program run from its build tree. The
    // address spans the window's width, a long path being one word.
    lblAdresse = ui::Make<QLabel>(this, "lblAdresse");
    const QString readme = datadir::ProgramReadme();
    lblAdresse->setText(readme.isEmpty() ? QStringLiteral("(le fichier README.md est introuvable)")
                                         : QDir::toNativeSeparators(readme));
    lblAdresse->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ui::Place(lblAdresse, 120, 1320, 5160, 360);

    cmdok1 = ui::Button(this, "cmdok1", QStringLiteral("OK"), 2100, 1800, 1200, 420);
    connect(cmdok1, &QPushButton::clicked, this, &Frmaide::cmdok1_Click);
}

void Frmaide::cmdok1_Click() { Unload(); }
