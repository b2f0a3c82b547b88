/*
** UTF-16 string services: copy and append, exact and case-insensitive
** compare, the lenient decimal value of a text, and the strict number
** reading of dialog fields.
*/
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "pf/text.h"
#include "text_internal.h"

namespace {

int sign(int32_t v) { return (v > 0) - (v < 0); }

TEST(Strings, LengthCopyAppend) {
  char16_t buffer[16];
  EXPECT_EQ(pfStrLen(u""), 0u);
  EXPECT_EQ(pfStrLen(u"返回"), 2u);
  EXPECT_EQ(pfStrCpy(buffer, u"宜："), buffer);
  EXPECT_EQ(pfStrCat(buffer, u"祭祀"), buffer);
  EXPECT_EQ(std::u16string(buffer), u"宜：祭祀");
  pfStrCat(buffer, u"");
  EXPECT_EQ(std::u16string(buffer), u"宜：祭祀");
}

TEST(Strings, BoundedCopyAlwaysTerminates) {
  char16_t buffer[6];
  for (auto& c : buffer) c = u'#';
  pfStrCpyN(buffer, u"abcdefgh", 4);
  EXPECT_EQ(std::u16string(buffer), u"abc");
  EXPECT_EQ(buffer[4], u'#') << "nothing written past the size";
  pfStrCpyN(buffer, u"ab", 6);
  EXPECT_EQ(std::u16string(buffer), u"ab");
  pfStrCpyN(buffer, u"abcde", 6);
  EXPECT_EQ(std::u16string(buffer), u"abcde");
  pfStrCpyN(buffer, u"xyz", 1);
  EXPECT_EQ(buffer[0], u'\0');
  buffer[0] = u'#';
  pfStrCpyN(buffer, u"xyz", 0);
  EXPECT_EQ(buffer[0], u'#');
}

TEST(Strings, ExactCompareOrdersByUnits) {
  struct Case {
    const char16_t *a, *b;
    int expected;
  } cases[] = {
      {u"", u"", 0},           {u"abc", u"abc", 0},     {u"abc", u"abd", -1},
      {u"abc", u"ab", 1},      {u"ab", u"abc", -1},     {u"PocketPC", u"pocketpc", -1},
      {u"2007年10月05日", u"2007年09月30日", 1},         {u"中", u"中", 0},
      {u"\uFFFF", u"a", 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(sign(pfStrCmp(c.a, c.b)), c.expected) << "case " << (&c - cases);
}

TEST(Strings, CaseInsensitiveCompare) {
  struct Case {
    const char16_t *a, *b;
    int expected;
  } cases[] = {
      {u"PocketPC", u"POCKETPC", 0},
      {u"PocketPC", u"pocketpc", 0},
      {u"pOCKETpc", u"PocketPC", 0},
      {u"PocketPC2", u"PocketPC", 1},
      {u"Pocket", u"PocketPC", -1},
      {u"Smartphone", u"PocketPC", 1},
      {u"_", u"A", -1},            /* letters compare as lower case: '_' < 'a' */
      {u"pastDay.idx", u"PASTDAY.IDX", 0},
      {u"ÀÉÎÕÜÞ", u"àéîõüþ", 0},   /* Latin-1 */
      {u"×", u"÷", -1},            /* the multiplication sign is no letter */
      {u"ŸĀĹŁŽ", u"ÿāĺłž", 0},     /* Latin Extended-A, both pairings */
      {u"ΑΒΓΆΏ", u"αβγάώ", 0},     /* Greek */
      {u"ПРИВЕТЁЂ", u"приветёђ", 0}, /* Cyrillic */
      {u"ＡＢＣ", u"ａｂｃ", 0},     /* full-width Latin */
      {u"ＡＢＣ", u"ABC", 1},        /* full width is not ASCII */
      {u"中文", u"中文", 0},
      {u"中文", u"中", 1},
      {u"İ", u"i", 1},             /* no special casing */
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sign(pfStrCmpI(c.a, c.b)), c.expected) << "case " << (&c - cases);
    EXPECT_EQ(sign(pfStrCmpI(c.b, c.a)), -c.expected) << "reversed case " << (&c - cases);
  }
}

TEST(Strings, DecimalValueOfAText) {
  struct Case {
    const char16_t* text;
    int32_t value;
  } cases[] = {
      {u"1985", 1985},       {u"  42abc", 42},        {u"\t\r\n 12", 12},
      {u"-17", -17},         {u"+5", 5},              {u"abc", 0},
      {u"", 0},              {u"- 5", 0},             {u"--5", 0},
      {u"12 34", 12},        {u"１２", 0},            {u"2147483647", INT32_MAX},
      {u"-2147483648", INT32_MIN}, {u"99999999999", INT32_MAX},
      {u"-99999999999999999999", INT32_MIN},          {u"000000000000000000007", 7},
  };
  for (const Case& c : cases) EXPECT_EQ(pfStrToInt(c.text), c.value) << "case " << (&c - cases);
}

TEST(Strings, StrictUnsignedFieldValue) {
  struct Case {
    const char16_t* text;
    bool ok;
    uint32_t value;
  } cases[] = {
      {u"28", true, 28},   {u" 28", true, 28},  {u"28 ", true, 28},  {u"\t28\t", true, 28},
      {u"00028", true, 28}, {u"0", true, 0},    {u"4294967295", true, UINT32_MAX},
      {u"", false, 0},     {u"   ", false, 0},  {u"2 8", false, 0},  {u"28a", false, 0},
      {u"a28", false, 0},  {u"+28", false, 0},  {u"-1", false, 0},   {u"4294967296", false, 0},
      {u"99999999999999999999999", false, 0},   {u"２８", false, 0},
  };
  for (const Case& c : cases) {
    uint32_t out = 12345;
    EXPECT_EQ(pf::text::parseUnsigned(c.text, &out), c.ok) << "case " << (&c - cases);
    EXPECT_EQ(out, c.ok ? c.value : 12345u) << "case " << (&c - cases);
  }
}

TEST(Strings, StrictSignedFieldValue) {
  struct Case {
    const char16_t* text;
    bool ok;
    int32_t value;
  } cases[] = {
      {u"-5", true, -5},       {u"+5", true, 5},       {u" -0 ", true, 0},
      {u"2147483647", true, INT32_MAX},                {u"-2147483648", true, INT32_MIN},
      {u"2147483648", false, 0}, {u"-2147483649", false, 0}, {u"-", false, 0},
      {u"- 5", false, 0},      {u"+-5", false, 0},     {u"5-", false, 0},  {u"", false, 0},
  };
  for (const Case& c : cases) {
    int32_t out = 12345;
    EXPECT_EQ(pf::text::parseSigned(c.text, &out), c.ok) << "case " << (&c - cases);
    EXPECT_EQ(out, c.ok ? c.value : 12345) << "case " << (&c - cases);
  }
}

}  // namespace
