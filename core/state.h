// The program-wide state: one shared instance, grouped by concern. Every
// window and module reads and writes it directly; there is one thread.
//
// Units: right ascension in tenths of a minute of time (600 per hour),
// declination in tenths of a minute of arc (600 per degree, signed), axis
// positions in arc-seconds (1296000 per turn), times in seconds of time.
// Booleans are 16-bit integers, -1 true and 0 false (vb::True, vb::False).
#pragma once

#include <array>
#include <cstdint>

#include <QString>

// Site, mount and calibration.
struct SiteState {
    // The alt-azimuth set-up file's first seven values.
    struct {
        double SiteLongitudeDeg = 0;  // whole degrees
        double SiteLongitudeMin = 0;
        double SiteLatitudeDeg = 0;
        double SiteLatitudeMin = 0;
        double AzMotorSteps = 0;      // motor steps per motor turn
        double AltMotorSteps = 0;
        double AltitudeRatio = 0;     // reduction ratio (file value / 1000)
    } SiteAndMount;
    double AzimuthRatio = 0;          // motor turns per axis turn
    double AzStepArcsec = 0;          // arc-seconds per pulse
    double AltStepArcsec = 0;
    double BacklashAz = 0;            // pulses added when an axis reverses
    double BacklashAlt = 0;
    int16_t UtOffsetHours = 0;        // local clock minus universal time: 2 summer, 1 winter
    int16_t SeasonDefaultHours = 0;   // the season the system's daylight saving gave when last seen (0: not yet)
    int16_t AzPlusBits = 0;           // direction bits that make an axis count up / down
    int16_t AzMinusBits = 0;
    int16_t AltPlusBits = 0;
    int16_t AltMinusBits = 0;
    int16_t InvertAz = 0;             // paddle and manual commands of the axis inverted
    int16_t InvertAlt = 0;
    int16_t GotoInvertRA = 0;         // equatorial goto direction of the axis inverted
    int16_t GotoInvertDec = 0;
};

// Time and alt-azimuth position.
struct PositionState {
    int32_t LocalSiderealSeconds = 0;  // of the last conversion
    double AzimuthArcsec = 0;          // telescope azimuth counter, north 0 through east
    double AltitudeArcsec = 0;         // telescope altitude counter, signed
    int32_t PendingAzSteps = 0;        // manual and paddle pulses not yet applied
    int32_t PendingAltSteps = 0;
    int16_t AzDirectionPlus = 0;       // the axis last moved in its plus direction
    int16_t AltDirectionPlus = 0;
    int16_t PositionSynced = 0;        // the position was set on an object by a sync
    bool GotoReached = false;          // the last move was a goto that reached its target
    double ReachedRA = 0;              // that target (GotoRA, GotoDec as the goto had them)
    double ReachedDec = 0;
    // Goes up whenever anything but tracking moves or sets the counters (a
    // goto, pulses applied, a sync, the direction test): tracking then aims
    // again at what the telescope points at.
    uint32_t PositionChanges = 0;
    double DirTestStartAz = 0;         // counters at the start and end of the direction test
    double DirTestStartAlt = 0;
    double DirTestEndAz = 0;
    double DirTestEndAlt = 0;
    bool DirTestSynced = false;        // a sync was made since "initialisation coordonnées"
    double StepCounterAz = 0;          // pulse sums shown during the direction test
    double StepCounterAlt = 0;
    int16_t StepCountingOn = 0;        // the clock timer counts pulses instead of positions
};

// Results of the last coordinate conversion.
struct ConversionState {
    double ObserverLatitudeRad = 0;
    double TargetRaRad = 0;
    double TargetDecRad = 0;
    double TargetAltRad = 0;
    double TargetAltDeg = 0;
    double TargetAzRad = 0;
    double TargetAzDeg = 0;            // 0..360
    double TargetDecDeg = 0;           // signed
    double RaHours = 0;
};

// Alt-azimuth goto.
struct AltazGotoState {
    double GotoRaHours = 0;            // whole hours of the target's right ascension
    double GotoRaMinutes = 0;          // the rest, minutes of time
    int32_t GotoDecDegrees = 0;        // whole degrees, truncated toward zero
    double GotoDecMinutes = 0;         // positive when the degrees are negative, signed when 0
    double GotoTargetAz = 0;           // where the target stands now, arc-seconds
    double GotoTargetAlt = 0;
    double RemainingAz = 0;            // target minus counter at the start of the last pass
    double RemainingAlt = 0;
    int16_t StopGoto = 0;              // stop request for a running goto
    bool GotoRunning = false;          // a goto loop is under way: no second one starts
    double SlewRA = 0;                 // telescope mark drawn during an alt-azimuth goto
    double SlewDec = 0;
};

// Equatorial and chart coordinates.
struct EquatorialState {
    double TelescopeRA = 0;            // equatorial telescope position
    double TelescopeDec = 0;
    double GotoRA = 0;                 // designated object: goto destination or sync object
    double GotoDec = 0;
};

// Motor drive, paddle and tracking.
using SpeedTable = std::array<std::array<int32_t, 2>, 5>;   // (level 0..4, axis 0 az/RA, 1 alt/Dec)
using PaddleTable = std::array<std::array<int32_t, 2>, 3>;  // (slow, medium, fast; axis)

struct DriveState {
    int16_t MotorMode = 0;             // 0 stop; 1, 2 az/RA; 3, 4 alt/Dec
    int16_t StepBit = 0;               // step and direction bits of the move under way
    int16_t DirectionBits = 0;
    int32_t StepDelay = 0;             // busy-wait count per half pulse
    int32_t PaddleDelay = 0;
    int16_t SpeedIndexAz = 0;          // 0..4, shown as 1..5
    int16_t SpeedIndexAlt = 0;
    int16_t SpeedChanged = 0;          // a running move must look its delay up again
    // Until their files are read the tables hold the shipped speeds, so a
    // missing or short file never leaves a delay of 0 (the fastest speed).
    SpeedTable EquaSpeedTable = {{{400000, 400000}, {200000, 200000}, {100000, 100000}, {50000, 50000}, {25000, 25000}}};
    SpeedTable AltazSpeedTable = {{{400000, 400000}, {200000, 200000}, {100000, 100000}, {50000, 50000}, {25000, 25000}}};
    PaddleTable ManualSpeedTable = {{{1118078, 1118078}, {463138, 463138}, {70434, 70434}}};
    int32_t PaddleDelayAzSlow = 0;
    int32_t PaddleDelayAzMedium = 0;
    int32_t PaddleDelayAzFast = 0;
    int32_t PaddleDelayAltSlow = 0;
    int32_t PaddleDelayAltMedium = 0;
    int32_t PaddleDelayAltFast = 0;
    int32_t TrackDelayAz = 0;          // delays of the alt-azimuth tracking bursts
    int32_t TrackDelayAlt = 0;
    double DeltaAz = 0;                // change of the current tracking tick, arc-seconds
    double DeltaAlt = 0;
    int32_t AzStepsTick = 0;           // pulses of the current tracking tick
    double AltStepsTick = 0;
    double AzStepRemainder = 0;        // fractions of a pulse carried to the next tick
    double AltStepRemainder = 0;
    int16_t TrackIntervalMs = 0;
    int16_t EquaStepCount = 0;         // pulses of one equatorial tracking burst
    int16_t HandPadCode = 0;           // last paddle code; 1000 = paddle switched off
    int32_t EncoderCountAz = 0;        // pulses counted during ratio calibration
    int32_t EncoderCountAlt = 0;
    double BacklashCountAz = 0;        // pulses counted while measuring backlash
    double BacklashCountAlt = 0;
    int16_t BacklashMeasureAz = 0;
    int16_t BacklashMeasureAlt = 0;
};

// Which windows are in which role.
struct WindowState {
    int16_t AltazMode = 0;             // the alt-azimuth mount is in use
    int16_t ShowTelescope = 0;         // the chart draws the equatorial telescope mark
    int16_t TrackingShown = 0;         // the tracking window is open
    int16_t AltazSettingsShown = 0;    // the set-up window is open
    int16_t SkyChartShown = 0;         // the chart is open in its pointing role
    int16_t ChartInitDone = 0;         // the chart's defaults were applied
    int16_t ChartShowConst = 0;        // the chart draws the constellation lines
    int16_t ChartFilter = 0;           // the chart's object filter, 0 none
    int16_t ChartZoom = 0;             // the chart's zoom factor 1..7
    int16_t ChartLabels = 0;           // the chart prints the stars' Greek letters
    QString ChartCatalogue;            // stem of the chart's catalogue file ("messier", "ic", "ngc0".."ngc7")
    int16_t ChartRotation = 0;         // degrees added to every right-ascension angle, -350..350
    int16_t ChartShowRepere = 0;       // the chart draws its reference marks
    double ChartPanX = 0;              // pan of the chart, chart units added to every point
    double ChartPanY = 0;
};

// Catalogue tables: an object table with the type filter over it, and a
// bright-star table. The shared instance is `shared.cat`; a window that keeps
// tables of its own (the equatorial pointing window) holds the same types.
inline constexpr int kCatalogueRows = 1031;   // object rows 0..1030
inline constexpr int kBrightStarRows = 121;   // bright-star rows 0..120

struct ObjectTable {
    std::array<QString, kCatalogueRows> CatalogueName;
    std::array<QString, kCatalogueRows> CatalogueType;  // "GL", "OC", ...; the constellation in the bright-star file
    std::array<int32_t, kCatalogueRows> CatalogueRA{};  // tenths of a minute of time
    std::array<int32_t, kCatalogueRows> CatalogueDec{}; // tenths of a minute of arc, signed
    int16_t CatalogueCount = 0;                         // records loaded: rows 0..CatalogueCount-1
    int16_t ObjectTypeFilter = 0;                       // filter code 0..7, 0 none
    std::array<int16_t, kCatalogueRows> FilterIndex{};  // object row shown by each row of the narrowed list
    int16_t FilteredCount = 0;                          // last row of the narrowed list, -1 when empty
};

struct BrightStarTable {
    std::array<QString, kBrightStarRows> BrightStarName;
    std::array<QString, kBrightStarRows> BrightStarConst;  // constellation abbreviation
    std::array<int32_t, kBrightStarRows> BrightStarRA{};
    std::array<int32_t, kBrightStarRows> BrightStarDec{};
    int16_t BrightStarCount = 0;                           // last row loaded, -1 for an empty file
};

// The program-wide object table (coordinates window, main window's menus,
// alt-azimuth pointing window) and the main window's bright-star table.
struct CatalogueState : ObjectTable, BrightStarTable {};

struct ProgramState {
    SiteState site;
    PositionState pos;
    ConversionState conv;
    AltazGotoState altgoto;
    EquatorialState equa;
    DriveState drive;
    WindowState win;
    CatalogueState cat;
};

// The one shared instance.
extern ProgramState shared;

// Every value back to its start value (tests start each case this way).
void ResetSharedState();
