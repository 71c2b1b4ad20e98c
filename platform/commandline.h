// The program's command line, read before anything starts (no application
// object, no window, no port): what to start with, or the text to print and
// the status to end with.
#pragma once

#include <QString>
#include <QStringList>

namespace commandline {

// What the program starts with.
struct Options {
    QString port = QStringLiteral("sim");  // as port::Open takes it
    QString data;                          // the folder of the user's files, absolute; empty: the usual one
};

struct Outcome {
    enum class Action {
        Start,  // start the program with `options`
        Print,  // print `text` on the standard output, end with `exitStatus` (0)
        Refuse, // print `text` on the error output, end with `exitStatus` (2)
    };
    Action action = Action::Start;
    Options options;
    QString text;
    int exitStatus = 0;
};

// Reads the arguments that follow the program's name. Each option is
// written "--name=value" or "--name value" when it takes a value, "--name"
// alone when it does not. An unknown option, a stray argument, a missing or
// malformed value is refused, each named on a line of its own; otherwise
// "--help" (or "-h") prints the help, "--version" the version.
Outcome Parse(const QStringList& arguments);

// The help: every option, the ports, what the signals do, the exit statuses.
QString HelpText();
// "Orvanel 0.1".
QString VersionText();

}  // namespace commandline
