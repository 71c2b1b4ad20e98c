// The eleven button pictures loaded at start-up, used by role:
//   0, 1  notes window's save button, released and pressed
//   2, 3  equatorial pointing window's "Initialisation" button, released and pressed
//   4, 5  its "Pointage" button, released and pressed
//   6, 7  hand-paddle switch off and on
//   8, 9  tracking window's pause button while tracking runs and while paused
//   10    loaded and shown nowhere
#pragma once

#include <QPixmap>
#include <array>

class ButtonPictureSet {
public:
    QPixmap& operator[](std::size_t index) { return pictures()[index]; }
    std::size_t size() const { return 11; }
    QPixmap* begin() { return pictures().data(); }
    QPixmap* end() { return pictures().data() + 11; }

private:
    // Made on first use: a picture needs the running application.
    static std::array<QPixmap, 11>& pictures();
};

extern ButtonPictureSet ButtonPictures;

// Reads "\data\img\liste.txt" (one picture base name a line) and loads each
// "<name>.gif" of that folder into the next element. A missing list or
// picture is told to the user and replaced by a drawn picture of that role,
// so the paddle switch's two states stay apart.
void LoadButtonPictures();
