/*
** Automation: a script of steps, one per line, that drives a plug-in's page
** as a person would and prints what happens as JSON lines. Each step runs
** until the message loop is idle before the next one.
*/
#pragma once

#include <istream>
#include <nlohmann/json.hpp>
#include <string>

#include "plugin_catalog.h"
#include "pf/host/input.h"

namespace lumeno {

struct RunOptions {
  int32_t year = 0, month = 0, day = 0;
  bool trace = false;
};

class ScriptRunner : public pf::host::InputSource {
 public:
  ScriptRunner(std::istream& in, LoadedPlugin& plugin, const RunOptions& options);
  /* Runs the first visit and every step; returns the process exit status. */
  int run();

  pf::host::IdleResult onIdle(
      std::optional<std::chrono::steady_clock::time_point> nextTimer) override;

 private:
  enum class StepResult { Done, Failed, EndOfScript };
  StepResult nextStep(bool pageOpen);
  bool runStep(const std::string& line, bool pageOpen, std::string* error);
  int32_t visit(int32_t year, int32_t month, int32_t day);

  std::istream& in_;
  LoadedPlugin& plugin_;
  RunOptions options_;
  int lineNumber_ = 0;
  bool failed_ = false;   /* a step failed: the run ends with status 2 */
  bool leftOpen_ = false; /* the script ended with a page open: status 1 */
};

void printJson(const nlohmann::json& j);

}  // namespace lumeno
