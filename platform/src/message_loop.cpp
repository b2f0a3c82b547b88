/*
** The message queue and the loop that every modal run uses. Posted messages
** are handled first, then one paint of a visible window with an invalid
** region, then one due timer; when nothing is left the input source is asked
** for input. Nested runs (a message box over a page, a menu over a dialog)
** use the same loop, so timers keep arriving behind them.
*/
#include <algorithm>
#include <chrono>
#include <deque>

#include "core/loop.h"
#include "core/wm.h"
#include "pf/host/input.h"
#include "pf/paint.h"
#include "pf/window.h"

namespace {

struct Posted {
  PfWnd wnd;
  uint32_t msg;
  PfWParam wParam;
  PfLParam lParam;
};

struct LoopState {
  std::deque<Posted> posted;
  pf::host::InputSource* source = nullptr;
  bool abandoning = false;
};

LoopState& state() {
  static LoopState s;
  return s;
}

bool dispatchPaint() {
  for (PfWnd h : pf::wm::allWindows()) {
    pf::wm::Window* w = pf::wm::find(h);
    if (!w || !w->invalid || !pfIsWindowVisible(h)) continue;
    w->paintBegun = false;
    pfSendMessage(h, PFM_PAINT, 0, 0);
    /* A handler that never began painting would be asked again and again;
    ** the region counts as painted once the message was handled. */
    if (pf::wm::Window* after = pf::wm::find(h); after && !after->paintBegun)
      after->invalid = false;
    return true;
  }
  return false;
}

}  // namespace

bool pfPostMessage(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  if (!pfIsWindow(wnd)) return false;
  state().posted.push_back(Posted{wnd, msg, wParam, lParam});
  return true;
}

namespace pf::loop {

bool dispatchOne() {
  auto& s = state();
  if (!s.posted.empty()) {
    Posted p = s.posted.front();
    s.posted.pop_front();
    pfSendMessage(p.wnd, p.msg, p.wParam, p.lParam);
    return true;
  }
  if (dispatchPaint()) return true;
  if (auto timer = pf::clockwork::takeDueTimer()) {
    pfSendMessage(timer->wnd, PFM_TIMER, timer->id, 0);
    return true;
  }
  return false;
}

bool runUntil(const std::function<bool()>& done) {
  auto& s = state();
  while (!done()) {
    if (s.abandoning) return false;
    if (dispatchOne()) continue;
    if (!s.source) {
      s.abandoning = true;
      return false;
    }
    std::optional<std::chrono::steady_clock::time_point> deadline;
    if (auto due = pf::clockwork::nextDueMs()) {
      auto wait = std::chrono::milliseconds(std::max<int64_t>(0, *due - pf::clockwork::nowMs()));
      deadline = std::chrono::steady_clock::now() + wait;
    }
    if (s.source->onIdle(deadline) == pf::host::IdleResult::Abandon) {
      s.abandoning = true;
      return false;
    }
  }
  return true;
}

void forgetWindow(PfWnd wnd) {
  auto& q = state().posted;
  q.erase(std::remove_if(q.begin(), q.end(), [&](const Posted& p) { return p.wnd == wnd; }),
          q.end());
  pf::clockwork::forgetWindowTimers(wnd);
}

}  // namespace pf::loop

namespace pf::host {

void setInputSource(InputSource* source) { state().source = source; }

void runUntilIdle() {
  while (pf::loop::dispatchOne()) {
  }
}

bool abandoning() { return state().abandoning; }

void clearAbandon() { state().abandoning = false; }

}  // namespace pf::host
