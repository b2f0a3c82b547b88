/*
** Request checks of the emulator's server (see request_guard.h).
*/
#include "serve/request_guard.h"

namespace lumeno::guard {

namespace {

bool queryCharOk(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '=' ||
         c == '&' || c == '_' || c == '-' || c == '.';
}

bool pathCharOk(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
         c == '_' || c == '-' || c == '.';
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string_view queryOf(std::string_view target) {
  auto q = target.find('?');
  return q == std::string_view::npos ? std::string_view{} : target.substr(q + 1);
}

}  // namespace

std::string cookieName(int port) { return "lumeno_token_" + std::to_string(port); }

bool sameSecret(std::string_view a, std::string_view b) {
  if (a.size() != b.size() || a.empty()) return false;
  unsigned char diff = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    diff = static_cast<unsigned char>(diff | (a[i] ^ b[i]));
  return diff == 0;
}

std::optional<std::string_view> cookieValue(std::string_view header, std::string_view name) {
  while (!header.empty()) {
    auto semi = header.find(';');
    std::string_view pair = trim(header.substr(0, semi));
    header = semi == std::string_view::npos ? std::string_view{} : header.substr(semi + 1);
    auto eq = pair.find('=');
    if (eq != std::string_view::npos && trim(pair.substr(0, eq)) == name)
      return trim(pair.substr(eq + 1));
  }
  return std::nullopt;
}

std::optional<std::string_view> cleanPath(std::string_view target) {
  /* Origin form only: "http://host/x" (absolute form) and "*" are refused. */
  if (target.empty() || target[0] != '/' || target.starts_with("//")) return std::nullopt;
  auto q = target.find('?');
  std::string_view path = target.substr(0, q);
  std::string_view query = q == std::string_view::npos ? std::string_view{} : target.substr(q + 1);
  /* The served paths are plain names: no percent escapes at all, so no
  ** encoded dot, slash, backslash or NUL can slip through a decoder. */
  for (char c : path)
    if (!pathCharOk(c)) return std::nullopt;
  for (char c : query)
    if (!queryCharOk(c)) return std::nullopt;
  std::size_t start = 1;
  while (start <= path.size()) {
    auto end = path.find('/', start);
    std::string_view segment =
        path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (segment == "." || segment == "..") return std::nullopt;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return path;
}

Verdict checkTransport(const RequestFacts& r, const GuardConfig& c) {
  if (r.headerBytes > c.maxHeaderBytes) return Verdict::refuse(431, "request headers too large");
  std::string port = std::to_string(c.port);
  if (!r.host || (*r.host != "127.0.0.1:" + port && *r.host != "localhost:" + port))
    return Verdict::refuse(403, "foreign Host");
  if (r.target.find('\0') != std::string_view::npos || !cleanPath(r.target))
    return Verdict::refuse(400, "bad request target");
  if (r.method != "GET" && r.method != "POST") return Verdict::refuse(405, "method not allowed");
  return Verdict::pass();
}

Verdict checkAccess(const RequestFacts& r, const GuardConfig& c, bool* viaQuery) {
  *viaQuery = false;
  if (r.cookie) {
    auto value = cookieValue(*r.cookie, cookieName(c.port));
    if (value && sameSecret(*value, c.token)) return Verdict::pass();
  }
  std::string_view path = *cleanPath(r.target);
  std::string_view query = queryOf(r.target);
  if (r.method == "GET" && path == "/" && query.starts_with("token=") &&
      sameSecret(query.substr(6), c.token)) {
    *viaQuery = true;
    return Verdict::pass();
  }
  return Verdict::refuse(403, "missing or wrong access token: open the address that lumeno printed");
}

Verdict checkInput(const RequestFacts& r, const GuardConfig&) {
  if (r.method != "POST") return Verdict::refuse(405, "input is sent by POST");
  if (!r.origin || *r.origin != "http://" + std::string(*r.host))
    return Verdict::refuse(403, "input from a foreign origin");
  if (r.secFetchSite && *r.secFetchSite != "same-origin")
    return Verdict::refuse(403, "cross-site input");
  if (!r.contentType || !(r.contentType->starts_with("application/json")))
    return Verdict::refuse(415, "input is a JSON body");
  return Verdict::pass();
}

}  // namespace lumeno::guard
