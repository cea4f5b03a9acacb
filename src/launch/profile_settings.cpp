#include "launch/profile_settings.h"
#include "launch/alert.h"
#include "platform/wide_text.h"
#include "text/profile_text.h"
#include "text/text.h"
#include <wchar.h>

enum { LARGEST_PROFILE_BYTES = 16 << 20 };

// The full path of name into full (PATH_UNITS); false when it cannot be made or does not fit.
static bool FullPathOf(const wchar_t *name, wchar_t *full) {
    DWORD length = GetFullPathNameW(name, PATH_UNITS, full, NULL);
    return length > 0 && length < PATH_UNITS;
}

// Whether name is an existing file or directory, resolved against the current directory.
// A drive root ('C:\', '.\' at a root) is no entry of its own, so it is accepted by its
// full path; wildcards and a bare drive designator never are.
static bool ProfileFileExists(const wchar_t *name) {
    if (wcspbrk(name, L"?*") != NULL)
        return false;
    if (name[0] != L'\0' && name[1] == L':' && name[2] == L'\0')
        return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(name, &found);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        return true;
    }
    if (wcspbrk(name, L"./\\") == NULL)
        return false;
    wchar_t full[PATH_UNITS];
    return FullPathOf(name, full) && wcslen(full) == 3 && GetDriveTypeW(full) > DRIVE_NO_ROOT_DIR;
}

// The whole file in a block of the process heap, with a terminator after it; NULL when it
// cannot be read or is larger than limit.
static char *ReadWholeFile(const wchar_t *path, DWORD limit, DWORD *size) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return NULL;
    LARGE_INTEGER length;
    char *bytes = NULL;
    if (GetFileSizeEx(file, &length) && length.QuadPart <= limit)
        bytes = (char *)HeapAlloc(GetProcessHeap(), 0, (SIZE_T)length.QuadPart + 1);
    if (bytes != NULL &&
        (!ReadFile(file, bytes, (DWORD)length.QuadPart, size, NULL) || *size != length.QuadPart)) {
        HeapFree(GetProcessHeap(), 0, bytes);
        bytes = NULL;
    }
    CloseHandle(file);
    if (bytes != NULL)
        bytes[*size] = '\0';
    return bytes;
}

// The profile as UTF-8 text in a block of the process heap, when its bytes are UTF-8 (with
// or without mark) or UTF-16 big-endian with its mark: the platform's reader is sure to take
// only UTF-16 little-endian and the ANSI code page. NULL for any other file, which the
// platform reads itself. *encoding names what was found.
static char *ReadAsUtf8(const wchar_t *path, size_t *length, const char **encoding) {
    DWORD size = 0;
    char *bytes = ReadWholeFile(path, LARGEST_PROFILE_BYTES, &size);
    *encoding = "the platform's reader (the file could not be read whole)";
    if (bytes == NULL)
        return NULL;
    *encoding = "the code page (ANSI)";
    const unsigned char *mark = (const unsigned char *)bytes;
    if (size >= 2 && mark[0] == 0xFF && mark[1] == 0xFE) {
        *encoding = "UTF-16 little-endian";
    } else if (size >= 2 && mark[0] == 0xFE && mark[1] == 0xFF) {
        *encoding = "UTF-16 big-endian";
        size_t units = (size - 2) / 2;
        char16_t *wide = (char16_t *)(void *)bytes;
        for (size_t i = 0; i < units; i++)
            wide[i] = (char16_t)(mark[2 + 2 * i] << 8 | mark[3 + 2 * i]);
        char *text = (char *)HeapAlloc(GetProcessHeap(), 0, units * 3 + 1);
        if (text != NULL)
            *length = Utf16ToUtf8(wide, units, text, units * 3 + 1);
        HeapFree(GetProcessHeap(), 0, bytes);
        return text;
    } else if (LooksLikeUtf8(bytes, size)) {
        bool marked = size >= 3 && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF;
        *encoding = marked ? "UTF-8 with mark" : "UTF-8";
        if (marked)
            MoveMemory(bytes, bytes + 3, size - 3 + 1);
        *length = marked ? size - 3 : size;
        return bytes;
    }
    HeapFree(GetProcessHeap(), 0, bytes);
    return NULL;
}

// Reads the setting of slot from section of the profile into its UTF-8 slot: from the text
// when there is one, else through the platform's reader from the file.
static void ReadSetting(LaunchSettings *settings, int slot, const char *text, size_t length,
                        const wchar_t *section, const wchar_t *file) {
    char *value = settings->values[slot];
    if (text != NULL) {
        if (!FindProfileValue(text, length, settings->section, kSettingKeys[slot], value,
                              VALUE_CHARS))
            CopyText(value, VALUE_CHARS, kSettingDefaults[slot]);
        return;
    }
    wchar_t key[16], fallback[8], wideValue[VALUE_UNITS];
    ToWide(kSettingKeys[slot], key, sizeof key / sizeof *key);
    ToWide(kSettingDefaults[slot], fallback, sizeof fallback / sizeof *fallback);
    GetPrivateProfileStringW(section, key, fallback, wideValue, VALUE_UNITS, file);
    ToUtf8(wideValue, value, VALUE_CHARS);
}

// The names of the section's keys, for the run to name those it does not know: listed from the
// text when there is one, else by the platform's reader, which gives them (with a NULL key)
// each ended by a NUL, the list by one more, the last name cut when they do not fit.
static void ListKeys(LaunchSettings *settings, const char *text, size_t length,
                     const wchar_t *section, const wchar_t *file) {
    if (text != NULL) {
        ListProfileKeys(text, length, settings->section, settings->keys, KEY_LIST_CHARS);
        return;
    }
    enum { LIST_UNITS = KEY_LIST_CHARS };
    wchar_t names[LIST_UNITS];
    DWORD units = GetPrivateProfileStringW(section, NULL, L"", names, LIST_UNITS, file);
    size_t used = 0;
    for (DWORD at = 0; at < units && names[at] != L'\0';) {
        size_t nameUnits = wcslen(names + at);
        bool whole = at + nameUnits < units || units < LIST_UNITS - 2;
        char name[VALUE_CHARS];
        size_t nameChars = ToUtf8(names + at, name, sizeof name) + 1;
        if (whole && used + nameChars < KEY_LIST_CHARS) {
            CopyText(settings->keys + used, KEY_LIST_CHARS - used, name);
            used += nameChars;
        }
        at += (DWORD)nameUnits + 1;
    }
    settings->keys[used] = '\0';
}

bool ReadProfileSettings(LaunchSettings *settings) {
    char fileName[VALUE_CHARS];
    char section[VALUE_CHARS];
    CopyText(fileName, sizeof fileName, settings->values[SLOT_EXE1]);
    CopyText(section, sizeof section, settings->values[SLOT_EXE2]);
    wchar_t wideName[VALUE_CHARS], wideSection[VALUE_CHARS];
    ToWide(fileName, wideName, VALUE_CHARS);
    ToWide(section, wideSection, VALUE_CHARS);

    // The profile reader looks a bare name up in the Windows directory, not in the current
    // one where the check found it, so it is handed the full path of that file. A name
    // whose full path does not fit is not found: read bare, it would name another file.
    wchar_t fullPath[PATH_UNITS];
    if (!ProfileFileExists(wideName) || !FullPathOf(wideName, fullPath)) {
        ShowAlert("Error", "Unable to Find = %s", fileName);
        return false;
    }
    CopyText(settings->section, sizeof settings->section, section);
    ToUtf8(fullPath, settings->profile, sizeof settings->profile);
    size_t length = 0;
    const char *encoding;
    char *text = ReadAsUtf8(fullPath, &length, &encoding);
    CopyText(settings->encoding, sizeof settings->encoding, encoding);
    for (int slot = 0; slot < SETTING_COUNT; slot++)
        ReadSetting(settings, slot, text, length, wideSection, fullPath);
    ListKeys(settings, text, length, wideSection, fullPath);
    if (text != NULL)
        HeapFree(GetProcessHeap(), 0, text);
    return true;
}
