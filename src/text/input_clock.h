// When someone last touched the computer, as the launcher sees it from its looks at Windows'
// last-input stamp. The stamp is a tick count that goes round every 49.7 days, and input that
// another program injects carries a time of its own, even one after now: a stamp is trusted
// only when it lies between the previous look and now; any other new stamp counts as input
// now. So a month-old input never looks recent, and injected input never looks old.
#pragma once
#include <stdint.h>

struct InputClock {
    uint32_t stamp;     // the last-input stamp seen at the last look
    uint32_t inputTick; // when the last input came, or the clock's start if later
    uint32_t lookTick;  // the last look
};

// Starts the clock at the tick now, with Windows' last-input stamp of now: what came before
// does not count.
void StartInputClock(InputClock *clock, uint32_t now, uint32_t stamp);

// A look at the tick now with Windows' last-input stamp; true when input came since the last.
bool NoteInput(InputClock *clock, uint32_t now, uint32_t stamp);

// Milliseconds without input, as of the last look, up to the tick now.
uint32_t IdleMs(const InputClock *clock, uint32_t now);
