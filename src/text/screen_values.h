// The values that give the screens to the show: the monitor a program's window goes on and
// the order the monitors are numbered in, the hours the screens are on, and whether what a
// window shows is one colour only.
#pragma once
#include <stddef.h>
#include <stdint.h>

// MONITOR1, MONITOR2: the monitor's number, from 1. 0 when the value is missing, NONE, 0, or
// not a positive number: the window stays where its program puts it.
uint32_t ParseMonitorNumber(const char *value);

// A monitor as Windows places it, in screen coordinates: its whole rectangle and its work
// area (without the taskbar), each left, top, right, bottom.
struct MonitorPlace {
    int32_t full[4];
    int32_t work[4];
    bool primary;
};

// Puts monitors in the order of their numbers: the primary first, then the others by their
// left edges, then their top edges.
void OrderMonitors(MonitorPlace *monitors, size_t count);

// The rectangle (left, top, right, bottom) of a window of width x height centred in area,
// shrunk to it where larger.
void CentreIn(const int32_t area[4], int32_t width, int32_t height, int32_t out[4]);

enum { MAX_HOURS_RANGES = 16 };

// One range of HOURS: the days it begins on (bit 0 Monday ... bit 6 Sunday) and its start and
// end as minutes of the day; an end not after the start runs into the next day.
struct HoursRange {
    uint8_t days;
    uint16_t start, end;
};

struct HoursPlan {
    size_t count;
    HoursRange ranges[MAX_HOURS_RANGES];
};

// HOURS: ranges parted by ';', each "[days] HH:MM-HH:MM" with days as Mo Tu We Th Fr Sa Su
// (A-Z compared without case) in lists ("Sa,Su") and ranges ("Mo-Fr", "Fr-Mo" going round the
// week), none meaning every day; hours of one or two digits, an end of 24:00 allowed, blanks
// around the parts allowed. An end before the start runs past midnight, one equal to it lasts
// a whole day. False when the value does not read so or holds more than MAX_HOURS_RANGES.
bool ParseHours(const char *value, HoursPlan *plan);

// Whether the screens are on at minute of the day on weekday (0 Sunday ... 6 Saturday, as
// Windows counts): within a range begun on that day, or one begun the day before that runs
// past midnight.
bool IsWithinHours(const HoursPlan *plan, uint32_t weekday, uint32_t minute);

// Within this of each other in red, green and blue, points count as one colour: the noise of
// a compressed dark scene or of a display's dithering stays below it; a pattern, text or
// picture does not.
enum { ONE_COLOUR_TOLERANCE = 12 };

// Whether every point (0xRRGGBB, the top byte ignored) lies within tolerance of the others in
// each of red, green and blue. False for no points.
bool IsOneColour(const uint32_t *points, size_t count, uint32_t tolerance);

// Writes a rectangle (left, top, right, bottom) as "left,top to right,bottom" into out, cut to
// outChars - 1 characters.
void FormatRect(const int32_t rect[4], char *out, size_t outChars);
