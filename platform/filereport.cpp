#include "platform/filereport.h"

#include "platform/datadir.h"
#include "platform/saveset.h"
#include "platform/seams.h"
#include "platform/seqfile.h"
#include "platform/textfile.h"

#include <QDir>

#include <QSet>

namespace filereport {

namespace {
QSet<QString>& told() {
    static QSet<QString> s;
    return s;
}
void tell(const QString& programPath, const QString& kind, const QString& text) {
    const QString key = datadir::Path(programPath).toLower() + u'|' + kind;
    if (told().contains(key)) return;
    told().insert(key);
    seams::MsgBox(text);
}
// Where a save writes the file, as the user reads it.
QString shownSave(const QString& programPath) { return QDir::toNativeSeparators(datadir::SavePath(programPath)); }
}  // namespace

void Missing(const QString& programPath) {
    const QString shown = datadir::Shown(programPath);
    tell(programPath, QStringLiteral("missing"),
         textfile::NotPlain(datadir::Path(programPath))
             ? QStringLiteral("Fichier ignoré : %1\nCe n'est pas un fichier ordinaire (un tube, un périphérique ou un "
                              "dossier porte son nom).\nLes valeurs par défaut sont utilisées.")
                   .arg(shown)
             : QStringLiteral("Fichier introuvable ou illisible : %1\nLes valeurs par défaut sont utilisées.").arg(shown));
}

void Malformed(const QString& programPath, const QString& what, const QString& outcome) {
    QString text = QStringLiteral("Fichier mal formé : %1").arg(datadir::Shown(programPath));
    if (!what.isEmpty()) text += u'\n' + what;
    text += u'\n';
    text += outcome.isEmpty()
                ? QStringLiteral("Les valeurs illisibles, hors limites ou manquantes gardent leur valeur par défaut.")
                : outcome;
    tell(programPath, QStringLiteral("malformed"), text);
}

void Unwritable(const QString& programPath) {
    // A failed save is told every time: the user has just asked for it.
    seams::MsgBox(QStringLiteral("Impossible d'enregistrer le fichier : %1\nL'ancien fichier est conservé.")
                      .arg(shownSave(programPath)));
}

void UnwritableSet(const QString& programPath, bool oldKept) {
    const QString what = oldKept ? QStringLiteral("Aucun fichier n'a été modifié : les anciens sont conservés.")
                                 : QStringLiteral("Les anciens fichiers n'ont pas tous pu être remis en place : "
                                                  "vérifiez les réglages avant de les utiliser.");
    seams::MsgBox(
        QStringLiteral("Impossible d'enregistrer le fichier : %1\n%2").arg(shownSave(programPath), what));
}

void InterruptedRecordUnreadable(const QString& recordPath, const QString& what) {
    seams::MsgBox(QStringLiteral("Relevé d'enregistrement interrompu illisible : %1\n%2\n"
                                 "Aucun fichier n'a été modifié : les réglages et les nouveaux fichiers "
                                 "(« %3 ») restent tels quels. "
                                 "Supprimez ce relevé une fois les réglages vérifiés.")
                      .arg(QDir::toNativeSeparators(recordPath), what, QString(textfile::kNewSuffix)));
}

void InterruptedUnfinished(const QString& path) {
    seams::MsgBox(QStringLiteral("Impossible de terminer l'enregistrement interrompu du fichier : %1\n"
                                 "Ce fichier garde son ancien contenu : vérifiez les réglages avant de les utiliser.")
                      .arg(QDir::toNativeSeparators(path)));
}

void InterruptedNotRemoved(const QString& path) {
    seams::MsgBox(QStringLiteral("Impossible de supprimer le fichier provisoire : %1\n"
                                 "Il n'est pas utilisé ; supprimez-le vous-même.")
                      .arg(QDir::toNativeSeparators(path)));
}

void UserFolderUnusable(const QString& folder) {
    seams::MsgBox(QStringLiteral("Impossible de créer le dossier de vos réglages : %1\n"
                                 "Les réglages livrés avec le programme sont utilisés, et vos changements ne "
                                 "pourront pas être enregistrés.")
                      .arg(QDir::toNativeSeparators(folder)));
}

void NotCopied(const QStringList& paths) {
    QStringList shown;
    for (const QString& p : paths) shown << QDir::toNativeSeparators(p);
    seams::MsgBox(QStringLiteral("Impossible de copier les réglages livrés avec le programme dans votre dossier :\n"
                                 "%1\nLes réglages livrés sont utilisés à leur place.")
                      .arg(shown.join(u'\n')));
}

bool Save(const QString& programPath, const SeqWriter& lines) {
    return SaveSet().Add(programPath, lines).Save();
}

void Readable(const QString& programPath) {
    const QString base = datadir::Path(programPath).toLower() + u'|';
    told().remove(base + QStringLiteral("missing"));
    told().remove(base + QStringLiteral("malformed"));
}

void Reset() { told().clear(); }

}  // namespace filereport
