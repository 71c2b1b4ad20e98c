// The signals that ask the program to end: SIGINT (Ctrl+C in the terminal),
// SIGTERM and SIGHUP. Their handler only notes the signal on a pipe (all a
// handler may safely do); the event loop reads it at its next pass of
// events, also within a move that lets events run, and asks the program to
// end there, as "Quitter" does. A signal that comes while the program ends
// is only noted: it cannot cut the port's clean-up short.
#pragma once

#include <QString>
#include <functional>

namespace quitsignals {

// Catches the three signals from now on; one that the program was started
// with ignored (nohup, a background job) stays ignored. False, with *error
// saying why, when the pipe cannot be made: the signals then end the program
// as they did.
bool Install(QString* error);

// Calls `onSignal` with each signal's number, from the event loop, for every
// signal caught since Install (also those caught before this call). Needs
// the application object.
void Watch(std::function<void(int signal)> onSignal);

// The signals end the program by themselves again (tests).
void Uninstall();

}  // namespace quitsignals
