/*
** Modules: loading a plug-in library, attaching it, its exports, its
** resources and its device file name. A library is known to the platform
** by a 32-bit module handle; its resources come from the table it exports.
*/
#include <dlfcn.h>

#include <map>

#include "core/wm.h"
#include "pf/host/device.h"
#include "pf/host/loader.h"
#include "pf/host/trace.h"
#include "pf/module.h"

namespace {

struct ModuleRec {
  void* library = nullptr;
  std::u16string devicePath;
  const PfResourceTable* resources = nullptr;
  PfModuleEntry entry = nullptr;
};

struct ModuleRegistry {
  std::map<uint32_t, ModuleRec> modules;
  uint32_t next = 0x400000;
};

ModuleRegistry& reg() {
  static ModuleRegistry r;
  return r;
}

ModuleRec* module(PfModule m) {
  auto it = reg().modules.find(static_cast<uint32_t>(m));
  return it == reg().modules.end() ? nullptr : &it->second;
}

bool sameName(const char16_t* a, const char16_t* b) {
  return a && b && pf::wm::sameName(a, b);
}

}  // namespace

namespace pf::host {

PfModule loadPlugin(const std::filesystem::path& file, std::string* error) {
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    if (error) *error = dlerror();
    return PfModule::none;
  }
  ModuleRec rec;
  rec.library = library;
  rec.entry = reinterpret_cast<PfModuleEntry>(dlsym(library, PF_MODULE_ENTRY_NAME));
  rec.resources = static_cast<const PfResourceTable*>(dlsym(library, PF_MODULE_RESOURCES_NAME));
  if (!rec.entry || !rec.resources) {
    if (error) *error = file.filename().string() + " is not a plug-in library (no entry point or resources)";
    dlclose(library);
    return PfModule::none;
  }
  rec.devicePath = deviceConfig().pluginsDevicePath + u"\\" +
                   pf::trace::utf16(file.filename().string());
  PfModule handle = static_cast<PfModule>(reg().next++);
  PfModuleEntry entry = rec.entry;
  reg().modules[static_cast<uint32_t>(handle)] = std::move(rec);
  entry(handle, PF_DLL_PROCESS_ATTACH, nullptr);
  return handle;
}

PfModule registerStaticModule(const PfResourceTable* resources, const std::u16string& fileName) {
  ModuleRec rec;
  rec.resources = resources;
  rec.devicePath = deviceConfig().pluginsDevicePath + u"\\" + fileName;
  PfModule handle = static_cast<PfModule>(reg().next++);
  reg().modules[static_cast<uint32_t>(handle)] = std::move(rec);
  return handle;
}

void* findExport(PfModule m, const char* name) {
  ModuleRec* rec = module(m);
  return (rec && rec->library) ? dlsym(rec->library, name) : nullptr;
}

void unloadPlugin(PfModule m) {
  ModuleRec* rec = module(m);
  if (!rec) return;
  if (rec->entry) rec->entry(m, PF_DLL_PROCESS_DETACH, nullptr);
  if (rec->library) dlclose(rec->library);
  reg().modules.erase(static_cast<uint32_t>(m));
}

}  // namespace pf::host

const PfResource* pfFindResource(PfModule m, uint32_t id, uint32_t typeId) {
  ModuleRec* rec = module(m);
  if (!rec) return nullptr;
  for (uint32_t i = 0; rec->resources && i < rec->resources->count; ++i) {
    const PfResource& r = rec->resources->resources[i];
    if (!r.typeName && r.typeId == typeId && !r.name && r.id == id) return &r;
  }
  return nullptr;
}

const PfResource* pfFindResourceNamed(PfModule m, const char16_t* name, const char16_t* typeName) {
  ModuleRec* rec = module(m);
  if (!rec) return nullptr;
  for (uint32_t i = 0; rec->resources && i < rec->resources->count; ++i) {
    const PfResource& r = rec->resources->resources[i];
    if (sameName(r.typeName, typeName) && sameName(r.name, name)) return &r;
  }
  return nullptr;
}

const void* pfLoadResource(PfModule m, const PfResource* resource) {
  return (module(m) && resource) ? resource->data : nullptr;
}

uint32_t pfSizeofResource(PfModule m, const PfResource* resource) {
  return (module(m) && resource) ? resource->size : 0;
}

int32_t pfLoadString(PfModule m, uint32_t id, char16_t* buffer, int32_t size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  const PfResource* r = pfFindResource(m, id, PFRT_STRING);
  const auto* text = static_cast<const char16_t*>(r ? r->data : nullptr);
  if (!text) return 0;
  int32_t n = 0;
  while (text[n] && n < size - 1) {
    buffer[n] = text[n];
    ++n;
  }
  buffer[n] = 0;
  return n;
}

int32_t pfGetModuleFileName(PfModule m, char16_t* buffer, int32_t size) {
  ModuleRec* rec = module(m);
  if (!rec || !buffer || size <= 0) return 0;
  int32_t n = 0;
  for (char16_t c : rec->devicePath) {
    if (n >= size - 1) break;
    buffer[n++] = c;
  }
  buffer[n] = 0;
  return n;
}
