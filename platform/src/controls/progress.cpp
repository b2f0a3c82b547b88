/*
** Progress bar: a position within a range, 0 to 100 unless set.
*/
#include <algorithm>

#include "core/controls_internal.h"
#include "core/wm.h"
#include "pf/controls.h"
#include "pf/window.h"

namespace pf::controls {

namespace {

struct Progress {
  int32_t low = 0, high = 100, pos = 0;
};

Progress* state(PfWnd wnd) { return static_cast<Progress*>(pfGetWindowData(wnd)); }

PfResult progressProc(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  Progress* p = state(wnd);
  switch (msg) {
    case PFM_CREATE:
      pfSetWindowData(wnd, new Progress);
      return 0;
    case PFPBM_SETRANGE: {
      if (!p) return 0;
      PfResult previous = pfMakeLParam(p->low, p->high);
      p->low = static_cast<int16_t>(pfLoWord(static_cast<uintptr_t>(lParam)));
      p->high = static_cast<int16_t>(pfHiWord(static_cast<uintptr_t>(lParam)));
      p->pos = std::clamp(p->pos, std::min(p->low, p->high), std::max(p->low, p->high));
      pfInvalidateRect(wnd, nullptr, false);
      return previous;
    }
    case PFPBM_SETPOS: {
      if (!p) return 0;
      int32_t previous = p->pos;
      p->pos = std::clamp(static_cast<int32_t>(wParam), std::min(p->low, p->high),
                          std::max(p->low, p->high));
      if (p->pos != previous) pfInvalidateRect(wnd, nullptr, false);
      return previous;
    }
    case PFPBM_GETPOS:
      return p ? p->pos : 0;
    default:
      return pfDefWindowProc(wnd, msg, wParam, lParam);
  }
}

}  // namespace

void registerProgress() {
  wm::ClassInfo info;
  info.name = u"msctls_progress32";
  info.proc = progressProc;
  info.describe = [](PfWnd wnd, nlohmann::json& out) {
    if (Progress* p = state(wnd)) {
      out["position"] = p->pos;
      out["range"] = {p->low, p->high};
    }
  };
  info.release = [](PfWnd wnd) {
    delete state(wnd);
    pfSetWindowData(wnd, nullptr);
  };
  wm::registerSystemClass(std::move(info));
}

}  // namespace pf::controls
