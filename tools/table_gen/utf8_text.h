/*
** utf8_text.h: strict UTF-8 decoding and UTF-16 encoding for lmTableGen.
**
** decodeUtf8 accepts only well-formed UTF-8 (no overlong forms, no encoded
** surrogates, nothing above U+10FFFF, no truncated sequence). On failure it
** reports the byte offset of the first bad byte, so the tool can point the
** user at the exact place in the table source.
*/
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tablegen {

struct Utf8Error {
  std::size_t byteOffset = 0;
  std::string reason;
};

/* Decodes bytes into code points; false (with error filled in) on bad input. */
bool decodeUtf8(std::string_view bytes, std::u32string& codePoints, Utf8Error& error);

/* Encodes code points (all valid scalar values) as UTF-16, pairs for U+10000 up. */
std::u16string encodeUtf16(std::u32string_view codePoints);

}  // namespace tablegen
