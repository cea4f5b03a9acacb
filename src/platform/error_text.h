// The text of a Windows error number or COM result, for the log.
#pragma once
#include <stddef.h>
#include <windows.h>

// "N (the system's message for it)" for the Windows error number or COM result error, into
// out (outChars, terminator included); a COM failure's N is written in hexadecimal.
void DescribeError(DWORD error, char *out, size_t outChars);
