#include "shell/Frmnotes.h"

#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/saveset.h"
#include "platform/seqfile.h"
#include "platform/textfile.h"
#include "platform/widgets.h"
#include "shell/artwork.h"
#include "shell/buttonpictures.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocument>

namespace {

const QString kNotes = QStringLiteral("\\DATA\\notes.txt");
const QString kCrLf = QStringLiteral("\r\n");

// The lines of a file's text, each without its line break; a last line
// break ends the last line and opens no new one.
QStringList linesOf(QString text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    if (text.endsWith(u'\n') || text.endsWith(u'\r')) text.chop(text.endsWith(kCrLf) ? 2 : 1);
    return text.split(lineBreak);
}

}  // namespace

Frmnotes::Frmnotes() : Form(QStringLiteral("Notes d'observation")) {
    setObjectName(QStringLiteral("Frmnotes"));

    Image1 = ui::Make<QLabel>(this, "Image1");
    Image1->setPixmap(artwork::NightSky(twips::ToPixels(7245), twips::ToPixels(600), 3));
    ui::Place(Image1, 120, 60, 7245, 600);

    lblTitre = ui::Make<QLabel>(this, "lblTitre");
    lblTitre->setText(QStringLiteral("Notes d'observation"));
    QFont big = lblTitre->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    lblTitre->setFont(big);
    lblTitre->setAlignment(Qt::AlignCenter);
    ui::Place(lblTitre, 120, 720, 7245, 480);

    Frame1 = ui::Make<QGroupBox>(this, "Frame1");
    ui::Place(Frame1, 120, 1260, 7245, 4560);
    txtnotes = ui::Make<QPlainTextEdit>(Frame1, "txtnotes");
    ui::Place(txtnotes, 120, 180, 7005, 4260);

    Picturesave = ui::Make<PictureBox>(this, "Picturesave");
    Picturesave->setToolTip(QStringLiteral("Enregistrer"));
    ui::Place(Picturesave, 240, 5970, 720, 480);
    effacer = ui::Button(this, "effacer", QStringLiteral("&Effacer"), 3000, 5985, 1500, 450);
    cmdnotesquit = ui::Button(this, "cmdnotesquit", QStringLiteral("&Quitter"), 5745, 5985, 1500, 450);

    connect(Picturesave, &PictureBox::MouseDown, this, &Frmnotes::Picturesave_MouseDown);
    connect(Picturesave, &PictureBox::MouseUp, this, &Frmnotes::Picturesave_MouseUp);
    connect(effacer, &QPushButton::clicked, this, &Frmnotes::effacer_Click);
    connect(cmdnotesquit, &QPushButton::clicked, this, &Frmnotes::cmdnotesquit_Click);

    SetTwipsSize(kWidth, kHeight);
}

QString Frmnotes::NotesText() const {
    // The box's raw text: its plain text would turn no-break spaces into
    // spaces. Lines are separated by paragraph separators there.
    QString text = txtnotes->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    return text.split(u'\n').join(kCrLf);
}

void Frmnotes::SetNotesText(const QString& text) { txtnotes->setPlainText(linesOf(text).join(u'\n')); }

void Frmnotes::Form_Load() {
    // No notes yet (or an empty file) is an empty page; the first save
    // writes the file. A file that is there but cannot be read is told, so
    // that a save does not silently replace notes the user cannot see.
    const QString path = datadir::Path(kNotes);
    const auto text = textfile::Read(path);
    if (text) SetNotesText(*text);
    else if (QFileInfo::exists(path)) filereport::Missing(kNotes);
    Picturesave->SetPicture(ButtonPictures[0]);
}

void Frmnotes::Form_Resize() {
    KeepSize(kWidth, kHeight);
}

void Frmnotes::Picturesave_MouseDown(Qt::MouseButton) {
    Picturesave->SetPicture(ButtonPictures[1]);
    save();
}

void Frmnotes::Picturesave_MouseUp(Qt::MouseButton) { Picturesave->SetPicture(ButtonPictures[0]); }

void Frmnotes::effacer_Click() { txtnotes->clear(); }

void Frmnotes::cmdnotesquit_Click() { Unload(); }

void Frmnotes::save() {
    // Written whole through a new file renamed over the old one; on failure
    // the old file and the text in the box both stay.
    SeqWriter notes;
    notes.Print(NotesText());
    SaveSet().Add(kNotes, notes).Save();
}
