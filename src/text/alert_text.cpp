#include "text/alert_text.h"
#include "text/utf.h"

size_t FormatAlertText(char *out, size_t outChars, const char *format, const char *const *args,
                       size_t argCount) {
    if (outChars == 0)
        return 0;
    size_t length = 0;
    size_t nextArg = 0;
    for (const char *p = format; *p != '\0' && length + 1 < outChars;) {
        if (p[0] == '%' && p[1] == 's') {
            if (nextArg < argCount)
                length += CopyTextUnits(out + length, outChars - length, args[nextArg], (size_t)-1,
                                        (size_t)-1);
            nextArg++;
            p += 2;
        } else {
            out[length++] = *p++;
        }
    }
    out[length] = '\0';
    return length;
}
