/*
** utf8_text.cpp: strict UTF-8 decoder and UTF-16 encoder (see utf8_text.h).
*/
#include "utf8_text.h"

#include <cstdio>

namespace tablegen {
namespace {

std::string hexByte(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

/* Length of the sequence that lead byte starts, 0 if it cannot start one. */
int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;  // continuation byte, overlong lead C0/C1, or F5..FF
}

}  // namespace

bool decodeUtf8(std::string_view bytes, std::u32string& codePoints, Utf8Error& error) {
  codePoints.clear();
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    const int length = sequenceLength(lead);
    if (length == 0) {
      error = {pos, "invalid UTF-8: byte " + hexByte(lead) + " cannot start a character"};
      return false;
    }
    if (length == 1) {
      codePoints.push_back(lead);
      ++pos;
      continue;
    }
    if (pos + static_cast<std::size_t>(length) > bytes.size()) {
      error = {pos, "invalid UTF-8: sequence cut short"};
      return false;
    }
    char32_t value = lead & (0xFFu >> (length + 1));
    for (int i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(bytes[pos + static_cast<std::size_t>(i)]);
      if ((next & 0xC0u) != 0x80u) {
        error = {pos, "invalid UTF-8: byte " + hexByte(next) + " is not a continuation byte"};
        return false;
      }
      value = (value << 6) | (next & 0x3Fu);
    }
    const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
    if (overlong) {
      error = {pos, "invalid UTF-8: overlong encoding"};
      return false;
    }
    if (value >= 0xD800 && value <= 0xDFFF) {
      error = {pos, "invalid UTF-8: encoded surrogate"};
      return false;
    }
    if (value > 0x10FFFF) {
      error = {pos, "invalid UTF-8: code point above U+10FFFF"};
      return false;
    }
    codePoints.push_back(value);
    pos += static_cast<std::size_t>(length);
  }
  return true;
}

std::u16string encodeUtf16(std::u32string_view codePoints) {
  std::u16string units;
  units.reserve(codePoints.size());
  for (const char32_t cp : codePoints) {
    if (cp < 0x10000) {
      units.push_back(static_cast<char16_t>(cp));
    } else {
      const char32_t offset = cp - 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
    }
  }
  return units;
}

}  // namespace tablegen
