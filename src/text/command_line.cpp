#include "text/command_line.h"
#include "text/text.h"

const char *SkipProgramName(const char *commandLine) {
    const unsigned char *p = (const unsigned char *)commandLine;
    if (*p == '"') {
        p++;
        while (*p != '\0' && *p != '"')
            p++;
        if (*p == '"')
            p++;
    } else {
        while (*p > 32)
            p++;
    }
    // As the C runtime hands WinMain its command line: every code from 1 to 32 after the
    // name goes with it, as every such code ends an unquoted name.
    while (*p >= 1 && *p <= 32)
        p++;
    return (const char *)p;
}

static size_t SkipBlanks(const char *text, size_t at) {
    while (IsBlank(text[at]))
        at++;
    return at;
}

size_t NextProgramEnd(const char *commandLine, size_t after) {
    size_t start = SkipBlanks(commandLine, 0);
    if (commandLine[start] == '"') {
        if (after != 0)
            return 0;
        size_t end = start + 1;
        while (commandLine[end] != '\0' && commandLine[end] != '"')
            end++;
        return commandLine[end] == '"' ? end + 1 : end;
    }
    size_t end = SkipBlanks(commandLine, after < start ? start : after);
    if (commandLine[end] == '\0')
        return 0;
    while (commandLine[end] != '\0' && !IsBlank(commandLine[end]))
        end++;
    return end;
}

void SplitProgram(const char *commandLine, size_t end, char *program, size_t programChars,
                  char *parameters, size_t parametersChars) {
    size_t start = SkipBlanks(commandLine, 0);
    start = start > end ? end : start;
    size_t last = end;
    if (commandLine[start] == '"') {
        start++;
        if (last > start && commandLine[last - 1] == '"')
            last--;
    }
    CopyTextPart(program, programChars, commandLine + start, last > start ? last - start : 0);
    CopyText(parameters, parametersChars, commandLine + SkipBlanks(commandLine, end));
}
