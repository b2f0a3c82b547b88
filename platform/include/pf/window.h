/*
** Windows: classes, creation and destruction, the parent/child tree, ids,
** styles, text, rectangles, visibility, enabling, focus, subclassing, and
** message delivery (send is synchronous; post goes through the queue of the
** user-interface thread and is handled by whichever message loop runs).
**
** Rectangles of child windows are in the client coordinates of their parent;
** every window's client rectangle starts at 0,0.
*/
#pragma once

#include "pf/types.h"

struct PfWndClass {
  const char16_t* className;
  PfWndProc proc;
  PfModule instance;
};

/* Index for pfSetWindowProc's sibling pfGetWindowLong-style calls. */
enum : int32_t { PFGWL_WNDPROC = -4, PFGWL_STYLE = -16, PFGWL_ID = -12 };

PF_API bool pfRegisterClass(const PfWndClass* cls);
PF_API bool pfUnregisterClass(const char16_t* className, PfModule instance);
PF_API bool pfIsClassRegistered(const char16_t* className);

/* Creates a window. For a child, `id` is its control id. Sends PFM_CREATE.
** Returns PfWnd::none on failure (unknown class, bad parent, injected fault). */
PF_API PfWnd pfCreateWindow(uint32_t exStyle, const char16_t* className, const char16_t* text,
                            uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height,
                            PfWnd parent, int32_t id, PfModule instance, void* param);
/* Destroys a window and its children (PFM_DESTROY to each). */
PF_API bool pfDestroyWindow(PfWnd wnd);
PF_API bool pfIsWindow(PfWnd wnd);

PF_API PfWnd pfGetParent(PfWnd wnd);
PF_API PfWnd pfGetDlgItem(PfWnd dialog, int32_t id);
PF_API int32_t pfGetDlgCtrlId(PfWnd wnd);
PF_API PfWnd pfFindWindow(const char16_t* className, const char16_t* title);
PF_API PfWnd pfGetDesktopWindow();
/* The top-level window (a dialog or the host's window) that holds `wnd`. */
PF_API PfWnd pfGetTopLevel(PfWnd wnd);

PF_API uint32_t pfGetStyle(PfWnd wnd);
PF_API void pfSetStyle(PfWnd wnd, uint32_t style);

PF_API bool pfSetWindowText(PfWnd wnd, const char16_t* text);
/* Copies at most size-1 units and a terminator; returns the units copied. */
PF_API int32_t pfGetWindowText(PfWnd wnd, char16_t* buffer, int32_t size);
PF_API int32_t pfGetWindowTextLength(PfWnd wnd);

PF_API bool pfGetClientRect(PfWnd wnd, PfRect* rect);
/* Window rectangle in screen pixels. */
PF_API bool pfGetWindowRect(PfWnd wnd, PfRect* rect);
PF_API bool pfMoveWindow(PfWnd wnd, int32_t x, int32_t y, int32_t width, int32_t height,
                         bool repaint);
PF_API bool pfShowWindow(PfWnd wnd, int32_t command);
PF_API bool pfIsWindowVisible(PfWnd wnd);
PF_API bool pfEnableWindow(PfWnd wnd, bool enable);
PF_API bool pfIsWindowEnabled(PfWnd wnd);

PF_API PfWnd pfSetFocus(PfWnd wnd);
PF_API PfWnd pfGetFocus();

/* Subclassing: installs a new window procedure and returns the previous one,
** which the new one calls through pfCallWindowProc. */
PF_API PfWndProc pfSetWindowProc(PfWnd wnd, PfWndProc proc);
PF_API PfWndProc pfGetWindowProc(PfWnd wnd);
PF_API PfResult pfCallWindowProc(PfWndProc proc, PfWnd wnd, uint32_t msg, PfWParam wParam,
                                 PfLParam lParam);
PF_API PfResult pfDefWindowProc(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam);

PF_API PfResult pfSendMessage(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam);
PF_API bool pfPostMessage(PfWnd wnd, uint32_t msg, PfWParam wParam, PfLParam lParam);

/* Per-window data a control keeps (for control implementations). */
PF_API void* pfGetWindowData(PfWnd wnd);
PF_API void pfSetWindowData(PfWnd wnd, void* data);
