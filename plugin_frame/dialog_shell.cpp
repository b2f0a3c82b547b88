/*
** The dialog shell of every page: the platform test, the full-screen
** initialisation with the soft-key bar, the frame's part of the page's
** dialog procedure (OK and Back close the page after the plug-in's closing
** steps; About shows the About box), and the About box itself.
*/
#include <cstring>

#include "frame.h"

PfWnd shellMenuBar = PfWnd::none;

bool isPocketPC(void) {
  char16_t type[512];
  uint32_t size = pluginIdentity.platformTypeBuffer;
  if (size > 512) size = 512;
  type[0] = 0;
  if (pfSystemParametersInfo(PFSPI_GETPLATFORMTYPE, size, type, 0) != 1) return false;
  return pfStrCmpI(type, u"PocketPC") == 0;
}

bool initDialogShellWithBar(PfWnd dialog, uint32_t menuBarId) {
  PfFullScreenInit init;
  init.mask = PFSHIDIM_FLAGS;
  init.dialog = dialog;
  init.flags = (pluginIdentity.alwaysPocketPCFlags || isPocketPC()) ? 45u : 4u;
  pfShellInitDialog(&init);

  PfMenuBarCreate bar;
  std::memset(&bar, 0, sizeof bar);
  bar.size = sizeof bar;
  bar.parent = dialog;
  bar.resourceId = menuBarId;
  bar.module = moduleHandle;
  pfShellCreateMenuBar(&bar);
  shellMenuBar = bar.menuBar;
  return bar.menuBar != PfWnd::none;
}

bool initDialogShell(PfWnd dialog) { return initDialogShellWithBar(dialog, pluginIdentity.menuBarId); }

void formatStandardAbout(char16_t* buffer, int32_t size) {
  int32_t version = pluginIdentity.version;
  pfFormat(buffer, static_cast<size_t>(size), u"%s V%d.%d\r\n%s\r\n\r\n%s\r\n%s",
           pluginIdentity.pageTitle, version >> 16, version & 0xFFFF, buildStamp, creditLine,
           webAddress);
}

void showAboutBox(PfWnd dialog) {
  char16_t text[512];
  if (pluginHooks.aboutText)
    pluginHooks.aboutText(text, 512);
  else
    formatStandardAbout(text, 512);
  pfMessageBox(dialog, text, pluginIdentity.aboutTitle, pluginIdentity.aboutStyle);
}

PfResult dayDialogProc(PfWnd dialog, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  if (msg == PFM_INITDIALOG) {
    initDialogShell(dialog);
    return pluginHooks.initDialog ? pluginHooks.initDialog(dialog) : 1;
  }
  if (msg == PFM_COMMAND) {
    PfResult result = 0;
    if (pluginHooks.command && pluginHooks.command(dialog, wParam, lParam, &result)) return result;
    uint32_t id = pfLoWord(wParam);
    if (id == PFID_OK || id == pluginIdentity.backCommand) {
      if (pluginHooks.close) pluginHooks.close(dialog);
      pfEndDialog(dialog, id);
      return 1;
    }
    if (id == pluginIdentity.aboutCommand) {
      showAboutBox(dialog);
      return 0;
    }
    return 0;
  }
  return pluginHooks.message ? pluginHooks.message(dialog, msg, wParam, lParam) : 0;
}
