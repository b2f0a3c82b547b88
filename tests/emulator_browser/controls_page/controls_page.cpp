/*
** A test-only day page with one of each standard control and a painted
** swatch, so that the emulator's controls are driven in a browser: every
** notification the page receives is echoed into the static text 1007 as
** "list=L month=M year=Y edit=E", and the button fills the progress bar.
*/
#include "frame.h"
#include "standard_resources.h"

static constexpr PluginIdentity controlsIdentity = {
    u"控件页面", 65536, u"控件页面", 105, 40002, 40003, u"关于", 0,
    KEEP_YEAR | KEEP_MONTH | KEEP_DAY, 64, false};

const PluginIdentity& pluginIdentity = controlsIdentity;

static void echoState(PfWnd dialog) {
  char16_t year[16], edit[32], line[128];
  pfGetDlgItemText(dialog, 1003, year, 16);
  pfGetDlgItemText(dialog, 1004, edit, 32);
  pfFormat(line, 128, u"list=%d month=%d year=%s edit=%s",
           static_cast<int32_t>(pfSendDlgItemMessage(dialog, 1001, PFLB_GETCURSEL, 0, 0)),
           static_cast<int32_t>(pfSendDlgItemMessage(dialog, 1002, PFCB_GETCURSEL, 0, 0)), year,
           edit);
  pfSetDlgItemText(dialog, 1007, line);
}

static PfResult initControls(PfWnd dialog) {
  static const char16_t* const rows[] = {u"甲", u"乙", u"丙"};
  static const char16_t* const months[] = {u"1月", u"2月", u"3月"};
  static const char16_t* const years[] = {u"2006", u"2007"};
  for (const char16_t* row : rows)
    pfSendDlgItemMessage(dialog, 1001, PFLB_ADDSTRING, 0, reinterpret_cast<PfLParam>(row));
  for (const char16_t* month : months)
    pfSendDlgItemMessage(dialog, 1002, PFCB_ADDSTRING, 0, reinterpret_cast<PfLParam>(month));
  for (const char16_t* year : years)
    pfSendDlgItemMessage(dialog, 1003, PFCB_ADDSTRING, 0, reinterpret_cast<PfLParam>(year));
  pfSendDlgItemMessage(dialog, 1002, PFCB_SETCURSEL, 0, 0);
  pfSetDlgItemText(dialog, 1003, u"2007");
  echoState(dialog);
  return 1;
}

static bool controlCommand(PfWnd dialog, PfWParam wParam, PfLParam lParam, PfResult* result) {
  if (lParam == 0) return false; /* soft keys and OK: the frame's */
  if (pfLoWord(wParam) == 1005) pfSendDlgItemMessage(dialog, 1006, PFPBM_SETPOS, 75, 0);
  echoState(dialog);
  *result = 0;
  return true;
}

static PfResult paintSwatch(PfWnd dialog, uint32_t msg, PfWParam, PfLParam) {
  if (msg != PFM_PAINT) return 0;
  PfPaintInfo info;
  PfDC dc = pfBeginPaint(dialog, &info);
  PfGdi brush = pfCreateSolidBrush(pfRgb(194, 9, 230));
  PfGdi old = pfSelectObject(dc, brush);
  pfRectangle(dc, 200, 230, 230, 242);
  pfSelectObject(dc, old);
  pfDeleteObject(brush);
  pfEndPaint(dialog, &info);
  return 1;
}

const PluginHooks pluginHooks = {nullptr, initControls, controlCommand, paintSwatch, nullptr, nullptr};

static const uint32_t kChild = PFWS_CHILD | PFWS_VISIBLE;
static const PfDialogItem controls[] = {
    {PF_CLASS_LISTBOX, u"", 1001, kChild | PFWS_TABSTOP | PFWS_BORDER | PFLBS_NOTIFY, 2, 2, 60, 40},
    {PF_CLASS_COMBOBOX, u"", 1002, kChild | PFWS_TABSTOP | PFCBS_DROPDOWNLIST, 70, 2, 40, 60},
    {PF_CLASS_COMBOBOX, u"", 1003, kChild | PFWS_TABSTOP | PFCBS_DROPDOWN, 70, 20, 40, 60},
    {PF_CLASS_EDIT, u"", 1004, kChild | PFWS_TABSTOP | PFWS_BORDER, 2, 50, 60, 12},
    {PF_CLASS_BUTTON, u"显示", 1005, kChild | PFWS_TABSTOP, 70, 50, 30, 12},
    {PF_CLASS_PROGRESS, u"", 1006, kChild | PFWS_BORDER, 2, 70, 100, 8},
    {PF_CLASS_STATIC, u"", 1007, kChild, 2, 85, 130, 10},
};

static const PfDialogTemplate controlsPage = {
    0x80C80040u, u"控件页面", 0, 0, 139, 137, u"Tahoma", 9, 7, controls};

static const PfResource controlsResources[] = {
    {PFRT_DIALOG, nullptr, 101, nullptr, PF_LANG_ZH_CN, &controlsPage, sizeof controlsPage},
    STANDARD_SHELL_RESOURCES,
};

LUMENO_EXPORT const PfResourceTable pfModuleResources = {
    sizeof controlsResources / sizeof controlsResources[0], controlsResources};
