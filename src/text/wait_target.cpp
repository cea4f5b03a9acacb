#include "text/wait_target.h"
#include "text/text.h"
#include "text/utf.h"
#include <string.h>

enum { LARGEST_PORT = 65535 };

bool IsTcpTarget(const char *value) {
    return strlen(value) >= 4 && EqualsIgnoringCase(value, 4, "tcp:", 4);
}

// The port's digits from start to the end: 1 to 65535, without sign, blank or leading zeros
// beyond one digit's worth.
static bool ReadsAsPort(const char *start) {
    unsigned long number = 0;
    size_t digits = 0;
    for (const char *p = start; *p != '\0'; p++, digits++) {
        if (*p < '0' || *p > '9' || digits == 5)
            return false;
        number = number * 10 + (unsigned long)(*p - '0');
    }
    return digits > 0 && number >= 1 && number <= LARGEST_PORT;
}

// Whether the host part holds no blank, no bracket and (but for an IPv6 address) no colon.
static bool ReadsAsHost(const char *start, size_t length, bool bracketed) {
    if (length == 0)
        return false;
    for (size_t i = 0; i < length; i++) {
        char c = start[i];
        if (IsBlank(c) || c == '[' || c == ']' || c == '/' || (c == ':' && !bracketed))
            return false;
    }
    return true;
}

bool ParseTcpTarget(const char *value, char *host, size_t hostChars, char *port, size_t portChars) {
    if (hostChars > 0)
        host[0] = '\0';
    if (portChars > 0)
        port[0] = '\0';
    if (!IsTcpTarget(value))
        return false;
    const char *start = value + 4;
    bool bracketed = *start == '[';
    const char *colon = bracketed ? strchr(start, ']') : strrchr(start, ':');
    if (colon != NULL && bracketed)
        colon = colon[1] == ':' ? colon + 1 : NULL;
    if (colon == NULL)
        return false;
    const char *hostStart = bracketed ? start + 1 : start;
    size_t hostLength = (size_t)(colon - hostStart) - (bracketed ? 1 : 0);
    if (!ReadsAsHost(hostStart, hostLength, bracketed) || !ReadsAsPort(colon + 1) ||
        hostLength + 1 > hostChars || strlen(colon + 1) + 1 > portChars)
        return false;
    CopyTextPart(host, hostChars, hostStart, hostLength);
    CopyText(port, portChars, colon + 1);
    return true;
}
