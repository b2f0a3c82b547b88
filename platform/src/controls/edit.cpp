/*
** Edit field, single or multi-line, possibly read-only. The text is the
** window text; the selection is kept for replace-selection. Typing notifies
** the parent with PFEN_CHANGE and repaints the field only.
*/
#include <algorithm>

#include "core/controls_internal.h"
#include "core/wm.h"
#include "pf/controls.h"
#include "pf/paint.h"
#include "pf/window.h"

namespace pf::controls {

namespace {

struct Edit {
  size_t selStart = 0, selEnd = 0;
  size_t limit = 0; /* 0: the default for the kind of field */
};

Edit* state(PfWnd wnd) { return static_cast<Edit*>(pfGetWindowData(wnd)); }

bool multiLine(PfWnd wnd) { return (pfGetStyle(wnd) & PFES_MULTILINE) != 0; }
bool readOnly(PfWnd wnd) { return (pfGetStyle(wnd) & PFES_READONLY) != 0; }

size_t limitOf(PfWnd wnd, const Edit* e) {
  if (e && e->limit) return e->limit;
  return multiLine(wnd) ? 0x7FFFFFFE : 30000;
}

std::u16string currentText(PfWnd wnd) {
  wm::Window* w = wm::find(wnd);
  return w ? w->text : std::u16string();
}

/* Stores a new text as the window text without notifying anybody. */
void storeText(PfWnd wnd, std::u16string text) {
  pfDefWindowProc(wnd, PFM_SETTEXT, 0, reinterpret_cast<PfLParam>(text.c_str()));
}

PfResult editProc(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  Edit* e = state(wnd);
  switch (msg) {
    case PFM_CREATE:
      pfSetWindowData(wnd, new Edit);
      return 0;
    case PFM_SETTEXT: {
      PfResult r = pfDefWindowProc(wnd, msg, wParam, lParam);
      if (e) e->selStart = e->selEnd = 0;
      return r;
    }
    case PFM_GETDLGCODE: {
      PfResult code = PFDLGC_WANTCHARS | PFDLGC_WANTARROWS;
      if (multiLine(wnd) && (pfGetStyle(wnd) & PFES_WANTRETURN)) code |= PFDLGC_WANTALLKEYS;
      return code;
    }
    case PFM_KEYDOWN:
      if (wParam == PFK_ENTER && multiLine(wnd) && !readOnly(wnd) && e) {
        /* A line break typed at the caret, replacing the selection. */
        std::u16string text = currentText(wnd);
        size_t start = std::min(e->selStart, text.size()), end = std::min(e->selEnd, text.size());
        text.replace(start, end - start, u"\r\n");
        if (text.size() <= limitOf(wnd, e)) {
          storeText(wnd, std::move(text));
          e->selStart = e->selEnd = start + 2;
          wm::notifyParent(wnd, PFEN_CHANGE);
        }
      }
      return 0;
    case PFEM_SETSEL: {
      if (!e) return 0;
      size_t length = currentText(wnd).size();
      auto clampPos = [&](PfWParam v) {
        auto s = static_cast<intptr_t>(v);
        return s < 0 ? length : std::min(static_cast<size_t>(s), length);
      };
      e->selStart = clampPos(wParam);
      e->selEnd = clampPos(static_cast<PfWParam>(lParam));
      if (e->selStart > e->selEnd) std::swap(e->selStart, e->selEnd);
      return 0;
    }
    case PFEM_GETSEL:
      return e ? pfMakeLParam(static_cast<int32_t>(e->selStart), static_cast<int32_t>(e->selEnd)) : 0;
    case PFEM_REPLACESEL: {
      if (!e) return 0;
      const char16_t* insert = reinterpret_cast<const char16_t*>(lParam);
      std::u16string text = currentText(wnd);
      size_t start = std::min(e->selStart, text.size()), end = std::min(e->selEnd, text.size());
      text.replace(start, end - start, insert ? insert : u"");
      size_t caret = start + (insert ? std::char_traits<char16_t>::length(insert) : 0);
      storeText(wnd, std::move(text));
      e->selStart = e->selEnd = caret;
      return 0;
    }
    case PFEM_LIMITTEXT:
      if (e) e->limit = static_cast<size_t>(wParam);
      return 0;
    case PFEM_SETREADONLY:
      pfSetStyle(wnd, wParam ? (pfGetStyle(wnd) | PFES_READONLY) : (pfGetStyle(wnd) & ~PFES_READONLY));
      return 1;
    default:
      return pfDefWindowProc(wnd, msg, wParam, lParam);
  }
}

}  // namespace

void registerEdit() {
  wm::ClassInfo info;
  info.name = u"EDIT";
  info.proc = editProc;
  info.describe = [](PfWnd wnd, nlohmann::json& out) {
    out["multiLine"] = multiLine(wnd);
    out["readOnly"] = readOnly(wnd);
  };
  info.release = [](PfWnd wnd) {
    delete state(wnd);
    pfSetWindowData(wnd, nullptr);
  };
  wm::registerSystemClass(std::move(info));
}

/* Typing replaces the field's text as a user would, cut to what the field
** accepts; combo boxes with an editable field take the same path. */
bool userTypeText(PfWnd control, std::u16string_view text, std::string* error) {
  if (wm::classIs(control, u"COMBOBOX")) return userTypeComboText(control, text, error);
  if (!wm::classIs(control, u"EDIT")) {
    if (error) *error = "not an edit field";
    return false;
  }
  if (readOnly(control)) {
    if (error) *error = "the field is read-only";
    return false;
  }
  std::u16string next(text.substr(0, std::min(text.size(), limitOf(control, state(control)))));
  if (!multiLine(control)) {
    /* A single-line field keeps only the first line. */
    size_t cut = next.find_first_of(u"\r\n");
    if (cut != std::u16string::npos) next.resize(cut);
  }
  pfSetFocus(control);
  if (next != currentText(control)) {
    storeText(control, next);
    if (Edit* e = state(control)) e->selStart = e->selEnd = next.size();
    wm::notifyParent(control, PFEN_CHANGE);
  }
  return true;
}

}  // namespace pf::controls
