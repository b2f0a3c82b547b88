/*
** List box: rows of text, one selection, optionally sorted. A list that
** notifies its parent sends PFLBN_SELCHANGE when the user changes the
** selection (a tap on a row, Up or Down); changes made by code send nothing.
*/
#include <algorithm>
#include <vector>

#include "core/controls_internal.h"
#include "core/wm.h"
#include "pf/controls.h"
#include "pf/host/device.h"
#include "pf/host/trace.h"
#include "pf/paint.h"
#include "pf/text.h"
#include "pf/window.h"

namespace pf::controls {

namespace {

struct ListBox {
  std::vector<std::u16string> items;
  int32_t selection = -1;
  int32_t top = 0;
};

ListBox* state(PfWnd wnd) { return static_cast<ListBox*>(pfGetWindowData(wnd)); }

int32_t visibleRows(PfWnd wnd) {
  PfRect r;
  pfGetClientRect(wnd, &r);
  return std::max(1, (r.bottom - r.top) / listRowHeight());
}

void keepVisible(PfWnd wnd, ListBox* l) {
  if (l->selection < 0) return;
  int32_t rows = visibleRows(wnd);
  if (l->selection < l->top) l->top = l->selection;
  if (l->selection >= l->top + rows) l->top = l->selection - rows + 1;
}

PfResult insertItem(PfWnd wnd, ListBox* l, intptr_t index, const char16_t* text) {
  if (!text) text = u"";
  size_t at;
  if (index < 0) {
    at = (pfGetStyle(wnd) & PFLBS_SORT) ? sortedPosition(l->items, text) : l->items.size();
  } else {
    if (static_cast<size_t>(index) > l->items.size()) return PFLB_ERR;
    at = static_cast<size_t>(index);
  }
  l->items.insert(l->items.begin() + static_cast<ptrdiff_t>(at), text);
  if (l->selection >= static_cast<int32_t>(at)) ++l->selection;
  pfInvalidateRect(wnd, nullptr, true);
  return static_cast<PfResult>(at);
}

bool select(PfWnd wnd, ListBox* l, int32_t index, bool byUser) {
  int32_t next = (index >= 0 && index < static_cast<int32_t>(l->items.size())) ? index : -1;
  bool changed = next != l->selection;
  l->selection = next;
  keepVisible(wnd, l);
  if (changed) pfInvalidateRect(wnd, nullptr, true);
  if (changed && byUser && (pfGetStyle(wnd) & PFLBS_NOTIFY))
    wm::notifyParent(wnd, PFLBN_SELCHANGE);
  return next >= 0;
}

PfResult listProc(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  ListBox* l = state(wnd);
  if (!l && msg != PFM_CREATE) return pfDefWindowProc(wnd, msg, wParam, lParam);
  auto index = static_cast<intptr_t>(wParam);
  auto count = static_cast<intptr_t>(l ? l->items.size() : 0);
  switch (msg) {
    case PFM_CREATE:
      pfSetWindowData(wnd, new ListBox);
      return 0;
    case PFLB_ADDSTRING:
      return insertItem(wnd, l, -1, reinterpret_cast<const char16_t*>(lParam));
    case PFLB_INSERTSTRING:
      return insertItem(wnd, l, index, reinterpret_cast<const char16_t*>(lParam));
    case PFLB_DELETESTRING:
      if (index < 0 || index >= count) return PFLB_ERR;
      l->items.erase(l->items.begin() + index);
      l->selection = -1;
      l->top = std::min<int32_t>(l->top, std::max<int32_t>(0, static_cast<int32_t>(l->items.size()) - 1));
      pfInvalidateRect(wnd, nullptr, true);
      return static_cast<PfResult>(l->items.size());
    case PFLB_RESETCONTENT:
      l->items.clear();
      l->selection = -1;
      l->top = 0;
      pfInvalidateRect(wnd, nullptr, true);
      return 0;
    case PFLB_SETCURSEL:
      return select(wnd, l, static_cast<int32_t>(index), false) ? index : PfResult{PFLB_ERR};
    case PFLB_GETCURSEL:
      return l->selection;
    case PFLB_GETTEXT: {
      if (index < 0 || index >= count) return PFLB_ERR;
      auto* buffer = reinterpret_cast<char16_t*>(lParam);
      const std::u16string& s = l->items[static_cast<size_t>(index)];
      if (buffer) {
        std::copy(s.begin(), s.end(), buffer);
        buffer[s.size()] = 0;
      }
      return static_cast<PfResult>(s.size());
    }
    case PFLB_GETTEXTLEN:
      if (index < 0 || index >= count) return PFLB_ERR;
      return static_cast<PfResult>(l->items[static_cast<size_t>(index)].size());
    case PFLB_GETCOUNT:
      return count;
    case PFLB_GETTOPINDEX:
      return l->top;
    case PFLB_GETITEMHEIGHT:
      return listRowHeight();
    case PFM_GETDLGCODE:
      return PFDLGC_WANTARROWS | PFDLGC_WANTCHARS;
    case PFM_KEYDOWN:
      if (wParam == PFK_UP && l->selection > 0)
        select(wnd, l, l->selection - 1, true);
      else if (wParam == PFK_UP && l->selection < 0 && count > 0)
        select(wnd, l, 0, true);
      else if (wParam == PFK_DOWN && l->selection + 1 < count)
        select(wnd, l, l->selection + 1, true);
      return 0;
    case PFM_LBUTTONDOWN: {
      pfSetFocus(wnd);
      int32_t y = static_cast<int16_t>(pfHiWord(static_cast<uintptr_t>(lParam)));
      int32_t row = l->top + y / listRowHeight();
      if (y >= 0 && row < count) select(wnd, l, row, true);
      return 0;
    }
    case PFM_LBUTTONUP:
      return 0;
    default:
      return pfDefWindowProc(wnd, msg, wParam, lParam);
  }
}

}  // namespace

size_t sortedPosition(const std::vector<std::u16string>& items, const char16_t* text) {
  size_t i = 0;
  while (i < items.size() && pfStrCmpI(items[i].c_str(), text) <= 0) ++i;
  return i;
}

int32_t listRowHeight() { return 16 * pf::host::screenScale(); }

void registerListBox() {
  wm::ClassInfo info;
  info.name = u"LISTBOX";
  info.proc = listProc;
  info.describe = [](PfWnd wnd, nlohmann::json& out) {
    ListBox* l = state(wnd);
    if (!l) return;
    nlohmann::json items = nlohmann::json::array();
    for (auto& s : l->items) items.push_back(pf::trace::utf8(s));
    out["items"] = std::move(items);
    out["selection"] = l->selection;
    out["topIndex"] = l->top;
    out["rowHeight"] = listRowHeight();
  };
  info.release = [](PfWnd wnd) {
    delete state(wnd);
    pfSetWindowData(wnd, nullptr);
  };
  wm::registerSystemClass(std::move(info));
}

bool listUserSelect(PfWnd wnd, int32_t index, std::string* error) {
  ListBox* l = state(wnd);
  if (!l) return false;
  if (index < 0 || index >= static_cast<int32_t>(l->items.size())) {
    if (error) *error = "row " + std::to_string(index) + " does not exist (the list has " +
                        std::to_string(l->items.size()) + ")";
    return false;
  }
  pfSetFocus(wnd);
  select(wnd, l, index, true);
  return true;
}

bool userTapRow(PfWnd list, int32_t index, std::string* error) {
  ListBox* l = state(list);
  if (!l || !wm::classIs(list, u"LISTBOX")) {
    if (error) *error = "not a list box";
    return false;
  }
  int32_t count = static_cast<int32_t>(l->items.size());
  if (index < -1 || index >= count) {
    if (error) *error = "row " + std::to_string(index) + " does not exist (the list has " +
                        std::to_string(count) + "; -1 taps below the last row)";
    return false;
  }
  int32_t row = index < 0 ? count : index;
  if (index >= 0) {
    /* Bring the row into view first, as a user would scroll to it. */
    if (row < l->top || row >= l->top + visibleRows(list)) l->top = row;
  }
  int32_t y = (row - l->top) * listRowHeight() + listRowHeight() / 2;
  PfLParam where = pfMakeLParam(4, y);
  pfSendMessage(list, PFM_LBUTTONDOWN, 0, where);
  pfSendMessage(list, PFM_LBUTTONUP, 0, where);
  return true;
}

}  // namespace pf::controls
