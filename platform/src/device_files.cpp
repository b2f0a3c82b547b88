/*
** Device files: the handheld's file calls on top of the host's disk.
**
** A device path is a run of components separated by backslashes (forward
** slashes are taken too); a leading separator is optional, so a bare name is
** a file in the device root. Each component is looked up without regard to
** case among the entries of its folder, as the handheld's file system does;
** a name that matches nothing (a file about to be created) keeps the
** spelling it was given. "." and "..", characters the handheld forbids in
** names and anything that would leave the device root make the call fail.
**
** The plug-ins folder is an overlay: its device path (for example
** "\Program Files\Lumeno") shows the device root's own copy of that folder
** over the host folder that holds the plug-in libraries. Reads look in the
** copy first and then in the plug-ins folder; writes and deletes act on the
** copy only, so the plug-ins folder is never changed. Deleting a file that
** the plug-ins folder holds hides it until it is written again; the hidden
** names are kept for the lifetime of the process and the configuration.
**
** Files are plain POSIX descriptors with 64-bit offsets and no buffering of
** our own: plug-ins read and write whole records or blocks.
*/
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "pf/files.h"
#include "pf/host/device.h"
#include "pf/host/faults.h"
#include "pf/host/trace.h"
#include "text_internal.h"

namespace fs = std::filesystem;

struct PfFile {
  int fd = -1;
  bool writing = false;
  std::u16string name; /* the device path as given, for faults and traces */
};

namespace {

using Components = std::vector<std::u16string>;

enum class Mode { read, write, invalid };


/* Names compare without regard to case. Only ASCII letters fold: the
** names the plug-ins use are ASCII or Chinese, which has no case. */
bool sameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (pf::text::foldAscii(a[i]) != pf::text::foldAscii(b[i])) return false;
  return true;
}

std::u16string folded(std::u16string_view s) {
  std::u16string out(s);
  for (auto& c : out) c = pf::text::foldAscii(c);
  return out;
}

bool allowedInName(char16_t c) {
  if (c < 0x20) return false;
  switch (c) {
    case u'<': case u'>': case u':': case u'"': case u'|': case u'?': case u'*':
      return false;
    default:
      return true;
  }
}

/* Splits a device path; nullopt when it is empty, names the root itself or
** holds a component that the device refuses. */
std::optional<Components> splitDevicePath(std::u16string_view path) {
  Components parts;
  std::u16string current;
  auto finish = [&]() -> bool {
    if (current.empty()) return true; /* repeated or leading separators */
    if (current == u"." || current == u"..") return false;
    parts.push_back(std::move(current));
    current.clear();
    return true;
  };
  for (char16_t c : path) {
    if (c == u'\\' || c == u'/') {
      if (!finish()) return std::nullopt;
    } else if (!allowedInName(c)) {
      return std::nullopt;
    } else {
      current += c;
    }
  }
  if (!finish() || parts.empty()) return std::nullopt;
  return parts;
}

fs::path hostName(std::u16string_view component) {
  return fs::path(pf::trace::utf8(component));
}

/* The entry of `folder` whose name equals `name` without regard to case;
** an exact match wins over a folded one so that the result is stable. */
std::optional<fs::path> findEntry(const fs::path& folder, std::u16string_view name) {
  std::error_code ec;
  fs::path exact = folder / hostName(name);
  if (fs::symlink_status(exact, ec).type() != fs::file_type::not_found && !ec) return exact;
  std::optional<fs::path> best;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    fs::path entry = it->path();
    if (!sameName(pf::trace::utf16(entry.filename().string()), name)) continue;
    if (!best || entry.filename() < best->filename()) best = entry;
  }
  return best;
}

bool isFolder(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

bool isFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

/* Follows `parts` from `base`; every component but the last must be an
** existing folder. Returns the host path of the last component (as found,
** or as given when it does not exist), or nullopt when a folder on the way
** is missing. */
std::optional<fs::path> resolveIn(const fs::path& base, const Components& parts, size_t first,
                                  size_t last) {
  fs::path at = base;
  for (size_t i = first; i < last; ++i) {
    std::optional<fs::path> entry = findEntry(at, parts[i]);
    bool lastOne = i + 1 == last;
    if (!entry) {
      if (!lastOne) return std::nullopt;
      return at / hostName(parts[i]);
    }
    if (!lastOne && !isFolder(*entry)) return std::nullopt;
    at = *entry;
  }
  return at;
}

/* Where a device path lands: the device root, or the overlay of the
** plug-ins folder, where `rest` is the part of the path below that folder. */
struct Location {
  Components parts;
  bool inPlugins = false;
  size_t pluginsDepth = 0;   /* components that name the plug-ins folder */
  bool overlayFolder = false; /* the plug-ins folder or one above it */
};

Location locate(Components parts) {
  Location where;
  where.parts = std::move(parts);
  std::optional<Components> plugins = splitDevicePath(pf::host::deviceConfig().pluginsDevicePath);
  if (!plugins) return where;
  size_t shared = std::min(plugins->size(), where.parts.size());
  for (size_t i = 0; i < shared; ++i)
    if (!sameName((*plugins)[i], where.parts[i])) return where;
  /* The folders on the way to the plug-ins folder exist on the device even
  ** when the device root has no copy of them yet. */
  where.overlayFolder = where.parts.size() <= plugins->size();
  if (plugins->size() > where.parts.size()) return where;
  where.inPlugins = true;
  where.pluginsDepth = plugins->size();
  return where;
}

/* Names deleted from the overlay while the plug-ins folder still holds
** them, keyed by the configuration they belong to. */
std::set<std::u16string>& hiddenNames() {
  static std::set<std::u16string> hidden;
  return hidden;
}

std::u16string hiddenKey(const Location& where) {
  const pf::host::DeviceConfig& config = pf::host::deviceConfig();
  std::u16string key = pf::trace::utf16(config.deviceRoot.string());
  key += u'\0';
  key += pf::trace::utf16(config.pluginsFolder.string());
  for (size_t i = where.pluginsDepth; i < where.parts.size(); ++i) {
    key += u'\\';
    key += folded(where.parts[i]);
  }
  return key;
}

bool isHidden(const Location& where) { return hiddenNames().count(hiddenKey(where)) != 0; }

/* The file that a read of `where` sees, or nullopt. */
std::optional<fs::path> fileToRead(const Location& where) {
  const pf::host::DeviceConfig& config = pf::host::deviceConfig();
  if (where.overlayFolder) return std::nullopt;
  std::optional<fs::path> own = resolveIn(config.deviceRoot, where.parts, 0, where.parts.size());
  if (own && isFile(*own)) return own;
  if (own && isFolder(*own)) return std::nullopt;
  if (!where.inPlugins || config.pluginsFolder.empty() || isHidden(where)) return std::nullopt;
  std::optional<fs::path> shipped =
      resolveIn(config.pluginsFolder, where.parts, where.pluginsDepth, where.parts.size());
  if (shipped && isFile(*shipped)) return shipped;
  return std::nullopt;
}

/* Makes sure the device root's copy of the overlay has the folders on the
** way to `where`: those of the plug-ins folder's device path, and those
** below it that the plug-ins folder has. Returns the copy's folder. */
std::optional<fs::path> overlayFolderForWrite(const Location& where) {
  const pf::host::DeviceConfig& config = pf::host::deviceConfig();
  fs::path at = config.deviceRoot;
  fs::path shipped = config.pluginsFolder;
  size_t folders = where.parts.size() - 1;
  for (size_t i = 0; i < folders; ++i) {
    bool below = i >= where.pluginsDepth;
    if (below) {
      std::optional<fs::path> s =
          config.pluginsFolder.empty() ? std::nullopt : findEntry(shipped, where.parts[i]);
      shipped = (s && isFolder(*s)) ? *s : fs::path();
    }
    std::optional<fs::path> entry = findEntry(at, where.parts[i]);
    if (entry) {
      if (!isFolder(*entry)) return std::nullopt;
      at = *entry;
      continue;
    }
    if (below && shipped.empty()) return std::nullopt;
    fs::path made = at / (below ? shipped.filename() : hostName(where.parts[i]));
    std::error_code ec;
    fs::create_directory(made, ec);
    if (ec) return std::nullopt;
    at = made;
  }
  return at;
}

/* The host file that a write of `where` creates or replaces, or nullopt. */
std::optional<fs::path> fileToWrite(const Location& where) {
  const pf::host::DeviceConfig& config = pf::host::deviceConfig();
  if (where.overlayFolder) return std::nullopt;
  if (where.inPlugins && !config.pluginsFolder.empty()) {
    /* A folder of the plug-ins folder shows through the copy: no file over it. */
    std::optional<fs::path> shipped =
        resolveIn(config.pluginsFolder, where.parts, where.pluginsDepth, where.parts.size());
    if (shipped && isFolder(*shipped)) return std::nullopt;
  }
  std::optional<fs::path> folder =
      where.inPlugins ? overlayFolderForWrite(where)
                      : resolveIn(config.deviceRoot, where.parts, 0, where.parts.size() - 1);
  if (!folder || !isFolder(*folder)) return std::nullopt;
  const std::u16string& name = where.parts.back();
  std::optional<fs::path> entry = findEntry(*folder, name);
  if (entry && isFolder(*entry)) return std::nullopt;
  return entry ? *entry : *folder / hostName(name);
}

Mode modeOf(std::u16string_view mode) {
  if (mode == u"rb") return Mode::read;
  if (mode == u"wb") return Mode::write;
  return Mode::invalid;
}

const char* modeText(Mode mode) {
  return mode == Mode::read ? "rb" : mode == Mode::write ? "wb" : "?";
}

PfFile* openDeviceFile(std::u16string_view name, Mode mode) {
  PfFile* result = nullptr;
  std::optional<Components> parts = splitDevicePath(name);
  bool configured = !pf::host::deviceConfig().deviceRoot.empty();
  if (mode != Mode::invalid && parts && configured && !pf::faults::openFails(name)) {
    Location where = locate(std::move(*parts));
    int fd = -1;
    if (mode == Mode::read) {
      if (std::optional<fs::path> file = fileToRead(where))
        fd = ::open(file->c_str(), O_RDONLY | O_CLOEXEC);
    } else if (std::optional<fs::path> file = fileToWrite(where)) {
      fd = ::open(file->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      if (fd >= 0 && where.inPlugins) hiddenNames().erase(hiddenKey(where));
    }
    struct stat st;
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
      ::close(fd);
      fd = -1;
    }
    if (fd >= 0) result = new PfFile{fd, mode == Mode::write, std::u16string(name)};
  }
  pf::trace::emit("file", {{"op", "open"},
                           {"name", pf::trace::utf8(name)},
                           {"mode", modeText(mode)},
                           {"ok", result != nullptr}});
  return result;
}

bool multiplies(size_t size, size_t count, size_t* bytes) {
  return !__builtin_mul_overflow(size, count, bytes);
}

}  // namespace

/* The handheld's narrow names are in its ANSI code page; no plug-in uses a
** narrow name beyond ASCII, so anything else is refused rather than guessed. */
PfFile* pfFileOpen(const char* name, const char* mode) {
  if (!name || !mode) return nullptr;
  std::u16string wideName, wideMode;
  for (const char* p = name; *p; ++p) {
    if (static_cast<unsigned char>(*p) >= 0x80) {
      pf::trace::emit("file", {{"op", "open"}, {"name", "(non-ASCII narrow name)"}, {"ok", false}});
      return nullptr;
    }
    wideName += static_cast<char16_t>(*p);
  }
  for (const char* p = mode; *p; ++p) wideMode += static_cast<char16_t>(static_cast<unsigned char>(*p));
  return openDeviceFile(wideName, modeOf(wideMode));
}

PfFile* pfFileOpenW(const char16_t* name, const char16_t* mode) {
  if (!name || !mode) return nullptr;
  return openDeviceFile(name, modeOf(mode));
}

size_t pfFileRead(void* buffer, size_t size, size_t count, PfFile* file) {
  size_t wanted = 0;
  if (!file || file->writing || !buffer || !multiplies(size, count, &wanted) || wanted == 0)
    return 0;
  char* out = static_cast<char*>(buffer);
  size_t got = 0;
  while (got < wanted) {
    ssize_t n = ::read(file->fd, out + got, wanted - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  return got / size;
}

size_t pfFileWrite(const void* buffer, size_t size, size_t count, PfFile* file) {
  size_t wanted = 0;
  if (!file || !file->writing || !buffer || !multiplies(size, count, &wanted) || wanted == 0)
    return 0;
  if (pf::faults::nextWriteFails(file->name)) {
    pf::trace::emit("file", {{"op", "write"}, {"name", pf::trace::utf8(file->name)},
                             {"ok", false}, {"fault", true}});
    return 0;
  }
  const char* in = static_cast<const char*>(buffer);
  size_t put = 0;
  while (put < wanted) {
    ssize_t n = ::write(file->fd, in + put, wanted - put);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    put += static_cast<size_t>(n);
  }
  if (put < wanted)
    pf::trace::emit("file", {{"op", "write"}, {"name", pf::trace::utf8(file->name)}, {"ok", false}});
  return put / size;
}

int32_t pfFileSeek(PfFile* file, int64_t offset, int32_t origin) {
  if (!file) return -1;
  int whence = origin == PF_SEEK_SET ? SEEK_SET
               : origin == PF_SEEK_CUR ? SEEK_CUR
               : origin == PF_SEEK_END ? SEEK_END
                                       : -1;
  if (whence < 0) return -1;
  return ::lseek(file->fd, static_cast<off_t>(offset), whence) < 0 ? -1 : 0;
}

int64_t pfFileTell(PfFile* file) {
  if (!file) return -1;
  return static_cast<int64_t>(::lseek(file->fd, 0, SEEK_CUR));
}

int64_t pfFileSize(PfFile* file) {
  struct stat st;
  if (!file || ::fstat(file->fd, &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

int32_t pfFileClose(PfFile* file) {
  if (!file) return -1;
  int rc = ::close(file->fd);
  pf::trace::emit("file", {{"op", "close"}, {"name", pf::trace::utf8(file->name)}});
  delete file;
  return rc == 0 ? 0 : -1;
}

bool pfFileDelete(const char16_t* name) {
  if (!name) return false;
  bool deleted = false;
  std::optional<Components> parts = splitDevicePath(name);
  const pf::host::DeviceConfig& config = pf::host::deviceConfig();
  if (parts && !config.deviceRoot.empty()) {
    Location where = locate(std::move(*parts));
    std::optional<fs::path> own = resolveIn(config.deviceRoot, where.parts, 0, where.parts.size());
    std::error_code ec;
    if (!where.overlayFolder && own && isFile(*own) && fs::remove(*own, ec)) deleted = true;
    if (where.inPlugins && !where.overlayFolder && !config.pluginsFolder.empty() &&
        !isHidden(where)) {
      std::optional<fs::path> shipped =
          resolveIn(config.pluginsFolder, where.parts, where.pluginsDepth, where.parts.size());
      if (shipped && isFile(*shipped)) {
        hiddenNames().insert(hiddenKey(where));
        deleted = true;
      }
    }
  }
  pf::trace::emit("file", {{"op", "delete"}, {"name", pf::trace::utf8(name)}, {"ok", deleted}});
  return deleted;
}
