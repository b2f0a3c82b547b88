/*
** Trace of platform events (messages to HTML viewer windows, text changes
** of controls, device file operations, timers, windows created and
** destroyed). The host installs a sink; without one nothing is recorded.
*/
#pragma once

#include <functional>
#include <nlohmann/json.hpp>

#include "pf/types.h"

namespace pf::trace {

using Sink = std::function<void(const nlohmann::json& event)>;
PF_API void setSink(Sink sink);
PF_API bool enabled();
/* Sends {"event": kind, ...fields} to the sink, if there is one. */
PF_API void emit(const char* kind, nlohmann::json fields);

/* UTF-16 to UTF-8 for JSON output (invalid units become U+FFFD). */
PF_API std::string utf8(std::u16string_view text);
PF_API std::u16string utf16(std::string_view text);

}  // namespace pf::trace
