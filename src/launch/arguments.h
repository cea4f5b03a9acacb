// Turning the argument text into the launch settings.
#pragma once
#include "text/launch_settings.h"

// Two values name a profile file and its section; three or more are the settings
// themselves, in slot order. Fewer than two, or a profile file that cannot be found, are
// reported in an alert and give false: the launcher then ends. The text is only read.
bool ParseArguments(const char *argumentText, LaunchSettings *settings);
