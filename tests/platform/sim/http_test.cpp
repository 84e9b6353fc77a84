// The simulated desktop's HttpGet is a real fetch: bounded in time and size, errors as failure,
// redirects only within the host.
#include <gtest/gtest.h>

#include "platform/sim/desktop.h"
#include "platform/sim/http_client.h"
#include "platform/sim/web_server.h"

namespace {

using platform::sim::HttpFetch;
using platform::sim::HttpLimits;
using platform::sim::WebServer;

HttpLimits Short() {
  HttpLimits limits;
  limits.connectTimeoutMs = 300;
  limits.totalTimeoutMs = 300;
  limits.maxBodyBytes = 4096;
  return limits;
}

TEST(HttpFetch, ReturnsTheBodyByteForByte) {
  WebServer server;
  const std::string text = "\xEF\xBB\xBF 2.0.55\r\n\x01\xFF";
  server.Set("/v.txt", platform::sim::Body(text));
  EXPECT_EQ(HttpFetch(server.Base() + "/v.txt", Short()), text);
  server.Set("/empty.txt", platform::sim::Body(""));
  EXPECT_EQ(HttpFetch(server.Base() + "/empty.txt", Short()), "");
}

TEST(HttpFetch, ErrorStatusesFail) {
  WebServer server;
  server.Set("/gone", platform::sim::Status(404));
  server.Set("/broken", platform::sim::Status(500));
  EXPECT_FALSE(HttpFetch(server.Base() + "/gone", Short()).has_value());
  EXPECT_FALSE(HttpFetch(server.Base() + "/broken", Short()).has_value());
  EXPECT_FALSE(HttpFetch(server.Base() + "/never-set", Short()).has_value());
  EXPECT_EQ(server.Requests("/gone"), 1);
}

TEST(HttpFetch, AServerThatHangsTimesOut) {
  WebServer server;
  server.Set("/slow", platform::sim::Hang());
  EXPECT_FALSE(HttpFetch(server.Base() + "/slow", Short()).has_value());
}

TEST(HttpFetch, ABodyCutShortOrTooLongFails) {
  WebServer server;
  server.Set("/cut", platform::sim::CloseMidBody(std::string(1000, 'a')));
  EXPECT_FALSE(HttpFetch(server.Base() + "/cut", Short()).has_value());
  server.Set("/huge", platform::sim::Body(std::string(4097, 'x')));
  EXPECT_FALSE(HttpFetch(server.Base() + "/huge", Short()).has_value());
  server.Set("/fits", platform::sim::Body(std::string(4096, 'x')));
  EXPECT_EQ(HttpFetch(server.Base() + "/fits", Short())->size(), 4096u);
}

TEST(HttpFetch, RedirectsAreFollowedOnlyWithinTheHost) {
  WebServer server;
  WebServer other;
  server.Set("/old", platform::sim::Redirect("/new"));
  server.Set("/new", platform::sim::Body("moved"));
  EXPECT_EQ(HttpFetch(server.Base() + "/old", Short()), "moved");

  other.Set("/elsewhere", platform::sim::Body("other host"));
  // 127.0.0.1 and localhost are different hosts to the rules, as they would be on the web.
  server.Set("/away", platform::sim::Redirect("http://localhost:" + std::to_string(other.Port()) +
                                              "/elsewhere"));
  EXPECT_FALSE(HttpFetch(server.Base() + "/away", Short()).has_value());
  EXPECT_EQ(other.Requests("/elsewhere"), 0);

  server.Set("/loop", platform::sim::Redirect("/loop"));
  EXPECT_FALSE(HttpFetch(server.Base() + "/loop", Short()).has_value());
  EXPECT_EQ(server.Requests("/loop"), Short().maxRedirects + 1);
}

TEST(HttpFetch, OnlyWebAddressesAreFetched) {
  EXPECT_FALSE(HttpFetch("file:///etc/hostname", Short()).has_value());
  EXPECT_FALSE(HttpFetch("ftp://127.0.0.1/x", Short()).has_value());
  EXPECT_FALSE(HttpFetch("not a url", Short()).has_value());
  // Nothing listens on port 1.
  EXPECT_FALSE(HttpFetch("http://127.0.0.1:1/x", Short()).has_value());
}

TEST(HttpFetch, TheSimulatedDesktopReachesOnlyThisMachine) {
  WebServer server;
  server.Set("/x", platform::sim::Body("here"));
  EXPECT_EQ(HttpFetch("http://localhost:" + std::to_string(server.Port()) + "/x", Short()), "here");
  EXPECT_EQ(HttpFetch(server.Base() + "/x", Short()), "here");
  // Refused before any name lookup or connection.
  EXPECT_FALSE(HttpFetch("http://www.morvanesoftware.com/IMVersion.txt", Short()).has_value());
  EXPECT_FALSE(HttpFetch("http://128.0.0.1/x", Short()).has_value());
  EXPECT_FALSE(HttpFetch("http://127.0.0.1.example.com/x", Short()).has_value());
  for (const char* host : {"localhost", "127.0.0.1", "127.255.3.4", "::1"}) {
    EXPECT_TRUE(platform::sim::IsLoopbackHost(host)) << host;
  }
  for (const char* host : {"127.0.0", "127.0.0.256", "10.0.0.1", "localhost.net", ""}) {
    EXPECT_FALSE(platform::sim::IsLoopbackHost(host)) << host;
  }
}

TEST(HttpFetch, TheDesktopRecordsEachFetchAndItsOutcome) {
  WebServer server;
  server.Set("/ok", platform::sim::Body("yes"));
  platform::sim::DesktopOptions options;
  options.http = Short();
  platform::sim::Desktop desk(options);
  EXPECT_EQ(desk.HttpGet(server.Base() + "/ok"), "yes");
  EXPECT_FALSE(desk.HttpGet(server.Base() + "/missing").has_value());
  ASSERT_EQ(desk.Events().size(), 2u);
  EXPECT_EQ(desk.Events()[0].kind, platform::sim::Event::Kind::HttpGet);
  EXPECT_EQ(desk.Events()[0].detail, "ok");
  EXPECT_EQ(desk.Events()[1].detail, "fail");
}

}  // namespace
