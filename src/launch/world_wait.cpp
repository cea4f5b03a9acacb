#include "launch/world_wait.h"
#include "platform/port_look.h"
#include "platform/show_wait.h"
#include "platform/wide_text.h"
#include "text/setting_values.h"
#include "text/text.h"
#include "text/wait_target.h"

enum {
    LOOK_EVERY_MS = 500,
    UNLIMITED_SLICE_MS = 60000, // a wait without limit waits in slices of this
};

// One look's thread and its waiter share this; the last of the two to let go frees it: a look
// that hangs may outlive the wait.
struct LookJob {
    WorldWait what;
    HANDLE there;          // set once what is waited for is there
    volatile LONG stop;    // the waiter has gone
    volatile LONG holders; // the waiter and the thread
};

static void LetGo(LookJob *job) {
    if (InterlockedDecrement(&job->holders) != 0)
        return;
    CloseHandle(job->there);
    HeapFree(GetProcessHeap(), 0, job);
}

static DWORD WINAPI LookUntilThere(void *parameter) {
    LookJob *job = (LookJob *)parameter;
    while (!job->stop) {
        DWORD start = GetTickCount();
        if (job->what.tcp ? PortAccepts(job->what.target, job->what.port)
                          : GetFileAttributesW(job->what.target) != INVALID_FILE_ATTRIBUTES) {
            SetEvent(job->there);
            break;
        }
        Sleep(RemainingMs(start, LOOK_EVERY_MS));
    }
    LetGo(job);
    return 0;
}

static void ReadWorldWait(LaunchState *state, int program, SettingSlot slot) {
    const char *value = Value(state, slot);
    WorldWait *what = &state->waits[program];
    if (!IsValueSet(value))
        return;
    char host[VALUE_CHARS], port[8];
    what->tcp = IsTcpTarget(value);
    if (what->tcp) {
        what->set = ParseTcpTarget(value, host, sizeof host, port, sizeof port);
        ToWide(host, what->target, PATH_UNITS);
        ToWide(port, what->port, sizeof what->port / sizeof *what->port);
    } else {
        what->set = FullPathOfName(value, what->target);
    }
    if (!what->set)
        WriteRunEvent(&state->log, EVENT_BAD_VALUE,
                      "%s '%s' reads neither as a path nor as tcp:HOST:PORT: the program starts "
                      "without waiting",
                      kSettingKeys[slot], value);
}

void ReadWorldWaits(LaunchState *state) {
    ReadWorldWait(state, 0, SLOT_WAIT1);
    ReadWorldWait(state, 1, SLOT_WAIT2);
    state->waitLimitMs = NonNegativeMs(Value(state, SLOT_WAITLIMIT));
}

// Starts the look's thread; NULL when it cannot be had.
static LookJob *StartLook(const WorldWait *what) {
    LookJob *job = (LookJob *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(LookJob));
    if (job == NULL)
        return NULL;
    job->what = *what;
    job->holders = 2;
    job->there = CreateEventW(NULL, TRUE, FALSE, NULL);
    HANDLE thread = job->there != NULL ? CreateThread(NULL, 0, LookUntilThere, job, 0, NULL) : NULL;
    if (thread != NULL) {
        CloseHandle(thread);
        return job;
    }
    if (job->there != NULL)
        CloseHandle(job->there);
    HeapFree(GetProcessHeap(), 0, job);
    return NULL;
}

void AwaitWorld(LaunchState *state, int program) {
    const WorldWait *what = &state->waits[program];
    if (!what->set || ShowEnding())
        return;
    SettingSlot slot = program == 0 ? SLOT_WAIT1 : SLOT_WAIT2;
    const char *key = kSettingKeys[slot];
    // A path is named as it is looked for: full, from the launcher's start folder.
    char value[PATH_CHARS];
    if (what->tcp)
        CopyText(value, sizeof value, Value(state, slot));
    else
        ToUtf8(what->target, value, sizeof value);
    // A drive without its medium is a wait, not a box asking for the disk.
    UINT errorMode = SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS);
    LookJob *job = StartLook(what);
    if (job == NULL) {
        SetErrorMode(errorMode);
        WriteRunLogError(&state->log, "%s: the look could not be started: error %s; no wait",
                         GetLastError(), key);
        return;
    }
    NoteRunStage(&state->log, program == 0 ? "wait1" : "wait2");
    WriteRunLog(&state->log, "%s: waiting for %s", key, value);
    DWORD start = GetTickCount(), limit = state->waitLimitMs, result;
    do
        result = WaitServicing(job->there,
                               limit > 0 ? RemainingMs(start, limit) : (DWORD)UNLIMITED_SLICE_MS);
    while (result == WAIT_TIMEOUT && (limit == 0 || RemainingMs(start, limit) > 0));
    InterlockedExchange(&job->stop, 1);
    LetGo(job);
    SetErrorMode(errorMode);
    char took[16];
    FormatUnsigned(took, sizeof took, GetTickCount() - start);
    if (result == WAIT_OBJECT_0)
        WriteRunLog(&state->log, "%s: %s is there after %s ms", key, value, took);
    else if (result != WAIT_SHOW_ENDS)
        WriteRunEvent(&state->log, EVENT_WAIT_RAN_OUT,
                      "%s: WAITLIMIT ran out after %s ms without %s: the program starts anyway",
                      key, took, value);
}
