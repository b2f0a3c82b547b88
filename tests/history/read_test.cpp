/*
** The viewer's side: loading indexes sound and damaged, keys, the walk over
** one day's entries, and reading one record from the data file.
*/
#include <cstdlib>
#include <string>
#include <vector>

#include "pf/host/device.h"
#include "pf/host/trace.h"
#include "read/day_index.h"
#include "read/record_text.h"
#include "temp_folder.h"

namespace {

std::string le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
  return s;
}
std::string entry(int32_t key, uint32_t titleOffset, int32_t offset = 0, int32_t length = 0) {
  return le32(static_cast<uint32_t>(key)) + le32(titleOffset) + le32(static_cast<uint32_t>(offset)) +
         le32(static_cast<uint32_t>(length));
}

/* Index and data files in the device root of an emulated device. Every
** file that the reading side opens must be closed again, on every path. */
class HistoryRead : public ::testing::Test {
 protected:
  TempFolder folder;
  int openFiles = 0;
  void SetUp() override {
    pf::host::DeviceConfig config;
    config.deviceRoot = folder.path;
    pf::host::configureDevice(config);
    pf::trace::setSink([this](const nlohmann::json& e) {
      if (e["op"] == "open" && e["ok"] == true) ++openFiles;
      if (e["op"] == "close") --openFiles;
    });
  }
  void TearDown() override {
    pf::trace::setSink(nullptr);
    setHistoryAllocator(nullptr);
    EXPECT_EQ(openFiles, 0) << "a file was left open";
  }
};

TEST_F(HistoryRead, LoadsTheIndexWhole) {
  folder.file("pastday.idx", le32(2) + entry(19491001, 0, 7, 70) + entry(-5, 3, 77, 9) +
                                 std::string("AB\0C\0", 5));
  DayIndex index;
  ASSERT_TRUE(loadDayIndex(u"\\pastDay.idx", &index));
  ASSERT_EQ(index.count, 2u);
  EXPECT_EQ(index.entries[0].key, 19491001);
  EXPECT_EQ(index.entries[0].recordOffset, 7);
  EXPECT_EQ(index.entries[0].recordLength, 70);
  EXPECT_EQ(index.entries[1].key, -5);
  EXPECT_EQ(index.entries[1].titleOffset, 3u);
  EXPECT_STREQ(dayEntryTitle(&index, &index.entries[0]), "AB");
  EXPECT_STREQ(dayEntryTitle(&index, &index.entries[1]), "C");
  freeDayIndex(&index);
  EXPECT_EQ(index.count, 0u);
  EXPECT_EQ(index.entries, nullptr);
}

TEST_F(HistoryRead, RefusesIndexesThatCannotHoldTheirEntries) {
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"shorter than the count", std::string("\1\0", 2)},
      {"count 0", le32(0) + "ABC"},
      {"huge count", le32(0xFFFFFFFFu) + entry(101, 0) + std::string("A\0", 2)},
      {"count beyond the entries", le32(3) + entry(101, 0) + entry(102, 2) + std::string(4, '\0')},
      {"last entry cut", le32(1) + entry(101, 0).substr(0, 15)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    folder.file("bad.idx", c.bytes);
    DayIndex index;
    EXPECT_FALSE(loadDayIndex(u"bad.idx", &index));
    EXPECT_EQ(index.count, 0u);
    EXPECT_EQ(index.entries, nullptr);
  }
  DayIndex index;
  EXPECT_FALSE(loadDayIndex(u"missing.idx", &index));
  std::filesystem::create_directory(folder.path / "folder.idx");
  EXPECT_FALSE(loadDayIndex(u"folder.idx", &index));
}

TEST_F(HistoryRead, LoadFailsWhenMemoryCannotBeHad) {
  folder.file("ok.idx", le32(1) + entry(101, 0) + std::string("A\0", 2));
  for (int failing = 1; failing <= 2; ++failing) {
    SCOPED_TRACE(failing);
    static int calls, failAt;
    calls = 0;
    failAt = failing;
    setHistoryAllocator([](size_t bytes) { return ++calls == failAt ? nullptr : std::malloc(bytes); });
    DayIndex index;
    EXPECT_FALSE(loadDayIndex(u"ok.idx", &index));
    EXPECT_EQ(index.count, 0u);
  }
}

/* A damaged title reads as empty; the walk and the row counting use the
** same titles, so they never disagree. */
TEST_F(HistoryRead, DamagedTitlesReadAsEmpty) {
  folder.file("t.idx", le32(4) + entry(101, 0) + entry(101, 100) + entry(101, 0xFFFFFFFFu) +
                           entry(101, 2) + std::string("A\0BC", 4));
  DayIndex index;
  ASSERT_TRUE(loadDayIndex(u"t.idx", &index));
  std::vector<std::string> titles;
  forEachDayEntry(&index, 1, 1, [](const IndexEntry*, const char* title, void* c) {
    static_cast<std::vector<std::string>*>(c)->push_back(title);
    return true;
  }, &titles);
  EXPECT_EQ(titles, (std::vector<std::string>{"A", "", "", ""}));
  freeDayIndex(&index);

  /* A title area of nothing at all. */
  folder.file("n.idx", le32(1) + entry(101, 0));
  ASSERT_TRUE(loadDayIndex(u"n.idx", &index));
  EXPECT_STREQ(dayEntryTitle(&index, &index.entries[0]), "");
  freeDayIndex(&index);
}

TEST(HistoryKeys, DayAndYearParts) {
  EXPECT_EQ(dayKey(10, 1), 1001);
  struct {
    int32_t key;
    uint32_t day, year;
  } cases[] = {{19491001, 1001, 1949}, {9990101, 101, 999}, {1231, 1231, 0},
               {-1, 7295, 429496}, {INT32_MIN, 3648, 214748}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(dayOfKey(c.key), c.day);
    EXPECT_EQ(yearOfKey(c.key), c.year);
  }
}

struct Visits {
  std::vector<std::string> titles;
  size_t stopAfter = SIZE_MAX;
};

bool collect(const IndexEntry*, const char* title, void* context) {
  auto* v = static_cast<Visits*>(context);
  v->titles.push_back(title);
  return v->titles.size() < v->stopAfter;
}

TEST_F(HistoryRead, WalksOneDayInIndexOrder) {
  std::string titles;
  std::string table;
  uint32_t n = 0;
  auto add = [&](int32_t key, const std::string& title) {
    table += entry(key, static_cast<uint32_t>(titles.size()));
    titles += title + '\0';
    ++n;
  };
  add(19000101, "jan1");
  add(19491001, "oct1 a");
  add(18001001, "oct1 b");
  add(20001002, "oct2");
  add(19991001, "oct1 late");  // after a later day: never found
  add(20001301, "month 13");   // no calendar day: stops every walk that reaches it
  add(20001231, "dec31");
  folder.file("w.idx", le32(n) + table + titles);
  DayIndex index;
  ASSERT_TRUE(loadDayIndex(u"w.idx", &index));
  struct Case {
    int32_t month, day;
    std::vector<std::string> want;
  } cases[] = {{1, 1, {"jan1"}},          {10, 1, {"oct1 a", "oct1 b"}}, {10, 2, {"oct2"}},
               {6, 15, {}},               {12, 31, {}},                  {2, 29, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.month) + "/" + std::to_string(c.day));
    Visits v;
    EXPECT_EQ(forEachDayEntry(&index, c.month, c.day, collect, &v), c.want.size());
    EXPECT_EQ(v.titles, c.want);
  }
  Visits first;
  first.stopAfter = 1;
  forEachDayEntry(&index, 10, 1, collect, &first);
  EXPECT_EQ(first.titles, (std::vector<std::string>{"oct1 a"}));
  freeDayIndex(&index);
}

TEST_F(HistoryRead, ReadsOneRecordByOffsetAndLength) {
  std::string data = "head\r\n##19491001 T\r\nline 1\r\nline 2\r\n##19491002 U";
  folder.file("pastday.dat", data);
  RecordText text;
  IndexEntry e{19491001, 0, 6, 30};
  ASSERT_TRUE(readRecordText(u"\\PASTDAY.DAT", &e, &text));
  EXPECT_EQ(std::string(text.bytes, static_cast<size_t>(text.length)), data.substr(6, 30));
  EXPECT_EQ(text.bytes[text.length], '\0');
  int32_t bodyLength = 0;
  const char* body = recordBody(text.bytes, text.length, &bodyLength);
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(std::string(body, static_cast<size_t>(bodyLength)), "line 1\r\nline 2\r\n");
  freeRecordText(&text);
  EXPECT_EQ(text.bytes, nullptr);

  /* The last record, without a line feed, has no body. */
  IndexEntry last{19491002, 0, 36, 12};
  ASSERT_TRUE(readRecordText(u"pastday.dat", &last, &text));
  EXPECT_EQ(recordBody(text.bytes, text.length, &bodyLength), nullptr);
  freeRecordText(&text);
}

TEST_F(HistoryRead, NoTextForEntriesTheDataFileCannotServe) {
  folder.file("pastday.dat", std::string(100, 'x'));
  struct Case {
    const char* name;
    IndexEntry entry;
  } cases[] = {
      {"shorter than the entry says", {1, 0, 90, 11}},
      {"offset beyond the end", {1, 0, 200, 1}},
      {"length 0", {1, 0, 10, 0}},
      {"negative length", {1, 0, 10, -5}},
      {"negative offset", {1, 0, -10, 5}},
      {"offset and length near the limit", {1, 0, INT32_MAX, INT32_MAX}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordText text;
    EXPECT_FALSE(readRecordText(u"pastday.dat", &c.entry, &text));
    EXPECT_EQ(text.bytes, nullptr);
  }
  RecordText text;
  IndexEntry fine{1, 0, 0, 100};
  EXPECT_FALSE(readRecordText(u"missing.dat", &fine, &text));
  EXPECT_TRUE(readRecordText(u"pastday.dat", &fine, &text));
  freeRecordText(&text);
}

TEST_F(HistoryRead, MemoryFailureGivesTheEmptyText) {
  folder.file("pastday.dat", "##1 A\r\nbody\r\n");
  setHistoryAllocator([](size_t) -> void* { return nullptr; });
  IndexEntry e{1, 0, 0, 13};
  RecordText text;
  ASSERT_TRUE(readRecordText(u"pastday.dat", &e, &text));
  ASSERT_NE(text.bytes, nullptr);
  EXPECT_EQ(text.length, 0);
  EXPECT_STREQ(text.bytes, "");
  int32_t bodyLength = -1;
  EXPECT_EQ(recordBody(text.bytes, text.length, &bodyLength), nullptr);
  freeRecordText(&text);
}

}  // namespace
