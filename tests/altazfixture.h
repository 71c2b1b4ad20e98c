// Tests of the alt-azimuth work windows: the program started, the alt-azimuth
// mount chosen, and every pass of pending events counted (a test hooks an
// action on the pass it wants).
#pragma once

#include "tests/started.h"

#include <functional>
#include <vector>

class AltazWindowTest : public StartedProgramTest {
protected:
    void SetUp() override {
        StartedProgramTest::SetUp();
        frminterface().barchoix_ButtonClick(2);
        messages.clear();
        seams::SetDoEvents([this] {
            ++events;
            if (onEvents) onEvents(events);
        });
    }

    // Port writes one after the other.
    static std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    int events = 0;                     // passes of events so far
    std::function<void(int)> onEvents;  // called at each pass with its number
};
