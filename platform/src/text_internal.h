/*
** Text helpers shared inside the platform layer: the blank test and case
** folding that the string services use, and the strict number parsing
** behind the dialog manager's "read a field as a number" calls.
**
** Not part of the plug-ins' contract; the platform's own sources (and its
** tests) include this header.
*/
#pragma once

#include <cstdint>
#include <string_view>

#include "pf/types.h"

namespace pf::text {

/* Space, tab, line feed, vertical tab, form feed, carriage return. */
inline bool isBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

/* ASCII letters only: device file names, fault names and class names
** compare this way, as the handheld's file system and window manager do. */
inline char16_t foldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

/* Simple one-to-one case folding of a UTF-16 unit to lower case: ASCII,
** Latin-1, Latin Extended-A, basic Greek, basic Cyrillic and the full-width
** Latin letters. Every other unit (CJK, surrogates, ...) folds to itself. */
PF_API char16_t foldCase(char16_t c);

/* Strict reading of a dialog field as a number. Blanks before and after the
** number are allowed; anything else (an empty or blank text, a character
** that is not a digit, digits split by a blank, a value out of range) fails
** and leaves *out untouched. parseUnsigned takes no sign at all;
** parseSigned takes one '+' or '-' right before the digits. */
PF_API bool parseUnsigned(std::u16string_view text, uint32_t* out);
PF_API bool parseSigned(std::u16string_view text, int32_t* out);

}  // namespace pf::text
