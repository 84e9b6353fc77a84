// The web as the Linux desktop reaches it: one bounded HTTP GET through libcurl.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace platform::sim {

struct HttpLimits {
  long connectTimeoutMs = 5000;
  long totalTimeoutMs = 15000;        // the whole fetch, redirects included
  size_t maxBodyBytes = 1024 * 1024;  // a longer body is a failure, not a cut text
  int maxRedirects = 3;               // followed only to the same host
  // The simulated desktop's web is this machine: any other host fails at once, without a
  // name lookup, so no test or demo run sends anything outside.
  bool loopbackOnly = true;
};

// True for the host names of this machine: localhost, 127.x.x.x, ::1.
bool IsLoopbackHost(const std::string& host);

// The body of an http or https URL answered with a 2xx status; nothing on any failure: no
// connection, a time-out, an error status, a body cut short or over the limit, too many
// redirects, a redirect to another host or scheme than http(s), or (loopbackOnly) a host that
// is not this machine.
std::optional<std::string> HttpFetch(const std::string& url, const HttpLimits& limits);

}  // namespace platform::sim
