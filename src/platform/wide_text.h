// The boundary to the platform's wide ("W") calls: the launcher's UTF-8 text as UTF-16 and
// back, by the rules of text/utf.h, the one place where text is converted.
#pragma once
#include "text/launch_settings.h"
#include "text/utf.h"
#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t holds UTF-16 units here");

// text into out (outUnits, terminator included), cut after whole characters.
inline size_t ToWide(const char *text, wchar_t *out, size_t outUnits) {
    return Utf8ToUtf16(text, (char16_t *)out, outUnits);
}

// The terminated wide text into out (outChars, terminator included), cut after whole characters.
inline size_t ToUtf8(const wchar_t *text, char *out, size_t outChars) {
    return Utf16ToUtf8((const char16_t *)text, (size_t)-1, out, outChars);
}

// The full path of a file or folder named in UTF-8 (a value of the settings), a relative name
// taken in the current folder, into full (PATH_UNITS). False, and full empty, when it cannot be
// made or does not fit.
inline bool FullPathOfName(const char *name, wchar_t *full) {
    wchar_t wideName[VALUE_CHARS];
    ToWide(name, wideName, VALUE_CHARS);
    DWORD length = GetFullPathNameW(wideName, PATH_UNITS, full, NULL);
    if (length > 0 && length < PATH_UNITS)
        return true;
    full[0] = L'\0';
    return false;
}
