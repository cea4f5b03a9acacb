#include "launch/program_tree.h"
#include "desktop/window_lookup.h"
#include "launch/message_waits.h"
#include "platform/error_text.h"
#include "text/log_line.h"
#include "text/text.h"

enum {
    TREE_IDS = 64,       // processes of one job whose windows are looked at
    TREE_POLL_MS = 100,  // how often a job is looked at when none of its processes opens
    TREE_LOOK_MS = 1000, // how long one of its processes is waited on before a new look
    ENDED_WAIT_MS = 5000,
};

HANDLE JoinOwnJob(RunLog *log, const char *which, const PROCESS_INFORMATION *process) {
    // No kill-on-close: the programs outlive the launcher, as programs started alone do. A
    // program that asks to start one outside its job (CREATE_BREAKAWAY_FROM_JOB) may: without
    // the limit that allows it, that start would fail, and the show with it.
    HANDLE job = CreateJobObjectW(NULL, NULL);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    bool joined =
        job != NULL &&
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) &&
        AssignProcessToJobObject(job, process->hProcess);
    if (!joined) {
        char why[LOG_LINE_CHARS / 4];
        DescribeError(GetLastError(), why, sizeof why);
        if (job != NULL)
            CloseHandle(job);
        job = NULL;
        WriteRunLog(log,
                    "%s program could not be put in a job of its own: error %s; it is followed "
                    "alone, without the programs it starts",
                    which, why);
    } else {
        WriteRunLog(log,
                    "%s program put in a job of its own: followed with every program it starts",
                    which);
    }
    ResumeThread(process->hThread);
    return job;
}

static bool ProcessHasEnded(HANDLE process) {
    return process == NULL || WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
}

bool ProgramHasEnded(HANDLE process, HANDLE job) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts = {};
    if (job != NULL && QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &counts,
                                                 sizeof counts, NULL))
        return counts.ActiveProcesses == 0;
    return ProcessHasEnded(process);
}

// The ids of the program's processes still running, at most max of them.
static size_t ProgramIds(HANDLE process, HANDLE job, DWORD *ids, size_t max) {
    struct {
        JOBOBJECT_BASIC_PROCESS_ID_LIST list;
        ULONG_PTR more[TREE_IDS - 1];
    } listed = {};
    if (job == NULL || (!QueryInformationJobObject(job, JobObjectBasicProcessIdList, &listed,
                                                   sizeof listed, NULL) &&
                        GetLastError() != ERROR_MORE_DATA)) {
        ids[0] = process != NULL ? GetProcessId(process) : 0;
        return ids[0] != 0 ? 1 : 0;
    }
    size_t count = listed.list.NumberOfProcessIdsInList;
    count = count < (size_t)TREE_IDS ? count : (size_t)TREE_IDS;
    count = count < max ? count : max;
    for (size_t i = 0; i < count; i++)
        ids[i] = (DWORD)listed.list.ProcessIdList[i];
    return count;
}

// One process of the job still running, opened to wait on; NULL when none opens.
static HANDLE OpenTreeProcess(HANDLE job) {
    DWORD ids[TREE_IDS];
    size_t count = ProgramIds(NULL, job, ids, TREE_IDS);
    for (size_t i = 0; i < count; i++) {
        HANDLE member = OpenProcess(SYNCHRONIZE, FALSE, ids[i]);
        if (member != NULL && !ProcessHasEnded(member))
            return member;
        if (member != NULL)
            CloseHandle(member);
    }
    return NULL;
}

DWORD WaitForProgram(HANDLE process, HANDLE job, DWORD ms) {
    if (job == NULL)
        return WaitServicing(process, ms);
    DWORD start = GetTickCount();
    for (;;) {
        if (ProgramHasEnded(process, job))
            return WAIT_OBJECT_0;
        DWORD left = RemainingMs(start, ms);
        if (left == 0)
            return WAIT_TIMEOUT;
        // The job is signalled by no end of its processes: one of them is waited on, the first
        // while it runs, then another, and the job looked at again after each. An id may have
        // been taken by another process by the time it is opened, hence the limit on a wait.
        HANDLE member = ProcessHasEnded(process) ? OpenTreeProcess(job) : process;
        DWORD limit = member == NULL      ? (DWORD)TREE_POLL_MS
                      : member == process ? left
                                          : (DWORD)TREE_LOOK_MS;
        DWORD result = WaitServicing(member, left < limit ? left : limit);
        if (member != NULL && member != process)
            CloseHandle(member);
        if (result == WAIT_SHOW_ENDS || result == WAIT_FAILED)
            return result;
    }
}

HWND FindProgramWindow(HANDLE process, HANDLE job) {
    DWORD ids[TREE_IDS];
    return FindMainWindow(ids, ProgramIds(process, job, ids, TREE_IDS));
}

int AskProgramToClose(HANDLE process, HANDLE job) {
    DWORD ids[TREE_IDS];
    return AskWindowsToClose(ids, ProgramIds(process, job, ids, TREE_IDS));
}

DWORD EndProgram(HANDLE process, HANDLE job) {
    if (job == NULL || !TerminateJobObject(job, 1))
        TerminateProcess(process, 1);
    return WaitForProgram(process, job, ENDED_WAIT_MS);
}

DWORD CloseProgram(RunLog *log, const char *which, HANDLE process, HANDLE job, DWORD ms) {
    AskProgramToClose(process, job);
    DWORD result = WaitForProgram(process, job, ms);
    if (result != WAIT_TIMEOUT)
        return result;
    char seconds[16];
    FormatUnsigned(seconds, sizeof seconds, ms / 1000);
    WriteRunLog(log, "the %s program did not close within %s s: ended", which, seconds);
    return EndProgram(process, job) == WAIT_SHOW_ENDS ? WAIT_SHOW_ENDS : (DWORD)WAIT_TIMEOUT;
}
