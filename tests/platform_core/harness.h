/*
** A small harness for platform tests: an input source that plays a list of
** steps whenever the loop is idle, and helpers to build templates.
*/
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "pf/host/device.h"
#include "pf/host/faults.h"
#include "pf/host/input.h"
#include "pf/host/device_state.h"
#include "pf/host/user.h"
#include "pf/platform.h"

class StepSource : public pf::host::InputSource {
 public:
  std::deque<std::function<void()>> steps;
  pf::host::IdleResult onIdle(std::optional<std::chrono::steady_clock::time_point>) override {
    if (steps.empty()) return pf::host::IdleResult::Abandon;
    auto step = std::move(steps.front());
    steps.pop_front();
    step();
    return pf::host::IdleResult::Handled;
  }
};

/* Runs a user action that must succeed. */
inline void must(bool ok, const std::string& error) { ASSERT_TRUE(ok) << error; }
#define USER(call)              \
  do {                          \
    std::string error_;         \
    bool ok_ = (call);          \
    must(ok_, error_);          \
  } while (0)

class PlatformTest : public ::testing::Test {
 protected:
  StepSource source;
  void SetUp() override {
    pf::host::DeviceConfig config;
    pf::host::configureDevice(config);
    pf::host::useFixedClock(2007, 10, 26, 12, 0, 0);
    pf::faults::clearAll();
    pf::host::clearAbandon();
    pf::host::setInputSource(&source);
  }
  void TearDown() override {
    pf::host::setInputSource(nullptr);
    pf::host::clearAbandon();
  }
};

inline PfDialogTemplate makeTemplate(const std::vector<PfDialogItem>& items,
                                     const char16_t* title = u"Test") {
  return PfDialogTemplate{0x80C80040u, title, 0, 0, 139, 137, u"Tahoma", 9,
                          static_cast<int16_t>(items.size()), items.data()};
}

constexpr uint32_t kChild = PFWS_CHILD | PFWS_VISIBLE;
