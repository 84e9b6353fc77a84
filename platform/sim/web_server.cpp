#include "platform/sim/web_server.h"

#include <httplib.h>

#include <chrono>

namespace platform::sim {

WebServer::WebServer() : server_(std::make_unique<httplib::Server>()) {
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    Answer answer;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++requests_[request.path];
      auto it = answers_.find(request.path);
      if (it == answers_.end()) {
        response.status = 404;
        return;
      }
      answer = it->second;
    }
    switch (answer.kind) {
      case Answer::Kind::Body:
        response.set_content(answer.body, answer.contentType.c_str());
        break;
      case Answer::Kind::Status:
        response.status = answer.status;
        response.set_content(answer.body, "text/plain");
        break;
      case Answer::Kind::Hang: {
        // Held until the server stops (at most a few seconds), far past any fetch's time-out.
        std::unique_lock<std::mutex> lock(mutex_);
        released_.wait_for(lock, std::chrono::seconds(5), [this] { return stopping_; });
        response.set_content("late", "text/plain");
        break;
      }
      case Answer::Kind::CloseMidBody: {
        const std::string part = answer.body;
        // Promises twice the bytes, sends half, and drops the connection.
        response.set_content_provider(part.size() * 2, "text/plain",
                                      [part](size_t offset, size_t, httplib::DataSink& sink) {
                                        if (offset == 0) sink.write(part.data(), part.size());
                                        return offset == 0;
                                      });
        break;
      }
      case Answer::Kind::Redirect:
        response.status = answer.status;
        response.set_header("Location", answer.location);
        break;
    }
  });
  port_ = server_->bind_to_any_port("127.0.0.1");
  // The socket listens from the bind on, so requests queue until the thread accepts them.
  thread_ = std::thread([this] { server_->listen_after_bind(); });
}

WebServer::~WebServer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  released_.notify_all();
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

void WebServer::Set(const std::string& path, Answer answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[path] = std::move(answer);
}

std::string WebServer::Base() const {
  return "http://" + HostPort();
}

std::string WebServer::HostPort() const {
  return "127.0.0.1:" + std::to_string(port_);
}

int WebServer::Requests(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = requests_.find(path);
  return it == requests_.end() ? 0 : it->second;
}

}  // namespace platform::sim
