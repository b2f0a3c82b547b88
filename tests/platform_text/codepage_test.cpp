/*
** Code page conversion: GBK (936, also the device's default code page) and
** UTF-8 to UTF-16 and back, measuring calls, bad and cut byte sequences,
** too-small destinations, and characters without a GBK form.
*/
#include <gtest/gtest.h>

#include <string>

#include "pf/text.h"

namespace {

/* Measures, then converts into a buffer of exactly the measured size. */
std::u16string toWide(uint32_t codePage, const std::string& bytes, bool withTerminator) {
  int32_t length = withTerminator ? -1 : static_cast<int32_t>(bytes.size());
  int32_t needed = pfMultiByteToWide(codePage, bytes.c_str(), length, nullptr, 0);
  if (needed == 0) return u"<failed>";
  std::u16string out(static_cast<size_t>(needed), u'#');
  EXPECT_EQ(pfMultiByteToWide(codePage, bytes.c_str(), length, out.data(), needed), needed);
  return out;
}

std::string toNarrow(uint32_t codePage, const std::u16string& text, bool failOnMissing) {
  int32_t length = static_cast<int32_t>(text.size());
  int32_t needed = pfWideToMultiByte(codePage, text.c_str(), length, nullptr, 0, failOnMissing);
  if (needed == 0) return "<failed>";
  std::string out(static_cast<size_t>(needed), '#');
  EXPECT_EQ(pfWideToMultiByte(codePage, text.c_str(), length, out.data(), needed, failOnMissing),
            needed);
  return out;
}

TEST(CodePage, GbkToUtf16) {
  struct Case {
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {"Hello, 1949!", u"Hello, 1949!"},
      {"\xd6\xd0\xce\xc4", u"中文"},
      {"\xc0\xfa\xca\xb7\xc9\xcf\xb5\xc4\xbd\xf1\xcc\xec", u"历史上的今天"},
      {"\x80", u"€"},                                  /* the handheld's euro sign */
      {"\x81\x40", u"丂"},                             /* first GBK extension character */
      {"a\r\nb", u"a\r\nb"},
      {"a\xff" "b", u"a\uFFFDb"},                      /* invalid lead byte */
      {"\x81\x20x", u"\uFFFD x"},                      /* lead byte with an invalid trail */
      {"\xd6\xd0\xd6", u"中\uFFFD"},                   /* cut double-byte at the end */
      {"\xd6\xff\xd6\xd0", u"\uFFFD\uFFFD中"},         /* each bad byte once, then go on */
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toWide(PF_CP_GBK, c.bytes, false), c.text) << "case " << (&c - cases);
    EXPECT_EQ(toWide(PF_CP_ACP, c.bytes, false), c.text) << "default code page, case " << (&c - cases);
  }
}

TEST(CodePage, MeasuringCountsTheTerminatorOnlyForZeroTerminatedInput) {
  const char* chinese = "\xd6\xd0\xce\xc4";
  EXPECT_EQ(pfMultiByteToWide(PF_CP_GBK, chinese, -1, nullptr, 0), 3);
  EXPECT_EQ(pfMultiByteToWide(PF_CP_GBK, chinese, 4, nullptr, 0), 2);
  EXPECT_EQ(pfMultiByteToWide(PF_CP_GBK, chinese, 3, nullptr, 0), 2) << "中 and a cut lead byte";
  EXPECT_EQ(toWide(PF_CP_GBK, chinese, true), std::u16string(u"中文\0", 3));
  /* A lead byte right before the terminator is cut: the zero still ends the text. */
  EXPECT_EQ(toWide(PF_CP_GBK, "ab\xd6", true), std::u16string(u"ab\uFFFD\0", 4));
  EXPECT_EQ(pfMultiByteToWide(PF_CP_GBK, "", -1, nullptr, 0), 1);
  EXPECT_EQ(pfMultiByteToWide(PF_CP_GBK, "a\0b", 3, nullptr, 0), 3) << "explicit length includes zeros";
}

TEST(CodePage, FailuresGiveZeroAndLeaveTheDestination) {
  const char* chinese = "\xd6\xd0\xce\xc4";
  char16_t small[3] = {u'#', u'#', u'#'};
  EXPECT_EQ(pfMultiByteToWide(PF_CP_GBK, chinese, -1, small, 2), 0) << "destination too small";
  EXPECT_EQ(pfMultiByteToWide(PF_CP_GBK, chinese, -1, small, 3), 3) << "exact fit";
  EXPECT_EQ(std::u16string(small, 3), std::u16string(u"中文\0", 3));

  char16_t out[8];
  EXPECT_EQ(pfMultiByteToWide(1252, "abc", -1, out, 8), 0) << "unknown code page";
  EXPECT_EQ(pfMultiByteToWide(PF_CP_GBK, nullptr, -1, out, 8), 0);
  EXPECT_EQ(pfMultiByteToWide(PF_CP_GBK, "abc", 0, out, 8), 0);
  EXPECT_EQ(pfMultiByteToWide(PF_CP_GBK, "abc", -2, out, 8), 0);
  EXPECT_EQ(pfMultiByteToWide(PF_CP_GBK, "abc", -1, nullptr, 8), 0);

  char bytes[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(pfWideToMultiByte(PF_CP_GBK, u"中文", -1, bytes, 4, true), 0) << "needs 5 bytes";
  EXPECT_EQ(bytes[0], '#');
  EXPECT_EQ(pfWideToMultiByte(1252, u"abc", -1, bytes, 4, false), 0);
}

TEST(CodePage, Utf8BothWays) {
  EXPECT_EQ(toWide(PF_CP_UTF8, "\xe4\xb8\xad\xe6\x96\x87", false), u"中文");
  EXPECT_EQ(toWide(PF_CP_UTF8, "\xf0\x9f\x98\x80", false), u"\U0001F600") << "a surrogate pair";
  EXPECT_EQ(toWide(PF_CP_UTF8, "a\xc3" "b", false), u"a\uFFFDb");
  EXPECT_EQ(toWide(PF_CP_UTF8, "a\xe4\xb8", false), u"a\uFFFD\uFFFD") << "cut at the end";
  EXPECT_EQ(toNarrow(PF_CP_UTF8, u"中€\U0001F600", true), "\xe4\xb8\xad\xe2\x82\xac\xf0\x9f\x98\x80");
  EXPECT_EQ(toNarrow(PF_CP_UTF8, u"a\xD800" "b", false), "a\xef\xbf\xbd" "b") << "lone surrogate";
  EXPECT_EQ(toNarrow(PF_CP_UTF8, u"a\xD800", true), "<failed>");
}

TEST(CodePage, Utf16ToGbk) {
  EXPECT_EQ(toNarrow(PF_CP_GBK, u"中文", true), "\xd6\xd0\xce\xc4");
  EXPECT_EQ(toNarrow(PF_CP_GBK, u"€ and 丂", true), "\x80 and \x81\x40");
  EXPECT_EQ(pfWideToMultiByte(PF_CP_GBK, u"中文", -1, nullptr, 0, true), 5) << "with the zero byte";
  char bytes[5];
  EXPECT_EQ(pfWideToMultiByte(PF_CP_ACP, u"中文", -1, bytes, 5, true), 5);
  EXPECT_EQ(std::string(bytes, 5), std::string("\xd6\xd0\xce\xc4\0", 5));
}

TEST(CodePage, CharactersWithoutAGbkForm) {
  struct Case {
    std::u16string text;
    std::string substituted;
  } cases[] = {
      {u"a\U0001F600b", "a?b"},        /* emoji: one '?' for the whole pair */
      {u"\U00020000中", "?\xd6\xd0"},   /* 𠀀, outside the basic plane */
      {u"x\u0E01", "x?"},              /* Thai */
      {u"\xDC00" "z", "?z"},           /* unpaired low surrogate */
      {u"z\xD800", "z?"},              /* unpaired high surrogate at the end */
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toNarrow(PF_CP_GBK, c.text, false), c.substituted) << "case " << (&c - cases);
    EXPECT_EQ(toNarrow(PF_CP_GBK, c.text, true), "<failed>") << "case " << (&c - cases);
  }
}

/* Every two-byte GBK code that maps to one character maps back to itself,
** one code at a time through the same cached converters, after a failed
** conversion in between. */
TEST(CodePage, EveryGbkCharacterRoundTrips) {
  int checked = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      char16_t unit[2];
      int32_t units = pfMultiByteToWide(PF_CP_GBK, bytes, 2, unit, 2);
      ASSERT_GE(units, 1);
      if (units != 1 || unit[0] == 0xFFFD) continue; /* unassigned code */
      char back[2];
      ASSERT_EQ(pfWideToMultiByte(PF_CP_GBK, unit, 1, back, 2, true), 2)
          << std::hex << lead << " " << trail;
      EXPECT_EQ(std::string(back, 2), std::string(bytes, 2)) << std::hex << lead << " " << trail;
      ++checked;
      if (checked % 5000 == 0) {
        EXPECT_EQ(pfWideToMultiByte(PF_CP_GBK, u"\U0001F600", 2, back, 2, true), 0);
      }
    }
  }
  EXPECT_GT(checked, 21000) << "GBK has 21886 two-byte characters";
}

}  // namespace
