/*
** The compiled birthday-notes table: what the build made of the table source
** is what the viewer relies on (calendar order, titles, CR LF texts with the
** eight sections in order).
*/
#include <gtest/gtest.h>

#include <string>

#include "natal_note.h"

namespace {

const int kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
const char16_t* const kHeadings[] = {u"幸运数字和守护星", u"健康", u"建议", u"名人",
                                     u"塔罗牌",           u"静思语", u"优点", u"缺点"};

std::u16string number(int n) {
  std::u16string s;
  for (char c : std::to_string(n)) s += static_cast<char16_t>(c);
  return s;
}

TEST(NatalNotesTable, EveryDayInCalendarOrder) {
  int index = 0;
  for (int month = 1; month <= 12; ++month)
    for (int day = 1; day <= kMonthDays[month - 1]; ++day, ++index) {
      ASSERT_LT(index, natalNoteCount);
      const NatalNote& note = natalNoteTable[index];
      EXPECT_EQ(note.key, month * 100 + day) << index;
      std::u16string date = number(month) + u"月" + number(day) + u"日";
      std::u16string title = note.title;
      EXPECT_EQ(title.rfind(date, 0), 0u) << index;
      EXPECT_GT(title.size(), date.size()) << "every entry has an epithet: " << index;
    }
  EXPECT_EQ(index, natalNoteCount);
  EXPECT_EQ(natalNoteTable[59].key, 229);
}

TEST(NatalNotesTable, TextsHaveTheViewersForm) {
  for (int i = 0; i < natalNoteCount; ++i) {
    std::u16string text = natalNoteTable[i].text;
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), u"\r\n") << i;
    for (size_t k = 0; k < text.size(); ++k) {
      if (text[k] == u'\r') {
        EXPECT_EQ(text[k + 1], u'\n') << i;
      }
      if (text[k] == u'\n') {
        EXPECT_EQ(text[k - 1], u'\r') << i;
      }
    }
    EXPECT_EQ(text.rfind(u"\u3000\u3000", 0), 0u) << "portrait first: " << i;
    size_t at = 0;
    for (const char16_t* heading : kHeadings) {
      std::u16string marker = u"\r\n\r\n" + std::u16string(heading) + u"\r\n";
      size_t found = text.find(marker, at);
      ASSERT_NE(found, std::u16string::npos) << i << " lacks a section in order";
      at = found + marker.size();
    }
  }
}

}  // namespace
