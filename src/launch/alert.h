// Alerts: the one way the launcher reports a problem to its user.
#pragma once

// Formats the text (each "%s" takes the next argument) and shows it in a modal box with
// the caption and a single OK button; returns once the user has dismissed it.
void ShowAlert(const char *caption, const char *format, const char *arg1 = nullptr,
               const char *arg2 = nullptr);
