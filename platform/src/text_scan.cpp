/*
** Formatted scan of UTF-16 text, as the handheld's wide scan reads it back:
**   blanks in the format   match any run of blanks in the text, even none
**   any other character    matches itself (CJK characters such as 年 too)
**   %d  a decimal int32_t: optional sign, then digits
**   %u  a decimal uint32_t (a '-' negates modulo 2^32, as C does)
**   %x  a hexadecimal uint32_t, without a 0x prefix
**   %s  a run of non-blank units into a char16_t array, terminated; the
**       caller's array must hold the run (give a width to bound it)
**   %c  exactly `width` units (default 1) into a char16_t array, not
**       terminated and without skipping blanks
**   %%  a percent sign
** %d, %u, %x, %s and %% skip blanks in the text first. A width, such as the
** 02 of %02d, is the most units a field reads (a sign counts). '*' after
** the percent sign reads a field without storing it. The prefixes l, h and
** w are accepted and ignored. Numbers beyond 32 bits saturate (%d at
** INT32_MIN or INT32_MAX, %u and %x at UINT32_MAX).
**
** The scan stops at the first character or field that does not match and
** returns the number of fields stored; when the text ends before the first
** field could be read, the result is -1. An unknown directive stops it too.
*/
#include <climits>

#include "pf/text.h"
#include "text_internal.h"

namespace {

using pf::text::isBlank;

int digitValue(char16_t c, unsigned base) {
  int v = (c >= u'0' && c <= u'9')   ? c - u'0'
          : (c >= u'a' && c <= u'f') ? c - u'a' + 10
          : (c >= u'A' && c <= u'F') ? c - u'A' + 10
                                     : 99;
  return v < static_cast<int>(base) ? v : -1;
}

/* Reads an optional sign and digits from `in`, at most `limit` units.
** False when there is no digit. */
bool readNumber(const char16_t*& in, size_t limit, unsigned base, bool* negative,
                uint64_t* magnitude) {
  size_t used = 0;
  *negative = false;
  if (used < limit && (*in == u'-' || *in == u'+')) {
    *negative = *in == u'-';
    ++in, ++used;
  }
  bool any = false;
  uint64_t value = 0;
  for (int d; used < limit && (d = digitValue(*in, base)) >= 0; ++in, ++used) {
    any = true;
    value = value * base + static_cast<uint64_t>(d);
    if (value > UINT32_MAX) value = uint64_t{UINT32_MAX} + 1; /* saturated */
  }
  *magnitude = value;
  return any;
}

}  // namespace

int32_t pfScan(const char16_t* text, const char16_t* format, ...) {
  if (!text || !format) return -1;
  va_list args;
  va_start(args, format);
  const char16_t* in = text;
  int32_t stored = 0;
  bool fieldRead = false;
  /* The text ran out: -1 before the first field, else what was stored. */
  auto ended = [&]() { return fieldRead ? stored : -1; };
  int32_t result = -2;

  for (const char16_t* f = format; *f && result == -2;) {
    if (isBlank(*f)) {
      while (isBlank(*f)) ++f;
      while (isBlank(*in)) ++in;
      continue;
    }
    if (*f != u'%' || f[1] == u'%') {
      char16_t wanted = *f;
      if (*f == u'%') {
        f += 2;
        while (isBlank(*in)) ++in;
      } else {
        ++f;
      }
      if (*in == 0) result = ended();
      else if (*in != wanted) result = stored;
      else ++in;
      continue;
    }
    ++f;
    bool suppress = *f == u'*';
    if (suppress) ++f;
    size_t width = 0;
    for (; *f >= u'0' && *f <= u'9'; ++f) {
      width = width * 10 + static_cast<size_t>(*f - u'0');
      if (width > INT32_MAX) width = INT32_MAX;
    }
    while (*f == u'l' || *f == u'h' || *f == u'w') ++f;
    char16_t conv = *f;
    if (conv) ++f;
    size_t limit = width ? width : SIZE_MAX;

    switch (conv) {
      case u'd':
      case u'u':
      case u'x':
      case u'X': {
        while (isBlank(*in)) ++in;
        if (*in == 0) {
          result = ended();
          break;
        }
        bool negative = false;
        uint64_t magnitude = 0;
        if (!readNumber(in, limit, conv == u'd' || conv == u'u' ? 10 : 16, &negative, &magnitude)) {
          result = stored;
          break;
        }
        if (!suppress && conv == u'd') {
          int64_t v = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
          v = v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v;
          *va_arg(args, int32_t*) = static_cast<int32_t>(v);
        } else if (!suppress) {
          uint32_t v = magnitude > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(magnitude);
          *va_arg(args, uint32_t*) = negative ? 0u - v : v;
        }
        break;
      }
      case u's': {
        while (isBlank(*in)) ++in;
        if (*in == 0) {
          result = ended();
          break;
        }
        char16_t* out = suppress ? nullptr : va_arg(args, char16_t*);
        for (size_t n = 0; n < limit && *in && !isBlank(*in); ++n, ++in)
          if (out) *out++ = *in;
        if (out) *out = 0;
        break;
      }
      case u'c': {
        size_t count = width ? width : 1;
        size_t available = 0;
        while (available < count && in[available]) ++available;
        if (available < count) {
          result = ended();
          break;
        }
        char16_t* out = suppress ? nullptr : va_arg(args, char16_t*);
        for (size_t n = 0; n < count; ++n, ++in)
          if (out) out[n] = *in;
        break;
      }
      default:
        result = stored;
        break;
    }
    if (result != -2) break;
    fieldRead = true;
    if (!suppress) ++stored;
  }
  va_end(args);
  return result == -2 ? stored : result;
}
