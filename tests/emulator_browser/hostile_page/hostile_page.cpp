/*
** A test-only day page whose HTML document is hostile, as a tampered data
** file could make it: a script, an image from the network with an error
** handler, a refresh, a link, a frame, a style sheet and a background image.
** The emulator must show it as inert markup, with nothing run or fetched.
** The document is set in one message, without an end of source.
*/
#include "frame.h"
#include "standard_resources.h"

static constexpr PluginIdentity hostileIdentity = {
    u"恶意页面", 65536, u"恶意页面", 105, 40002, 40003, u"关于", 0,
    KEEP_YEAR | KEEP_MONTH | KEEP_DAY, 64, false};

const PluginIdentity& pluginIdentity = hostileIdentity;

static PfWnd viewerWindow = PfWnd::none;

static const char16_t hostileDocument[] =
    u"<meta http-equiv=\"refresh\" content=\"0;url=http://127.0.0.1:9/refresh\">"
    u"<link rel=\"stylesheet\" href=\"http://127.0.0.1:9/style.css\">"
    u"<h3 id=\"headline\">Hostile record</h3>"
    u"<script>fetch('http://127.0.0.1:9/script');document.body.innerHTML='script ran';</script>"
    u"<img src=\"http://127.0.0.1:9/image.png\" onerror=\"fetch('http://127.0.0.1:9/onerror')\">"
    u"<p onmouseover=\"fetch('http://127.0.0.1:9/hover')\">pointer here</p>"
    u"<a id=\"away\" href=\"http://127.0.0.1:9/link\">a link away</a>"
    u"<iframe src=\"http://127.0.0.1:9/frame\"></iframe>"
    u"<div style=\"background:url(http://127.0.0.1:9/background)\">background</div>"
    u"<form action=\"http://127.0.0.1:9/form\"><button id=\"send\">send</button></form>";

static PfResult showHostileDocument(PfWnd dialog) {
  PfRect client;
  pfGetClientRect(dialog, &client);
  initHtmlViewer(moduleHandle);
  viewerWindow = pfCreateWindow(0, PF_HTML_VIEWER_CLASS, nullptr, 0x54000000u, 0, 0,
                                client.right - client.left, client.bottom - client.top, dialog,
                                0, moduleHandle, nullptr);
  if (viewerWindow == PfWnd::none) return 0;
  pfSendMessage(viewerWindow, PFDTM_SETTEXT, 0, reinterpret_cast<PfLParam>(hostileDocument));
  return 1;
}

static void closeHostilePage(PfWnd) {
  if (viewerWindow != PfWnd::none) {
    pfDestroyWindow(viewerWindow);
    viewerWindow = PfWnd::none;
  }
}

const PluginHooks pluginHooks = {
    nullptr, showHostileDocument, nullptr, nullptr, closeHostilePage, nullptr,
};

static const PfDialogTemplate hostilePage = {
    0x80C80040u, u"恶意页面", 0, 0, 139, 137, u"Tahoma", 9, 0, nullptr};

static const PfResource hostileResources[] = {
    {PFRT_DIALOG, nullptr, 101, nullptr, PF_LANG_ZH_CN, &hostilePage, sizeof hostilePage},
    STANDARD_SHELL_RESOURCES,
};

LUMENO_EXPORT const PfResourceTable pfModuleResources = {
    sizeof hostileResources / sizeof hostileResources[0], hostileResources};
