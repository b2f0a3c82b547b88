/*
** sample_days_test.cpp: content checks of the almanac tables against the two
** printed reference days, and the pointer invariants the pages rely on
** (no null text, each distinct text stored once).
*/
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "almanac_day.h"
#include "trad_almanac_day.h"

namespace {

std::u16string text(const char16_t* s) { return s; }

TEST(AlmanacDaySamples, ActivitiesAndTaboosOfTheReferenceDays) {
  struct Case {
    int32_t index;
    int32_t key;
    const char16_t* suitable;
    const char16_t* avoid;
    const char16_t* pengzuTaboos;
  };
  const Case cases[] = {
      {0, 20030101,
       u"纳采 订盟 祭祀 祈福 求嗣 塑绘 解除 拆卸 修造 动土 竖柱 上梁 安门 置产 开池 掘井 纳畜 安床 栽种 造畜稠 破土 移柩 立碑",
       u"嫁娶 开市 出火 进人口 入殓 赴任 入宅 移徙 出行 安葬",
       u"甲不开仓财物耗散 戌不吃犬作怪上床"},
      {1825, 20071231, u"出行 沐浴 理发 补垣 塞穴", u"入宅 安葬", u"己不破券二比并亡 亥不嫁娶不利新郎"},
  };
  for (const Case& c : cases) {
    const AlmanacDay& day = almanacDays[c.index];
    ASSERT_EQ(day.key, c.key);
    EXPECT_EQ(text(day.suitable), c.suitable) << c.key;
    EXPECT_EQ(text(day.avoid), c.avoid) << c.key;
    EXPECT_EQ(text(day.pengzuTaboos), c.pengzuTaboos) << c.key;
  }
}

TEST(AlmanacDaySamples, FieldFormsOfTheFirstDay) {
  const AlmanacDay& day = almanacDays[0];
  EXPECT_EQ(text(day.fetusGod), u"占门栖外西南");
  EXPECT_EQ(text(day.fiveElements), u"山头火开执位");
  EXPECT_EQ(text(day.clash), u"冲龙(戊辰)煞北");
}

TEST(TradAlmanacDaySamples, ReferenceDaysInTraditionalScript) {
  // The traditional table is the simplified one's activities, converted.
  EXPECT_EQ(text(tradAlmanacDays[0].suitable), u"祭祀 沐浴 作灶 納財 捕捉 畋獵 安床 掃舍");
  EXPECT_EQ(text(tradAlmanacDays[0].avoid), u"開市 齋醮 破土 安葬");
  EXPECT_EQ(text(tradAlmanacDays[1092].suitable), u"出行 沐浴 理髮 補垣 塞穴");
  EXPECT_EQ(text(tradAlmanacDays[1092].avoid), u"入宅 安葬");
}

/* Per-table text checks: every text present, without control characters,
   terms separated by single spaces; equal texts stored once (one pointer
   per distinct text, the empty text included). */
class TextChecker {
 public:
  void check(const char16_t* s, int32_t key, int field) {
    ASSERT_NE(s, nullptr) << key << " field " << field;
    const std::u16string t = s;
    const auto [where, isNew] = stored_.try_emplace(t, s);
    ASSERT_EQ(where->second, s) << key << " field " << field << ": equal text stored twice";
    if (t.empty()) return;
    EXPECT_NE(t.front(), u' ') << key << " field " << field;
    EXPECT_NE(t.back(), u' ') << key << " field " << field;
    EXPECT_EQ(t.find(u"  "), std::u16string::npos) << key << " field " << field;
    for (const char16_t c : t) EXPECT_GE(c, 0x20) << key << " field " << field;
  }

 private:
  std::map<std::u16string, const char16_t*> stored_;
};

TEST(AlmanacDayTexts, EveryFieldIsAWellFormedSharedText) {
  TextChecker checker;
  for (int32_t i = 0; i < almanacDayCount; ++i) {
    const AlmanacDay& d = almanacDays[i];
    const char16_t* fields[] = {d.suitable, d.avoid, d.luckySpirits, d.unluckySpirits,
                                d.fetusGod, d.fiveElements, d.clash, d.pengzuTaboos};
    for (int f = 0; f < 8; ++f) checker.check(fields[f], d.key, f + 2);
    if (HasFatalFailure()) return;
  }
}

TEST(TradAlmanacDayTexts, EveryFieldIsAWellFormedSharedText) {
  TextChecker checker;
  for (int32_t i = 0; i < tradAlmanacDayCount; ++i) {
    const TradAlmanacDay& d = tradAlmanacDays[i];
    checker.check(d.suitable, d.key, 2);
    checker.check(d.avoid, d.key, 3);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
