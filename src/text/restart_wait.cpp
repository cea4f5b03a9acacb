#include "text/restart_wait.h"

uint32_t RestartWaitMs(uint32_t restartMs, uint32_t shortRuns) {
    const uint32_t longest = LONGEST_RESTART_WAIT_MS;
    uint32_t wait = restartMs;
    for (uint32_t n = 1; n < shortRuns && wait < longest; n++)
        wait = wait * 2 < longest ? wait * 2 : longest;
    return wait;
}
