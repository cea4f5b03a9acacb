#include "text/screen_values.h"
#include "text/setting_values.h"
#include "text/text.h"

uint32_t ParseMonitorNumber(const char *value) {
    int32_t number = ParseDelay(value);
    return number > 0 ? (uint32_t)number : 0;
}

static bool ComesBefore(const MonitorPlace *a, const MonitorPlace *b) {
    if (a->primary != b->primary)
        return a->primary;
    return a->full[0] != b->full[0] ? a->full[0] < b->full[0] : a->full[1] < b->full[1];
}

void OrderMonitors(MonitorPlace *monitors, size_t count) {
    for (size_t i = 1; i < count; i++) {
        MonitorPlace moving = monitors[i];
        size_t j = i;
        for (; j > 0 && ComesBefore(&moving, &monitors[j - 1]); j--)
            monitors[j] = monitors[j - 1];
        monitors[j] = moving;
    }
}

void CentreIn(const int32_t area[4], int32_t width, int32_t height, int32_t out[4]) {
    int32_t areaWidth = area[2] - area[0], areaHeight = area[3] - area[1];
    width = width < areaWidth ? width : areaWidth;
    height = height < areaHeight ? height : areaHeight;
    out[0] = area[0] + (areaWidth - width) / 2;
    out[1] = area[1] + (areaHeight - height) / 2;
    out[2] = out[0] + width;
    out[3] = out[1] + height;
}

static void SkipBlanks(const char **p) {
    while (IsBlank(**p))
        (*p)++;
}

// A day's two letters: 0 Monday ... 6 Sunday, or -1.
static int ReadDay(const char **p) {
    static const char *const names[7] = {"mo", "tu", "we", "th", "fr", "sa", "su"};
    if ((*p)[0] == '\0')
        return -1;
    char name[3] = {(*p)[0], (*p)[1], '\0'};
    for (int day = 0; day < 7; day++)
        if (TextEqualsNoCase(name, names[day])) {
            *p += 2;
            return day;
        }
    return -1;
}

// Days as "Mo", "Mo-Fr" and lists of them parted by ','.
static bool ReadDays(const char **p, uint8_t *days) {
    for (;;) {
        int first = ReadDay(p), last = first;
        SkipBlanks(p);
        if (first >= 0 && **p == '-') {
            (*p)++;
            SkipBlanks(p);
            last = ReadDay(p);
            SkipBlanks(p);
        }
        if (first < 0 || last < 0)
            return false;
        for (int day = first;; day = (day + 1) % 7) {
            *days = (uint8_t)(*days | 1u << day);
            if (day == last)
                break;
        }
        if (**p != ',')
            return true;
        (*p)++;
        SkipBlanks(p);
    }
}

static bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "H:MM" or "HH:MM" as a minute of the day; 24:00 only where end allows it.
static bool ReadClock(const char **p, bool end, uint16_t *minute) {
    const char *s = *p;
    if (!IsDigit(s[0]))
        return false;
    uint32_t hour = (uint32_t)(s[0] - '0');
    s++;
    if (IsDigit(s[0]))
        hour = hour * 10 + (uint32_t)(*s++ - '0');
    if (s[0] != ':' || !IsDigit(s[1]) || !IsDigit(s[2]))
        return false;
    uint32_t minutes = (uint32_t)((s[1] - '0') * 10 + (s[2] - '0'));
    if (minutes > 59 || hour > 24 || (hour == 24 && (!end || minutes != 0)))
        return false;
    *minute = (uint16_t)(hour * 60 + minutes);
    *p = s + 3;
    return true;
}

static bool ReadRange(const char **p, HoursRange *range) {
    range->days = 0;
    if (!IsDigit(**p) && !ReadDays(p, &range->days))
        return false;
    if (range->days == 0)
        range->days = 0x7F;
    SkipBlanks(p);
    if (!ReadClock(p, false, &range->start))
        return false;
    SkipBlanks(p);
    if (**p != '-')
        return false;
    (*p)++;
    SkipBlanks(p);
    return ReadClock(p, true, &range->end);
}

bool ParseHours(const char *value, HoursPlan *plan) {
    plan->count = 0;
    for (const char *p = value;;) {
        SkipBlanks(&p);
        if (*p == '\0')
            return plan->count > 0;
        if (*p == ';') { // an empty part, as after a last ';'
            p++;
            continue;
        }
        if (plan->count == MAX_HOURS_RANGES || !ReadRange(&p, &plan->ranges[plan->count]))
            return false;
        plan->count++;
        SkipBlanks(&p);
        if (*p != '\0' && *p != ';')
            return false;
    }
}

bool IsWithinHours(const HoursPlan *plan, uint32_t weekday, uint32_t minute) {
    uint32_t today = (weekday + 6) % 7, yesterday = (today + 6) % 7;
    for (size_t i = 0; i < plan->count; i++) {
        const HoursRange *range = &plan->ranges[i];
        bool beganToday = (range->days >> today & 1) && minute >= range->start;
        if (range->start < range->end
                ? beganToday && minute < range->end
                : beganToday || ((range->days >> yesterday & 1) && minute < range->end))
            return true;
    }
    return false;
}

bool IsOneColour(const uint32_t *points, size_t count, uint32_t tolerance) {
    if (count == 0)
        return false;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t least = 255, most = 0;
        for (size_t i = 0; i < count; i++) {
            uint32_t value = points[i] >> shift & 0xFF;
            least = value < least ? value : least;
            most = value > most ? value : most;
        }
        if (most - least > tolerance)
            return false;
    }
    return true;
}

void FormatRect(const int32_t rect[4], char *out, size_t outChars) {
    static const char *const between[4] = {",", " to ", ",", ""};
    char *end = out;
    size_t left = outChars;
    for (int i = 0; i < 4 && left > 1; i++) {
        // The magnitude as unsigned, so that the most negative number has one too.
        uint32_t magnitude = rect[i] < 0 ? 0u - (uint32_t)rect[i] : (uint32_t)rect[i];
        size_t written = rect[i] < 0 ? CopyText(end, left, "-") : 0;
        written += FormatUnsigned(end + written, left - written, magnitude);
        written += CopyText(end + written, left - written, between[i]);
        end += written, left -= written;
    }
    if (outChars > 0)
        *end = '\0';
}
