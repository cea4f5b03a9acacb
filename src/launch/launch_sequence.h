// The launch sequence: settings, backdrop, first program, title wait, second program, end.
#pragma once
#include <windows.h>

// Runs the whole launch for the given argument text. Returns the exit status, always 0.
int RunLaunchSequence(HINSTANCE instance, HINSTANCE previous, const char *argumentText);
