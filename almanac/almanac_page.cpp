/*
** The almanac plug-in's page: the day table looked up by date and shown as
** an HTML page in the viewer that covers the page's client area.
*/
#include "almanac_day.h"
#include "frame.h"
#include "page_formats.h"

const PluginIdentity& pluginIdentity = almanacIdentity;

static PfWnd viewerWindow = PfWnd::none;

/* dateKey of a host date, computed as (year * 100 + month) * 100 + day in
** wrapping 32-bit arithmetic, so that any three integers give some key. */
static int32_t dateKey(int32_t year, int32_t month, int32_t day) {
  uint32_t key = (static_cast<uint32_t>(year) * 100u + static_cast<uint32_t>(month)) * 100u +
                 static_cast<uint32_t>(day);
  return static_cast<int32_t>(key);
}

int32_t findAlmanacDay(int32_t year, int32_t month, int32_t day) {
  int32_t wanted = dateKey(year, month, day);
  int32_t lo = 0, hi = almanacDayCount - 1;
  while (lo <= hi) {
    int32_t mid = (lo + hi) / 2;
    if (almanacDays[mid].key > wanted)
      hi = mid - 1;
    else if (almanacDays[mid].key == wanted)
      return mid;
    else
      lo = mid + 1;
  }
  return -1;
}

static PfResult renderAlmanacPage(PfWnd dialog) {
  PfRect client;
  pfGetClientRect(dialog, &client);
  initHtmlViewer(moduleHandle);
  viewerWindow = pfCreateWindow(0, PF_HTML_VIEWER_CLASS, nullptr, 0x54000000u, 0, 0,
                                client.right - client.left, client.bottom - client.top, dialog,
                                0, moduleHandle, nullptr);
  if (viewerWindow == PfWnd::none) {
    pfMessageBox(dialog, u"HTML創建失敗！", u"錯誤", 0);
    return 0;
  }
  pfSendMessage(viewerWindow, PFDTM_SETTEXT, 0, reinterpret_cast<PfLParam>(u""));
  pfSendMessage(viewerWindow, PFDTM_ADDTEXTW, 0,
                reinterpret_cast<PfLParam>(almanacPageHeader));
  int32_t index = findAlmanacDay(requestedDate.year, requestedDate.month, requestedDate.day);
  if (index < 0 || index > almanacDayCount - 1) {
    pfSendMessage(viewerWindow, PFDTM_ADDTEXTW, 0, reinterpret_cast<PfLParam>(u"没有相应资料 ！"));
  } else {
    const AlmanacDay* d = &almanacDays[index];
    char16_t record[almanacRecordBuffer];
    pfFormat(record, almanacRecordBuffer, almanacRecordFormat, d->key / 10000, (d->key % 10000) / 100, d->key % 100,
             d->suitable, d->avoid, d->luckySpirits, d->unluckySpirits, d->fetusGod,
             d->fiveElements, d->clash, d->pengzuTaboos);
    pfSendMessage(viewerWindow, PFDTM_ADDTEXTW, 0, reinterpret_cast<PfLParam>(record));
  }
  pfSendMessage(viewerWindow, PFDTM_ADDTEXTW, 0, reinterpret_cast<PfLParam>(u"</center>"));
  pfSendMessage(viewerWindow, PFDTM_ENDOFSOURCE, 0, 0);
  return 1;
}

static void closeAlmanacPage(PfWnd) {
  if (viewerWindow != PfWnd::none) {
    pfDestroyWindow(viewerWindow);
    viewerWindow = PfWnd::none;
  }
}

const PluginHooks pluginHooks = {
    nullptr,            /* attach */
    renderAlmanacPage,  /* initDialog */
    nullptr,            /* command */
    nullptr,            /* message */
    closeAlmanacPage,   /* close */
    nullptr,            /* aboutText: standard layout */
};
