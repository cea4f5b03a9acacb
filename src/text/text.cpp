#include "text/text.h"

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

size_t CopyTextPart(char *dst, size_t dstChars, const char *src, size_t srcChars) {
    if (dstChars == 0)
        return 0;
    size_t n = 0;
    while (n + 1 < dstChars && n < srcChars && src[n] != '\0') {
        dst[n] = src[n];
        n++;
    }
    dst[n] = '\0';
    return n;
}

size_t CopyText(char *dst, size_t dstChars, const char *src) {
    return CopyTextPart(dst, dstChars, src, (size_t)-1);
}

static unsigned char FoldAsciiUpper(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? (unsigned char)(c - 'A' + 'a') : c;
}

bool TextEqualsNoCase(const char *a, const char *b) {
    for (size_t i = 0;; i++) {
        unsigned char ca = FoldAsciiUpper((unsigned char)a[i]);
        unsigned char cb = FoldAsciiUpper((unsigned char)b[i]);
        if (ca != cb)
            return false;
        if (ca == '\0')
            return true;
    }
}

size_t FormatUnsigned(char *dst, size_t dstChars, unsigned long value) {
    char digits[24];
    size_t count = 0;
    do {
        digits[count++] = (char)('0' + value % 10);
        value /= 10;
    } while (value != 0);
    char reversed[24];
    for (size_t i = 0; i < count; i++)
        reversed[i] = digits[count - 1 - i];
    return CopyTextPart(dst, dstChars, reversed, count);
}

size_t FormatHex32(char *dst, size_t dstChars, unsigned long value) {
    char digits[10] = {'0', 'x'};
    for (int i = 9; i >= 2; i--, value >>= 4)
        digits[i] = "0123456789ABCDEF"[value & 0xF];
    return CopyTextPart(dst, dstChars, digits, sizeof digits);
}
