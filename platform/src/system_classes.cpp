/*
** Registers the platform's own window classes (controls, dialogs, shell
** windows) once, and creates the desktop and the task bar.
*/
#include "core/controls_internal.h"
#include "core/shell_internal.h"
#include "core/wm.h"

namespace pf::wm {

void registerDialogClass(); /* dialog.cpp */

void ensureSystemClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  pf::controls::registerStatic();
  pf::controls::registerButton();
  pf::controls::registerEdit();
  pf::controls::registerListBox();
  pf::controls::registerComboBox();
  pf::controls::registerProgress();
  registerDialogClass();
  pf::shell::registerMenuBarClass();
  pf::shell::registerMessageBoxClass();
  pf::shell::registerShellWindowClasses();
  pf::shell::ensureShellWindows();
}

}  // namespace pf::wm
