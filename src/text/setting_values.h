// How a setting value is read: set or not, as a delay, as a colour component, as a switch, as
// the screens to cover.
#pragma once
#include <stdint.h>

// A value is set unless it is "" or "NONE" (A-Z compared without case).
bool IsValueSet(const char *value);

// Blanks, an optional sign, then a number in base 16 ('0x'), 8 (leading '0') or 10, up to
// the first non-digit; no digits read 0. Clamped to the signed 32-bit range.
int32_t ParseDelay(const char *value);

// A delay as a wait: read as ParseDelay, a negative one as none, so that no wait is ever
// handed to the platform as endless.
uint32_t NonNegativeMs(const char *value);

// Blanks, an optional sign, then decimal digits; no digits read 0. Wraps modulo 2^32.
int32_t ParseColorComponent(const char *value);

// Only the exact text "0" switches off the backdrop (BACKGROUND) or the pointer (CURSOR).
bool IsSwitchedOff(const char *value);

// Only the exact text "1" switches on SKIP1, TREE1 or TREE2.
bool IsSwitchedOn(const char *value);

// SCREENS: "PRIMARY" (A-Z compared without case) keeps the backdrop to the primary monitor;
// anything else covers every monitor.
bool IsPrimaryScreenOnly(const char *screens);
