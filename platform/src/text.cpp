/*
** UTF-16 string services: length, copy, append, compare (exact and without
** regard to case), the lenient decimal value of a text, and the strict
** number reading that dialog fields use.
**
** Case folding is simple and one-to-one: each upper-case letter of ASCII,
** Latin-1, Latin Extended-A, basic Greek, basic Cyrillic and the full-width
** Latin block is turned into its lower-case letter; nothing else changes.
** There is no locale, no special casing (the dotted capital I U+0130 and the
** long s U+017F stay as they are) and no folding of characters outside the
** basic plane.
*/
#include <climits>

#include "pf/text.h"
#include "text_internal.h"

namespace pf::text {

char16_t foldCase(char16_t c) {
  auto shifted = [](char16_t unit, int delta) { return static_cast<char16_t>(unit + delta); };
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? shifted(c, 32) : c;
  if (c >= 0xC0 && c <= 0xDE) return c == 0xD7 ? c : shifted(c, 32); /* not the × sign */
  if (c >= 0x100 && c <= 0x17F) {
    /* Latin Extended-A pairs an upper-case letter with the next unit; the
    ** pairs start on even units except in 0139-0148 and 0179-017E. */
    bool evenPairs = (c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (evenPairs && c % 2 == 0) return shifted(c, 1);
    if (oddPairs && c % 2 == 1) return shifted(c, 1);
    if (c == 0x178) return 0xFF; /* Ÿ */
    return c;
  }
  if (c >= 0x386 && c <= 0x3A9) {
    if (c >= 0x391 && c != 0x3A2) return shifted(c, 32);
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return shifted(c, 37);
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return shifted(c, 63);
    return c;
  }
  if (c >= 0x400 && c <= 0x40F) return shifted(c, 80);
  if (c >= 0x410 && c <= 0x42F) return shifted(c, 32);
  if (c >= 0xFF21 && c <= 0xFF3A) return shifted(c, 32);
  return c;
}

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string_view trimBlanks(std::u16string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

/* All of `digits` must be decimal digits (at least one) and the value at
** most `limit`. */
bool readMagnitude(std::u16string_view digits, uint64_t limit, uint64_t* out) {
  if (digits.empty()) return false;
  uint64_t value = 0;
  for (char16_t c : digits) {
    if (!isDigit(c)) return false;
    value = value * 10 + static_cast<uint64_t>(c - u'0');
    if (value > limit) return false;
  }
  *out = value;
  return true;
}

}  // namespace

bool parseUnsigned(std::u16string_view text, uint32_t* out) {
  uint64_t value = 0;
  if (!readMagnitude(trimBlanks(text), UINT32_MAX, &value)) return false;
  *out = static_cast<uint32_t>(value);
  return true;
}

bool parseSigned(std::u16string_view text, int32_t* out) {
  text = trimBlanks(text);
  bool negative = !text.empty() && text.front() == u'-';
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) text.remove_prefix(1);
  uint64_t limit = negative ? uint64_t{1} << 31 : uint64_t{INT32_MAX};
  uint64_t value = 0;
  if (!readMagnitude(text, limit, &value)) return false;
  *out = negative ? static_cast<int32_t>(-static_cast<int64_t>(value))
                  : static_cast<int32_t>(value);
  return true;
}

}  // namespace pf::text

using pf::text::foldCase;

size_t pfStrLen(const char16_t* s) {
  if (!s) return 0;
  size_t n = 0;
  while (s[n]) ++n;
  return n;
}

char16_t* pfStrCpy(char16_t* dst, const char16_t* src) {
  size_t i = 0;
  if (src)
    for (; src[i]; ++i) dst[i] = src[i];
  dst[i] = 0;
  return dst;
}

char16_t* pfStrCat(char16_t* dst, const char16_t* src) {
  pfStrCpy(dst + pfStrLen(dst), src);
  return dst;
}

char16_t* pfStrCpyN(char16_t* dst, const char16_t* src, size_t size) {
  if (!dst || size == 0) return dst;
  size_t i = 0;
  if (src)
    for (; i + 1 < size && src[i]; ++i) dst[i] = src[i];
  dst[i] = 0;
  return dst;
}

/* Both compares order by UTF-16 unit values; a null string counts as empty. */
int32_t pfStrCmp(const char16_t* a, const char16_t* b) {
  if (!a) a = u"";
  if (!b) b = u"";
  for (; *a && *a == *b; ++a, ++b) {
  }
  return static_cast<int32_t>(*a) - static_cast<int32_t>(*b);
}

int32_t pfStrCmpI(const char16_t* a, const char16_t* b) {
  if (!a) a = u"";
  if (!b) b = u"";
  for (;; ++a, ++b) {
    char16_t x = foldCase(*a), y = foldCase(*b);
    if (x != y || x == 0) return static_cast<int32_t>(x) - static_cast<int32_t>(y);
  }
}

/* Digits beyond the range of a 32-bit integer saturate at INT32_MAX or
** INT32_MIN, so that a long run of digits has one defined answer. */
int32_t pfStrToInt(const char16_t* text) {
  if (!text) return 0;
  while (pf::text::isBlank(*text)) ++text;
  bool negative = *text == u'-';
  if (*text == u'-' || *text == u'+') ++text;
  int64_t value = 0;
  for (; *text >= u'0' && *text <= u'9'; ++text) {
    value = value * 10 + (*text - u'0');
    if (value > int64_t{INT32_MAX} + 1) value = int64_t{INT32_MAX} + 1;
  }
  if (negative) return static_cast<int32_t>(-value);
  return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}
