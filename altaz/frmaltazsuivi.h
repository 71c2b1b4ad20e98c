// The alt-azimuth sidereal tracking window: keeps the mount on a point of the
// sky while the Earth turns. Its tick advances the program's clock in the
// coordinates window, finds where the point has gone and sends one burst of
// pulses per axis.
#pragma once

#include "core/tracking.h"
#include "platform/form.h"
#include "platform/widgets.h"

#include <optional>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

class Frmaltazsuivi : public Form {
    Q_OBJECT
public:
    Frmaltazsuivi();
    void Form_Load() override;
    // However the window goes, tracking stops and the clock goes back to the
    // main window, as the toolbar's close does.
    void Form_Unload() override;

    void cmdsave_Click();
    void imglecture_Click();
    void imgpause_Click();
    void imgstop_Click();
    void lbl1_Click();
    void timcompteur_Timer();
    void updowntaux_UpClick();
    void updowntaux_DownClick();

    void ShowSiderealTime();
    void ShowTrackState();

    // Text-box helpers: each reads the number of its box and writes the new one.
    static void DecrementText(QLineEdit* box);
    static void IncrementText(QLineEdit* box);
    static void DecrementSixty(QLineEdit* box);
    static void IncrementSixty(QLineEdit* box);
    static void DecrementTwentyFour(QLineEdit* box);
    static void IncrementWrap(QLineEdit* box);
    static void DecrementHourMinute(QLineEdit* hour, QLineEdit* minute);
    static void IncrementHourMinute(QLineEdit* hour, QLineEdit* minute);

    // Tracking was started and has not stopped (paused or not).
    bool Running() const { return running_; }
    // How many times a tick brought the telescope back onto the object by a goto.
    int CatchUps() const { return catchUps_; }

    // Where the tracked point was and is, and this tick's counts.
    tracking::TrackPoint point;

    QLabel* lblheuresid = nullptr;
    QLineEdit* txth2 = nullptr;
    QLineEdit* txtmin2 = nullptr;
    QLineEdit* txts2 = nullptr;
    QLabel* Label12 = nullptr;
    QLineEdit* txtna = nullptr;
    QLineEdit* txtnh = nullptr;
    QLineEdit* txtsommea = nullptr;
    QLineEdit* txtsommeh = nullptr;
    PictureBox* imglecture = nullptr;
    PictureBox* imgpause = nullptr;
    PictureBox* imgstop = nullptr;
    WebdingsLabel* lbl1 = nullptr;
    QGroupBox* Frincrement = nullptr;
    QLineEdit* txtincrement = nullptr;
    QWidget* updowntaux = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLineEdit* txttempoa = nullptr;
    QLineEdit* txttempoh = nullptr;
    QPushButton* cmdsave = nullptr;
    QTimer* timcompteur = nullptr;  // tracking tick

private:
    // No tick runs on, no correction is pending and the next start aims where
    // the counters point.
    void stopTracking();
    // The point to track, in the coordinate boxes: the object of a sync, the
    // object a goto reached, else where the counters point (aimAtCounters);
    // tracking goes on from the counters.
    void aim();
    void aimAtCounters();
    // The telescope left behind (a pause, a late start, a sync made
    // meanwhile): the coordinates window's goto brings it onto the object of
    // the coordinate boxes, and tracking goes on from there; a goto refused
    // (the object has set) or stopped by its stop button stops tracking.
    void catchUp();
    // Tracking stopped, paused or closed: its catch-up's goto ends at its next pulse.
    void stopCatchUp();
    // Pending pulses of manual and paddle moves into the counters.
    void applyPendingPulses();
    // The counters in the coordinates window, all their boxes.
    void showCounters();
    // The main window keeps the clock again.
    void giveClockBack();
    void readSettingsBoxes();
    // The increment and the two delays typed, when all three are taken;
    // otherwise the user is told, ending with `consequence`.
    std::optional<std::vector<double>> typedSettings(const QString& consequence) const;
    // Tracking was started and not stopped; paused by the pause picture.
    bool running_ = false;
    bool paused_ = false;
    int catchUps_ = 0;
    bool catchingUp_ = false;  // a catch-up's goto runs
};

inline Frmaltazsuivi& frmaltazsuivi() { return forms::Use<Frmaltazsuivi>(); }
