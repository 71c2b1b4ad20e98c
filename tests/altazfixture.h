// Tests of the alt-azimuth work windows: the program started on the shipped
// data, the alt-azimuth mount chosen, and every pass of pending events counted
// (a test hooks an action on the pass it wants).
#pragma once

#include "shell/frminterface.h"
#include "tests/fixture.h"

#include <functional>

class AltazWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseShippedData();
        frminterface().MDIForm_Load();
        frminterface().show();
        frminterface().barchoix_ButtonClick(2);
        messages.clear();
        seams::SetDoEvents([this] {
            ++events;
            if (onEvents) onEvents(events);
        });
    }

    int events = 0;                   // passes of events so far
    std::function<void(int)> onEvents;  // called at each pass with its number
};
