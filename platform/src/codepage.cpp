/*
** Code page conversion between UTF-16 and the narrow encodings the handheld
** knows: code page 936 (GBK, the device's default "ANSI" code page) and
** 65001 (UTF-8). The tables are glibc iconv's "CP936" (which maps the byte
** 0x80 to the euro sign, as the handheld's table does) and "UTF-8"; no
** table is kept here.
**
** Narrow to UTF-16 never fails on bad bytes: a byte that does not start a
** valid character in the code page (an invalid lead byte, a lead byte whose
** trail byte is not valid, a lead byte cut off at the end of the text)
** becomes one U+FFFD, and conversion goes on with the next byte.
**
** UTF-16 to narrow writes '?' (GBK) or the UTF-8 form of U+FFFD for a
** character without a form in the code page (or an unpaired surrogate),
** unless the caller asks it to fail instead.
**
** Both directions convert the whole text first and then copy it, so a
** destination that is too small gets nothing and the call returns 0.
*/
#include <bit>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <string>

#include "pf/text.h"

namespace {

constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr char16_t kReplacement = 0xFFFD;

const char* iconvName(uint32_t codePage) {
  switch (codePage) {
    case PF_CP_ACP:
    case PF_CP_GBK:
      return "CP936";
    case PF_CP_UTF8:
      return "UTF-8";
    default:
      return nullptr;
  }
}

/* Opened descriptors, one per direction and code page, kept for the life of
** the process: everything runs on the one user-interface thread, and each
** use starts by resetting the descriptor's shift state. */
struct Descriptors {
  iconv_t toWide[2] = {reinterpret_cast<iconv_t>(-1), reinterpret_cast<iconv_t>(-1)};
  iconv_t fromWide[2] = {reinterpret_cast<iconv_t>(-1), reinterpret_cast<iconv_t>(-1)};
  ~Descriptors() {
    for (iconv_t cd : {toWide[0], toWide[1], fromWide[0], fromWide[1]})
      if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }
};

iconv_t descriptor(uint32_t codePage, bool toWide) {
  const char* name = iconvName(codePage);
  if (!name) return reinterpret_cast<iconv_t>(-1);
  static Descriptors cache;
  size_t slot = codePage == PF_CP_UTF8 ? 1 : 0;
  iconv_t& cd = toWide ? cache.toWide[slot] : cache.fromWide[slot];
  if (cd == reinterpret_cast<iconv_t>(-1))
    cd = toWide ? iconv_open(kUtf16, name) : iconv_open(name, kUtf16);
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv(cd, nullptr, nullptr, nullptr, nullptr);
  return cd;
}

/* Runs iconv over the whole input, appending to `out`. At every input
** sequence iconv cannot convert it asks `onBad` how many input bytes to
** skip and what to append instead; `onBad` returning 0 fails the whole
** conversion. */
template <typename Unit, typename OnBad>
bool convertAll(iconv_t cd, const char* src, size_t srcBytes, std::basic_string<Unit>& out,
                OnBad onBad) {
  char* in = const_cast<char*>(src); /* iconv's signature lacks const */
  size_t inLeft = srcBytes;
  char chunk[1024];
  while (inLeft > 0) {
    char* outPtr = chunk;
    size_t outLeft = sizeof chunk;
    size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    int error = errno;
    size_t produced = sizeof chunk - outLeft;
    size_t oldSize = out.size();
    out.resize(oldSize + produced / sizeof(Unit));
    std::memcpy(out.data() + oldSize, chunk, produced);
    if (r != static_cast<size_t>(-1)) continue;
    if (error == E2BIG) continue;
    if (error != EILSEQ && error != EINVAL) return false;
    size_t skip = onBad(in, inLeft, out);
    if (skip == 0) return false;
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return true;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

int32_t pfMultiByteToWide(uint32_t codePage, const char* src, int32_t srcLen, char16_t* dst,
                          int32_t dstSize) {
  if (!src || srcLen == 0 || srcLen < -1 || dstSize < 0 || (dstSize > 0 && !dst)) return 0;
  iconv_t cd = descriptor(codePage, true);
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  /* With -1 the zero byte is converted too and so counted. */
  size_t bytes = srcLen == -1 ? std::strlen(src) + 1 : static_cast<size_t>(srcLen);
  std::u16string wide;
  wide.reserve(bytes);
  bool ok = convertAll(cd, src, bytes, wide, [](const char*, size_t, std::u16string& out) {
    out += kReplacement;
    return size_t{1};
  });
  if (!ok || wide.size() > INT32_MAX) return 0;
  int32_t needed = static_cast<int32_t>(wide.size());
  if (dstSize == 0) return needed;
  if (needed > dstSize) return 0;
  std::memcpy(dst, wide.data(), wide.size() * sizeof(char16_t));
  return needed;
}

int32_t pfWideToMultiByte(uint32_t codePage, const char16_t* src, int32_t srcLen, char* dst,
                          int32_t dstSize, bool failOnMissing) {
  if (!src || srcLen == 0 || srcLen < -1 || dstSize < 0 || (dstSize > 0 && !dst)) return 0;
  iconv_t cd = descriptor(codePage, false);
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  size_t units = srcLen == -1 ? pfStrLen(src) + 1 : static_cast<size_t>(srcLen);
  const char* substitute = codePage == PF_CP_UTF8 ? "\xEF\xBF\xBD" : "?";
  std::string narrow;
  narrow.reserve(units * 2);
  bool ok = convertAll(cd, reinterpret_cast<const char*>(src), units * sizeof(char16_t), narrow,
                       [&](const char* at, size_t left, std::string& out) -> size_t {
                         if (failOnMissing || left < sizeof(char16_t)) return 0;
                         char16_t unit[2] = {0, 0};
                         std::memcpy(unit, at, left >= 4 ? 4 : 2);
                         out += substitute;
                         bool pair = left >= 4 && isHighSurrogate(unit[0]) &&
                                     isLowSurrogate(unit[1]);
                         return pair ? 4 : 2;
                       });
  if (!ok || narrow.size() > INT32_MAX) return 0;
  int32_t needed = static_cast<int32_t>(narrow.size());
  if (dstSize == 0) return needed;
  if (needed > dstSize) return 0;
  std::memcpy(dst, narrow.data(), narrow.size());
  return needed;
}
