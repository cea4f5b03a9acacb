#include "launch/arguments.h"
#include "launch/alert.h"
#include "launch/profile_settings.h"

bool ParseArguments(const char *argumentText, LaunchSettings *settings) {
    size_t count = SplitArgumentText(argumentText, settings);
    if (count < 2) {
        ShowAlert("Error", "Insufficient parameters");
        return false;
    }
    if (count == 2)
        return ReadProfileSettings(settings);
    return true;
}
