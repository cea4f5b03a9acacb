// Reading a profile (INI) file's text in memory, as the platform's profile reader reads the
// file, for the encodings that reader does not know (UTF-8, UTF-16 big-endian).
#pragma once
#include <stddef.h>

// Looks key up in section of the profile text (UTF-8, length bytes, ending early at a NUL).
// Lines end at CR or LF. A line "[name]" (blanks before it allowed) starts a section named
// name without its surrounding blanks; in the first section whose name equals section (its
// surrounding blanks removed too) without regard to case, the first line "key = value"
// whose key equals key without regard to case gives the value: the blanks around it
// removed, then one pair of enclosing quotes (" or '), then cut after MAX_VALUE_UNITS
// UTF-16 units of whole characters, into out (outChars). A line of the key alone, without
// '=', is the key without a value, read as missing. Lines before any section, and a '['
// line without its ']', are passed over. False, and out empty, when the key has no value.
bool FindProfileValue(const char *text, size_t length, const char *section, const char *key,
                      char *out, size_t outChars);

// The names of the keys of section in the profile text, found as FindProfileValue finds them,
// into out (outChars): each ended by a NUL, the list by one more. Lines of blanks are passed
// over, and names that do not fit are left out whole.
void ListProfileKeys(const char *text, size_t length, const char *section, char *out,
                     size_t outChars);
