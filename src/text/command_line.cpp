#include "text/command_line.h"

static bool IsBlank(unsigned char c) {
    return c >= 1 && c <= 32;
}

const char *SkipProgramName(const char *commandLine, const LeadByteSet *leadBytes) {
    const unsigned char *p = (const unsigned char *)commandLine;
    if (*p == '"') {
        p++;
        while (*p != '\0' && *p != '"')
            p += (leadBytes->isLead[*p] && p[1] != '\0') ? 2 : 1;
        if (*p == '"')
            p++;
    } else {
        while (*p > 32)
            p++;
    }
    while (IsBlank(*p))
        p++;
    return (const char *)p;
}
