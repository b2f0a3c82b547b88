/*
** page_bounds_test.cpp: the fixed page buffers of both almanac pages hold
** every record of their tables.
**
** The simplified page formats one record into 1024 UTF-16 units; the
** traditional page formats each record into 512 units and assembles up to
** fourteen consecutive records, between its title and its footer, in a page
** buffer of 10240 units. All counts below include the terminating zero.
** The longest record and page found are printed for the record.
*/
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "almanac_day.h"
#include "trad_almanac_day.h"
#include "page_formats.h"

namespace {

constexpr size_t longestTradCredit = 64;

/* Expands %d (from numbers) and %s (from texts) in order, as the pages'
   formatted print does; the test only needs the exact result length. */
std::u16string format(const char16_t* pattern, std::vector<int32_t> numbers,
                      std::vector<const char16_t*> texts) {
  std::u16string out;
  size_t nextNumber = 0, nextText = 0;
  for (const char16_t* p = pattern; *p != 0; ++p) {
    if (p[0] == u'%' && p[1] == u'd') {
      for (const char c : std::to_string(numbers.at(nextNumber++))) out.push_back(static_cast<char16_t>(c));
      ++p;
    } else if (p[0] == u'%' && p[1] == u's') {
      out += texts.at(nextText++);
      ++p;
    } else {
      out.push_back(*p);
    }
  }
  EXPECT_EQ(nextNumber, numbers.size());
  EXPECT_EQ(nextText, texts.size());
  return out;
}

std::vector<int32_t> dateParts(int32_t key) { return {key / 10000, key % 10000 / 100, key % 100}; }

std::u16string formatAlmanacRecord(const AlmanacDay& d) {
  return format(almanacRecordFormat, dateParts(d.key),
                {d.suitable, d.avoid, d.luckySpirits, d.unluckySpirits, d.fetusGod, d.fiveElements,
                 d.clash, d.pengzuTaboos});
}

std::u16string formatTradRecord(const TradAlmanacDay& d) {
  return format(tradRecordFormat, dateParts(d.key), {d.suitable, d.avoid});
}

TEST(AlmanacPageBounds, FormatterReproducesTheDateLine) {
  const std::u16string first = formatAlmanacRecord(almanacDays[0]);
  EXPECT_NE(first.find(u"<td>2003年1月1日</td>"), std::u16string::npos);
  const std::u16string trad = formatTradRecord(tradAlmanacDays[1092]);
  EXPECT_EQ(trad.rfind(u"<p>西元2007年12月31日<br>", 0), 0u);
}

TEST(AlmanacPageBounds, EveryRecordFitsTheRecordBuffer) {
  size_t longest = 0;
  int32_t longestKey = 0;
  for (int32_t i = 0; i < almanacDayCount; ++i) {
    const size_t units = formatAlmanacRecord(almanacDays[i]).size() + 1;
    EXPECT_LE(units, almanacRecordBuffer) << "record " << almanacDays[i].key;
    if (units > longest) {
      longest = units;
      longestKey = almanacDays[i].key;
    }
  }
  std::printf("longest almanac record: %d, %zu units with terminator (buffer %zu)\n", longestKey,
              longest, almanacRecordBuffer);
}

TEST(TradAlmanacPageBounds, EveryRecordFitsTheRecordBuffer) {
  size_t longest = 0;
  int32_t longestKey = 0;
  for (int32_t i = 0; i < tradAlmanacDayCount; ++i) {
    const size_t units = formatTradRecord(tradAlmanacDays[i]).size() + 1;
    EXPECT_LE(units, tradRecordBuffer) << "record " << tradAlmanacDays[i].key;
    if (units > longest) {
      longest = units;
      longestKey = tradAlmanacDays[i].key;
    }
  }
  std::printf("longest traditional record: %d, %zu units with terminator (buffer %zu)\n",
              longestKey, longest, tradRecordBuffer);
}

TEST(TradAlmanacPageBounds, LongestFourteenRecordPageFitsThePageBuffer) {
  const std::u16string credit(longestTradCredit, u'字');
  const size_t frame = std::u16string(tradPageHeader).size() + std::u16string(tradFooterStart).size() +
                       credit.size() + std::u16string(tradFooterEnd).size();
  std::vector<size_t> recordUnits;
  for (int32_t i = 0; i < tradAlmanacDayCount; ++i) {
    recordUnits.push_back(formatTradRecord(tradAlmanacDays[i]).size());
  }
  size_t longest = 0;
  int32_t longestStart = 0;
  for (int32_t start = 0; start < tradAlmanacDayCount; ++start) {
    size_t units = frame + 1;
    for (int32_t n = 0; n < tradRecordsPerPage && start + n < tradAlmanacDayCount; ++n) {
      units += recordUnits[static_cast<size_t>(start + n)];
    }
    EXPECT_LE(units, tradPageBuffer) << "page from " << tradAlmanacDays[start].key;
    if (units > longest) {
      longest = units;
      longestStart = tradAlmanacDays[start].key;
    }
  }
  std::printf("longest traditional page: from %d, %zu units with terminator and a %zu-unit credit "
              "(buffer %zu)\n", longestStart, longest, longestTradCredit, tradPageBuffer);
}

}  // namespace
