/*
** Formatted print into UTF-16 buffers: the directives plug-ins use, flags
** and widths, floating point as C prints it, and output cut to the buffer.
*/
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

#include "pf/text.h"

namespace {

/* Formats into a roomy buffer and checks the returned length. */
template <typename... Args>
std::u16string fmt(const char16_t* format, Args... args) {
  char16_t buffer[256];
  int32_t n = pfFormat(buffer, 256, format, args...);
  EXPECT_EQ(n, static_cast<int32_t>(pfStrLen(buffer))) << "length returned for a fitting output";
  return buffer;
}

TEST(Format, PageTextsAsThePlugInsWriteThem) {
  EXPECT_EQ(fmt(u"%d年%d月%d日", 2007, 10, 26), u"2007年10月26日");
  EXPECT_EQ(fmt(u"%d年%02d月%02d日", 2007, 10, 5), u"2007年10月05日");
  EXPECT_EQ(fmt(u"(%d)%s", 1949, u"中华人民共和国成立"), u"(1949)中华人民共和国成立");
  EXPECT_EQ(fmt(u"%d-%02d-%02d(星期%s)  %02d:%02d:%02d", 2007, 3, 1, u"四", 10, 15, 30),
            u"2007-03-01(星期四)  10:15:30");
  EXPECT_EQ(fmt(u"正在加载，请稍等……(%d字节)", 1234), u"正在加载，请稍等……(1234字节)");
}

TEST(Format, IntegersWithFlagsWidthAndPrecision) {
  EXPECT_EQ(fmt(u"%02d", 5), u"05");
  EXPECT_EQ(fmt(u"%02d", 123), u"123");
  EXPECT_EQ(fmt(u"%02d", -5), u"-5");
  EXPECT_EQ(fmt(u"%04d", -5), u"-005");
  EXPECT_EQ(fmt(u"%-4d|", 7), u"7   |");
  EXPECT_EQ(fmt(u"%-04d|", 7), u"7   |");
  EXPECT_EQ(fmt(u"%4d|", 7), u"   7|");
  EXPECT_EQ(fmt(u"%+d %+d", 3, -3), u"+3 -3");
  EXPECT_EQ(fmt(u"% d", 3), u" 3");
  EXPECT_EQ(fmt(u"%5.3d|", 7), u"  007|");
  EXPECT_EQ(fmt(u"%05.3d|", 7), u"  007|");
  EXPECT_EQ(fmt(u"[%.0d]", 0), u"[]");
  EXPECT_EQ(fmt(u"%*d|%-*d|", 4, 7, 3, 8), u"   7|8  |");
  EXPECT_EQ(fmt(u"%*d|", -3, 9), u"9  |");
  EXPECT_EQ(fmt(u"%d %i", INT_MIN, INT_MAX), u"-2147483648 2147483647");
  EXPECT_EQ(fmt(u"%u", 4294967295u), u"4294967295");
  EXPECT_EQ(fmt(u"%x %X %#x %o", 255u, 255u, 255u, 8u), u"ff FF 0xff 10");
  EXPECT_EQ(fmt(u"%ld", 42), u"42");
  EXPECT_EQ(fmt(u"%lld %I64u", -5000000000LL, 5000000000ULL), u"-5000000000 5000000000");
  EXPECT_EQ(fmt(u"%hd", 65535), u"-1");
}

TEST(Format, WideAndNarrowStringsAndCharacters) {
  EXPECT_EQ(fmt(u"<%s>", u"中文"), u"<中文>");
  EXPECT_EQ(fmt(u"<%ls>", u"wide"), u"<wide>");
  EXPECT_EQ(fmt(u"<%S|%hs>", "narrow", "too"), u"<narrow|too>");
  EXPECT_EQ(fmt(u"<%S>", "\xd6\xd0\xce\xc4"), u"<中文>") << "narrow strings are GBK";
  EXPECT_EQ(fmt(u"<%5s|%-5s|%.2s>", u"ab", u"cd", u"中文字"), u"<   ab|cd   |中文>");
  EXPECT_EQ(fmt(u"<%s>", static_cast<const char16_t*>(nullptr)), u"<(null)>");
  EXPECT_EQ(fmt(u"%c%c%c", 0x4E2D, 'A', u'文'), u"中A文");
  EXPECT_EQ(fmt(u"[%3c]", 'x'), u"[  x]");
  EXPECT_EQ(fmt(u"%C", 'n'), u"n");
}

TEST(Format, PercentagesAsTheBiorhythmPageShowsThem) {
  /* The page prints v × 0.01 of an integer v. */
  EXPECT_EQ(fmt(u"%.2f%%", -9988 * 0.01), u"-99.88%");
  EXPECT_EQ(fmt(u"%.2f%%", 0 * 0.01), u"0.00%");
  EXPECT_EQ(fmt(u"%.2f%%", 9790 * 0.01), u"97.90%");
  EXPECT_EQ(fmt(u"%.2f%%", -10000 * 0.01), u"-100.00%");
  /* Negative zero and values that round to zero keep their sign, as in C. */
  EXPECT_EQ(fmt(u"%.2f", -0.0), u"-0.00");
  EXPECT_EQ(fmt(u"%.2f", -0.001), u"-0.00");
  EXPECT_EQ(fmt(u"%.2f", 0.005), u"0.01");
  EXPECT_EQ(fmt(u"%.2f", 2.675), u"2.67") << "binary value of 2.675 is below it";
}

TEST(Format, FloatingPointFlagsAndForms) {
  EXPECT_EQ(fmt(u"%f", 1.5), u"1.500000");
  EXPECT_EQ(fmt(u"[%8.3f|%-8.1f|%08.2f|%+.1f]", 1.5, 2.25, -3.5, 4.0),
            u"[   1.500|2.2     |-0003.50|+4.0]");
  EXPECT_EQ(fmt(u"%.0f %e %g", 2.5, 12345.678, 0.0001), u"2 1.234568e+04 0.0001");
  EXPECT_EQ(fmt(u"%*.*f", 7, 1, 3.14159), u"    3.1");
}

TEST(Format, DecimalMarkIgnoresTheProcessLocale) {
  const char* names[] = {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "fr_FR"};
  const char* chosen = nullptr;
  for (const char* name : names)
    if (std::setlocale(LC_NUMERIC, name)) {
      chosen = name;
      break;
    }
  if (!chosen) GTEST_SKIP() << "no locale with a decimal comma is installed";
  std::u16string text = fmt(u"%.2f", 1.25);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(text, u"1.25");
}

TEST(Format, PercentSignsAndUnknownDirectives) {
  EXPECT_EQ(fmt(u"100%%"), u"100%");
  EXPECT_EQ(fmt(u"%n%y|%d", 3), u"%n%y|3") << "unknown directives are copied and take no argument";
  EXPECT_EQ(fmt(u"50%"), u"50%");
  EXPECT_EQ(fmt(u""), u"");
}

TEST(Format, OutputCutToTheBufferIsTerminatedAndReported) {
  char16_t buffer[8];
  for (auto& c : buffer) c = u'#';

  EXPECT_EQ(pfFormat(buffer, 8, u"%s", u"abcdefg"), 7) << "exact fit";
  EXPECT_EQ(std::u16string(buffer), u"abcdefg");

  EXPECT_EQ(pfFormat(buffer, 8, u"%s", u"abcdefgh"), -1);
  EXPECT_EQ(std::u16string(buffer), u"abcdefg");

  EXPECT_EQ(pfFormat(buffer, 5, u"%d年%d月", 2007, 10), -1);
  EXPECT_EQ(std::u16string(buffer), u"2007");

  EXPECT_EQ(pfFormat(buffer, 3, u"%05d", 42), -1);
  EXPECT_EQ(std::u16string(buffer), u"00");

  EXPECT_EQ(pfFormat(buffer, 4, u"%.2f", 97.9), -1);
  EXPECT_EQ(std::u16string(buffer), u"97.");

  EXPECT_EQ(pfFormat(buffer, 1, u"x"), -1);
  EXPECT_EQ(buffer[0], u'\0');

  buffer[0] = u'#';
  EXPECT_EQ(pfFormat(buffer, 0, u"x"), -1) << "no room at all";
  EXPECT_EQ(buffer[0], u'#') << "a zero-sized buffer is not written";
  EXPECT_EQ(pfFormat(buffer, 1, u""), 0);
}

TEST(Format, VaListFormWorksAfterItsCallerConsumedNothing) {
  auto viaList = [](char16_t* out, size_t size, const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    int32_t n = pfFormatV(out, size, format, args);
    va_end(args);
    return n;
  };
  char16_t buffer[32];
  EXPECT_EQ(viaList(buffer, 32, u"%s=%d", u"年", 7), 3);
  EXPECT_EQ(std::u16string(buffer), u"年=7");
}

}  // namespace
