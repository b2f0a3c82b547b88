/*
** Text services: UTF-16 strings, formatted print and scan with the target's
** conventions, case-insensitive compare, and code page 936 (GBK) to UTF-16.
*/
#pragma once

#include <cstdarg>

#include "pf/types.h"

PF_API size_t pfStrLen(const char16_t* s);
PF_API char16_t* pfStrCpy(char16_t* dst, const char16_t* src);
PF_API char16_t* pfStrCat(char16_t* dst, const char16_t* src);
/* Copies at most size-1 units and always terminates (size > 0). */
PF_API char16_t* pfStrCpyN(char16_t* dst, const char16_t* src, size_t size);
PF_API int32_t pfStrCmp(const char16_t* a, const char16_t* b);
PF_API int32_t pfStrCmpI(const char16_t* a, const char16_t* b);

/* Formatted print into a buffer of `size` units, always terminated. `%s` is
** a UTF-16 string, `%S` a narrow one; also %d %i %u %x %X %c %f %.Nf %%, with
** flags '-', '0', width and precision. Returns the units written (without
** the terminator), or -1 when the output was cut to fit. */
PF_API int32_t pfFormat(char16_t* buffer, size_t size, const char16_t* format, ...);
PF_API int32_t pfFormatV(char16_t* buffer, size_t size, const char16_t* format, va_list args);

/* Formatted scan of UTF-16 text: %d (int32_t*), %u, %s (char16_t*), literal
** characters match themselves, a blank matches any run of blanks; a width
** such as %02d limits the digits read. Returns the number of fields
** assigned, or -1 when the input ended before the first one. */
PF_API int32_t pfScan(const char16_t* text, const char16_t* format, ...);

/* The decimal value of a text: leading blanks, an optional sign, digits up
** to the first other character; 0 when there is no digit. */
PF_API int32_t pfStrToInt(const char16_t* text);

/* Code pages. */
enum : uint32_t { PF_CP_ACP = 0, PF_CP_GBK = 936, PF_CP_UTF8 = 65001 };
/* Converts `srcLen` bytes (-1: up to and including the zero byte) to UTF-16.
** With dstSize 0 it only measures. Returns the units written or needed
** (counting the terminator when srcLen is -1), 0 on failure. An invalid or
** cut double-byte sequence becomes U+FFFD. */
PF_API int32_t pfMultiByteToWide(uint32_t codePage, const char* src, int32_t srcLen,
                                 char16_t* dst, int32_t dstSize);
/* UTF-16 to a code page; measures when dstSize is 0. Returns bytes written
** or needed, 0 on failure (including a character without a form in the code
** page, when `failOnMissing` is set). */
PF_API int32_t pfWideToMultiByte(uint32_t codePage, const char16_t* src, int32_t srcLen,
                                 char* dst, int32_t dstSize, bool failOnMissing);
