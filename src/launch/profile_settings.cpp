#include "launch/profile_settings.h"
#include "launch/alert.h"
#include "launch/wide_text.h"
#include "text/text.h"
#include <wchar.h>

enum { LARGEST_COPIED_PROFILE_BYTES = 16 << 20 };

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

// Writes units of UTF-16, after its byte order mark, to a new file in the temporary folder
// whose name goes to copy (MAX_PATH). False when it cannot.
static bool WriteUtf16Copy(const char16_t *units, size_t count, wchar_t *copy) {
    wchar_t folder[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"kvn", 0, copy) == 0)
        return false;
    HANDLE file =
        CreateFileW(copy, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, NULL);
    const char16_t mark = 0xFEFF;
    DWORD written = 0, bytes = (DWORD)(count * sizeof *units);
    bool done = file != INVALID_HANDLE_VALUE && WriteFile(file, &mark, 2, &written, NULL) &&
                WriteFile(file, units, bytes, &written, NULL) && written == bytes;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!done)
        DeleteFileW(copy);
    return done;
}

// The platform's profile reader is sure to take UTF-16 little-endian with a byte order mark and
// the ANSI code page, not UTF-8 (whose mark would become part of the first line). A profile
// whose bytes are UTF-8, or UTF-16 big-endian with its mark, is therefore read from a UTF-16
// little-endian copy of it, made here in the temporary folder; its name goes to copy. False,
// and no copy, for any other file: it is read as it is.
static bool MakeUtf16Copy(const wchar_t *path, wchar_t *copy) {
    DWORD size = 0;
    char *bytes = ReadWholeFile(path, LARGEST_COPIED_PROFILE_BYTES, &size);
    if (bytes == NULL)
        return false;
    bool made = false;
    if (size >= 2 && (unsigned char)bytes[0] == 0xFE && (unsigned char)bytes[1] == 0xFF) {
        for (DWORD at = 2; at + 1 < size; at += 2) {
            char high = bytes[at];
            bytes[at] = bytes[at + 1];
            bytes[at + 1] = high;
        }
        made = WriteUtf16Copy((const char16_t *)(bytes + 2), (size - 2) / 2, copy);
    } else if (LooksLikeUtf8(bytes, size)) {
        bool marked = size >= 3 && (unsigned char)bytes[0] == 0xEF &&
                      (unsigned char)bytes[1] == 0xBB && (unsigned char)bytes[2] == 0xBF;
        const char *text = bytes + (marked ? 3 : 0);
        char16_t *units =
            (char16_t *)HeapAlloc(GetProcessHeap(), 0, ((SIZE_T)size + 1) * sizeof(char16_t));
        if (units != NULL)
            made = WriteUtf16Copy(units, Utf8ToUtf16(text, units, (size_t)size + 1), copy);
        if (units != NULL)
            HeapFree(GetProcessHeap(), 0, units);
    }
    HeapFree(GetProcessHeap(), 0, bytes);
    return made;
}

// Reads the setting of slot from section of the profile file into its UTF-8 slot.
static void ReadSetting(LaunchSettings *settings, int slot, const wchar_t *section,
                        const wchar_t *file) {
    wchar_t key[16], fallback[8], value[VALUE_UNITS];
    ToWide(kSettingKeys[slot], key, sizeof key / sizeof *key);
    ToWide(kSettingDefaults[slot], fallback, sizeof fallback / sizeof *fallback);
    GetPrivateProfileStringW(section, key, fallback, value, VALUE_UNITS, file);
    ToUtf8(value, settings->values[slot], VALUE_CHARS);
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
    wchar_t copy[MAX_PATH];
    bool copied = MakeUtf16Copy(fullPath, copy);
    for (int slot = 0; slot < SETTING_COUNT; slot++)
        ReadSetting(settings, slot, wideSection, copied ? copy : fullPath);
    if (copied)
        DeleteFileW(copy);
    ToUtf8(fullPath, settings->profile, sizeof settings->profile);
    CopyText(settings->section, sizeof settings->section, section);
    return true;
}
