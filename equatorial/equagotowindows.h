// The equatorial goto's view of the windows: the speed levels of the
// equatorial pointing window, the progress window frmDepl and the main
// window's paddle timer. Every caller of GotoEquatorial on screen (the
// pointing window, the sky chart's pointing menu) uses this one.
#pragma once

#include "motor/equagoto.h"

class EquaGotoOnScreen final : public EquaGotoWindows {
public:
    // frmequapointage.cbpointaz and cbpointalt (the window is loaded if it
    // was not).
    int LevelRA() override;
    int LevelDec() override;
    void ShowProgress() override;
    void SetProgressRA(int percent) override;
    void SetProgressDec(int percent) override;
    void CloseProgress() override;
    // Stops the paddle timer when it runs (HandPadCode 1000 ends a paddle
    // move under way); restarts it, with the data register cleared for the
    // paddle, when it was running, unless the program is ending.
    void SuspendPaddle() override;
    void ResumePaddle() override;

private:
    bool paddleWasPolling_ = false;
};
