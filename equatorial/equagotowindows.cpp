#include "equatorial/equagotowindows.h"

#include "core/state.h"
#include "equatorial/frmequapointage.h"
#include "motor/handpad.h"
#include "motor/paddle.h"
#include "platform/port.h"
#include "platform/widgets.h"
#include "shell/frmDepl.h"
#include "shell/frminterface.h"

#include <QComboBox>
#include <QProgressBar>
#include <QTimer>

int EquaGotoOnScreen::LevelRA() { return frmequapointage().cbpointaz->currentIndex(); }
int EquaGotoOnScreen::LevelDec() { return frmequapointage().cbpointalt->currentIndex(); }

void EquaGotoOnScreen::ShowProgress() { frmDepl().Show(); }

// A progress window the user has closed stays closed.
void EquaGotoOnScreen::SetProgressRA(int percent) {
    if (forms::Loaded<FrmDepl>()) ui::SetProgressSoon(frmDepl().ProgressBaraz, percent);
}
void EquaGotoOnScreen::SetProgressDec(int percent) {
    if (forms::Loaded<FrmDepl>()) ui::SetProgressSoon(frmDepl().ProgressBaralt, percent);
}

void EquaGotoOnScreen::CloseProgress() { forms::Unload<FrmDepl>(); }

void EquaGotoOnScreen::SuspendPaddle() {
    QTimer* timer = frminterface().Timer;
    paddleWasPolling_ = timer->isActive();
    if (!paddleWasPolling_) return;
    timer->stop();
    shared.drive.HandPadCode = paddle::kSwitchedOff;
}

void EquaGotoOnScreen::ResumePaddle() {
    if (!paddleWasPolling_ || port::Sealed()) return;
    handpad::ClearDataForPaddle();
    frminterface().Timer->start();
}
