// The points where the program meets the outside world and tests step in:
// letting pending window events run, the local clock, message boxes, quitting.
#pragma once

#include <QString>
#include <chrono>
#include <functional>
#include <optional>

namespace seams {

// Let pending window events run, on a time budget. The moves call this twice
// per pulse (with `now`, the time they have just read for their wait); the
// real one runs the events only once kEventBudget of the steady clock has
// passed since it last ran them. A pulse then costs its port writes and its
// waits, whatever the speed, and an event (a stop button, a timer) waits at
// most kEventBudget and half a pulse.
inline constexpr std::chrono::microseconds kEventBudget{100};
void DoEvents(std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now());
// Let every pending event run now, however little time has passed: the
// handlers that let events run outside the pulses (a goto between its
// passes, the start-up pause, a tracking tick) keep the window as live as
// the user expects.
void DoEventsNow();
// Tests hook both here: the hook runs at every call. Empty: the real event
// loop.
void SetDoEvents(std::function<void()> hook);

// The local date and time as the system clock gives it.
struct LocalTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    bool daylightSaving = false;  // the system's own summer-time state
    // How far the local time is ahead of universal time at that moment, in
    // seconds (3600 in Paris in winter, -18000 in New York, 19800 in India).
    // Unset: the zone of France, 3600, or 7200 on daylight-saving time.
    std::optional<int> utcOffsetSeconds = std::nullopt;
};
// utcOffsetSeconds, or the French zone's offset when it is unset.
int UtcOffsetSeconds(const LocalTime& t);
LocalTime Now();
void SetClock(std::function<LocalTime()> hook);  // empty: the system clock

// A message box with an OK button; returns once the user has read it.
void MsgBox(const QString& text);
void SetMsgBox(std::function<void(const QString&)> hook);  // empty: standard error
const std::function<void(const QString&)>& MsgBoxHook();

// How many passes of events and message boxes are under way: while it is
// above 0 a handler that lets events run is still on the stack.
int NestingDepth();
// Runs `then` once the last of them has ended (at once when none is under
// way): what waits for the handlers to unwind is looked at again then, not
// over and over while a message box waits for the user.
void WhenNotNested(std::function<void()> then);
// Held while a nested event loop of the program's own runs (a pop-up menu).
struct NestedLoop {
    NestedLoop();
    ~NestedLoop();
    NestedLoop(const NestedLoop&) = delete;
    NestedLoop& operator=(const NestedLoop&) = delete;
};

// Ends the program once the handler under way has returned, with the exit
// status given to BeginQuit.
void Quit();
void SetQuit(std::function<void()> hook);  // empty: leave the event loop

// Quitting: set when the program begins to end ("Quitter", or the main
// window closed), before the port is given back. From then on no pending
// event runs any more (DoEvents and DoEventsNow return at once), no message
// box opens, and every move and every loop that lets events run leaves at
// its next check without writing to the port: the handlers on the stack
// unwind at once, and the event loop, told to end, ends with them.
// `exitStatus` is what the program returns: 0, or 128 + the number of the
// signal that ended it.
void BeginQuit(int exitStatus = 0);
bool Quitting();
int ExitStatus();
// A new session, not quitting (tests begin each case so).
void ResetQuitting();

}  // namespace seams
