/*
** almanac_day.h: the built-in day table of the almanac plug-in LM_almanac.
**
** One record per day from 2003-01-01 (index 0) to 2007-12-31 (index 1825),
** ordered by strictly ascending key with no day missing, so a lookup is a
** binary search over the whole table. Every text is a zero-terminated UTF-16
** string in read-only data; equal texts share one copy, and empty fields
** point at one shared empty string (never at null).
**
** The table is generated at build time from data/almanac/almanac_days.tsv.
*/
#ifndef LUMENO_ALMANAC_DAY_H
#define LUMENO_ALMANAC_DAY_H

#include <stdint.h>

struct AlmanacDay {
  int32_t key;                  /* dateKey: year * 10000 + month * 100 + day */
  const char16_t* suitable;     /* 宜: auspicious activities, space separated */
  const char16_t* avoid;        /* 忌: inauspicious activities, space separated */
  const char16_t* luckySpirits;   /* 吉神宜趋 */
  const char16_t* unluckySpirits; /* 凶神宜忌 */
  const char16_t* fetusGod;     /* 胎神占方 */
  const char16_t* fiveElements; /* 五行: nayin, day officer, 执位 */
  const char16_t* clash;        /* 冲: animal, (stem-branch), 煞 direction */
  const char16_t* pengzuTaboos; /* 彭祖百忌: stem taboo, space, branch taboo */
};

constexpr int32_t almanacDayCount = 1826;

extern const AlmanacDay almanacDays[];

#endif
