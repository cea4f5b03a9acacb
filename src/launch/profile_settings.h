// Launch settings read from a section of a profile (INI) file.
#pragma once
#include "text/launch_settings.h"

// On entry slots 0 and 1 hold the file name and the section name. Checks that the file
// exists (alert "Unable to Find = %s" and false if not), then reads the keys of the
// section into the slots, a missing key giving its default, and records the profile's full
// path and the section.
bool ReadProfileSettings(LaunchSettings *settings);
