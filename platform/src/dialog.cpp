/*
** The dialog manager: modal dialogs from in-memory templates, their
** controls laid out in dialog units, the initial focus, and the deferred
** end of a dialog (the dialog ends when its procedure returns, so code after
** the end call still runs).
*/
#include "pf/dialog.h"

#include <algorithm>

#include "core/dialog_state.h"
#include "core/loop.h"
#include "core/wm.h"
#include "pf/host/device.h"
#include "pf/paint.h"
#include "pf/window.h"

namespace pf::wm {

namespace {

/* Base sizes of the fonts that templates name, chosen so that every page
** template fits the 240x268 page of the portrait screen. */
struct FontUnits {
  const char16_t* name;
  DialogUnits units;
};
const FontUnits kFontUnits[] = {
    {u"Tahoma", {1725, 1950}},
    {u"System", {1620, 1680}},
    {u"Microsoft Sans Serif", {1750, 1600}},
};

PfResult dialogWndProc(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  Window* w = find(wnd);
  DialogState* d = w ? w->dialog : nullptr;
  if (!d || !d->proc) return pfDefWindowProc(wnd, msg, wParam, lParam);
  PfResult handled = d->proc(wnd, msg, wParam, lParam);
  if (msg == PFM_INITDIALOG) return handled;
  if (handled) return handled;
  if (!find(wnd)) return 0;
  return pfDefWindowProc(wnd, msg, wParam, lParam);
}

int32_t scaled(int32_t dlu, int32_t perMille) {
  return dlu * perMille / 1000 * pf::host::screenScale();
}

PfWnd firstTabStop(PfWnd dialog) {
  Window* d = find(dialog);
  if (!d) return PfWnd::none;
  for (PfWnd c : d->children) {
    Window* w = find(c);
    if (w && (w->style & PFWS_TABSTOP) && w->visible && w->enabled) return c;
  }
  return PfWnd::none;
}

}  // namespace

DialogUnits dialogUnitsFor(const PfDialogTemplate* tpl) {
  if (tpl && tpl->fontName)
    for (const FontUnits& f : kFontUnits)
      if (sameName(f.name, tpl->fontName)) return f.units;
  return kFontUnits[0].units;
}

std::vector<PfWnd> openDialogs() {
  std::vector<PfWnd> out;
  for (PfWnd h : topLevelWindows())
    if (Window* w = find(h); w && w->dialog) out.push_back(h);
  return out;
}

DialogState* dialogState(PfWnd wnd) {
  Window* w = find(wnd);
  return w ? w->dialog : nullptr;
}

void registerDialogClass() {
  ClassInfo info;
  info.name = u"PfDialog";
  info.proc = dialogWndProc;
  info.release = [](PfWnd wnd) {
    if (Window* w = find(wnd)) {
      /* The soft-key bar belongs to its dialog and goes with it. */
      if (w->dialog && pfIsWindow(w->dialog->menuBar)) pfDestroyWindow(w->dialog->menuBar);
      delete w->dialog;
      w->dialog = nullptr;
    }
  };
  registerSystemClass(std::move(info));
}

}  // namespace pf::wm

using namespace pf::wm;

PfRect pfDialogUnitsToPixels(const PfDialogTemplate* tpl, int16_t x, int16_t y, int16_t width,
                             int16_t height) {
  DialogUnits u = dialogUnitsFor(tpl);
  int32_t left = scaled(x, u.xPerMille), top = scaled(y, u.yPerMille);
  return PfRect{left, top, left + scaled(width, u.xPerMille), top + scaled(height, u.yPerMille)};
}

PfResult pfDialogBoxIndirect(PfModule module, const PfDialogTemplate* tpl, PfWnd owner,
                             PfDlgProc proc, PfLParam param) {
  ensureSystemClasses();
  if (!tpl || !proc) return PF_DIALOG_FAILED;
  PfWnd ownerTop = pfGetTopLevel(owner);
  PfWnd focusBefore = pfGetFocus();

  PfRect frame = pfDialogUnitsToPixels(tpl, tpl->x, tpl->y, tpl->width, tpl->height);
  int32_t top = pf::host::taskBarHeight();
  PfWnd dlg = pfCreateWindow(0, u"PfDialog", tpl->title, tpl->style & ~PFWS_VISIBLE, frame.left,
                             top + frame.top, frame.right - frame.left, frame.bottom - frame.top,
                             ownerTop, 0, module, nullptr);
  if (dlg == PfWnd::none) return PF_DIALOG_FAILED;
  auto* state = new DialogState;
  state->proc = proc;
  state->module = module;
  state->tpl = tpl;
  find(dlg)->dialog = state;

  for (int16_t i = 0; i < tpl->itemCount; ++i) {
    const PfDialogItem& item = tpl->items[i];
    PfRect r = pfDialogUnitsToPixels(tpl, item.x, item.y, item.width, item.height);
    PfWnd c = pfCreateWindow(0, item.className, item.text, item.style | PFWS_CHILD, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, dlg, item.id, module, nullptr);
    if (c == PfWnd::none) {
      pfDestroyWindow(dlg);
      return PF_DIALOG_FAILED;
    }
  }

  bool ownerWasEnabled = ownerTop != PfWnd::none && pfIsWindowEnabled(ownerTop);
  if (ownerWasEnabled) pfEnableWindow(ownerTop, false);

  PfWnd first = firstTabStop(dlg);
  PfResult init = pfSendMessage(dlg, PFM_INITDIALOG, static_cast<PfWParam>(first), param);
  DialogState* d = dialogState(dlg);
  if (d && !d->ended) {
    if (init) {
      PfWnd target = firstTabStop(dlg);
      if (target != PfWnd::none) pfSetFocus(target);
    }
    pfShowWindow(dlg, PFSW_SHOW);
    invalidateTree(dlg);
    pf::loop::runUntil([dlg] {
      DialogState* s = dialogState(dlg);
      return !s || s->ended;
    });
  }

  d = dialogState(dlg);
  PfResult result = (d && d->ended) ? d->result : PfResult{PF_DIALOG_FAILED};
  if (ownerWasEnabled && pfIsWindow(ownerTop)) pfEnableWindow(ownerTop, true);
  pfDestroyWindow(dlg);
  if (pfIsWindow(focusBefore)) pfSetFocus(focusBefore);
  if (pfIsWindow(ownerTop)) invalidateTree(ownerTop);
  return result;
}

bool pfEndDialog(PfWnd dialog, PfResult result) {
  DialogState* d = dialogState(dialog);
  if (!d) return false;
  d->ended = true;
  d->result = result;
  return true;
}
