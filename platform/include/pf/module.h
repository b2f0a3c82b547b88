/*
** Modules and resources. A plug-in library declares its resources in its own
** source, as a resource script would, and exports them with its entry point;
** the loader attaches the library (calls its entry point with reason 1) and
** serves its resources by type and id or by name.
*/
#pragma once

#include "pf/types.h"

/* Resource types. */
enum : uint32_t {
  PFRT_MENU = 4,
  PFRT_DIALOG = 5,
  PFRT_STRING = 6,
  PFRT_RCDATA = 10,
};
enum : uint16_t { PF_LANG_ZH_CN = 2052 };

/* One resource. Either typeId or typeName, and either id or name. Dialogs
** point to a PfDialogTemplate, menus to a PfMenuTemplate, strings to a
** zero-terminated char16_t text, RCDATA and custom types to raw bytes. */
struct PfResource {
  uint32_t typeId;
  const char16_t* typeName;
  uint32_t id;
  const char16_t* name;
  uint16_t language;
  const void* data;
  uint32_t size;
};

struct PfResourceTable {
  uint32_t count;
  const PfResource* resources;
};

/* Menu templates: an item is a command, a separator or a sub-menu. */
enum : uint32_t { PFMT_SEPARATOR = 0x800, PFMT_POPUP = 0x10, PFMT_CHECKED = 0x8, PFMT_GRAYED = 0x1 };
struct PfMenuTemplate;
struct PfMenuItemTemplate {
  const char16_t* text;
  uint32_t command;
  uint32_t flags;
  const PfMenuTemplate* popup;
};
struct PfMenuTemplate {
  uint32_t itemCount;
  const PfMenuItemTemplate* items;
};

/* The names every plug-in library exports besides its contract, so that the
** loader can attach it and find its resources. */
#define PF_MODULE_ENTRY_NAME "pfModuleEntry"
#define PF_MODULE_RESOURCES_NAME "pfModuleResources"
enum : uint32_t { PF_DLL_PROCESS_DETACH = 0, PF_DLL_PROCESS_ATTACH = 1 };
typedef int32_t (*PfModuleEntry)(PfModule module, uint32_t reason, void* reserved);

PF_API const PfResource* pfFindResource(PfModule module, uint32_t id, uint32_t typeId);
PF_API const PfResource* pfFindResourceNamed(PfModule module, const char16_t* name,
                                             const char16_t* typeName);
PF_API const void* pfLoadResource(PfModule module, const PfResource* resource);
PF_API uint32_t pfSizeofResource(PfModule module, const PfResource* resource);
/* Loads a string resource into the buffer; returns its length, 0 if none. */
PF_API int32_t pfLoadString(PfModule module, uint32_t id, char16_t* buffer, int32_t size);

/* The module's file name as a backslash-separated device path, e.g.
** "\Program Files\Lumeno\LM_almanac.so". Returns its length, 0 on failure. */
PF_API int32_t pfGetModuleFileName(PfModule module, char16_t* buffer, int32_t size);
