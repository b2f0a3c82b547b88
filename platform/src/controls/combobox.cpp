/*
** Combo box: a drop-down list, or a drop-down with an editable field. The
** user's choice of an entry sends PFCBN_SELCHANGE when it changes the
** selection and then PFCBN_SELENDOK, the confirmation; in an editable combo
** the field already shows the chosen entry when the first arrives. Typing
** into the field sends PFCBN_EDITCHANGE. Changes made by code send nothing.
*/
#include <algorithm>
#include <vector>

#include "core/controls_internal.h"
#include "core/wm.h"
#include "pf/controls.h"
#include "pf/host/trace.h"
#include "pf/paint.h"
#include "pf/text.h"
#include "pf/window.h"

namespace pf::controls {

namespace {

struct ComboBox {
  std::vector<std::u16string> items;
  int32_t selection = -1;
  std::u16string field; /* editable combos only */
  size_t limit = 30000;
  bool dropped = false;
};

ComboBox* state(PfWnd wnd) { return static_cast<ComboBox*>(pfGetWindowData(wnd)); }

bool editable(PfWnd wnd) { return (pfGetStyle(wnd) & 0x3) == PFCBS_DROPDOWN; }

/* What the control shows: the field, or the selected entry. */
std::u16string shownText(PfWnd wnd, const ComboBox* c) {
  if (editable(wnd)) return c->field;
  if (c->selection >= 0) return c->items[static_cast<size_t>(c->selection)];
  return u"";
}

void setField(PfWnd wnd, ComboBox* c, std::u16string text) {
  if (c->field == text) return;
  c->field = std::move(text);
  if (pf::trace::enabled())
    pf::trace::emit("text", {{"hwnd", static_cast<uint32_t>(wnd)},
                             {"id", pfGetDlgCtrlId(wnd)},
                             {"text", pf::trace::utf8(c->field)}});
  pfInvalidateRect(wnd, nullptr, true);
}

void select(PfWnd wnd, ComboBox* c, int32_t index) {
  int32_t next = (index >= 0 && index < static_cast<int32_t>(c->items.size())) ? index : -1;
  if (next != c->selection) pfInvalidateRect(wnd, nullptr, true);
  c->selection = next;
  if (editable(wnd)) setField(wnd, c, next >= 0 ? c->items[static_cast<size_t>(next)] : u"");
}

PfResult insertItem(PfWnd wnd, ComboBox* c, intptr_t index, const char16_t* text) {
  if (!text) text = u"";
  size_t at;
  if (index < 0) {
    at = (pfGetStyle(wnd) & PFCBS_SORT) ? sortedPosition(c->items, text) : c->items.size();
  } else {
    if (static_cast<size_t>(index) > c->items.size()) return PFCB_ERR;
    at = static_cast<size_t>(index);
  }
  c->items.insert(c->items.begin() + static_cast<ptrdiff_t>(at), text);
  if (c->selection >= static_cast<int32_t>(at)) ++c->selection;
  return static_cast<PfResult>(at);
}

PfResult copyOut(const std::u16string& s, char16_t* buffer, size_t size) {
  if (!buffer || size == 0) return 0;
  size_t n = std::min(size - 1, s.size());
  std::copy_n(s.data(), n, buffer);
  buffer[n] = 0;
  return static_cast<PfResult>(n);
}

PfResult comboProc(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  ComboBox* c = state(wnd);
  if (!c && msg != PFM_CREATE) return pfDefWindowProc(wnd, msg, wParam, lParam);
  auto index = static_cast<intptr_t>(wParam);
  auto count = static_cast<intptr_t>(c ? c->items.size() : 0);
  switch (msg) {
    case PFM_CREATE:
      pfSetWindowData(wnd, new ComboBox);
      return 0;
    case PFCB_ADDSTRING:
      return insertItem(wnd, c, -1, reinterpret_cast<const char16_t*>(lParam));
    case PFCB_INSERTSTRING:
      return insertItem(wnd, c, index, reinterpret_cast<const char16_t*>(lParam));
    case PFCB_DELETESTRING:
      if (index < 0 || index >= count) return PFCB_ERR;
      c->items.erase(c->items.begin() + index);
      if (c->selection == index)
        c->selection = -1;
      else if (c->selection > index)
        --c->selection;
      pfInvalidateRect(wnd, nullptr, true);
      return static_cast<PfResult>(c->items.size());
    case PFCB_RESETCONTENT:
      c->items.clear();
      c->selection = -1;
      if (editable(wnd)) setField(wnd, c, u"");
      pfInvalidateRect(wnd, nullptr, true);
      return 0;
    case PFCB_SETCURSEL:
      select(wnd, c, static_cast<int32_t>(index));
      return c->selection >= 0 ? PfResult{c->selection} : PfResult{PFCB_ERR};
    case PFCB_GETCURSEL:
      return c->selection;
    case PFCB_GETLBTEXT: {
      if (index < 0 || index >= count) return PFCB_ERR;
      const std::u16string& s = c->items[static_cast<size_t>(index)];
      if (auto* buffer = reinterpret_cast<char16_t*>(lParam)) {
        std::copy(s.begin(), s.end(), buffer);
        buffer[s.size()] = 0;
      }
      return static_cast<PfResult>(s.size());
    }
    case PFCB_GETLBTEXTLEN:
      if (index < 0 || index >= count) return PFCB_ERR;
      return static_cast<PfResult>(c->items[static_cast<size_t>(index)].size());
    case PFCB_GETCOUNT:
      return count;
    case PFCB_LIMITTEXT:
      c->limit = wParam ? static_cast<size_t>(wParam) : 30000;
      return 1;
    case PFCB_SHOWDROPDOWN:
      c->dropped = wParam != 0;
      pfInvalidateRect(wnd, nullptr, true);
      return 1;
    case PFCB_GETDROPPEDSTATE:
      return c->dropped ? 1 : 0;
    case PFM_SETTEXT: {
      const char16_t* text = reinterpret_cast<const char16_t*>(lParam);
      std::u16string s = text ? text : u"";
      if (editable(wnd)) {
        setField(wnd, c, s.substr(0, std::min(s.size(), c->limit)));
        return 1;
      }
      for (size_t i = 0; i < c->items.size(); ++i)
        if (c->items[i] == s) {
          select(wnd, c, static_cast<int32_t>(i));
          return 1;
        }
      return PFCB_ERR;
    }
    case PFM_GETTEXT:
      return copyOut(shownText(wnd, c), reinterpret_cast<char16_t*>(lParam),
                     static_cast<size_t>(wParam));
    case PFM_GETTEXTLENGTH:
      return static_cast<PfResult>(shownText(wnd, c).size());
    case PFM_GETDLGCODE:
      return PFDLGC_WANTARROWS | PFDLGC_WANTCHARS;
    default:
      return pfDefWindowProc(wnd, msg, wParam, lParam);
  }
}

}  // namespace

void registerComboBox() {
  wm::ClassInfo info;
  info.name = u"COMBOBOX";
  info.proc = comboProc;
  info.describe = [](PfWnd wnd, nlohmann::json& out) {
    ComboBox* c = state(wnd);
    if (!c) return;
    nlohmann::json items = nlohmann::json::array();
    for (auto& s : c->items) items.push_back(pf::trace::utf8(s));
    out["items"] = std::move(items);
    out["selection"] = c->selection;
    out["editable"] = editable(wnd);
    out["text"] = pf::trace::utf8(shownText(wnd, c));
  };
  info.release = [](PfWnd wnd) {
    delete state(wnd);
    pfSetWindowData(wnd, nullptr);
  };
  wm::registerSystemClass(std::move(info));
}

bool comboUserSelect(PfWnd wnd, int32_t index, std::string* error) {
  ComboBox* c = state(wnd);
  if (!c) return false;
  if (index < 0 || index >= static_cast<int32_t>(c->items.size())) {
    if (error) *error = "entry " + std::to_string(index) + " does not exist (the list has " +
                        std::to_string(c->items.size()) + ")";
    return false;
  }
  pfSetFocus(wnd);
  bool changed = index != c->selection;
  select(wnd, c, index);
  if (changed) wm::notifyParent(wnd, PFCBN_SELCHANGE);
  if (pfIsWindow(wnd)) wm::notifyParent(wnd, PFCBN_SELENDOK);
  return true;
}

bool userTypeComboText(PfWnd combo, std::u16string_view text, std::string* error) {
  ComboBox* c = state(combo);
  if (!c || !editable(combo)) {
    if (error) *error = "the combo box has no editable field";
    return false;
  }
  std::u16string next(text.substr(0, std::min(text.size(), c->limit)));
  size_t cut = next.find_first_of(u"\r\n");
  if (cut != std::u16string::npos) next.resize(cut);
  pfSetFocus(combo);
  if (next != c->field) {
    setField(combo, c, std::move(next));
    wm::notifyParent(combo, PFCBN_EDITCHANGE);
  }
  return true;
}

}  // namespace pf::controls
