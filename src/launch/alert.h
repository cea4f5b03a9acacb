// Alerts: the one way the launcher reports a problem to its user.
#pragma once
#include "platform/run_log.h"

// Formats the text (each "%s" takes the next argument) and shows it in a modal box with
// the caption and a single OK button; returns once the user has dismissed it.
void ShowAlert(const char *caption, const char *format, const char *arg1 = nullptr,
               const char *arg2 = nullptr);

// ShowAlert for the run once its settings are known: the alert and how it ended go to the
// log, and with closeAfterMs above 0 a box nobody has answered by then closes by itself,
// as if OK had been pressed. Once the exit key has been pressed no alert is shown, and one
// that is open closes.
void ShowRunAlert(RunLog *log, DWORD closeAfterMs, const char *caption, const char *format,
                  const char *arg1, const char *arg2 = nullptr);
