/*
** Formatted scan of UTF-16 text: reading record texts back, literals and
** blanks, widths, saturation, and the results for mismatches and for text
** that ends early.
*/
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "pf/text.h"

namespace {

struct Date {
  int32_t year = -1, month = -1, day = -1;
};

int32_t scanDate(const char16_t* text, const char16_t* format, Date& d) {
  return pfScan(text, format, &d.year, &d.month, &d.day);
}

TEST(Scan, ReadsRecordTextsBack) {
  struct Case {
    const char16_t* text;
    int32_t fields;
    Date expected;
  } cases[] = {
      {u"2007年10月05日", 3, {2007, 10, 5}},
      {u"1999年01月31日", 3, {1999, 1, 31}},
      {u"2007年1月5日", 3, {2007, 1, 5}},
      {u"2007年100月5日", 2, {2007, 10, -1}},  /* the width stops at "10"; "0" is not 月 */
      {u"2007-10-05", 1, {2007, -1, -1}},     /* '-' is not 年 */
      {u"2007年10日05月", 2, {2007, 10, -1}},
      {u"二〇〇七年", 0, {-1, -1, -1}},
      {u"2007年", 1, {2007, -1, -1}},          /* text ends after the first field */
      {u"2007年10月", 2, {2007, 10, -1}},
      {u"", -1, {-1, -1, -1}},
      {u"   ", -1, {-1, -1, -1}},
  };
  for (const Case& c : cases) {
    Date d;
    EXPECT_EQ(scanDate(c.text, u"%d年%02d月%02d日", d), c.fields) << "case " << (&c - cases);
    EXPECT_EQ(d.year, c.expected.year) << "case " << (&c - cases);
    EXPECT_EQ(d.month, c.expected.month) << "case " << (&c - cases);
    EXPECT_EQ(d.day, c.expected.day) << "case " << (&c - cases);
  }
}

TEST(Scan, WidthsLimitTheUnitsAFieldReads) {
  Date d;
  EXPECT_EQ(scanDate(u"20071005", u"%4d%02d%02d", d), 3);
  EXPECT_EQ(d.year, 2007);
  EXPECT_EQ(d.month, 10);
  EXPECT_EQ(d.day, 5);

  int32_t a = 0, b = 0;
  EXPECT_EQ(pfScan(u"-123", u"%2d%d", &a, &b), 2) << "the sign counts in the width";
  EXPECT_EQ(a, -1);
  EXPECT_EQ(b, 23);

  char16_t word[8] = {};
  char16_t rest[8] = {};
  EXPECT_EQ(pfScan(u"abcdef", u"%3s%s", word, rest), 2);
  EXPECT_EQ(std::u16string(word), u"abc");
  EXPECT_EQ(std::u16string(rest), u"def");
}

TEST(Scan, BlanksInTheFormatMatchAnyRunIncludingNone) {
  int32_t a = 0, b = 0;
  EXPECT_EQ(pfScan(u"12 , 34", u"%d , %d", &a, &b), 2);
  EXPECT_EQ(pfScan(u"12,34", u"%d , %d", &a, &b), 2);
  EXPECT_EQ(pfScan(u"12\t\r\n,\n34", u"%d , %d", &a, &b), 2);
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, 34);
  EXPECT_EQ(pfScan(u"  7   8", u"%d%d", &a, &b), 2) << "numbers skip blanks before them";
  EXPECT_EQ(a, 7);
  EXPECT_EQ(b, 8);
  EXPECT_EQ(pfScan(u"x 5", u"x5", &a), 0) << "a literal does not skip blanks";
}

TEST(Scan, NumbersSignsAndSaturation) {
  int32_t d = 0;
  uint32_t u = 0;
  EXPECT_EQ(pfScan(u"-5", u"%d", &d), 1);
  EXPECT_EQ(d, -5);
  EXPECT_EQ(pfScan(u"+7", u"%d", &d), 1);
  EXPECT_EQ(d, 7);
  EXPECT_EQ(pfScan(u"99999999999", u"%d", &d), 1);
  EXPECT_EQ(d, INT32_MAX);
  EXPECT_EQ(pfScan(u"-99999999999", u"%d", &d), 1);
  EXPECT_EQ(d, INT32_MIN);
  EXPECT_EQ(pfScan(u"-2147483648", u"%d", &d), 1);
  EXPECT_EQ(d, INT32_MIN);
  EXPECT_EQ(pfScan(u"4294967295", u"%u", &u), 1);
  EXPECT_EQ(u, UINT32_MAX);
  EXPECT_EQ(pfScan(u"99999999999", u"%u", &u), 1);
  EXPECT_EQ(u, UINT32_MAX);
  EXPECT_EQ(pfScan(u"ff", u"%x", &u), 1);
  EXPECT_EQ(u, 255u);

  d = 42;
  EXPECT_EQ(pfScan(u"-", u"%d", &d), 0) << "a sign without digits is a mismatch";
  EXPECT_EQ(pfScan(u"abc", u"%d", &d), 0);
  EXPECT_EQ(pfScan(u"１２", u"%d", &d), 0) << "full-width digits are not digits";
  EXPECT_EQ(d, 42) << "a failed field is not stored";
}

TEST(Scan, StringsCharactersSuppressionAndPercent) {
  char16_t a[16] = {}, b[16] = {};
  EXPECT_EQ(pfScan(u"  name 中文  ", u"%s %s", a, b), 2);
  EXPECT_EQ(std::u16string(a), u"name");
  EXPECT_EQ(std::u16string(b), u"中文");

  char16_t c[2] = {u'#', u'#'};
  EXPECT_EQ(pfScan(u" 年x", u"%c", c), 1) << "%c reads the next unit, blank or not";
  EXPECT_EQ(c[0], u' ');
  EXPECT_EQ(c[1], u'#') << "%c does not terminate";

  int32_t n = 0;
  EXPECT_EQ(pfScan(u"1 2 3", u"%*d %*d %d", &n), 1);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(pfScan(u"50%", u"%d%%", &n), 1);
  EXPECT_EQ(n, 50);
  EXPECT_EQ(pfScan(u"50", u"%d%%", &n), 1) << "text ending after a stored field";
  EXPECT_EQ(pfScan(u"5", u"%q", &n), 0) << "an unknown directive stops the scan";
  EXPECT_EQ(pfScan(u"", u""), 0);
  EXPECT_EQ(pfScan(u"", u"%*d"), -1);
}

}  // namespace
