/*
** trad_almanac_day.h: the built-in day table of the traditional-script
** almanac plug-in LM_tradAlmanac.
**
** Days of 2005-01-01 (index 0) to 2007-12-31 (index 1092) in strictly
** ascending key order; two days have no record: 2006-12-31 (index 728 is
** 2006-12-30, 729 is 2007-01-01) and 2007-12-07 (index 1068 is 2007-12-06,
** 1069 is 2007-12-08). Texts are zero-terminated UTF-16 strings in read-only
** data, shared between records; empty fields point at one shared empty
** string (never at null).
**
** The table is generated at build time from data/almanac/trad_almanac_days.tsv.
*/
#ifndef LUMENO_TRAD_ALMANAC_DAY_H
#define LUMENO_TRAD_ALMANAC_DAY_H

#include <stdint.h>

struct TradAlmanacDay {
  int32_t key;               /* dateKey: year * 10000 + month * 100 + day */
  const char16_t* suitable;  /* 宜: auspicious activities, space separated */
  const char16_t* avoid;     /* 忌: inauspicious activities, same form */
};

constexpr int32_t tradAlmanacDayCount = 1093;

extern const TradAlmanacDay tradAlmanacDays[];

#endif
