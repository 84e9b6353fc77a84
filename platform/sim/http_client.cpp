#include "platform/sim/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>

namespace platform::sim {

namespace {

struct Body {
  std::string text;
  size_t limit = 0;
  bool overLimit = false;
};

size_t Collect(char* data, size_t size, size_t count, void* user) {
  auto* body = static_cast<Body*>(user);
  const size_t bytes = size * count;
  if (body->text.size() + bytes > body->limit) {
    body->overLimit = true;
    return 0;  // stops the transfer
  }
  body->text.append(data, bytes);
  return bytes;
}

// The host part of a URL in lower case (curl's own parser); "" when it has none.
std::string HostOf(const std::string& url) {
  CURLU* parsed = curl_url();
  if (parsed == nullptr) return {};
  std::string host;
  char* part = nullptr;
  if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_HOST, &part, CURLU_URLDECODE) == CURLUE_OK) {
    host = part;
    curl_free(part);
  }
  curl_url_cleanup(parsed);
  for (char& c : host) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return host;
}

bool IsWebScheme(const std::string& url) {
  auto starts = [&](const char* scheme) {
    const std::string s = scheme;
    if (url.size() < s.size()) return false;
    for (size_t i = 0; i < s.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(url[i])) != s[i]) return false;
    }
    return true;
  };
  return starts("http://") || starts("https://");
}

}  // namespace

bool IsLoopbackHost(const std::string& host) {
  if (host == "localhost" || host == "::1" || host == "[::1]") return true;
  // 127.0.0.0/8 written as four decimal parts.
  int parts[4];
  char tail = 0;
  if (std::sscanf(host.c_str(), "%d.%d.%d.%d%c", &parts[0], &parts[1], &parts[2], &parts[3],
                  &tail) != 4) {
    return false;
  }
  for (int part : parts) {
    if (part < 0 || part > 255) return false;
  }
  return parts[0] == 127;
}

std::optional<std::string> HttpFetch(const std::string& url, const HttpLimits& limits) {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  if (!IsWebScheme(url)) return std::nullopt;
  const std::string host = HostOf(url);
  if (host.empty() || (limits.loopbackOnly && !IsLoopbackHost(host))) return std::nullopt;

  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) return std::nullopt;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(limits.totalTimeoutMs);
  std::string current = url;
  for (int hop = 0; hop <= limits.maxRedirects; ++hop) {
    const long left = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            deadline - std::chrono::steady_clock::now())
                                            .count());
    if (left <= 0) return std::nullopt;
    Body body;
    body.limit = limits.maxBodyBytes;
    CURL* c = curl.get();
    curl_easy_reset(c);
    curl_easy_setopt(c, CURLOPT_URL, current.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);  // redirects are checked below, one by one
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, std::min(limits.connectTimeoutMs, left));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, left);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    if (curl_easy_perform(c) != CURLE_OK || body.overLimit) return std::nullopt;
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 200 && status < 300) return std::move(body.text);
    if (status < 300 || status >= 400) return std::nullopt;
    char* location = nullptr;
    curl_easy_getinfo(c, CURLINFO_REDIRECT_URL, &location);
    if (location == nullptr) return std::nullopt;
    const std::string next = location;
    if (!IsWebScheme(next) || HostOf(next) != host) return std::nullopt;
    current = next;
  }
  return std::nullopt;
}

}  // namespace platform::sim
