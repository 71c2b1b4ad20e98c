// The hand paddle's settings as the windows edit them: the panel of its six
// speeds, the command inversion, the save, and the panel of the backlash and
// its measurement.
#pragma once

#include "core/state.h"
#include "platform/saveset.h"
#include "platform/seqfile.h"

#include <QGroupBox>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QWidget;

namespace paddlesettings {

// The speeds typed in the boxes: ManualSpeedTable with the typed speeds, and
// "\Data\vitessemanu.ini" as it is to be saved.
struct TypedSpeeds {
    PaddleTable table;
    SeqWriter lines;
};

}  // namespace paddlesettings

// The frame "Ajustement des vitesses": per axis a caption and three bars
// (slow, medium, fast), and the three boxes holding the delay counts. A bar
// moved shows its delay in its box and the paddle takes it at once. Each
// window places the panel and its boxes where it shows them.
class PaddleSpeedPanel : public QGroupBox {
    Q_OBJECT
public:
    // In twips. The captions stand above the bars' two columns, the bars go
    // down 540 a row; the delay boxes stand on the frame or on the window.
    struct Rect {
        int left, top, width, height;
    };
    struct Layout {
        Rect frame;                        // on the window
        int azLeft, altLeft;               // the columns of captions and bars
        int captionTop, captionWidth;      // Label1, Label3
        int barTop, barWidth;
        QString azCaption, altCaption;
        QString azName, altName;           // how a message names each axis
        bool boxesOnWindow;                // else on the frame
        int boxAzLeft, boxAltLeft, boxTop, boxRowStep, boxWidth;
    };

    PaddleSpeedPanel(QWidget* window, const Layout& layout);

    // Shows the stored speeds (ManualSpeedTable): each bar at the position of
    // its stored delay, which runs the bar's change handler when the position
    // moves. Then the paddle runs at the stored speeds and the boxes show
    // them, whether or not a bar moved (a bar already in place runs no
    // handler, and a stored delay beyond a bar's range leaves the bar at its
    // end).
    void ShowStoredSpeeds();

    // The speeds typed in the boxes: a box holding a delay (a whole number up
    // to the largest 32-bit count) gives that speed, except that an empty box
    // or one of 0 keeps the stored speed. Nothing when a box holds anything
    // else (the user is told which, and that nothing was saved).
    std::optional<paddlesettings::TypedSpeeds> Typed() const;

    // A bar moved: its box shows the delay of the bar's position, and the
    // paddle delay takes the box's value.
    void HScrollazl_Change();
    void HScrollazm_Change();
    void HScrollazr_Change();
    void HScrollaltl_Change();
    void HScrollaltm_Change();
    void HScrollaltr_Change();

    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QScrollBar* HScrollazl = nullptr;
    QScrollBar* HScrollazm = nullptr;
    QScrollBar* HScrollazr = nullptr;
    QScrollBar* HScrollaltl = nullptr;
    QScrollBar* HScrollaltm = nullptr;
    QScrollBar* HScrollaltr = nullptr;
    std::array<QLineEdit*, 3> txtaz{};   // slow, medium, fast
    std::array<QLineEdit*, 3> txtalt{};

private:
    // Speed 0..2 (slow, medium, fast) of axis 0 (azimuth) or 1 (altitude).
    void barChanged(std::size_t speed, std::size_t axis);
    QScrollBar* bar(std::size_t speed, std::size_t axis) const;

    QString azName_;
    QString altName_;
};

namespace paddlesettings {

// Reads the saved command inversion ("\data\inversion.ini") into InvertAz
// and InvertAlt, and shows it in the two check boxes.
void ShowSavedInversion(QCheckBox* chkaz, QCheckBox* chkalt);

// Saves the typed speeds and the command inversion of the two check boxes
// ("\data\inversion.ini"), with the window's other files, as one save; once
// every file is saved, ManualSpeedTable, InvertAz and InvertAlt take the new
// values. The paddle delays are not touched (the bars set them). False when
// the files could not be saved (the user is told, the old files kept).
bool Save(const TypedSpeeds& speeds, const QCheckBox* chkaz, const QCheckBox* chkalt, SaveSet files = {});

}  // namespace paddlesettings

// The frame "Backlash": per axis a caption, the box of its backlash in pulses
// and the "Début"/"Fin" buttons of its measurement. "Fin" sets the backlash to
// the pulses the measurement counted, shown in the axis's box. Where the
// buttons run the measurement (`counts`), "Début" starts the count from 0
// (the box shows 0) and "Fin" ends it; until "Fin" the moves go on taking up
// the backlash in use. Elsewhere "Début" sets the backlash to 0 (shown) and
// the count stays as the last measurement left it. Each window places the
// panel where it shows it.
class BacklashPanel : public QGroupBox {
    Q_OBJECT
public:
    // In twips, on the frame. The altitude row stands rowStep below the
    // azimuth row; the captions are named when a name is given.
    struct Layout {
        PaddleSpeedPanel::Rect frame;      // on the window
        QString azCaption, altCaption;
        const char* azCaptionName;         // or nullptr
        const char* altCaptionName;
        int captionTop, captionWidth;
        int boxLeft, boxTop, boxWidth;
        int buttonTop, startLeft, endLeft, buttonWidth;
        int rowStep;
        bool counts;                       // the buttons run the measurement
    };

    BacklashPanel(QWidget* window, const Layout& layout);

    // Shows the backlash in use (BacklashAz, BacklashAlt) in the boxes.
    void ShowStoredBacklash();

    // Each axis: its box, its "Début" and "Fin" buttons and their handlers.
    QLineEdit* txtbacklash_az = nullptr;
    QPushButton* cmdjeuaz_deb = nullptr;
    QPushButton* cmdjeuaz_fin = nullptr;
    void cmdjeuaz_deb_Click();
    void cmdjeuaz_fin_Click();
    QLineEdit* txtbacklash_alt = nullptr;
    QPushButton* cmdjeualt_deb = nullptr;
    QPushButton* cmdjeualt_fin = nullptr;
    void cmdjeualt_deb_Click();
    void cmdjeualt_fin_Click();

private:
    const bool counts_;
};
