// A real HTTP server on 127.0.0.1: the web site the simulated desktop's fetches reach in tests and
// in the demo. Each path answers in one of the ways a web site can (a body, an error status, a
// hang, a connection closed mid-body, a redirect), and every request is counted.
#pragma once

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace platform::sim {

struct Answer {
  enum class Kind { Body, Status, Hang, CloseMidBody, Redirect };
  Kind kind = Kind::Body;
  std::string body;
  int status = 200;
  std::string location;  // for Redirect
  std::string contentType = "text/plain";
};

inline Answer Body(std::string text) {
  Answer a;
  a.body = std::move(text);
  return a;
}
inline Answer Status(int status) {
  Answer a;
  a.kind = Answer::Kind::Status;
  a.status = status;
  a.body = "error";
  return a;
}
inline Answer Hang() {
  Answer a;
  a.kind = Answer::Kind::Hang;
  return a;
}
inline Answer CloseMidBody(std::string firstPart) {
  Answer a;
  a.kind = Answer::Kind::CloseMidBody;
  a.body = std::move(firstPart);
  return a;
}
inline Answer Redirect(std::string location) {
  Answer a;
  a.kind = Answer::Kind::Redirect;
  a.status = 302;
  a.location = std::move(location);
  return a;
}

class WebServer {
 public:
  WebServer();   // listening on a free port of 127.0.0.1 when it returns
  ~WebServer();  // releases hanging answers and stops
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  void Set(const std::string& path, Answer answer);
  int Port() const { return port_; }
  std::string Base() const;      // "http://127.0.0.1:<port>"
  std::string HostPort() const;  // "127.0.0.1:<port>"
  int Requests(const std::string& path) const;

 private:
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable released_;
  bool stopping_ = false;
  std::map<std::string, Answer> answers_;
  std::map<std::string, int> requests_;
};

}  // namespace platform::sim
