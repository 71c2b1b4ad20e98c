// The points where the program meets the outside world and tests step in:
// letting pending window events run, the local clock, message boxes, quitting.
#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace seams {

// Let pending window events run once (the moves call this twice per pulse).
void DoEvents();
void SetDoEvents(std::function<void()> hook);  // empty: the real event loop

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

// How many DoEvents and message boxes are under way: while it is above 0 a
// handler that lets events run is still on the stack.
int NestingDepth();
// Held while a nested event loop of the program's own runs (a pop-up menu).
struct NestedLoop {
    NestedLoop();
    ~NestedLoop();
    NestedLoop(const NestedLoop&) = delete;
    NestedLoop& operator=(const NestedLoop&) = delete;
};

// Ends the program once the handler under way has returned.
void Quit();
void SetQuit(std::function<void()> hook);  // empty: leave the event loop

}  // namespace seams
