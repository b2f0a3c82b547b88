/*
** What the dialog manager keeps for each dialog window.
*/
#pragma once

#include "core/wm.h"
#include "pf/dialog.h"

namespace pf::wm {

struct DialogState {
  PfDlgProc proc = nullptr;
  PfModule module = PfModule::none;
  const PfDialogTemplate* tpl = nullptr;
  bool ended = false;
  PfResult result = 0;
  /* Shell state. */
  bool fullScreen = false;
  uint32_t fullScreenFlags = 0;
  bool okButton = false;
  PfWnd menuBar = PfWnd::none;
};

/* The dialogs open now, bottom first (the last is the topmost). */
std::vector<PfWnd> openDialogs();
DialogState* dialogState(PfWnd wnd);

/* The template's font base units (pixels per 1000 dialog units). */
struct DialogUnits {
  int32_t xPerMille;
  int32_t yPerMille;
};
DialogUnits dialogUnitsFor(const PfDialogTemplate* tpl);

}  // namespace pf::wm
