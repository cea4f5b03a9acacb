#include "platform/error_text.h"
#include "platform/wide_text.h"
#include "text/alert_text.h"
#include "text/text.h"

void DescribeError(DWORD error, char *out, size_t outChars) {
    wchar_t wideMessage[256] = L"";
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                                  error, 0, wideMessage, 256, NULL);
    while (length > 0 && wideMessage[length - 1] <= L' ')
        length--;
    wideMessage[length < 256 ? length : 255] = L'\0';
    char message[256 * 3];
    ToUtf8(wideMessage, message, sizeof message);
    // Results of COM calls read best in hexadecimal, Windows error numbers in decimal.
    char number[16];
    if (error >= 0x80000000)
        FormatHex32(number, sizeof number, error);
    else
        FormatUnsigned(number, sizeof number, error);
    const char *args[] = {number, message};
    FormatAlertText(out, outChars, "%s (%s)", args, 2);
}
