#include "text/keeping_values.h"
#include "text/text.h"
#include "text/utf.h"
#include <string.h>

AwakeMode ParseAwake(const char *value) {
    if (TextEqualsNoCase(value, "1") || TextEqualsNoCase(value, "DISPLAY"))
        return AWAKE_DISPLAY;
    return TextEqualsNoCase(value, "SYSTEM") ? AWAKE_SYSTEM : AWAKE_NONE;
}

// Whether the part (length bytes) is name, A-Z compared without case.
static bool PartIs(const char *part, size_t length, const char *name) {
    char copy[8];
    if (length >= sizeof copy)
        return false;
    CopyTextPart(copy, sizeof copy, part, length);
    return TextEqualsNoCase(copy, name);
}

// The virtual-key code of a key's name, 0 for none.
static uint32_t KeyCode(const char *part, size_t length) {
    char c = length == 1 && part[0] >= 'a' && part[0] <= 'z' ? (char)(part[0] - 32) : part[0];
    if (length == 1 && ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
        return (uint32_t)c;
    if (length >= 2 && length <= 3 && (c == 'F' || c == 'f') && part[1] >= '1' && part[1] <= '9') {
        uint32_t n = (uint32_t)(part[1] - '0');
        if (length == 3)
            n = part[2] >= '0' && part[2] <= '9' ? n * 10 + (uint32_t)(part[2] - '0') : 0;
        return n >= 1 && n <= 24 ? 0x6F + n : 0;
    }
    static const struct {
        const char *name;
        uint32_t code;
    } named[] = {{"ESC", 0x1B},    {"SPACE", 0x20}, {"ENTER", 0x0D},
                 {"TAB", 0x09},    {"PAUSE", 0x13}, {"INSERT", 0x2D},
                 {"DELETE", 0x2E}, {"HOME", 0x24},  {"END", 0x23}};
    for (const auto &key : named)
        if (PartIs(part, length, key.name))
            return key.code;
    return 0;
}

bool ParseExitKey(const char *value, uint32_t *modifiers, uint32_t *virtualKey) {
    *modifiers = 0;
    *virtualKey = 0;
    for (const char *p = value;;) {
        while (IsBlank(*p))
            p++;
        const char *start = p;
        while (*p != '\0' && *p != '+')
            p++;
        size_t length = (size_t)(p - start);
        while (length > 0 && IsBlank(start[length - 1]))
            length--;
        if (*p == '\0') {
            *virtualKey = KeyCode(start, length);
            return *virtualKey != 0;
        }
        uint32_t bit = PartIs(start, length, "CTRL")    ? KEY_CONTROL
                       : PartIs(start, length, "ALT")   ? KEY_ALT
                       : PartIs(start, length, "SHIFT") ? KEY_SHIFT
                       : PartIs(start, length, "WIN")   ? KEY_WIN
                                                        : 0;
        if (bit == 0)
            return false;
        *modifiers |= bit;
        p++;
    }
}

// Reads digits (at least least, at most most of them) at *p into *number.
static bool ReadDigits(const char **p, int least, int most, uint32_t *number) {
    int count = 0;
    for (*number = 0; count < most && **p >= '0' && **p <= '9'; count++, (*p)++)
        *number = *number * 10 + (uint32_t)(**p - '0');
    return count >= least;
}

bool ParseDailyTime(const char *value, uint32_t *secondOfDay) {
    const char *p = value;
    while (IsBlank(*p))
        p++;
    uint32_t hour, minute, second = 0;
    if (!ReadDigits(&p, 1, 2, &hour) || *p++ != ':' || !ReadDigits(&p, 2, 2, &minute))
        return false;
    if (*p == ':') {
        p++;
        if (!ReadDigits(&p, 2, 2, &second))
            return false;
    }
    while (IsBlank(*p))
        p++;
    *secondOfDay = (hour * 60 + minute) * 60 + second;
    return *p == '\0' && hour < 24 && minute < 60 && second < 60;
}

// prefix, then the hash in 16 hexadecimal digits.
static void FormatHashedName(const char *prefix, uint64_t hash, char *out, size_t outChars) {
    char name[64];
    size_t length = CopyText(name, sizeof name - 16, prefix);
    for (int shift = 60; shift >= 0; shift -= 4)
        name[length++] = "0123456789abcdef"[(hash >> shift) & 0xF];
    name[length] = '\0';
    CopyText(out, outChars, name);
}

void FormatKeeperName(const char *profile, const char *section, char *out, size_t outChars) {
    size_t start = 0, end = strlen(section);
    while (start < end && IsBlank(section[start]))
        start++;
    while (end > start && IsBlank(section[end - 1]))
        end--;
    uint64_t hash = HashIgnoringCase(profile, strlen(profile), kHashStart);
    hash = HashIgnoringCase("\n", 1, hash);
    hash = HashIgnoringCase(section + start, end - start, hash);
    FormatHashedName("Local\\korvane-keeper-", hash, out, outChars);
}

void FormatLogLockName(const char *path, char *out, size_t outChars) {
    FormatHashedName("Local\\korvane-log-", HashIgnoringCase(path, strlen(path), kHashStart), out,
                     outChars);
}
