#include "text/log_line.h"
#include "text/text.h"
#include "text/utf.h"

// Writes value with at least width digits, zeros in front.
static size_t PutNumber(char *out, unsigned value, size_t width) {
    char digits[16];
    size_t length = FormatUnsigned(digits, sizeof digits, value);
    size_t written = 0;
    for (; written + length < width; written++)
        out[written] = '0';
    for (size_t i = 0; i < length; i++)
        out[written++] = digits[i];
    return written;
}

size_t FormatLogLine(char *out, size_t outChars, const LogTime *time, const char *event) {
    const unsigned parts[] = {time->year,   time->month,  time->day,        time->hour,
                              time->minute, time->second, time->millisecond};
    const size_t widths[] = {4, 2, 2, 2, 2, 2, 3};
    const char after[] = "-- ::. ";
    char stamp[64];
    size_t length = 0;
    for (size_t i = 0; i < sizeof parts / sizeof parts[0]; i++) {
        length += PutNumber(stamp + length, parts[i] % 10000, widths[i]);
        stamp[length++] = after[i];
    }
    if (outChars < length + 3)
        return 0;
    CopyTextPart(out, outChars, stamp, length);
    size_t stampLength = length;
    for (const char *p = event; *p != '\0'; p++) {
        bool escaped = *p == '\n' || *p == '\r';
        if (length + (escaped ? 2 : 1) + 3 > outChars) {
            length = stampLength + WholeCharactersLength(out + stampLength, length - stampLength);
            break;
        }
        if (escaped) {
            out[length++] = '\\';
            out[length++] = *p == '\n' ? 'n' : 'r';
        } else {
            out[length++] = *p;
        }
    }
    out[length++] = '\r';
    out[length++] = '\n';
    out[length] = '\0';
    return length;
}
