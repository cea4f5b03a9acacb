#include "text/setting_values.h"
#include "text/text.h"

// Skips white space and an optional sign; stores whether the sign was a minus.
static const char *SkipBlanksAndSign(const char *p, bool *negative) {
    while (IsBlank(*p))
        p++;
    *negative = (*p == '-');
    if (*p == '+' || *p == '-')
        p++;
    return p;
}

// Value of c as a digit (letters stand for 10 to 35), or 36 when it is none.
static unsigned DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return (unsigned)(c - '0');
    if (c >= 'a' && c <= 'z')
        return (unsigned)(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z')
        return (unsigned)(c - 'A' + 10);
    return 36;
}

bool IsValueSet(const char *value) {
    return !TextEqualsNoCase(value, "") && !TextEqualsNoCase(value, "NONE");
}

int32_t ParseDelay(const char *value) {
    bool negative;
    const char *p = SkipBlanksAndSign(value, &negative);
    unsigned base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    } else if (p[0] == '0') {
        base = 8;
    }
    // Anything above 2^31 saturates either way, so the magnitude stops growing there.
    const uint64_t limit = (uint64_t)1 << 31;
    uint64_t magnitude = 0;
    for (unsigned d; (d = DigitValue(*p)) < base; p++) {
        magnitude = magnitude * base + d;
        if (magnitude > limit)
            magnitude = limit + 1;
    }
    if (negative)
        return magnitude >= limit ? INT32_MIN : -(int32_t)magnitude;
    return magnitude > (uint64_t)INT32_MAX ? INT32_MAX : (int32_t)magnitude;
}

uint32_t NonNegativeMs(const char *value) {
    int32_t delay = ParseDelay(value);
    return delay < 0 ? 0 : (uint32_t)delay;
}

int32_t ParseColorComponent(const char *value) {
    bool negative;
    const char *p = SkipBlanksAndSign(value, &negative);
    uint32_t result = 0;
    for (unsigned d; (d = DigitValue(*p)) < 10; p++)
        result = result * 10u + d;
    if (negative)
        result = 0u - result;
    return (int32_t)result;
}

bool IsSwitchedOff(const char *value) {
    return value[0] == '0' && value[1] == '\0';
}

bool IsSwitchedOn(const char *value) {
    return value[0] == '1' && value[1] == '\0';
}

bool IsPrimaryScreenOnly(const char *screens) {
    return TextEqualsNoCase(screens, "PRIMARY");
}
