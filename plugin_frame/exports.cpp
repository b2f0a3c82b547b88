/*
** The three exports of every plug-in and the module attach handler, plus the
** frame's module state. showDay keeps the parts of the date that the plug-in
** uses and runs the page from dialog template 101, owned by the window that
** holds the keyboard focus; its result is the command that closed the page.
*/
#include "frame.h"

PfModule moduleHandle = PfModule::none;
RequestedDate requestedDate = {0, 0, 0};

LUMENO_EXPORT int32_t getVersion(void) { return pluginIdentity.version; }

LUMENO_EXPORT const char16_t* getName(void) { return pluginIdentity.displayName; }

LUMENO_EXPORT int32_t showDay(int32_t year, int32_t month, int32_t day) {
  uint32_t kept = pluginIdentity.datePartsKept;
  if (kept & KEEP_YEAR) requestedDate.year = year;
  if (kept & KEEP_MONTH) requestedDate.month = month;
  if (kept & KEEP_DAY) requestedDate.day = day;
  PfWnd owner = pfGetFocus();
  const PfResource* found = pfFindResource(moduleHandle, 101, PFRT_DIALOG);
  const auto* tpl = static_cast<const PfDialogTemplate*>(pfLoadResource(moduleHandle, found));
  return static_cast<int32_t>(pfDialogBoxIndirect(moduleHandle, tpl, owner, dayDialogProc, 0));
}

LUMENO_EXPORT int32_t pfModuleEntry(PfModule module, uint32_t reason, void*) {
  if (reason == PF_DLL_PROCESS_ATTACH) {
    moduleHandle = module;
    if (pluginHooks.attach) pluginHooks.attach();
  }
  return 1;
}
