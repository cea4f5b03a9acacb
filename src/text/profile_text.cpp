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

bool FindProfileValue(const char *text, size_t length, const char *section, const char *key,
                      char *out, size_t outChars) {
    if (outChars > 0)
        out[0] = '\0';
    Span wantedSection = Trimmed(section, strlen(section));
    Span wantedKey = Trimmed(key, strlen(key));
    bool inSection = false, passedSection = false;
    for (size_t at = 0; at < length && text[at] != '\0' && !passedSection;) {
        size_t end = at;
        while (end < length && text[end] != '\0' && text[end] != '\r' && text[end] != '\n')
            end++;
        Span line = Trimmed(text + at, end - at), name, value;
        at = end < length && text[end] != '\0' ? end + 1 : end;
        bool hasValue;
        if (SectionName(line, &name)) {
            passedSection = inSection;
            inSection = EqualsIgnoringCase(name.start, name.length, wantedSection.start,
                                           wantedSection.length);
        } else if (inSection && NamesKey(line, wantedKey, &value, &hasValue)) {
            if (hasValue)
                CopyTextUnits(out, outChars, value.start, value.length, MAX_VALUE_UNITS);
            return hasValue;
        }
    }
    return false;
}
