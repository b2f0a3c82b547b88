/*
** Switchable faults of platform services, for tests and automation.
*/
#include "pf/host/faults.h"

#include "text_internal.h"

#include <cstdlib>
#include <map>
#include <string>

namespace pf::faults {

namespace {

struct WriteFault {
  uint32_t failingWrite = 1; /* the N-th write fails */
  uint32_t writesSeen = 0;
};

struct Registry {
  bool viewerInit = false;
  bool viewerWindow = false;
  bool platformQuery = false;
  std::map<std::u16string, bool> open;         /* by folded file name */
  std::map<std::u16string, WriteFault> write;  /* by folded file name */
};

Registry& registry() {
  static Registry r;
  return r;
}

/* The last path component, folded: faults name a file, not a folder. */
std::u16string fileKey(std::u16string_view name) {
  size_t cut = name.find_last_of(u"\\/");
  if (cut != std::u16string_view::npos) name = name.substr(cut + 1);
  std::u16string key(name);
  for (auto& c : key) c = pf::text::foldAscii(c);
  return key;
}

std::u16string widen(std::string_view ascii) {
  std::u16string out;
  for (unsigned char c : ascii) out += static_cast<char16_t>(c);
  return out;
}

bool fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

}  // namespace

bool set(std::string_view fault, bool on, std::string* error) {
  Registry& r = registry();
  if (fault == "viewer-init") {
    r.viewerInit = on;
    return true;
  }
  if (fault == "viewer-window") {
    r.viewerWindow = on;
    return true;
  }
  if (fault == "platform-query") {
    r.platformQuery = on;
    return true;
  }
  if (fault.starts_with("open:")) {
    std::string_view name = fault.substr(5);
    if (name.empty()) return fail(error, "fault open:NAME needs a file name");
    if (on)
      r.open[fileKey(widen(name))] = true;
    else
      r.open.erase(fileKey(widen(name)));
    return true;
  }
  if (fault.starts_with("write:")) {
    std::string_view rest = fault.substr(6);
    uint32_t nth = 1;
    size_t colon = rest.rfind(':');
    if (colon != std::string_view::npos) {
      std::string number(rest.substr(colon + 1));
      char* end = nullptr;
      unsigned long value = std::strtoul(number.c_str(), &end, 10);
      if (number.empty() || *end != '\0' || value == 0 || value > 0xFFFFFFFFul)
        return fail(error, "fault write:NAME:N needs a positive count, got \"" + number + "\"");
      nth = static_cast<uint32_t>(value);
      rest = rest.substr(0, colon);
    }
    if (rest.empty()) return fail(error, "fault write:NAME needs a file name");
    if (on)
      r.write[fileKey(widen(rest))] = WriteFault{nth, 0};
    else
      r.write.erase(fileKey(widen(rest)));
    return true;
  }
  return fail(error, "unknown fault \"" + std::string(fault) +
                         "\" (known: viewer-init, viewer-window, platform-query, open:NAME, "
                         "write:NAME[:N])");
}

void clearAll() { registry() = Registry{}; }

bool viewerInitFails() { return registry().viewerInit; }
bool viewerWindowFails() { return registry().viewerWindow; }
bool platformQueryFails() { return registry().platformQuery; }

bool openFails(std::u16string_view fileName) {
  return registry().open.count(fileKey(fileName)) != 0;
}

bool nextWriteFails(std::u16string_view fileName) {
  auto& writes = registry().write;
  auto it = writes.find(fileKey(fileName));
  if (it == writes.end()) return false;
  return ++it->second.writesSeen == it->second.failingWrite;
}

}  // namespace pf::faults
