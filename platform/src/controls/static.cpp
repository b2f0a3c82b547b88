/*
** Static text: a label whose text and alignment front ends show.
*/
#include "core/controls_internal.h"
#include "core/wm.h"
#include "pf/controls.h"
#include "pf/window.h"

namespace pf::controls {

namespace {

PfResult staticProc(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  return pfDefWindowProc(wnd, msg, wParam, lParam);
}

}  // namespace

void registerStatic() {
  wm::ClassInfo info;
  info.name = u"STATIC";
  info.proc = staticProc;
  info.describe = [](PfWnd wnd, nlohmann::json& out) {
    uint32_t align = pfGetStyle(wnd) & 0x3;
    out["align"] = align == PFSS_CENTER ? "center" : align == PFSS_RIGHT ? "right" : "left";
  };
  wm::registerSystemClass(std::move(info));
}

}  // namespace pf::controls
