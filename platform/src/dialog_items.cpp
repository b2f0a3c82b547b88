/*
** Dialog-item helpers: messages, text and numbers addressed by control id.
*/
#include <string>

#include "pf/dialog.h"
#include "pf/text.h"
#include "pf/window.h"
#include "text_internal.h"

PfResult pfSendDlgItemMessage(PfWnd dialog, int32_t id, uint32_t msg, PfWParam wParam,
                              PfLParam lParam) {
  PfWnd item = pfGetDlgItem(dialog, id);
  return item == PfWnd::none ? 0 : pfSendMessage(item, msg, wParam, lParam);
}

bool pfSetDlgItemText(PfWnd dialog, int32_t id, const char16_t* text) {
  return pfSetWindowText(pfGetDlgItem(dialog, id), text);
}

int32_t pfGetDlgItemText(PfWnd dialog, int32_t id, char16_t* buffer, int32_t size) {
  PfWnd item = pfGetDlgItem(dialog, id);
  if (item == PfWnd::none) {
    if (buffer && size > 0) buffer[0] = 0;
    return 0;
  }
  return pfGetWindowText(item, buffer, size);
}

bool pfSetDlgItemInt(PfWnd dialog, int32_t id, uint32_t value, bool isSigned) {
  char16_t text[16];
  if (isSigned)
    pfFormat(text, 16, u"%d", static_cast<int32_t>(value));
  else
    pfFormat(text, 16, u"%u", value);
  return pfSetDlgItemText(dialog, id, text);
}

uint32_t pfGetDlgItemInt(PfWnd dialog, int32_t id, bool* ok, bool isSigned) {
  if (ok) *ok = false;
  PfWnd item = pfGetDlgItem(dialog, id);
  if (item == PfWnd::none) return 0;
  int32_t length = pfGetWindowTextLength(item);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  pfGetWindowText(item, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  if (isSigned) {
    int32_t value = 0;
    if (!pf::text::parseSigned(text, &value)) return 0;
    if (ok) *ok = true;
    return static_cast<uint32_t>(value);
  }
  uint32_t value = 0;
  if (!pf::text::parseUnsigned(text, &value)) return 0;
  if (ok) *ok = true;
  return value;
}
