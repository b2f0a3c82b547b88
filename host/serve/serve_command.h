/*
** `lumeno serve`: the device emulator in the browser.
*/
#pragma once

#include <string>
#include <vector>

namespace lumeno {

constexpr int kDefaultServePort = 8240;

/* Runs until interrupted; returns the exit status. */
int serveCommand(const std::vector<std::string>& args);

}  // namespace lumeno
