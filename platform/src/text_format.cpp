/*
** Formatted print into a UTF-16 buffer with the handheld's wide-print
** conventions:
**   %s  a UTF-16 string (also %ls, %ws); %S a narrow string in the device's
**       code page (also %hs); a null string prints "(null)"
**   %c  an int holding one UTF-16 unit (%C or %hc: a narrow character)
**   %d %i %u %x %X %o  32-bit integers; the prefix l is ignored, as long is
**       32 bits on the handheld; ll and I64 take 64-bit integers, h and hh
**       narrow the value to 16 and 8 bits
**   %f %F %e %E %g %G %a %A  a double, formatted by the C library in the
**       "C" locale (so the decimal mark is always '.', and -0.0 prints as
**       C prints it, "-0.00" with %.2f)
**   %%  a percent sign
** Flags '-', '0', '+', ' ' and '#', a width and a precision, each either
** written out or '*' (taken from the arguments; a negative width means
** left-aligned, a negative precision none). Widths and precisions count
** UTF-16 units and are capped at 4096. A directive that names no
** conversion above (for example %n) is copied to the output as it stands
** and takes no argument.
**
** The output is always terminated when the buffer has room for anything;
** when it was cut to fit, the result is -1.
*/
#include <clocale>
#include <cstdio>
#include <locale.h>
#include <string>

#include "pf/text.h"

namespace {

constexpr int32_t kMaxWidth = 4096;

struct Output {
  char16_t* buffer;
  size_t size;
  size_t length = 0;
  bool cut = false;

  void put(char16_t c) {
    if (length + 1 < size)
      buffer[length++] = c;
    else
      cut = true;
  }
  void repeat(char16_t c, int32_t count) {
    for (int32_t i = 0; i < count; ++i) put(c);
  }
};

/* One conversion of a format: its flags, width, precision and size prefix. */
struct Slot {
  bool left = false, zero = false, plus = false, space = false, alternate = false;
  int32_t width = 0;
  int32_t precision = -1; /* none */
  enum { normal, half, halfHalf, longLong, wide, narrow } size = normal;
  bool longDouble = false;
};

int32_t capped(int64_t v) { return v > kMaxWidth ? kMaxWidth : static_cast<int32_t>(v); }

/* Pads `body` (already holding any sign or prefix at the front, of length
** `prefixLength`) to the width. Zero padding goes between prefix and digits. */
void emitPadded(Output& out, const Slot& slot, std::u16string_view body, size_t prefixLength,
                bool zeroPad) {
  int32_t fill = slot.width - static_cast<int32_t>(body.size());
  if (fill < 0) fill = 0;
  if (slot.left) {
    for (char16_t c : body) out.put(c);
    out.repeat(u' ', fill);
  } else if (zeroPad) {
    for (size_t i = 0; i < prefixLength; ++i) out.put(body[i]);
    out.repeat(u'0', fill);
    for (size_t i = prefixLength; i < body.size(); ++i) out.put(body[i]);
  } else {
    out.repeat(u' ', fill);
    for (char16_t c : body) out.put(c);
  }
}

void emitInteger(Output& out, const Slot& slot, uint64_t magnitude, bool negative, char16_t conv) {
  unsigned base = (conv == u'x' || conv == u'X') ? 16 : (conv == u'o') ? 8 : 10;
  const char* digitSet = conv == u'X' ? "0123456789ABCDEF" : "0123456789abcdef";
  std::u16string digits;
  for (uint64_t v = magnitude; v != 0; v /= base) digits.insert(digits.begin(), digitSet[v % base]);
  /* Precision is the least number of digits; precision 0 prints no digit
  ** for the value 0. */
  int32_t minDigits = slot.precision < 0 ? 1 : slot.precision;
  if (static_cast<int32_t>(digits.size()) < minDigits)
    digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), u'0');
  std::u16string prefix;
  if (conv == u'd' || conv == u'i') {
    if (negative) prefix = u"-";
    else if (slot.plus) prefix = u"+";
    else if (slot.space) prefix = u" ";
  } else if (slot.alternate && magnitude != 0 && base == 16) {
    prefix = conv == u'X' ? u"0X" : u"0x";
  } else if (slot.alternate && base == 8 && (digits.empty() || digits[0] != u'0')) {
    digits.insert(digits.begin(), u'0');
  }
  bool zeroPad = slot.zero && !slot.left && slot.precision < 0;
  emitPadded(out, slot, prefix + digits, prefix.size(), zeroPad);
}

void emitText(Output& out, const Slot& slot, std::u16string_view text) {
  if (slot.precision >= 0 && text.size() > static_cast<size_t>(slot.precision))
    text = text.substr(0, static_cast<size_t>(slot.precision));
  emitPadded(out, slot, text, 0, false);
}

/* A narrow text in the device's code page, as UTF-16. */
std::u16string widenNarrow(const char* text, int32_t length) {
  if (length == 0) return {};
  int32_t needed = pfMultiByteToWide(PF_CP_ACP, text, length, nullptr, 0);
  if (needed <= 0) return {};
  std::u16string wide(static_cast<size_t>(needed), u'\0');
  pfMultiByteToWide(PF_CP_ACP, text, length, wide.data(), needed);
  return wide;
}

locale_t cLocale() {
  struct Holder {
    locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    ~Holder() {
      if (locale) freelocale(locale);
    }
  };
  static Holder holder;
  return holder.locale;
}

void emitFloat(Output& out, const Slot& slot, long double value, char16_t conv) {
  std::string format = "%";
  if (slot.left) format += '-';
  if (slot.zero) format += '0';
  if (slot.plus) format += '+';
  if (slot.space) format += ' ';
  if (slot.alternate) format += '#';
  if (slot.width > 0) format += std::to_string(slot.width);
  if (slot.precision >= 0) format += "." + std::to_string(slot.precision);
  format += 'L';
  format += static_cast<char>(conv);

  locale_t previous = uselocale(cLocale());
  int length = std::snprintf(nullptr, 0, format.c_str(), value);
  std::string narrow(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::snprintf(narrow.data(), narrow.size() + 1, format.c_str(), value);
  uselocale(previous);
  for (char c : narrow) out.put(static_cast<char16_t>(static_cast<unsigned char>(c)));
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

int32_t pfFormatV(char16_t* buffer, size_t size, const char16_t* format, va_list args) {
  Output out{buffer, buffer ? size : 0};
  if (!format) format = u"";
  va_list ap;
  va_copy(ap, args);
  for (const char16_t* f = format; *f;) {
    if (*f != u'%') {
      out.put(*f++);
      continue;
    }
    const char16_t* directive = f++;
    Slot slot;
    for (;; ++f) {
      if (*f == u'-') slot.left = true;
      else if (*f == u'0') slot.zero = true;
      else if (*f == u'+') slot.plus = true;
      else if (*f == u' ') slot.space = true;
      else if (*f == u'#') slot.alternate = true;
      else break;
    }
    if (*f == u'*') {
      int64_t w = va_arg(ap, int);
      if (w < 0) {
        slot.left = true;
        w = -w;
      }
      slot.width = capped(w);
      ++f;
    } else {
      int64_t w = 0;
      for (; isDigit(*f); ++f) w = capped(w * 10 + (*f - u'0'));
      slot.width = static_cast<int32_t>(w);
    }
    if (*f == u'.') {
      ++f;
      if (*f == u'*') {
        int p = va_arg(ap, int);
        slot.precision = p < 0 ? -1 : capped(p);
        ++f;
      } else {
        int64_t p = 0;
        for (; isDigit(*f); ++f) p = capped(p * 10 + (*f - u'0'));
        slot.precision = static_cast<int32_t>(p);
      }
    }
    if (f[0] == u'h' && f[1] == u'h') slot.size = Slot::halfHalf, f += 2;
    else if (f[0] == u'h') slot.size = Slot::half, ++f;
    else if (f[0] == u'l' && f[1] == u'l') slot.size = Slot::longLong, f += 2;
    else if (f[0] == u'I' && f[1] == u'6' && f[2] == u'4') slot.size = Slot::longLong, f += 3;
    else if (f[0] == u'l' || f[0] == u'w') slot.size = Slot::wide, ++f;
    else if (f[0] == u'L') slot.longDouble = true, ++f;

    char16_t conv = *f;
    if (conv) ++f;
    switch (conv) {
      case u'd':
      case u'i': {
        int64_t v = slot.size == Slot::longLong ? va_arg(ap, long long) : va_arg(ap, int);
        if (slot.size == Slot::half) v = static_cast<int16_t>(v);
        if (slot.size == Slot::halfHalf) v = static_cast<int8_t>(v);
        uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
        emitInteger(out, slot, magnitude, v < 0, conv);
        break;
      }
      case u'u':
      case u'x':
      case u'X':
      case u'o': {
        uint64_t v = slot.size == Slot::longLong ? va_arg(ap, unsigned long long)
                                                 : va_arg(ap, unsigned int);
        if (slot.size == Slot::half) v = static_cast<uint16_t>(v);
        if (slot.size == Slot::halfHalf) v = static_cast<uint8_t>(v);
        emitInteger(out, slot, v, false, conv);
        break;
      }
      case u'c':
      case u'C': {
        int v = va_arg(ap, int);
        bool narrow = slot.size == Slot::half || (conv == u'C' && slot.size != Slot::wide);
        char16_t unit = static_cast<char16_t>(v);
        std::u16string text(1, unit);
        if (narrow) {
          char byte = static_cast<char>(v);
          text = (byte & 0x80) ? widenNarrow(&byte, 1) : std::u16string(1, static_cast<char16_t>(byte));
        }
        slot.precision = -1;
        emitText(out, slot, text);
        break;
      }
      case u's':
      case u'S': {
        bool narrow = slot.size == Slot::half || (conv == u'S' && slot.size != Slot::wide);
        if (narrow) {
          const char* s = va_arg(ap, const char*);
          emitText(out, slot, s ? widenNarrow(s, static_cast<int32_t>(std::char_traits<char>::length(s)))
                                : std::u16string(u"(null)"));
        } else {
          const char16_t* s = va_arg(ap, const char16_t*);
          emitText(out, slot, s ? std::u16string_view(s) : std::u16string_view(u"(null)"));
        }
        break;
      }
      case u'f':
      case u'F':
      case u'e':
      case u'E':
      case u'g':
      case u'G':
      case u'a':
      case u'A': {
        long double v = slot.longDouble ? va_arg(ap, long double) : va_arg(ap, double);
        emitFloat(out, slot, v, conv);
        break;
      }
      case u'%':
        out.put(u'%');
        break;
      default:
        for (const char16_t* p = directive; p < f; ++p) out.put(*p);
        break;
    }
  }
  va_end(ap);
  if (out.size == 0) return -1;
  out.buffer[out.length] = 0;
  return out.cut ? -1 : static_cast<int32_t>(out.length);
}

int32_t pfFormat(char16_t* buffer, size_t size, const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  int32_t result = pfFormatV(buffer, size, format, args);
  va_end(args);
  return result;
}
