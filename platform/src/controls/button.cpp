/*
** Push button: a click notifies the parent with code 0.
*/
#include "core/controls_internal.h"
#include "core/wm.h"
#include "pf/controls.h"
#include "pf/window.h"

namespace pf::controls {

namespace {

PfResult buttonProc(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  switch (msg) {
    case PFBM_CLICK:
      if (pfIsWindowEnabled(wnd)) wm::notifyParent(wnd, PFBN_CLICKED);
      return 0;
    case PFM_LBUTTONUP:
      if (pfIsWindowEnabled(wnd)) wm::notifyParent(wnd, PFBN_CLICKED);
      return 0;
    case PFM_KEYDOWN:
      return 0;
    default:
      return pfDefWindowProc(wnd, msg, wParam, lParam);
  }
}

}  // namespace

void registerButton() {
  wm::ClassInfo info;
  info.name = u"BUTTON";
  info.proc = buttonProc;
  wm::registerSystemClass(std::move(info));
}

bool userClickButton(PfWnd button, std::string* error) {
  if (!wm::classIs(button, u"BUTTON")) {
    if (error) *error = "not a push button";
    return false;
  }
  pfSetFocus(button);
  pfSendMessage(button, PFM_LBUTTONDOWN, 0, 0);
  pfSendMessage(button, PFM_LBUTTONUP, 0, 0);
  return true;
}

}  // namespace pf::controls
