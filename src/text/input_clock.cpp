#include "text/input_clock.h"

void StartInputClock(InputClock *clock, uint32_t now, uint32_t stamp) {
    clock->stamp = stamp;
    clock->inputTick = now;
    clock->lookTick = now;
}

bool NoteInput(InputClock *clock, uint32_t now, uint32_t stamp) {
    bool came = stamp != clock->stamp;
    if (came) {
        // Unsigned differences: a stamp after now reads as longer ago than the last look.
        clock->inputTick = now - stamp <= now - clock->lookTick ? stamp : now;
        clock->stamp = stamp;
    }
    clock->lookTick = now;
    return came;
}

uint32_t IdleMs(const InputClock *clock, uint32_t now) {
    return now - clock->inputTick;
}
