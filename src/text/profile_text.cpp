#include "text/profile_text.h"
#include "text/launch_settings.h"
#include "text/text.h"
#include "text/utf.h"
#include <string.h>

struct Span {
    const char *start;
    size_t length;
};

static Span Trimmed(const char *start, size_t length) {
    while (length > 0 && IsBlank(*start))
        start++, length--;
    while (length > 0 && IsBlank(start[length - 1]))
        length--;
    return {start, length};
}

// A section line's name: what stands between its '[' and the first ']'. False for any other
// line, one without its ']' included.
static bool SectionName(Span line, Span *name) {
    if (line.length == 0 || line.start[0] != '[')
        return false;
    size_t end = 1;
    while (end < line.length && line.start[end] != ']')
        end++;
    *name = Trimmed(line.start + 1, end - 1);
    return end < line.length;
}

// Whether the line names key: "key = value", or the key alone, which has no value and so
// reads as missing. The value, if any, goes to *value with *hasValue set.
static bool NamesKey(Span line, Span key, Span *value, bool *hasValue) {
    size_t equals = 0;
    while (equals < line.length && line.start[equals] != '=')
        equals++;
    Span found = Trimmed(line.start, equals);
    if (!EqualsIgnoringCase(found.start, found.length, key.start, key.length))
        return false;
    *hasValue = equals < line.length;
    if (!*hasValue)
        return true;
    *value = Trimmed(line.start + equals + 1, line.length - equals - 1);
    char first = value->length >= 2 ? value->start[0] : '\0';
    if ((first == '"' || first == '\'') && value->start[value->length - 1] == first) {
        value->start++;
        value->length -= 2;
    }
    return true;
}

// The next line of the text from *at on, without its blanks; *at moves past its line end.
static Span NextLine(const char *text, size_t length, size_t *at) {
    size_t end = *at;
    while (end < length && text[end] != '\0' && text[end] != '\r' && text[end] != '\n')
        end++;
    Span line = Trimmed(text + *at, end - *at);
    *at = end < length && text[end] != '\0' ? end + 1 : end;
    return line;
}

static bool AtEnd(const char *text, size_t length, size_t at) {
    return at >= length || text[at] == '\0';
}

// Moves *at to the line after the first line naming section; false when there is none.
static bool FindSection(const char *text, size_t length, const char *section, size_t *at) {
    Span wanted = Trimmed(section, strlen(section)), name;
    while (!AtEnd(text, length, *at))
        if (SectionName(NextLine(text, length, at), &name) &&
            EqualsIgnoringCase(name.start, name.length, wanted.start, wanted.length))
            return true;
    return false;
}

bool FindProfileValue(const char *text, size_t length, const char *section, const char *key,
                      char *out, size_t outChars) {
    if (outChars > 0)
        out[0] = '\0';
    Span wantedKey = Trimmed(key, strlen(key)), name, value;
    size_t at = 0;
    if (!FindSection(text, length, section, &at))
        return false;
    while (!AtEnd(text, length, at)) {
        Span line = NextLine(text, length, &at);
        bool hasValue;
        if (SectionName(line, &name))
            return false;
        if (NamesKey(line, wantedKey, &value, &hasValue)) {
            if (hasValue)
                CopyTextUnits(out, outChars, value.start, value.length, MAX_VALUE_UNITS);
            return hasValue;
        }
    }
    return false;
}

void ListProfileKeys(const char *text, size_t length, const char *section, char *out,
                     size_t outChars) {
    size_t at = 0, used = 0;
    Span name;
    bool found = FindSection(text, length, section, &at);
    while (found && !AtEnd(text, length, at)) {
        Span line = NextLine(text, length, &at);
        if (SectionName(line, &name))
            break;
        size_t equals = 0;
        while (equals < line.length && line.start[equals] != '=')
            equals++;
        Span key = Trimmed(line.start, equals);
        // Whole names only, with room for the list's end.
        if (key.length == 0 || used + key.length + 2 > outChars)
            continue;
        memcpy(out + used, key.start, key.length);
        used += key.length;
        out[used++] = '\0';
    }
    if (used < outChars)
        out[used] = '\0';
}
