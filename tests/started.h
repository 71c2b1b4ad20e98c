// Tests of windows that need the program started as the user finds it: the
// shipped data folder, the main window loaded and shown (so windows open in
// its document area), and no start-up message left over.
#pragma once

#include "shell/frminterface.h"
#include "tests/fixture.h"

class StartedProgramTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseShippedData();
        frminterface().MDIForm_Load();
        frminterface().show();
        messages.clear();
    }
};
