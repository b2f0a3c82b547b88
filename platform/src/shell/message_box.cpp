/*
** Message boxes: text, title (the handheld's default "Error" when none is
** given), icon and buttons from the style, owned by a window whose top-level
** window is disabled while the box is open. The box runs modally until it is
** answered; what it covered is repainted when it closes and the focus goes
** back to the control that had it.
*/
#include "core/loop.h"
#include "core/shell_internal.h"
#include "core/wm.h"
#include "pf/host/trace.h"
#include "pf/shell.h"
#include "pf/window.h"

namespace pf::shell {

namespace {

struct MessageBox {
  std::u16string title;
  uint32_t style = 0;
  PfWnd owner = PfWnd::none;
  bool answered = false;
  int32_t result = PFID_CANCEL;
};

MessageBox* state(PfWnd wnd) {
  return wm::classIs(wnd, u"PfMessageBox") ? static_cast<MessageBox*>(pfGetWindowData(wnd))
                                            : nullptr;
}

const char* iconName(uint32_t style) {
  switch (style & 0xF0) {
    case PFMB_ICONERROR:
      return "error";
    case PFMB_ICONINFORMATION:
      return "information";
    case 0x20:
      return "question";
    case 0x30:
      return "warning";
    default:
      return "none";
  }
}

}  // namespace

void registerMessageBoxClass() {
  wm::ClassInfo info;
  info.name = u"PfMessageBox";
  info.proc = pfDefWindowProc;
  info.release = [](PfWnd wnd) {
    delete static_cast<MessageBox*>(pfGetWindowData(wnd));
    pfSetWindowData(wnd, nullptr);
  };
  wm::registerSystemClass(std::move(info));
}

PfWnd topmostMessageBox() {
  std::vector<PfWnd> tops = wm::topLevelWindows();
  for (auto it = tops.rbegin(); it != tops.rend(); ++it)
    if (state(*it)) return *it;
  return PfWnd::none;
}

nlohmann::json describeMessageBox(PfWnd box) {
  MessageBox* m = state(box);
  if (!m) return nullptr;
  wm::Window* w = wm::find(box);
  bool okCancel = (m->style & 0xF) == PFMB_OKCANCEL;
  return {{"text", pf::trace::utf8(w->text)},
          {"title", pf::trace::utf8(m->title)},
          {"style", m->style},
          {"icon", iconName(m->style)},
          {"buttons", okCancel ? nlohmann::json{"ok", "cancel"} : nlohmann::json{"ok"}},
          {"owner", static_cast<uint32_t>(m->owner)}};
}

bool answerMessageBox(bool ok, std::string* error) {
  PfWnd box = topmostMessageBox();
  MessageBox* m = state(box);
  if (!m) {
    if (error) *error = "no message box is open";
    return false;
  }
  if (!ok && (m->style & 0xF) != PFMB_OKCANCEL) {
    if (error) *error = "the message box has only an OK button";
    return false;
  }
  m->answered = true;
  m->result = ok ? PFID_OK : PFID_CANCEL;
  return true;
}

}  // namespace pf::shell

int32_t pfMessageBox(PfWnd owner, const char16_t* text, const char16_t* title, uint32_t style) {
  using namespace pf::shell;
  pf::wm::ensureSystemClasses();
  PfWnd ownerTop = pfGetTopLevel(owner);
  PfWnd focusBefore = pfGetFocus();
  PfWnd box = pfCreateWindow(0, u"PfMessageBox", text ? text : u"", PFWS_POPUP | PFWS_VISIBLE,
                             0, 0, 0, 0, ownerTop, 0, PfModule::none, nullptr);
  if (box == PfWnd::none) return 0;
  auto* m = new MessageBox;
  m->title = title ? title : u"Error";
  m->style = style;
  m->owner = owner;
  pfSetWindowData(box, m);
  pf::trace::emit("messageBox", describeMessageBox(box));

  bool ownerWasEnabled = ownerTop != PfWnd::none && pfIsWindowEnabled(ownerTop);
  if (ownerWasEnabled) pfEnableWindow(ownerTop, false);
  pf::loop::runUntil([box] {
    MessageBox* s = state(box);
    return !s || s->answered;
  });
  MessageBox* s = state(box);
  int32_t result = (s && s->answered) ? s->result : PFID_CANCEL;
  if (ownerWasEnabled && pfIsWindow(ownerTop)) pfEnableWindow(ownerTop, true);
  pfDestroyWindow(box);
  if (pfIsWindow(focusBefore)) pfSetFocus(focusBefore);
  if (pfIsWindow(ownerTop)) pf::wm::invalidateTree(ownerTop);
  return result;
}
