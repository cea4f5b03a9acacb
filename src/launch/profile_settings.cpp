#include "launch/profile_settings.h"
#include "launch/alert.h"
#include "text/text.h"
#include <string.h>
#include <windows.h>

// The full path of name into full (PATH_CHARS); false when it cannot be made or does not fit.
static bool FullPathOf(const char *name, char *full) {
    char *filePart;
    DWORD length = GetFullPathNameA(name, PATH_CHARS, full, &filePart);
    return length > 0 && length < PATH_CHARS;
}

// Whether name is an existing file or directory, resolved against the current directory.
// A drive root ('C:\', '.\' at a root) is no entry of its own, so it is accepted by its
// full path; wildcards and a bare drive designator never are.
static bool ProfileFileExists(const char *name) {
    if (strpbrk(name, "?*") != NULL)
        return false;
    if (name[0] != '\0' && name[1] == ':' && name[2] == '\0')
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(name, &found);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        return true;
    }
    if (strpbrk(name, "./\\") == NULL)
        return false;
    char full[PATH_CHARS];
    return FullPathOf(name, full) && strlen(full) == 3 && GetDriveTypeA(full) > DRIVE_NO_ROOT_DIR;
}

bool ReadProfileSettings(LaunchSettings *settings) {
    char fileName[VALUE_CHARS];
    char section[VALUE_CHARS];
    CopyText(fileName, sizeof fileName, settings->values[SLOT_EXE1]);
    CopyText(section, sizeof section, settings->values[SLOT_EXE2]);

    // The profile reader looks a bare name up in the Windows directory, not in the current
    // one where the check found it, so it is handed the full path of that file. A name
    // whose full path does not fit is not found: read bare, it would name another file.
    char fullPath[PATH_CHARS];
    if (!ProfileFileExists(fileName) || !FullPathOf(fileName, fullPath)) {
        ShowAlert("Error", "Unable to Find = %s", fileName);
        return false;
    }
    for (int slot = 0; slot < SETTING_COUNT; slot++)
        GetPrivateProfileStringA(section, kSettingKeys[slot], kSettingDefaults[slot],
                                 settings->values[slot], VALUE_CHARS, fullPath);
    CopyText(settings->profile, sizeof settings->profile, fullPath);
    CopyText(settings->section, sizeof settings->section, section);
    return true;
}
