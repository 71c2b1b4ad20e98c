// The controls of the coordinates window that the astronomy core reads and
// writes, as plain values. The window copies its controls into these
// structures before a core procedure runs and back out afterwards; the core
// itself never sees a widget.
//
// Texts are exactly what the boxes hold. Numbers are read from them with
// vb::Val (leading number, 0 when none).
#pragma once

#include <QString>

// The three date lists, as list positions; -1 stands for "no item selected"
// (on the first of a month the clock leaves the day list there, which reads
// as day 0, the last day of the month before).
struct DateLists {
    int cbjour = 0;   // frmcoord.cbjour:  day - 1
    int cbmois = 0;   // frmcoord.cbmois:  month - 1
    int cbannee = 0;  // frmcoord.cbannee: year - 2000
};

// The universal-time boxes, integer texts.
struct ClockBoxes {
    QString txth;          // frmcoord.txth:   hours 0..23
    QString txtmin;        // frmcoord.txtmin: minutes
    QString txts;          // frmcoord.txts:   seconds
    QString txtms = QStringLiteral("0");  // frmcoord.txtms: milliseconds (read by the core, never written)
};

// Date, universal time and sidereal time at 0 h: the program's clock.
struct TimeBoxes {
    DateLists dates;
    ClockBoxes clock;
    QString txtessai;      // frmcoord.txtessai: sidereal time at 0 h UT, seconds, 3 decimals
};

// The typed (or shown) equatorial coordinates.
struct EquatorialBoxes {
    QString Txtad_h;       // frmcoord.Txtad_h:    right ascension, hours
    QString txtad_min;     // frmcoord.txtad_min:  right ascension, minutes of time
    QString txtsign;       // frmcoord.txtsign:    "+" north; anything else south
    QString txtdec_deg;    // frmcoord.txtdec_deg: declination, whole degrees without sign
    QString txtdec_min;    // frmcoord.txtdec_min: declination, minutes of arc
};

// An angle shown in degrees, minutes and seconds in three boxes.
struct DmsBoxes {
    QString deg;
    QString min;
    QString sec;
};

// One axis counter as the counter update shows it.
//   azimuth:  dms = txtcoordaz1, txtcoordaz2, txtcoordaz3; arcsec = txtaztos
//   altitude: dms = txtcoordalt1, txtcoordalt2, txtcoordalt3; arcsec = txtalttos
struct AxisCounterBoxes {
    DmsBoxes dms;
    QString arcsec;        // the counter in arc-seconds, plain text of the full value
};

// An azimuth and altitude pair of displays.
//   telescope:   az = txtcoordaz1..3, alt = txtcoordalt1..3
//   goto target: az = txtcoordaz4..6, alt = txtcoordalt4..6
struct AzAltBoxes {
    DmsBoxes az;
    DmsBoxes alt;
};
