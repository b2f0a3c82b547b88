/*
** The checks every request to the emulator passes before it is routed. The
** server listens on loopback only, but a web page in the same browser can
** still reach it (DNS rebinding, cross-site forms and fetches), so:
**   - the Host header must be exactly 127.0.0.1:PORT or localhost:PORT;
**   - the target must be origin-form ("/path?query"): no absolute form, no
**     percent-encoded dots, slashes, backslashes or NULs, no "..";
**   - every request carries the access token, as the cookie that the
**     printed address set (only GET / may carry it in its query);
**   - input (POST) needs a JSON body and an Origin equal to the Host.
*/
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumeno::guard {

struct Verdict {
  int status = 0; /* 0: passed; else the HTTP status of the refusal */
  std::string reason;
  static Verdict pass() { return {}; }
  static Verdict refuse(int code, std::string why) { return {code, std::move(why)}; }
  bool passed() const { return status == 0; }
};

/* What the guard needs of a request, independent of the HTTP library. */
struct RequestFacts {
  std::string_view method;
  std::string_view target; /* as sent, undecoded */
  std::optional<std::string_view> host;
  std::optional<std::string_view> origin;
  std::optional<std::string_view> cookie;
  std::optional<std::string_view> contentType;
  std::optional<std::string_view> secFetchSite;
  std::size_t headerBytes = 0;
};

struct GuardConfig {
  int port = 0;
  std::string token;
  std::size_t maxHeaderBytes = 16 * 1024;
};

/* Name of the cookie that carries the token: per port, so that two hosts on
** one machine do not overwrite each other's. */
std::string cookieName(int port);
/* Constant-time comparison, so that the token cannot be guessed by timing. */
bool sameSecret(std::string_view a, std::string_view b);
/* The value of cookie `name` in a Cookie header. */
std::optional<std::string_view> cookieValue(std::string_view header, std::string_view name);
/* The path part of an origin-form target, or nullopt when the target is not
** a clean origin-form target. */
std::optional<std::string_view> cleanPath(std::string_view target);

/* Host, target and size checks; the token and the origin come after. */
Verdict checkTransport(const RequestFacts& r, const GuardConfig& c);
/* The token cookie, or the token in the query of "GET /?token=...". Sets
** *viaQuery when the query carried it (the answer then sets the cookie). */
Verdict checkAccess(const RequestFacts& r, const GuardConfig& c, bool* viaQuery);
/* Input: POST with a JSON body from the page's own origin. */
Verdict checkInput(const RequestFacts& r, const GuardConfig& c);

}  // namespace lumeno::guard
