/*
** The HTML formats of both almanac pages, shared by the pages and by the
** tests that check that every record fits the pages' fixed buffers.
*/
#pragma once

#include <cstddef>

/* The almanac page: one record formatted into a buffer of 1024 units. */
constexpr size_t almanacRecordBuffer = 1024;
inline constexpr char16_t almanacPageHeader[] =
    u"<center><b><font color=blue>黄道吉日V1.3</font></b><hr>";
inline constexpr char16_t almanacRecordFormat[] =
    u"<p><table border=1><tr><td width=55>公元</td><td>%d年%d月%d日</td></tr>"
    u"<tr><td><b>宜</b></td><td><font color=green>%s</font></td></tr>"
    u"<tr><td><b>忌</b></td><td><font color=red>%s</font></td></tr>"
    u"<tr><td><b>吉神宜趋</b></td><td>%s</td></tr>"
    u"<tr><td><b>凶神宜忌</b></td><td>%s</td></tr>"
    u"<tr><td><b>胎神占方</b></td><td>%s</td></tr>"
    u"<tr><td><b>五行</b></td><td>%s</td></tr>"
    u"<tr><td><b>冲</b></td><td>%s</td></tr>"
    u"<tr><td><b>彭祖百忌</b></td><td>%s</td></tr></table></p>";

/* The traditional-script page: up to fourteen records, each formatted into
** 512 units, the whole page in 10240. */
constexpr size_t tradRecordBuffer = 512;
constexpr size_t tradPageBuffer = 10240;
constexpr int tradRecordsPerPage = 14;
inline constexpr char16_t tradRecordFormat[] =
    u"<p>西元%d年%d月%d日<br><font color=green>宜：%s</font><br><font color=red>忌：%s</font></p>";
inline constexpr char16_t tradPageHeader[] =
    u"<center><b><font color=blue>臺灣皇曆 V1.3</font></b></center><hr>";
inline constexpr char16_t tradFooterStart[] = u"<hr><center><b>臺灣皇曆 ";
inline constexpr char16_t tradFooterEnd[] = u"</b></center>";
