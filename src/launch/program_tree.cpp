#include "launch/program_tree.h"
#include "desktop/window_lookup.h"
#include "platform/show_wait.h"
#include "text/log_line.h"
#include "text/text.h"

enum {
    TREE_IDS = 64,       // processes of one job whose windows are looked at
    TREE_POLL_MS = 100,  // how often a job is looked at when none of its processes opens
    TREE_LOOK_MS = 1000, // how long one of its processes is waited on before a new look
    ENDED_WAIT_MS = 5000,
};

bool JoinOwnJob(RunLog *log, RunningProgram *program) {
    // No kill-on-close: the programs outlive the launcher, as programs started alone do. A
    // program that asks to start one outside its job (CREATE_BREAKAWAY_FROM_JOB) may: without
    // the limit that allows it, that start would fail, and the show with it.
    HANDLE job = CreateJobObjectW(NULL, NULL);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    bool joined =
        job != NULL &&
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) &&
        AssignProcessToJobObject(job, program->process.hProcess);
    if (joined) {
        program->job = job;
        WriteRunLog(log,
                    "%s program put in a job of its own: followed with every program it starts",
                    program->which);
        return true;
    }
    DWORD error = GetLastError();
    if (job != NULL)
        CloseHandle(job);
    WriteRunLogError(log,
                     "%s program could not be put in a job of its own: error %s; it is followed "
                     "alone, without the programs it starts",
                     error, program->which);
    return false;
}

static bool ProcessHasEnded(HANDLE process) {
    return process == NULL || WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
}

bool ProgramHasEnded(const RunningProgram *program) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts = {};
    if (program->job != NULL &&
        QueryInformationJobObject(program->job, JobObjectBasicAccountingInformation, &counts,
                                  sizeof counts, NULL))
        return counts.ActiveProcesses == 0;
    return ProcessHasEnded(program->process.hProcess);
}

DWORD ProgramExitCode(const RunningProgram *program) {
    if (!ProgramHasEnded(program))
        return STILL_ACTIVE;
    if (program->job != NULL && program->lastExitSeen)
        return program->lastExitCode;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(program->process.hProcess, &code);
    return code;
}

// The ids of the program's processes still running, at most TREE_IDS of them.
static size_t ProgramIds(const RunningProgram *program, DWORD *ids) {
    struct {
        JOBOBJECT_BASIC_PROCESS_ID_LIST list;
        ULONG_PTR more[TREE_IDS - 1];
    } listed = {};
    if (program->job == NULL ||
        (!QueryInformationJobObject(program->job, JobObjectBasicProcessIdList, &listed,
                                    sizeof listed, NULL) &&
         GetLastError() != ERROR_MORE_DATA)) {
        ids[0] = program->process.hProcess != NULL ? GetProcessId(program->process.hProcess) : 0;
        return ids[0] != 0 ? 1 : 0;
    }
    size_t count = listed.list.NumberOfProcessIdsInList;
    count = count < (size_t)TREE_IDS ? count : (size_t)TREE_IDS;
    for (size_t i = 0; i < count; i++)
        ids[i] = (DWORD)listed.list.ProcessIdList[i];
    return count;
}

// One process of the job still running, opened to wait on and to read its exit code; NULL
// when none opens.
static HANDLE OpenTreeProcess(const RunningProgram *program) {
    DWORD ids[TREE_IDS];
    size_t count = ProgramIds(program, ids);
    for (size_t i = 0; i < count; i++) {
        HANDLE member = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ids[i]);
        if (member != NULL && !ProcessHasEnded(member))
            return member;
        if (member != NULL)
            CloseHandle(member);
    }
    return NULL;
}

DWORD WaitForProgram(RunningProgram *program, DWORD ms) {
    HANDLE process = program->process.hProcess;
    if (program->job == NULL)
        return WaitServicing(process, ms);
    DWORD start = GetTickCount();
    for (;;) {
        if (ProgramHasEnded(program))
            return WAIT_OBJECT_0;
        DWORD left = RemainingMs(start, ms);
        if (left == 0)
            return WAIT_TIMEOUT;
        // The job is signalled by no end of its processes: one of them is waited on, the first
        // while it runs, then another, and the job looked at again after each. An id may have
        // been taken by another process by the time it is opened, hence the limit on a wait.
        HANDLE member = ProcessHasEnded(process) ? OpenTreeProcess(program) : process;
        DWORD limit = member == NULL      ? (DWORD)TREE_POLL_MS
                      : member == process ? left
                                          : (DWORD)TREE_LOOK_MS;
        DWORD result = WaitServicing(member, left < limit ? left : limit);
        if (result == WAIT_OBJECT_0 && member != NULL)
            program->lastExitSeen = GetExitCodeProcess(member, &program->lastExitCode) != 0;
        if (member != NULL && member != process)
            CloseHandle(member);
        if (result == WAIT_SHOW_ENDS || result == WAIT_FAILED)
            return result;
    }
}

HWND FindProgramWindow(const RunningProgram *program) {
    DWORD ids[TREE_IDS];
    return FindMainWindow(ids, ProgramIds(program, ids));
}

int AskProgramToClose(const RunningProgram *program) {
    DWORD ids[TREE_IDS];
    return AskWindowsToClose(ids, ProgramIds(program, ids));
}

DWORD EndProgram(RunLog *log, RunningProgram *program) {
    if (program->job == NULL || !TerminateJobObject(program->job, 1))
        TerminateProcess(program->process.hProcess, 1);
    DWORD result = WaitForProgram(program, ENDED_WAIT_MS);
    if (result != WAIT_TIMEOUT)
        return result == WAIT_SHOW_ENDS ? WAIT_SHOW_ENDS : (DWORD)WAIT_OBJECT_0;
    WriteRunLog(log,
                "the %s program is still there 5 s after it was ended: it is waited for, and "
                "nothing is started beside it",
                program->which);
    while ((result = WaitForProgram(program, ENDED_WAIT_MS)) == WAIT_TIMEOUT) {
    }
    if (result != WAIT_SHOW_ENDS)
        WriteRunLog(log, "the %s program that was ended has gone", program->which);
    return result == WAIT_SHOW_ENDS ? WAIT_SHOW_ENDS : (DWORD)WAIT_OBJECT_0;
}

DWORD CloseProgram(RunLog *log, RunningProgram *program, DWORD ms) {
    AskProgramToClose(program);
    DWORD result = WaitForProgram(program, ms);
    if (result != WAIT_TIMEOUT)
        return result;
    char seconds[16];
    FormatUnsigned(seconds, sizeof seconds, ms / 1000);
    WriteRunLog(log, "the %s program did not close within %s s: ended", program->which, seconds);
    return EndProgram(log, program) == WAIT_SHOW_ENDS ? WAIT_SHOW_ENDS : (DWORD)WAIT_TIMEOUT;
}

void ReleaseProgram(RunningProgram *program) {
    if (program->job != NULL)
        CloseHandle(program->job);
    if (program->process.hProcess != NULL)
        CloseHandle(program->process.hProcess);
    if (program->process.hThread != NULL)
        CloseHandle(program->process.hThread);
    const char *which = program->which;
    *program = RunningProgram{};
    program->which = which;
}
