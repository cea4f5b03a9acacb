// UTF-8 inside the launcher, UTF-16 at the platform: the conversions between the two, which
// never cut a character in two, and the cutting of UTF-8 text by its length in UTF-16 units.
#pragma once
#include <stddef.h>
#include <stdint.h>

// Converts the terminated UTF-8 text into UTF-16 in out (outUnits, terminator included), cut
// after the last whole character that fits. A byte that starts no valid sequence becomes
// U+FFFD. Returns the units written, terminator not counted.
size_t Utf8ToUtf16(const char *text, char16_t *out, size_t outUnits);

// Converts at most length units of UTF-16 (stopping at a terminator) into UTF-8 in out
// (outChars, terminator included), cut after the last whole character that fits. An unpaired
// surrogate becomes U+FFFD, except one that ends the text: there the text was cut inside a
// character, which is dropped. Returns the bytes written, terminator not counted.
size_t Utf16ToUtf8(const char16_t *text, size_t length, char *out, size_t outChars);

// Copies at most srcChars bytes of src (stopping at its terminator) into dst (dstChars,
// terminator included), as many whole characters as come to at most maxUnits UTF-16 units.
// A byte that starts no valid sequence counts as one character of one unit. Returns the
// length written.
size_t CopyTextUnits(char *dst, size_t dstChars, const char *src, size_t srcChars, size_t maxUnits);

// length, or less when the text would end inside a UTF-8 sequence there: the length of the
// whole characters before that sequence.
size_t WholeCharactersLength(const char *text, size_t length);

// Whether bytes hold UTF-8 text: they start with its byte order mark, or are valid UTF-8
// holding at least one character beyond ASCII (ANSI text practically never is).
bool LooksLikeUtf8(const char *bytes, size_t length);

// Whether the UTF-8 texts a (aLength bytes) and b (bLength bytes) are equal without regard to
// case: A-Z, and the upper-case letters of Latin-1, Latin Extended-A, Greek and Cyrillic, count
// as their lower-case ones. A byte that starts no valid sequence only equals itself.
bool EqualsIgnoringCase(const char *a, size_t aLength, const char *b, size_t bLength);

// Continues the 64-bit FNV-1a hash (start with kHashStart) over the characters of text (length
// bytes) as EqualsIgnoringCase compares them: texts it takes for equal hash alike.
enum : uint64_t { kHashStart = 14695981039346656037ull };
uint64_t HashIgnoringCase(const char *text, size_t length, uint64_t hash);
