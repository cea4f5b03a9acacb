#include "text/report_text.h"
#include "text/text.h"
#include "text/utf.h"
#include <string.h>

bool PassEvent(EventGate *gate, uint32_t nowMs, uint32_t *heldBack) {
    if (gate->passed && nowMs - gate->lastMs < EVENT_GATE_MS) {
        gate->heldBack++;
        return false;
    }
    *heldBack = gate->heldBack;
    gate->heldBack = 0;
    gate->lastMs = nowMs;
    gate->passed = true;
    return true;
}

// The text being made, and whether a line has not fitted: the lines after it are left out too.
struct StatusText {
    char *out;
    size_t outChars;
    size_t length;
    bool full;
};

// Adds "key=value" and CR LF when the whole line fits; a line feed or carriage return in the
// value would begin another line, so it becomes a blank.
static void AddLine(StatusText *text, const char *key, const char *value) {
    size_t keyLength = strlen(key), valueLength = strlen(value);
    if (text->full || text->length + keyLength + valueLength + 4 > text->outChars) {
        text->full = true;
        return;
    }
    char *at = text->out + text->length;
    memcpy(at, key, keyLength);
    at[keyLength] = '=';
    for (size_t i = 0; i < valueLength; i++)
        at[keyLength + 1 + i] = value[i] == '\n' || value[i] == '\r' ? ' ' : value[i];
    memcpy(at + keyLength + 1 + valueLength, "\r\n", 3);
    text->length += keyLength + valueLength + 3;
}

static void AddNumber(StatusText *text, const char *key, unsigned long value) {
    char number[16];
    FormatUnsigned(number, sizeof number, value);
    AddLine(text, key, number);
}

// "YYYY-MM-DD HH:MM:SS": the log line's stamp without its milliseconds.
static void AddTime(StatusText *text, const char *key, const LogTime *time) {
    char stamp[64];
    FormatLogLine(stamp, sizeof stamp, time, "");
    stamp[19] = '\0';
    AddLine(text, key, stamp);
}

size_t FormatStatus(char *out, size_t outChars, const StatusFacts *facts, const LogTime *now) {
    StatusText text = {out, outChars, 0, false};
    if (outChars > 0)
        out[0] = '\0';
    AddTime(&text, "time", now);
    AddLine(&text, "stage", facts->stage);
    AddNumber(&text, "launcher_pid", facts->launcherId);
    const char *pidKeys[2] = {"first_pid", "second_pid"};
    const char *startKeys[2] = {"first_start", "second_start"};
    for (int i = 0; i < 2; i++) {
        if (facts->programId[i] == 0) {
            AddLine(&text, pidKeys[i], "");
            AddLine(&text, startKeys[i], "");
            continue;
        }
        AddNumber(&text, pidKeys[i], facts->programId[i]);
        AddTime(&text, startKeys[i], &facts->programStart[i]);
    }
    const char *countKeys[STATUS_COUNTS] = {"starts", "restarts", "hungs_ended", "renewals",
                                            "alerts"};
    for (int i = 0; i < STATUS_COUNTS; i++)
        AddNumber(&text, countKeys[i], facts->counts[i]);
    AddLine(&text, "last_event", facts->lastEvent);
    return text.length;
}
