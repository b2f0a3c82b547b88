/*
** Device files. The handheld's file system is a folder of the host, the
** device root; names are backslash-separated device paths matched without
** regard to case, and a bare name is a file in the root. The plug-ins'
** device folder is an overlay: reads find the device root's copy first and
** then the host folder that holds the libraries, which is never written;
** writes and deletions act on the device root's copy.
*/
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/wm.h"
#include "pf/files.h"
#include "pf/host/device.h"
#include "pf/host/faults.h"
#include "pf/host/trace.h"

namespace fs = std::filesystem;

struct PfFile {
  std::FILE* stream = nullptr;
  std::u16string name; /* the device path, for faults and trace */
  bool writing = false;
};

namespace {

/* Device paths of plug-ins-folder files that were deleted: they read as
** missing until written again. */
std::set<std::u16string>& hidden() {
  static std::set<std::u16string> names;
  return names;
}

std::u16string fold(std::u16string s) {
  for (auto& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
  return s;
}

/* Splits a device path into components; false for "." or ".." or an empty
** path, which could leave the root or name nothing. */
bool components(std::u16string_view path, std::vector<std::u16string>* out) {
  std::u16string part;
  auto flush = [&]() {
    if (part.empty()) return true;
    if (part == u"." || part == u"..") return false;
    out->push_back(part);
    part.clear();
    return true;
  };
  for (char16_t c : path) {
    if (c == u'\\' || c == u'/') {
      if (!flush()) return false;
    } else if (c == 0 || c == u':') {
      return false;
    } else {
      part += c;
    }
  }
  return flush() && !out->empty();
}

/* Walks `parts` below `base`, matching each existing entry without regard
** to case; missing ones keep the name as given. */
fs::path resolveUnder(const fs::path& base, const std::vector<std::u16string>& parts) {
  fs::path current = base;
  for (const auto& part : parts) {
    std::string wanted = pf::trace::utf8(part);
    fs::path next = current / wanted;
    std::error_code ec;
    if (!fs::exists(next, ec) && fs::is_directory(current, ec)) {
      std::u16string key = fold(part);
      for (const auto& entry : fs::directory_iterator(current, ec))
        if (fold(pf::trace::utf16(entry.path().filename().string())) == key) {
          next = entry.path();
          break;
        }
    }
    current = next;
  }
  return current;
}

struct Resolved {
  fs::path upper;              /* where the file is (or would be) written */
  std::optional<fs::path> lower; /* the plug-ins folder's file, if in that folder */
  std::u16string key;          /* folded device path */
};

bool resolve(std::u16string_view name, Resolved* out) {
  const auto& cfg = pf::host::deviceConfig();
  std::vector<std::u16string> parts, pluginParts;
  if (!components(name, &parts)) return false;
  components(cfg.pluginsDevicePath, &pluginParts);
  out->key.clear();
  for (auto& p : parts) out->key += u"\\" + fold(p);
  out->upper = resolveUnder(cfg.deviceRoot, parts);
  out->lower.reset();
  bool inPlugins = parts.size() > pluginParts.size();
  for (size_t i = 0; inPlugins && i < pluginParts.size(); ++i)
    inPlugins = fold(parts[i]) == fold(pluginParts[i]);
  if (inPlugins && !cfg.pluginsFolder.empty())
    out->lower = resolveUnder(cfg.pluginsFolder,
                              std::vector<std::u16string>(parts.begin() + static_cast<ptrdiff_t>(pluginParts.size()), parts.end()));
  return true;
}

bool isRegularFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

void traceOpen(std::u16string_view name, const char* mode, bool ok) {
  if (pf::trace::enabled())
    pf::trace::emit("file", {{"op", "open"}, {"name", pf::trace::utf8(name)}, {"mode", mode}, {"ok", ok}});
}

PfFile* openDevice(std::u16string_view name, const std::string& mode) {
  bool reading = mode == "rb" || mode == "r";
  bool writing = mode == "wb" || mode == "w";
  Resolved where;
  if ((!reading && !writing) || !resolve(name, &where) || pf::faults::openFails(name)) {
    traceOpen(name, mode.c_str(), false);
    return nullptr;
  }
  fs::path target;
  if (reading) {
    if (isRegularFile(where.upper))
      target = where.upper;
    else if (where.lower && !hidden().count(where.key) && isRegularFile(*where.lower))
      target = *where.lower;
    else {
      traceOpen(name, mode.c_str(), false);
      return nullptr;
    }
  } else {
    std::error_code ec;
    if (fs::is_directory(where.upper, ec)) {
      traceOpen(name, mode.c_str(), false);
      return nullptr;
    }
    if (where.lower) fs::create_directories(where.upper.parent_path(), ec);
    target = where.upper;
  }
  std::FILE* stream = std::fopen(target.c_str(), reading ? "rb" : "wb");
  traceOpen(name, mode.c_str(), stream != nullptr);
  if (!stream) return nullptr;
  if (writing) hidden().erase(where.key);
  auto* file = new PfFile;
  file->stream = stream;
  file->name = std::u16string(name);
  file->writing = writing;
  return file;
}

}  // namespace

PfFile* pfFileOpen(const char* name, const char* mode) {
  if (!name || !mode) return nullptr;
  /* Narrow names on the handheld are in its ANSI code page; no plug-in
  ** names a file beyond ASCII, so anything else is refused. */
  std::u16string wide;
  for (const char* p = name; *p; ++p) {
    if (static_cast<unsigned char>(*p) >= 0x80) return nullptr;
    wide += static_cast<char16_t>(*p);
  }
  return openDevice(wide, mode);
}

PfFile* pfFileOpenW(const char16_t* name, const char16_t* mode) {
  if (!name || !mode) return nullptr;
  std::string narrowMode;
  for (const char16_t* p = mode; *p; ++p) {
    if (*p >= 0x80) return nullptr;
    narrowMode += static_cast<char>(*p);
  }
  return openDevice(name, narrowMode);
}

size_t pfFileRead(void* buffer, size_t size, size_t count, PfFile* file) {
  if (!file || !buffer || file->writing) return 0;
  return std::fread(buffer, size, count, file->stream);
}

size_t pfFileWrite(const void* buffer, size_t size, size_t count, PfFile* file) {
  if (!file || !buffer || !file->writing) return 0;
  if (pf::faults::nextWriteFails(file->name)) {
    if (pf::trace::enabled())
      pf::trace::emit("file", {{"op", "write"}, {"name", pf::trace::utf8(file->name)}, {"ok", false}});
    return 0;
  }
  return std::fwrite(buffer, size, count, file->stream);
}

int32_t pfFileSeek(PfFile* file, int64_t offset, int32_t origin) {
  if (!file) return -1;
  int whence = origin == PF_SEEK_CUR ? SEEK_CUR : origin == PF_SEEK_END ? SEEK_END : SEEK_SET;
  return fseeko(file->stream, static_cast<off_t>(offset), whence) == 0 ? 0 : -1;
}

int64_t pfFileTell(PfFile* file) { return file ? static_cast<int64_t>(ftello(file->stream)) : -1; }

int64_t pfFileSize(PfFile* file) {
  if (!file) return -1;
  std::fflush(file->stream);
  struct stat st;
  if (fstat(fileno(file->stream), &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

int32_t pfFileClose(PfFile* file) {
  if (!file) return -1;
  int rc = std::fclose(file->stream);
  if (pf::trace::enabled())
    pf::trace::emit("file", {{"op", "close"}, {"name", pf::trace::utf8(file->name)}});
  delete file;
  return rc == 0 ? 0 : -1;
}

bool pfFileDelete(const char16_t* name) {
  Resolved where;
  if (!name || !resolve(name, &where)) return false;
  std::error_code ec;
  bool removed = isRegularFile(where.upper) && fs::remove(where.upper, ec);
  if (where.lower && isRegularFile(*where.lower) && !hidden().count(where.key)) {
    hidden().insert(where.key);
    removed = true;
  }
  if (pf::trace::enabled())
    pf::trace::emit("file", {{"op", "delete"}, {"name", pf::trace::utf8(name)}, {"ok", removed}});
  return removed;
}
