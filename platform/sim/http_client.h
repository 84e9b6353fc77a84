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
};

// The body of an http or https URL answered with a 2xx status; nothing on any failure: no
// connection, a time-out, an error status, a body cut short or over the limit, too many
// redirects, or a redirect to another host or scheme than http(s).
std::optional<std::string> HttpFetch(const std::string& url, const HttpLimits& limits);

}  // namespace platform::sim
