// Bounded text helpers shared by the settings, the alerts and the window lookup.
// No platform calls: built for Windows and natively for the sanitizer tests.
#pragma once
#include <stddef.h>

// The blanks of every text rule: space, tab, line feed, vertical tab, form feed and carriage
// return, as the C library's white space.
bool IsBlank(char c);

// Copies at most srcChars characters of src (stopping at its terminator) into dst,
// cut to dstChars - 1 characters; dst is always terminated. Returns the length written.
size_t CopyTextPart(char *dst, size_t dstChars, const char *src, size_t srcChars);

// Copies the terminated text src into dst, cut to dstChars - 1 characters.
size_t CopyText(char *dst, size_t dstChars, const char *src);

// Byte-wise equality, terminator included, with only A-Z folded to a-z.
bool TextEqualsNoCase(const char *a, const char *b);

// Writes value in decimal into dst, cut to dstChars - 1 characters. Returns the length written.
size_t FormatUnsigned(char *dst, size_t dstChars, unsigned long value);

// Writes value as "0x" and eight upper-case hexadecimal digits into dst, cut to dstChars - 1
// characters. Returns the length written.
size_t FormatHex32(char *dst, size_t dstChars, unsigned long value);
