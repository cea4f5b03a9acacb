#include "launch/profile_settings.h"
#include "launch/alert.h"
#include "launch/text.h"
#include <string.h>
#include <windows.h>

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
    char full[VALUE_CHARS];
    char *filePart;
    DWORD length = GetFullPathNameA(name, sizeof full, full, &filePart);
    return length == 3 && GetDriveTypeA(full) > DRIVE_NO_ROOT_DIR;
}

bool ReadProfileSettings(LaunchSettings *settings) {
    char fileName[VALUE_CHARS];
    char section[VALUE_CHARS];
    CopyText(fileName, sizeof fileName, settings->values[SLOT_EXE1]);
    CopyText(section, sizeof section, settings->values[SLOT_EXE2]);

    if (!ProfileFileExists(fileName)) {
        ShowAlert("Error", "Unable to Find = %s", fileName);
        return false;
    }
    // The profile reader looks a bare name up in the Windows directory, not in the current
    // one where the check above found it, so it is handed the full path of that file.
    char fullPath[MAX_PATH + 1];
    char *filePart;
    DWORD length = GetFullPathNameA(fileName, sizeof fullPath, fullPath, &filePart);
    const char *readFrom = (length > 0 && length < sizeof fullPath) ? fullPath : fileName;

    for (int slot = 0; slot < SETTING_COUNT; slot++)
        GetPrivateProfileStringA(section, kSettingKeys[slot], kSettingDefaults[slot],
                                 settings->values[slot], VALUE_CHARS, readFrom);
    return true;
}
