/*
** The device as the browser drives it, on the one user-interface thread
** that owns the platform. With no page open it waits for the calendar's
** "open plug-in NAME for date Y-M-D"; while a page is open its message loop
** asks this input source for input whenever it is idle. Either way the
** session first publishes the state if it changed, then waits for queued
** input or the next timer, performs one input and returns to the loop.
*/
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "plugin_catalog.h"
#include "pf/host/input.h"
#include "serve/input_queue.h"
#include "serve/published_state.h"

namespace lumeno {

/* Longest HTML document handed to the browser; longer ones are cut. */
constexpr std::size_t kMaxDocumentBytes = 256 * 1024;
/* Longest typed text taken from the browser, in UTF-16 units, before the
** control's own limit cuts it further. */
constexpr std::size_t kMaxTypedUnits = 4096;

class DeviceSession : public pf::host::InputSource {
 public:
  DeviceSession(std::vector<LoadedPlugin> plugins, InputQueue& queue, PublishedState& state);
  /* Serves the calendar and every page until the queue is closed. */
  void run();

  pf::host::IdleResult onIdle(
      std::optional<std::chrono::steady_clock::time_point> nextTimer) override;

 private:
  struct Refusal {
    int status;
    std::string message;
  };
  void publish();
  bool stale(const InputRequest& r) const;
  void openPage(InputRequest& r);
  /* Performs one input on the open page; nullopt when it was performed. */
  std::optional<Refusal> perform(const nlohmann::json& action);
  nlohmann::json buildState() const;

  std::vector<LoadedPlugin> plugins_;
  nlohmann::json pluginList_;
  InputQueue& queue_;
  PublishedState& state_;
  std::vector<std::shared_ptr<InputOutcome>> awaiting_;
  uint64_t actedVersion_ = 0;
  bool pageOpen_ = false;
  nlohmann::json page_;       /* {"plugin","date"} of the open page */
  nlohmann::json lastResult_; /* {"plugin","date","showDay"} of the last visit */
};

/* Typed text from the browser: valid UTF-8 only, cut to kMaxTypedUnits
** UTF-16 units (never inside a surrogate pair). */
bool typedText(const std::string& utf8, std::u16string* out);
/* An HTML document cut to at most `limit` bytes at a character boundary. */
std::string capDocument(const std::string& html, std::size_t limit, bool* cut);

}  // namespace lumeno
