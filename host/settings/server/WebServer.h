// The served settings host's HTTP side: the page's files and the API, behind
// the access rules. Every API request becomes one job on the thread that owns
// the host (MainThreadQueue); the HTTP threads only hand jobs over and wait.
//
//   GET  /                 the page (index.html), GET /NAME its other files
//   GET  /api/state        the current pane (HostApi::state)
//   POST /api/command      {"command": LINE} -> {"ok", "error", "state"}
//   GET  /api/preview      ?date=YYYY-MM or YYYY-MM-DD (optional)
//
// Every /api request needs "Authorization: Bearer TOKEN" (else 401). Every
// request whose Host is not this server's gets 403, as does a POST from a
// page of another origin. Bodies over 64 KiB get 413, a body that is no
// command 400, errors come as {"error": MESSAGE}. Every answer carries a
// Content-Security-Policy that allows the page's own files only.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "HostApi.h"
#include "MainThreadQueue.h"
#include "ServeAddress.h"
#include "WebFolder.h"

namespace httplib {
class Server;
}

namespace settings_host {

class AccessRules;

class WebServer {
 public:
  WebServer(MainThreadQueue& queue, HostApi& api, WebFolder page, std::string token);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  // Binds the address (port 0: a free port) and returns the port bound;
  // requests are answered from start() on.
  // Throws std::runtime_error when the address cannot be bound.
  int bind(const ServeAddress& address);

  // Answers requests on threads of its own until stop(); returns once it
  // answers.
  void start();

  // Stops listening and waits for the requests in hand to end. Jobs they
  // handed over must have run or been dropped (MainThreadQueue::close).
  void stop();

 private:
  void route();

  MainThreadQueue& queue_;
  HostApi& api_;
  WebFolder page_;
  std::string token_;
  std::unique_ptr<AccessRules> rules_;
  std::unique_ptr<httplib::Server> server_;
  std::thread listener_;
  std::atomic<bool> listenerEnded_{false};
};

}  // namespace settings_host
