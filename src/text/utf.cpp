#include "text/utf.h"
#include <stdint.h>

enum : uint32_t { REPLACEMENT = 0xFFFD };

// The valid UTF-8 sequence at p (at most available bytes): its length, and its character in
// *point. 0 when p starts none: a stray continuation byte, a short, overlong or surrogate
// sequence, or one beyond U+10FFFF.
static size_t DecodeUtf8(const unsigned char *p, size_t available, uint32_t *point) {
    if (p[0] < 0x80) {
        *point = p[0];
        return 1;
    }
    size_t length = p[0] >= 0xF0 ? 4 : p[0] >= 0xE0 ? 3 : p[0] >= 0xC0 ? 2 : 0;
    if (length == 0 || length > available || p[0] > 0xF4)
        return 0;
    uint32_t value = p[0] & (0x7F >> length);
    for (size_t i = 1; i < length; i++) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        value = value << 6 | (p[i] & 0x3F);
    }
    const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < least[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *point = value;
    return length;
}

// Length of the text up to its terminator, at most limit.
static size_t BoundedLength(const char *text, size_t limit) {
    size_t length = 0;
    while (length < limit && text[length] != '\0')
        length++;
    return length;
}

size_t Utf8ToUtf16(const char *text, char16_t *out, size_t outUnits) {
    if (outUnits == 0)
        return 0;
    const unsigned char *p = (const unsigned char *)text;
    size_t written = 0;
    for (size_t available = BoundedLength(text, (size_t)-1); available > 0;) {
        uint32_t point;
        size_t length = DecodeUtf8(p, available, &point);
        if (length == 0) {
            point = REPLACEMENT;
            length = 1;
        }
        size_t units = point > 0xFFFF ? 2 : 1;
        if (written + units >= outUnits)
            break;
        if (units == 2) {
            out[written++] = (char16_t)(0xD800 + ((point - 0x10000) >> 10));
            out[written++] = (char16_t)(0xDC00 + (point & 0x3FF));
        } else {
            out[written++] = (char16_t)point;
        }
        p += length;
        available -= length;
    }
    out[written] = 0;
    return written;
}

size_t Utf16ToUtf8(const char16_t *text, size_t length, char *out, size_t outChars) {
    if (outChars == 0)
        return 0;
    size_t written = 0;
    for (size_t i = 0; i < length && text[i] != 0; i++) {
        uint32_t point = text[i];
        bool high = point >= 0xD800 && point <= 0xDBFF;
        bool last = i + 1 >= length || text[i + 1] == 0;
        if (high && last)
            break;
        if (high && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            point = 0x10000 + ((point - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (point >= 0xD800 && point <= 0xDFFF)
            point = REPLACEMENT;
        size_t bytes = point < 0x80 ? 1 : point < 0x800 ? 2 : point < 0x10000 ? 3 : 4;
        if (written + bytes >= outChars)
            break;
        if (bytes == 1) {
            out[written++] = (char)point;
            continue;
        }
        const unsigned char lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
        out[written++] = (char)(lead[bytes] | point >> (6 * (bytes - 1)));
        for (size_t k = bytes - 1; k > 0; k--)
            out[written++] = (char)(0x80 | ((point >> (6 * (k - 1))) & 0x3F));
    }
    out[written] = '\0';
    return written;
}

size_t CopyTextUnits(char *dst, size_t dstChars, const char *src, size_t srcChars,
                     size_t maxUnits) {
    if (dstChars == 0)
        return 0;
    const unsigned char *p = (const unsigned char *)src;
    size_t available = BoundedLength(src, srcChars), copied = 0, units = 0;
    while (copied < available) {
        uint32_t point;
        size_t length = DecodeUtf8(p + copied, available - copied, &point);
        size_t width = length == 0 ? 1 : point > 0xFFFF ? 2 : 1;
        length = length == 0 ? 1 : length;
        if (units + width > maxUnits || copied + length >= dstChars)
            break;
        units += width;
        copied += length;
    }
    for (size_t i = 0; i < copied; i++)
        dst[i] = src[i];
    dst[copied] = '\0';
    return copied;
}

size_t WholeCharactersLength(const char *text, size_t length) {
    const unsigned char *p = (const unsigned char *)text;
    size_t start = length;
    while (start > 0 && length - start < 3 && (p[start - 1] & 0xC0) == 0x80)
        start--;
    if (start == 0 || p[start - 1] < 0xC0)
        return length;
    size_t needed = p[start - 1] >= 0xF0 ? 4 : p[start - 1] >= 0xE0 ? 3 : 2;
    return length - (start - 1) < needed ? start - 1 : length;
}

bool LooksLikeUtf8(const char *bytes, size_t length) {
    const unsigned char *p = (const unsigned char *)bytes;
    if (length >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        return true;
    bool beyondAscii = false;
    for (size_t at = 0; at < length;) {
        uint32_t point;
        size_t sequence = DecodeUtf8(p + at, length - at, &point);
        if (sequence == 0)
            return false;
        beyondAscii = beyondAscii || sequence > 1;
        at += sequence;
    }
    return beyondAscii;
}

// The lower-case letter of an upper-case one in the scripts most names are written in; any
// other character as it is.
static uint32_t LowerCase(uint32_t point) {
    bool latin1 = point >= 0xC0 && point <= 0xDE && point != 0xD7;
    bool greek = point >= 0x391 && point <= 0x3AB && point != 0x3A2;
    if ((point >= 'A' && point <= 'Z') || latin1 || greek || (point >= 0x410 && point <= 0x42F))
        return point + 0x20;
    if (point >= 0x400 && point <= 0x40F)
        return point + 0x50;
    // Latin Extended-A pairs its letters upper first, the pairing shifting by one in the
    // middle of the block; U+0130 and U+0131 (the Turkish i) and U+0138 stand alone.
    bool evenPairs = (point >= 0x100 && point <= 0x12F) || (point >= 0x132 && point <= 0x137) ||
                     (point >= 0x14A && point <= 0x177);
    bool oddPairs = (point >= 0x139 && point <= 0x148) || (point >= 0x179 && point <= 0x17E);
    if ((evenPairs && point % 2 == 0) || (oddPairs && point % 2 == 1))
        return point + 1;
    return point == 0x178 ? 0xFF : point;
}

// The character at p, folded to lower case, and its length; an invalid byte stands for
// itself, above every character.
static size_t FoldedAt(const unsigned char *p, size_t available, uint32_t *point) {
    size_t length = DecodeUtf8(p, available, point);
    if (length == 0) {
        *point = 0x110000 + p[0];
        return 1;
    }
    *point = LowerCase(*point);
    return length;
}

bool EqualsIgnoringCase(const char *a, size_t aLength, const char *b, size_t bLength) {
    const unsigned char *p = (const unsigned char *)a, *q = (const unsigned char *)b;
    size_t i = 0, j = 0;
    while (i < aLength && j < bLength) {
        uint32_t x, y;
        i += FoldedAt(p + i, aLength - i, &x);
        j += FoldedAt(q + j, bLength - j, &y);
        if (x != y)
            return false;
    }
    return i == aLength && j == bLength;
}

uint64_t HashIgnoringCase(const char *text, size_t length, uint64_t hash) {
    const unsigned char *p = (const unsigned char *)text;
    for (size_t at = 0; at < length;) {
        uint32_t point;
        at += FoldedAt(p + at, length - at, &point);
        for (int shift = 0; shift < 24; shift += 8)
            hash = (hash ^ ((point >> shift) & 0xFF)) * 1099511628211ull;
    }
    return hash;
}
