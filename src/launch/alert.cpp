#include "launch/alert.h"
#include "platform/run_report.h"
#include "platform/show_wait.h"
#include "platform/wide_text.h"
#include "text/alert_text.h"
#include <wchar.h>

// The box runs its own message loop on this thread, which calls the timer procedure; a
// timer procedure has no data of its own, hence this flag.
static bool closedByItself;

static BOOL CALLBACK PressOkOnAlert(HWND window, LPARAM found) {
    wchar_t className[8];
    if (GetClassNameW(window, className, 8) == 0 || wcscmp(className, L"#32770") != 0)
        return TRUE;
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    *(bool *)found = true;
    return FALSE;
}

// Fires once the wait is over; until the box exists it simply fires again.
static void CALLBACK CloseUnansweredAlert(HWND, UINT, UINT_PTR timer, DWORD) {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), PressOkOnAlert, (LPARAM)&found);
    if (found) {
        KillTimer(NULL, timer);
        closedByItself = true;
    }
}

void ShowRunAlert(RunLog *log, DWORD closeAfterMs, const char *caption, const char *format,
                  const char *arg1, const char *arg2) {
    if (ShowEnding())
        return; // the exit key was pressed: no one is to answer anything any more
    const char *args[2] = {arg1, arg2};
    size_t argCount = arg2 ? 2 : arg1 ? 1 : 0;
    char text[ALERT_TEXT_CHARS];
    FormatAlertText(text, sizeof text, format, args, argCount);
    WriteRunEvent(log, EVENT_ALERT, "alert %s: %s", caption, text);
    // The box shows as many characters as it always has: 255 UTF-16 units.
    wchar_t wideText[ALERT_TEXT_UNITS], wideCaption[16];
    ToWide(text, wideText, ALERT_TEXT_UNITS);
    ToWide(caption, wideCaption, 16);

    closedByItself = false;
    UINT_PTR timer = closeAfterMs > 0 ? SetTimer(NULL, 0, closeAfterMs, CloseUnansweredAlert) : 0;
    // In front of every window, the kept program's too: a box behind it is a box nobody sees.
    MessageBoxW(NULL, wideText, wideCaption, MB_OK | MB_SETFOREGROUND | MB_TOPMOST);
    if (timer != 0)
        KillTimer(NULL, timer);
    // The exit key ends the box's own loop (WM_QUIT); the run's wait sees that it was pressed.
    WriteRunLog(log, closedByItself ? "alert closed by itself: nobody answered within ALERTWAIT"
                     : ShowEnding() ? "alert closed: the exit key was pressed"
                                    : "alert answered with OK");
}

void ShowAlert(const char *caption, const char *format, const char *arg1, const char *arg2) {
    RunLog none = {};
    ShowRunAlert(&none, 0, caption, format, arg1, arg2);
}
