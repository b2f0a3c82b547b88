/*
** Full-screen dialog initialisation: the flags ask for the title-bar OK
** button (0x01), sizing to the full page (0x04), the input panel lowered
** (0x08) and an empty menu bar (0x20). The page is the screen less the task
** bar above and the soft-key bar below: 240x268 on a 240x320 screen. The
** size message reaches the dialog synchronously from in here.
*/
#include "core/dialog_state.h"
#include "pf/host/device.h"
#include "pf/shell.h"
#include "pf/window.h"

bool pfShellInitDialog(PfFullScreenInit* init) {
  if (!init || !(init->mask & PFSHIDIM_FLAGS)) return false;
  pf::wm::DialogState* d = pf::wm::dialogState(init->dialog);
  if (!d) return false;
  d->fullScreenFlags = init->flags;
  d->okButton = (init->flags & PFSHIDIF_DONEBUTTON) != 0;
  if (init->flags & PFSHIDIF_SIZEDLG) {
    d->fullScreen = true;
    const auto& cfg = pf::host::deviceConfig();
    int32_t top = pf::host::taskBarHeight();
    int32_t height = cfg.screenHeight - top - pf::host::menuBarHeight();
    pfMoveWindow(init->dialog, 0, top, cfg.screenWidth, height, true);
  }
  return true;
}
