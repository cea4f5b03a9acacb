// How long a kept program's next start waits after it has ended.
#pragma once
#include <stdint.h>

enum {
    LONG_RUN_MS = 60000,                 // a run this long counts as a good one
    LONGEST_RESTART_WAIT_MS = 5 * 60000, // the doubling stops here
};

// The wait before the next start, for RESTART2 of restartMs and shortRuns runs shorter than
// LONG_RUN_MS in a row, the last included (0: the last run was long). After a long run
// restartMs; after the n-th short run restartMs x 2^(n-1), at most LONGEST_RESTART_WAIT_MS
// but never less than restartMs itself.
uint32_t RestartWaitMs(uint32_t restartMs, uint32_t shortRuns);
