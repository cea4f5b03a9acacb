#include "launch/unattended.h"
#include "platform/wide_text.h"
#include "text/keeping_values.h"
#include "text/log_line.h"
#include "text/setting_values.h"
#include "text/text.h"
#include <wchar.h>

enum {
    EXIT_KEY_ID = 1,
    // MOD_NOREPEAT, which Windows knows from 7 on: a key held down does not repeat the hot key.
    NO_REPEAT_MODIFIER = 0x4000,
    HOTKEY_TAKEN_ERROR = 1409, // ERROR_HOTKEY_ALREADY_REGISTERED
    F12_KEY = 0x7B,
    RESTART_COMMAND_UNITS = 1024, // RESTART_MAX_CMD_LINE
};

// The profile's path as Windows resolves it (a short name, a mapped drive and its UNC path,
// letters in any case all come to one), or the text itself when it cannot be read.
static void FinalProfilePath(const char *profile, char *out, size_t outChars) {
    CopyText(out, outChars, profile);
    wchar_t wide[PATH_UNITS], final[PATH_UNITS];
    ToWide(profile, wide, PATH_UNITS);
    HANDLE file = CreateFileW(wide, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD length =
        GetFinalPathNameByHandleW(file, final, PATH_UNITS, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    if (length == 0 || length >= PATH_UNITS)
        return;
    const wchar_t *path = final;
    if (wcsncmp(final, L"\\\\?\\UNC\\", 8) == 0) { // \\?\UNC\server\share: \\server\share
        final[6] = L'\\';
        path = final + 6;
    } else if (wcsncmp(final, L"\\\\?\\", 4) == 0) {
        path = final + 4;
    }
    ToUtf8(path, out, outChars);
}

bool BecomeOnlyKeeper(LaunchState *state) {
    if (state->restartMs == 0 || state->settings.profile[0] == '\0')
        return true;
    char path[PATH_CHARS], name[64];
    FinalProfilePath(state->settings.profile, path, sizeof path);
    FormatKeeperName(path, state->settings.section, name, sizeof name);
    wchar_t wideName[64];
    ToWide(name, wideName, 64);
    // Owned until the process ends, however it ends; Windows then lets the next keeper in. A
    // keeper running elevated makes the mutex out of a standard user's reach: refused, it
    // still tells that a keeper runs.
    HANDLE mutex = CreateMutexW(NULL, TRUE, wideName);
    DWORD error = GetLastError();
    if (mutex != NULL && error != ERROR_ALREADY_EXISTS)
        return true;
    if (mutex == NULL && error != ERROR_ACCESS_DENIED) {
        WriteRunLogError(&state->log,
                         "the show's keeper mutex could not be made: error %s; kept without it",
                         error);
        return true;
    }
    if (mutex != NULL)
        CloseHandle(mutex);
    WriteRunLog(&state->log, error == ERROR_ACCESS_DENIED
                                 ? "this show is already kept by another launcher (one this "
                                   "user may not reach): nothing to do"
                                 : "this show is already kept by another launcher: nothing to do");
    return false;
}

void RegisterForRestart(LaunchState *state, const char *argumentText) {
    wchar_t command[RESTART_COMMAND_UNITS];
    ToWide(argumentText, command, RESTART_COMMAND_UNITS);
    HRESULT result =
        RegisterApplicationRestart(command, RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);
    if (SUCCEEDED(result))
        return;
    WriteRunLogError(&state->log,
                     "Windows will not start the launcher again after an update: error %s",
                     (DWORD)result);
}

void RegisterExitKey(LaunchState *state) {
    const char *value = Value(state, SLOT_EXITKEY);
    uint32_t modifiers, key;
    if (!IsValueSet(value))
        return;
    if (!ParseExitKey(value, &modifiers, &key)) {
        WriteRunEvent(&state->log, EVENT_BAD_VALUE,
                      "EXITKEY '%s' does not read as a key combination: the show runs without it",
                      value);
        return;
    }
    if (key == F12_KEY)
        WriteRunLog(&state->log,
                    "EXITKEY %s: Windows keeps F12 for the debugger, so the key may "
                    "never reach the launcher; choose another",
                    value);
    // Windows before 7 refuses MOD_NOREPEAT (Vista with an error other than a bad parameter):
    // any refusal but a key already taken is tried once more without it.
    bool registered =
        RegisterHotKey(state->backdrop, EXIT_KEY_ID, modifiers | NO_REPEAT_MODIFIER, key) != 0;
    if (!registered && GetLastError() != HOTKEY_TAKEN_ERROR)
        registered = RegisterHotKey(state->backdrop, EXIT_KEY_ID, modifiers, key) != 0;
    if (registered) {
        WriteRunLog(&state->log, "EXITKEY %s: pressing it ends the show", value);
        return;
    }
    WriteRunLogError(&state->log, "EXITKEY %s could not be had: error %s; the show runs without it",
                     GetLastError(), value);
}
