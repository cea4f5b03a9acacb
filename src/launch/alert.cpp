#include "launch/alert.h"
#include "text/alert_text.h"
#include <windows.h>

void ShowAlert(const char *caption, const char *format, const char *arg1, const char *arg2) {
    const char *args[2] = {arg1, arg2};
    size_t argCount = arg2 ? 2 : arg1 ? 1 : 0;
    char text[ALERT_TEXT_CHARS];
    FormatAlertText(text, sizeof text, format, args, argCount);
    MessageBoxA(NULL, text, caption, MB_OK);
}
