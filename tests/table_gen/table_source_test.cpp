/*
** table_source_test.cpp: the table source reader accepts the documented
** format and rejects each kind of malformed input with the right line.
*/
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "table_source.h"

namespace {

using tablegen::parseTableSource;
using tablegen::SourceError;
using tablegen::TableRecord;

TEST(TableSource, ReadsRecordsSkipsCommentsAndResolvesEscapes) {
  const std::string source =
      "# a comment\n"
      "-7\tplain\t\n"
      "# another # comment\n"
      "12\ta\\\\b\\tc\tline\\r\\nbreak\n"
      "2147483647\t\xe5\xae\x9c \xf0\x9f\x98\x80\t#not a comment\n";
  std::vector<TableRecord> records;
  SourceError error;
  ASSERT_TRUE(parseTableSource(source, 2, records, error)) << error.line << ": " << error.message;
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].key, -7);
  EXPECT_EQ(records[0].texts, (std::vector<std::u16string>{u"plain", u""}));
  EXPECT_EQ(records[1].key, 12);
  EXPECT_EQ(records[1].texts, (std::vector<std::u16string>{u"a\\b\tc", u"line\r\nbreak"}));
  EXPECT_EQ(records[2].key, 2147483647);
  EXPECT_EQ(records[2].texts[0], (std::u16string{0x5B9C, u' ', 0xD83D, 0xDE00}));
  EXPECT_EQ(records[2].texts[1], u"#not a comment");
}

struct BadSource {
  const char* what;
  std::string source;
  size_t line;
  const char* messagePart;
};

TEST(TableSource, RejectsMalformedInputNamingTheLine) {
  const BadSource cases[] = {
      {"too few fields", "1\ta\n", 1, "expected 3 fields (a key and 2 texts), found 2"},
      {"too many fields", "1\ta\tb\n2\ta\tb\tc\n", 2, "found 4"},
      {"key with letters", "x1\ta\tb\n", 1, "key 'x1' is not a decimal integer"},
      {"empty key", "\ta\tb\n", 1, "key '' is not a decimal integer"},
      {"sign without digits", "-\ta\tb\n", 1, "is not a decimal integer"},
      {"key with spaces", " 1\ta\tb\n", 1, "is not a decimal integer"},
      {"key above int32", "2147483648\ta\tb\n", 1, "outside the signed 32-bit range"},
      {"key below int32", "-2147483649\ta\tb\n", 1, "outside the signed 32-bit range"},
      {"huge key", "99999999999999999999999\ta\tb\n", 1, "outside the signed 32-bit range"},
      {"repeated key", "1\ta\tb\n1\tc\td\n", 2, "key 1 is not greater than the key 1 of line 1"},
      {"falling key", "5\ta\tb\n# c\n3\tc\td\n", 3, "key 3 is not greater than the key 5 of line 1"},
      {"unknown escape", "1\ta\\x\tb\n", 1, "field 2: unknown escape '\\x'"},
      {"escaped quote", "1\ta\tb\\\"\n", 1, "field 3: unknown escape"},
      {"backslash at end", "1\ta\tb\\\n", 1, "field 3: backslash at the end of the field"},
      {"stray byte", "1\ta\xff\tb\n", 1, "invalid UTF-8: byte 0xFF cannot start a character at byte 4"},
      {"overlong two bytes", "1\t\xc0\x80\tb\n", 1, "byte 0xC0 cannot start a character"},
      {"overlong three bytes", "1\t\xe0\x80\x80\tb\n", 1, "overlong encoding"},
      {"encoded surrogate", "1\t\xed\xa0\x80\tb\n", 1, "encoded surrogate"},
      {"beyond U+10FFFF", "1\t\xf4\x90\x80\x80\tb\n", 1, "above U+10FFFF"},
      {"broken sequence", "1\t\xe5\xae\tb\n", 1, "byte 0x09 is not a continuation byte"},
      {"sequence cut at line end", "1\ta\tb\xe5\xae\n", 1, "sequence cut short"},
      {"bad byte in comment", "1\ta\tb\n# \xfe\n", 2, "invalid UTF-8"},
      {"CR LF line end", "1\ta\tb\r\n", 1, "CR LF"},
      {"literal control character", "1\ta\x01\tb\n", 1, "field 2: control character U+0001"},
      {"literal CR inside", "1\ta\rz\tb\n", 1, "field 2: control character U+000D"},
      {"empty line", "1\ta\tb\n\n2\tc\td\n", 2, "empty line"},
      {"no final LF", "1\ta\tb\n2\tc\td", 2, "does not end with a line feed"},
      {"byte-order mark", "\xef\xbb\xbf" "1\ta\tb\n", 1, "byte-order mark"},
      {"only comments", "# nothing\n", 0, "no records"},
      {"empty file", "", 0, "no records"},
  };
  for (const BadSource& c : cases) {
    std::vector<TableRecord> records;
    SourceError error;
    EXPECT_FALSE(parseTableSource(c.source, 2, records, error)) << c.what;
    EXPECT_EQ(error.line, c.line) << c.what;
    EXPECT_NE(error.message.find(c.messagePart), std::string::npos)
        << c.what << ": got \"" << error.message << "\"";
    EXPECT_TRUE(records.empty()) << c.what << ": a failed parse must not hand out records";
  }
}

}  // namespace
