/*
** The per-user device root (see device_root.h).
*/
#include "serve/device_root.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace fs = std::filesystem;

namespace lumeno {

namespace {

bool makePrivate(const fs::path& dir, std::string* error) {
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
    *error = "cannot create " + dir.string() + ": " + std::strerror(errno);
    return false;
  }
  struct stat st{};
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    *error = dir.string() + " is not a folder";
    return false;
  }
  if (st.st_uid != ::getuid()) {
    *error = dir.string() + " belongs to another user";
    return false;
  }
  if ((st.st_mode & 077) != 0 && ::chmod(dir.c_str(), 0700) != 0) {
    *error = "cannot make " + dir.string() + " private: " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

bool ensurePrivateFolder(const fs::path& folder, std::string* error) {
  /* Parents that do not exist yet are created private too; existing ones
  ** (the home folder, the data folder) are left as they are. */
  fs::path built;
  for (const fs::path& part : folder) {
    built /= part;
    if (built == built.root_path()) continue;
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(built, ec)) && built != folder) continue;
    if (fs::exists(fs::symlink_status(built, ec)) && built != folder &&
        fs::is_directory(fs::status(built, ec)))
      continue; /* a symlinked parent such as /home -> /usr/home */
    if (!makePrivate(built, error)) return false;
  }
  return true;
}

fs::path userDeviceRoot(std::string* error) {
  fs::path base;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg && fs::path(xdg).is_absolute()) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      struct passwd* pw = ::getpwuid(::getuid());
      home = pw ? pw->pw_dir : nullptr;
    }
    if (!home || !*home) {
      *error = "no home folder for the device root (set XDG_DATA_HOME or use --device-root)";
      return {};
    }
    base = fs::path(home) / ".local" / "share";
  }
  fs::path root = base / "lumeno" / "device";
  if (!ensurePrivateFolder(base / "lumeno", error) || !ensurePrivateFolder(root, error))
    return {};
  return root;
}

}  // namespace lumeno
