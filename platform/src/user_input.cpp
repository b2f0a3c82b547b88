/*
** A person's input, delivered as the handheld delivers it. Keys go to the
** focused window through its current window procedure (a subclassed list
** sees them first); Enter becomes the dialog manager's command 1 (wParam 1,
** lParam 0) unless the focused control keeps Enter for itself. The
** title-bar OK sends command 1 with a non-zero lParam; soft keys and menu
** items send their command with lParam 0.
*/
#include "pf/host/user.h"

#include "core/controls_internal.h"
#include "core/dialog_state.h"
#include "core/shell_internal.h"
#include "core/wm.h"
#include "pf/host/device_state.h"
#include "pf/paint.h"
#include "pf/window.h"

namespace pf::host::user {

namespace {

bool refuse(std::string* error, std::string message) {
  if (error) *error = std::move(message);
  return false;
}

/* The topmost dialog, when input may reach it. */
PfWnd inputDialog(std::string* error) {
  if (messageBoxIsOpen()) return refuse(error, "a message box is open"), PfWnd::none;
  if (menuIsOpen()) return refuse(error, "a menu is open"), PfWnd::none;
  PfWnd dialog = topmostDialog();
  if (dialog == PfWnd::none) return refuse(error, "no page is open"), PfWnd::none;
  if (!pfIsWindowEnabled(dialog)) return refuse(error, "the dialog is disabled"), PfWnd::none;
  return dialog;
}

/* A control of the topmost dialog that a person can reach. */
PfWnd inputControl(int32_t id, std::string* error) {
  PfWnd dialog = inputDialog(error);
  if (dialog == PfWnd::none) return PfWnd::none;
  PfWnd control = pfGetDlgItem(dialog, id);
  if (control == PfWnd::none)
    return refuse(error, "the dialog has no control " + std::to_string(id)), PfWnd::none;
  if (!pfIsWindowVisible(control))
    return refuse(error, "control " + std::to_string(id) + " is hidden"), PfWnd::none;
  if (!pfIsWindowEnabled(control))
    return refuse(error, "control " + std::to_string(id) + " is disabled"), PfWnd::none;
  return control;
}

}  // namespace

bool clickButton(int32_t id, std::string* error) {
  PfWnd control = inputControl(id, error);
  return control != PfWnd::none && pf::controls::userClickButton(control, error);
}

bool selectItem(int32_t id, int32_t index, std::string* error) {
  PfWnd control = inputControl(id, error);
  if (control == PfWnd::none) return false;
  if (wm::classIs(control, u"LISTBOX")) return pf::controls::listUserSelect(control, index, error);
  if (wm::classIs(control, u"COMBOBOX")) return pf::controls::comboUserSelect(control, index, error);
  return refuse(error, "control " + std::to_string(id) + " is not a list or combo box");
}

bool typeText(int32_t id, std::u16string_view text, std::string* error) {
  PfWnd control = inputControl(id, error);
  return control != PfWnd::none && pf::controls::userTypeText(control, text, error);
}

bool pressKey(int32_t id, uint32_t key, std::string* error) {
  PfWnd control = inputControl(id, error);
  if (control == PfWnd::none) return false;
  PfWnd dialog = pfGetTopLevel(control);
  pfSetFocus(control);
  if (key == PFK_ENTER) {
    PfResult code = pfSendMessage(control, PFM_GETDLGCODE, key, 0);
    if (!(code & PFDLGC_WANTALLKEYS)) {
      pfSendMessage(dialog, PFM_COMMAND, pfMakeWParam(PFID_OK, 0), 0);
      return true;
    }
  }
  pfSendMessage(control, PFM_KEYDOWN, key, 0);
  return true;
}

bool tapRow(int32_t id, int32_t index, std::string* error) {
  PfWnd control = inputControl(id, error);
  return control != PfWnd::none && pf::controls::userTapRow(control, index, error);
}

bool sendCommand(int32_t id, uint16_t code, PfLParam lParam, std::string* error) {
  PfWnd dialog = inputDialog(error);
  if (dialog == PfWnd::none) return false;
  pfSendMessage(dialog, PFM_COMMAND, pfMakeWParam(static_cast<uint16_t>(id), code), lParam);
  return true;
}

bool pressSoftKey(int32_t index, std::string* error) {
  if (inputDialog(error) == PfWnd::none) return false;
  return pf::shell::pressSoftKey(static_cast<size_t>(index), error);
}

bool chooseMenu(uint32_t command, std::string* error) {
  if (messageBoxIsOpen()) return refuse(error, "a message box is open");
  return pf::shell::chooseMenuCommand(command, error);
}

bool closeMenu(std::string* error) { return pf::shell::closeMenu(error); }

bool pressTitleOk(std::string* error) {
  PfWnd dialog = inputDialog(error);
  if (dialog == PfWnd::none) return false;
  wm::DialogState* d = wm::dialogState(dialog);
  if (!d || !d->okButton) return refuse(error, "the page has no title-bar OK button");
  pfSendMessage(dialog, PFM_COMMAND, pfMakeWParam(PFID_OK, 0),
                static_cast<PfLParam>(taskBarWindow()));
  return true;
}

bool answerMessageBox(bool ok, std::string* error) {
  return pf::shell::answerMessageBox(ok, error);
}

bool repaintTopmost(std::string* error) {
  PfWnd dialog = topmostDialog();
  if (dialog == PfWnd::none) return refuse(error, "no page is open");
  pfInvalidateRect(dialog, nullptr, true);
  return true;
}

}  // namespace pf::host::user
