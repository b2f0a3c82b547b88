/*
** Clock and timers. The device's local time is either the host's real local
** time or a fixed clock that stands still until automation advances it.
** Timers are kept per window and id; the loop takes them when due. With the
** fixed clock an advance of N seconds delivers every tick that falls in it,
** in order, with the clock standing at each tick's time; with the real clock
** a late timer ticks once and is rescheduled from now.
*/
#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "core/loop.h"
#include "core/wm.h"
#include "pf/clock.h"
#include "pf/host/device.h"
#include "pf/host/trace.h"

namespace {

struct Timer {
  PfWnd wnd;
  uint32_t id;
  uint32_t period;
  int64_t due;
};

struct ClockState {
  bool fixed = false;
  int64_t fixedEpochSeconds = 0; /* the fixed clock's start, as a naive local time */
  int64_t fixedNowMs = 0;        /* where the fixed clock stands */
  int64_t fixedTargetMs = 0;     /* where an advance takes it */
  std::vector<Timer> timers;
};

ClockState& cs() {
  static ClockState s;
  return s;
}

int64_t realMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

/* Days from 1970-01-01 of a proleptic Gregorian date. */
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int64_t* y, int64_t* m, int64_t* d) {
  z += 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp + (mp < 10 ? 3 : -9);
  *y = yoe + era * 400 + (*m <= 2);
}

}  // namespace

namespace pf::clockwork {

int64_t nowMs() { return cs().fixed ? cs().fixedNowMs : realMs(); }

std::optional<DueTimer> takeDueTimer() {
  ClockState& s = cs();
  int64_t limit = s.fixed ? s.fixedTargetMs : realMs();
  auto it = std::min_element(s.timers.begin(), s.timers.end(),
                             [](const Timer& a, const Timer& b) { return a.due < b.due; });
  if (it == s.timers.end() || it->due > limit) {
    if (s.fixed) s.fixedNowMs = s.fixedTargetMs;
    return std::nullopt;
  }
  DueTimer due{it->wnd, it->id};
  if (s.fixed) {
    s.fixedNowMs = std::max(s.fixedNowMs, it->due);
    it->due += it->period;
  } else {
    it->due += it->period;
    if (it->due <= limit) it->due = limit + it->period;
  }
  return due;
}

std::optional<int64_t> nextDueMs() {
  ClockState& s = cs();
  if (s.fixed || s.timers.empty()) return std::nullopt;
  int64_t next = s.timers.front().due;
  for (auto& t : s.timers) next = std::min(next, t.due);
  return next;
}

void forgetWindowTimers(PfWnd wnd) {
  auto& ts = cs().timers;
  ts.erase(std::remove_if(ts.begin(), ts.end(), [&](const Timer& t) { return t.wnd == wnd; }),
           ts.end());
}

}  // namespace pf::clockwork

namespace pf::host {

void useRealClock() { cs().fixed = false; }

void useFixedClock(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                   int32_t second) {
  ClockState& s = cs();
  s.fixed = true;
  s.fixedEpochSeconds = daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  s.fixedNowMs = 0;
  s.fixedTargetMs = 0;
  for (auto& t : s.timers) t.due = t.period;
}

void advanceClock(int64_t milliseconds) {
  ClockState& s = cs();
  if (!s.fixed || milliseconds <= 0) return;
  s.fixedTargetMs = std::max(s.fixedTargetMs, s.fixedNowMs) + milliseconds;
}

}  // namespace pf::host

void pfGetLocalTime(PfLocalTime* t) {
  if (!t) return;
  ClockState& s = cs();
  int64_t y, m, d, secondsOfDay, days, ms;
  if (s.fixed) {
    int64_t total = s.fixedEpochSeconds * 1000 + s.fixedNowMs;
    days = (total >= 0 ? total : total - 86399999) / 86400000;
    int64_t rest = total - days * 86400000;
    secondsOfDay = rest / 1000;
    ms = rest % 1000;
  } else {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t tt = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&tt, &local);
    days = daysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    secondsOfDay = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  }
  civilFromDays(days, &y, &m, &d);
  t->year = static_cast<uint16_t>(y);
  t->month = static_cast<uint16_t>(m);
  t->day = static_cast<uint16_t>(d);
  t->dayOfWeek = static_cast<uint16_t>(((days % 7) + 11) % 7); /* 1970-01-01 was a Thursday */
  t->hour = static_cast<uint16_t>(secondsOfDay / 3600);
  t->minute = static_cast<uint16_t>(secondsOfDay / 60 % 60);
  t->second = static_cast<uint16_t>(secondsOfDay % 60);
  t->millisecond = static_cast<uint16_t>(ms);
}

uint32_t pfGetTickCount() { return static_cast<uint32_t>(pf::clockwork::nowMs()); }

uint32_t pfSetTimer(PfWnd wnd, uint32_t id, uint32_t periodMs) {
  if (!pf::wm::find(wnd) || id == 0) return 0;
  periodMs = std::max<uint32_t>(periodMs, 1);
  auto& ts = cs().timers;
  int64_t due = pf::clockwork::nowMs() + periodMs;
  for (auto& t : ts)
    if (t.wnd == wnd && t.id == id) {
      t.period = periodMs;
      t.due = due;
      return id;
    }
  ts.push_back(Timer{wnd, id, periodMs, due});
  if (pf::trace::enabled())
    pf::trace::emit("timer", {{"op", "start"}, {"hwnd", static_cast<uint32_t>(wnd)}, {"id", id},
                              {"period", periodMs}});
  return id;
}

bool pfKillTimer(PfWnd wnd, uint32_t id) {
  auto& ts = cs().timers;
  auto before = ts.size();
  ts.erase(std::remove_if(ts.begin(), ts.end(),
                          [&](const Timer& t) { return t.wnd == wnd && t.id == id; }),
           ts.end());
  bool removed = ts.size() != before;
  if (removed && pf::trace::enabled())
    pf::trace::emit("timer", {{"op", "stop"}, {"hwnd", static_cast<uint32_t>(wnd)}, {"id", id}});
  return removed;
}

namespace pf::clockwork {
std::vector<std::pair<PfWnd, uint32_t>> runningTimers() {
  std::vector<std::pair<PfWnd, uint32_t>> out;
  for (auto& t : cs().timers) out.emplace_back(t.wnd, t.id);
  return out;
}
}  // namespace pf::clockwork
