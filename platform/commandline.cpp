#include "platform/commandline.h"

#include "platform/port.h"

#include <QFileInfo>

#include <algorithm>

namespace commandline {

namespace {

// What the arguments asked for so far.
struct Asked {
    Options options;
    bool help = false;
    bool version = false;
};

// One option. A new option is one line of kOptions (its help line included)
// and, when it sets something, a member of Options.
struct Option {
    const char* name;   // "--port"
    const char* alias;  // another spelling of a switch ("-h"), or null
    const char* value;  // what its value is called in the help ("PORT"), or null for a switch
    const char* help;
    // Takes the option, with its value, into what was asked; returns what is
    // wrong with the value, in a few French words, or an empty text.
    QString (*take)(Asked& asked, const QString& value);
};

const Option kOptions[] = {
    {"--port", nullptr, "PORT",
     "le port parallèle à piloter : sim (par défaut), ppdev:PÉRIPHÉRIQUE ou raw:ADRESSE (voir Ports)",
     [](Asked& a, const QString& v) {
         a.options.port = v;
         return port::ChoiceError(v);
     }},
    {"--data", nullptr, "DOSSIER",
     "le dossier, qui doit exister, où lire et enregistrer vos réglages et vos notes (par défaut "
     "~/.local/share/orvanel/data pour le programme installé, data/ à côté du programme lancé depuis sa "
     "compilation) ; les réglages livrés qui lui manquent y sont copiés au démarrage",
     [](Asked& a, const QString& v) {
         const QFileInfo folder(v);
         a.options.data = folder.absoluteFilePath();
         if (v.isEmpty()) return QStringLiteral("aucun dossier nommé");
         if (!folder.exists()) return QStringLiteral("dossier introuvable");
         if (!folder.isDir()) return QStringLiteral("ce n'est pas un dossier");
         return QString();
     }},
    {"--help", "-h", nullptr, "affiche cette aide et s'arrête",
     [](Asked& a, const QString&) {
         a.help = true;
         return QString();
     }},
    {"--version", nullptr, nullptr, "affiche la version et s'arrête",
     [](Asked& a, const QString&) {
         a.version = true;
         return QString();
     }},
};

const Option* find(const QString& name) {
    for (const Option& o : kOptions)
        if (name == QLatin1String(o.name) || (o.alias && name == QLatin1String(o.alias))) return &o;
    return nullptr;
}

QString quoted(const QString& argument) { return QStringLiteral("« %1 »").arg(argument); }

// `text` wrapped at 79 characters after `lead`, which starts its first line;
// the other lines start with as many blanks.
QString wrapped(const QString& lead, const QString& text) {
    constexpr qsizetype kLineWidth = 79;
    const QString indent(lead.size(), u' ');
    QString out = lead;
    qsizetype lineLength = lead.size();
    bool first = true;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!first && lineLength + 1 + word.size() > kLineWidth) {
            out += u'\n' + indent;
            lineLength = indent.size();
        } else if (!first) {
            out += u' ';
            ++lineLength;
        }
        out += word;
        lineLength += word.size();
        first = false;
    }
    return out + u'\n';
}

// `left` in a column `width` wide, `right` beside it.
QString columns(const QString& left, const QString& right, qsizetype width) {
    return wrapped(QStringLiteral("  ") + left.leftJustified(width) + QStringLiteral("  "), right);
}

// "--port=PORT, --port PORT", "--help, -h".
QString spellings(const Option& o) {
    const QString name = QLatin1String(o.name);
    QString s = o.value ? QStringLiteral("%1=%2, %1 %2").arg(name, QString::fromUtf8(o.value)) : name;
    if (o.alias) s += QStringLiteral(", ") + QLatin1String(o.alias);
    return s;
}

}  // namespace

QString VersionText() { return QStringLiteral("Orvanel " ORVANEL_VERSION "\n"); }

QString HelpText() {
    QString t = QStringLiteral("Usage : orvanel [option...]\n\n");
    t += wrapped({}, QStringLiteral("Orvanel pilote une monture de télescope, altazimutale ou équatoriale, par le "
                                    "port parallèle."));

    t += QStringLiteral("\nOptions :\n");
    qsizetype width = 0;
    for (const Option& o : kOptions) width = std::max(width, spellings(o).size());
    for (const Option& o : kOptions) t += columns(spellings(o), QString::fromUtf8(o.help), width);

    t += QStringLiteral("\nPorts :\n");
    const struct {
        const char* port;
        const char* what;
    } ports[] = {
        {"sim", "simulé (par défaut) : rien ne sort de l'ordinateur ; le titre de la fenêtre principale dit "
                "«\u00a0(port simulé)\u00a0»"},
        {"ppdev:/dev/parport0", "ppdev de Linux (modprobe ppdev ; l'utilisateur doit avoir accès au "
                                "périphérique, par exemple par le groupe\u00a0lp)"},
        {"raw:0x378", "les ports d'entrée-sortie eux-mêmes (ioperm : root ou CAP_SYS_RAWIO), registre de "
                      "données à l'adresse de base, registre de contrôle à la base + 2"},
    };
    qsizetype portWidth = 0;
    for (const auto& p : ports) portWidth = std::max(portWidth, qsizetype(qstrlen(p.port)));
    for (const auto& p : ports) t += columns(QLatin1String(p.port), QString::fromUtf8(p.what), portWidth);

    t += wrapped({}, QStringLiteral("Un port qui ne peut pas être ouvert est nommé dans un message, et le port "
                                    "simulé est utilisé à sa place."));
    t += u'\n' + wrapped({}, QStringLiteral("Signaux : Ctrl+C (SIGINT), SIGTERM et SIGHUP terminent le programme "
                                            "comme «\u00a0Quitter\u00a0» : tout mouvement s'arrête et les "
                                            "registres de données et de contrôle du port sont remis à 0."));
    t += u'\n' + wrapped({}, QStringLiteral("Code de sortie : 0 après «\u00a0Quitter\u00a0», 2 pour une ligne de "
                                            "commande refusée, 128\u00a0+ le numéro du signal après un signal "
                                            "(130 pour Ctrl+C, 143 pour SIGTERM, 129 pour SIGHUP)."));
    return t;
}

Outcome Parse(const QStringList& arguments) {
    Asked asked;
    QStringList faults;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const qsizetype equals = argument.startsWith(QStringLiteral("--")) ? argument.indexOf(u'=') : -1;
        const QString name = equals >= 0 ? argument.left(equals) : argument;
        const Option* option = find(name);
        if (!option) {
            faults << (argument.startsWith(u'-') ? QStringLiteral("option inconnue : %1")
                                                 : QStringLiteral("argument inattendu : %1"))
                          .arg(quoted(argument));
            continue;
        }
        QString value;
        if (!option->value) {
            if (equals >= 0) {
                faults << QStringLiteral("l'option %1 ne prend pas de valeur : %2").arg(name, quoted(argument));
                continue;
            }
        } else if (equals >= 0) {
            value = argument.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            faults << QStringLiteral("l'option %1 attend une valeur (%1=%2)")
                          .arg(name, QString::fromUtf8(option->value));
            continue;
        }
        if (const QString wrong = option->take(asked, value); !wrong.isEmpty())
            faults << QStringLiteral("valeur invalide pour %1 : %2 (%3)").arg(name, quoted(value), wrong);
    }

    Outcome out;
    out.options = asked.options;
    if (!faults.isEmpty()) {
        out.action = Outcome::Action::Refuse;
        out.exitStatus = 2;
        for (const QString& f : faults) out.text += QStringLiteral("orvanel : ") + f + u'\n';
        out.text += QStringLiteral("La liste des options : orvanel --help\n");
    } else if (asked.help || asked.version) {
        out.action = Outcome::Action::Print;
        out.text = asked.help ? HelpText() : VersionText();
    }
    return out;
}

}  // namespace commandline
