/*
** The shell's own windows: the desktop (its window rectangle is the whole
** screen) and the task bar of class "HHTaskBar" across the top (its client
** rectangle is the screen's width by its height). Also the scroll query of
** a page, which gives nothing since pages are never scrolled here.
*/
#include "core/shell_internal.h"
#include "core/wm.h"
#include "pf/host/device.h"
#include "pf/shell.h"
#include "pf/window.h"

namespace pf::shell {

namespace {
PfWnd gDesktop = PfWnd::none;
PfWnd gTaskBar = PfWnd::none;
}  // namespace

void registerShellWindowClasses() {
  wm::ClassInfo desktop;
  desktop.name = u"PfDesktop";
  desktop.proc = pfDefWindowProc;
  wm::registerSystemClass(std::move(desktop));
  wm::ClassInfo bar;
  bar.name = u"HHTaskBar";
  bar.proc = pfDefWindowProc;
  wm::registerSystemClass(std::move(bar));
}

void ensureShellWindows() {
  const auto& cfg = pf::host::deviceConfig();
  if (!pfIsWindow(gDesktop))
    gDesktop = pfCreateWindow(0, u"PfDesktop", u"", PFWS_POPUP | PFWS_VISIBLE, 0, 0,
                              cfg.screenWidth, cfg.screenHeight, PfWnd::none, 0, PfModule::none,
                              nullptr);
  if (!pfIsWindow(gTaskBar))
    gTaskBar = pfCreateWindow(0, u"HHTaskBar", u"", PFWS_POPUP | PFWS_VISIBLE, 0, 0,
                              cfg.screenWidth, pf::host::taskBarHeight(), PfWnd::none, 0,
                              PfModule::none, nullptr);
}

void placeShellWindows() {
  const auto& cfg = pf::host::deviceConfig();
  if (pfIsWindow(gDesktop)) pfMoveWindow(gDesktop, 0, 0, cfg.screenWidth, cfg.screenHeight, true);
  if (pfIsWindow(gTaskBar))
    pfMoveWindow(gTaskBar, 0, 0, cfg.screenWidth, pf::host::taskBarHeight(), true);
}

PfWnd taskBar() {
  ensureShellWindows();
  return gTaskBar;
}

}  // namespace pf::shell

PfWnd pfGetDesktopWindow() {
  pf::wm::ensureSystemClasses();
  pf::shell::ensureShellWindows();
  return pf::shell::gDesktop;
}

bool pfGetScrollInfo(PfWnd, PfScrollInfo*) { return false; }
