/*
** The per-user device root of `lumeno serve`: the handheld's file system
** (and so a user's own records) kept under the user's data directory,
** $XDG_DATA_HOME/lumeno/device or ~/.local/share/lumeno/device, readable by
** the owner only.
*/
#pragma once

#include <filesystem>
#include <string>

namespace lumeno {

/* Creates (0700) or checks the folder; an existing one must be a real
** folder owned by this user, and loses any group or other permissions.
** Empty path with a message on failure. */
std::filesystem::path userDeviceRoot(std::string* error);
/* The same for a given folder and the parents that it creates. */
bool ensurePrivateFolder(const std::filesystem::path& folder, std::string* error);

}  // namespace lumeno
