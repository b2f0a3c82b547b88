/*
** The HTML viewer control, class "DISPLAYCLASS". It keeps the document's
** HTML source as it is set and appended; front ends render the source at
** every change, without waiting for the end of source, so a document set in
** one message shows as well as one built from pieces (a tag may be split
** across appends).
*/
#include "core/controls_internal.h"
#include "core/wm.h"
#include "pf/host/faults.h"
#include "pf/host/trace.h"
#include "pf/html_viewer.h"
#include "pf/paint.h"
#include "pf/window.h"

namespace pf::controls {

namespace {

struct HtmlDocument {
  std::u16string source;
  bool complete = false;
  uint32_t revision = 0;
};

HtmlDocument* state(PfWnd wnd) { return static_cast<HtmlDocument*>(pfGetWindowData(wnd)); }

PfResult viewerProc(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam) {
  HtmlDocument* doc = state(wnd);
  const char16_t* text = reinterpret_cast<const char16_t*>(lParam);
  switch (msg) {
    case PFM_CREATE:
      pfSetWindowData(wnd, new HtmlDocument);
      return 0;
    case PFDTM_SETTEXT:
      if (!doc) return 0;
      doc->source = text ? text : u"";
      doc->complete = false;
      ++doc->revision;
      pfInvalidateRect(wnd, nullptr, true);
      return 1;
    case PFDTM_ADDTEXTW:
      if (!doc) return 0;
      if (text) doc->source += text;
      ++doc->revision;
      pfInvalidateRect(wnd, nullptr, true);
      return 1;
    case PFDTM_ENDOFSOURCE:
      if (!doc) return 0;
      doc->complete = true;
      ++doc->revision;
      return 1;
    case PFM_GETTEXT:
    case PFM_GETTEXTLENGTH:
      return 0;
    default:
      return pfDefWindowProc(wnd, msg, wParam, lParam);
  }
}

void describeViewer(PfWnd wnd, nlohmann::json& out) {
  if (HtmlDocument* doc = state(wnd)) {
    out["html"] = pf::trace::utf8(doc->source);
    out["complete"] = doc->complete;
    out["revision"] = doc->revision;
  }
}

}  // namespace

}  // namespace pf::controls

int32_t initHtmlViewer(PfModule module) {
  pf::wm::ensureSystemClasses();
  if (pf::faults::viewerInitFails()) {
    pfUnregisterClass(PF_HTML_VIEWER_CLASS, module);
    return 0;
  }
  if (pf::wm::findClass(PF_HTML_VIEWER_CLASS)) return 1;
  pf::wm::ClassInfo info;
  info.name = PF_HTML_VIEWER_CLASS;
  info.proc = pf::controls::viewerProc;
  info.instance = module;
  info.describe = pf::controls::describeViewer;
  info.release = [](PfWnd wnd) {
    delete pf::controls::state(wnd);
    pfSetWindowData(wnd, nullptr);
  };
  pf::wm::registerSystemClass(std::move(info));
  return 1;
}
