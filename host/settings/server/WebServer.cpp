#include "WebServer.h"

#include <httplib.h>

#include <cctype>
#include <chrono>
#include <regex>
#include <stdexcept>

#include "AccessRules.h"
#include "CommandText.h"

namespace settings_host {
namespace {

constexpr std::size_t kMaxBody = 64 * 1024;
constexpr const char* kJson = "application/json; charset=utf-8";

void answer(httplib::Response& res, int status, std::string json) {
  res.status = status;
  // What set_content does, without copying a body that may be a megabyte.
  res.body = std::move(json);
  res.headers.erase("Content-Type");
  res.set_header("Content-Type", kJson);
}

void refuse(httplib::Response& res, int status, std::string_view message) {
  answer(res, status, errorJSON(message));
}

// What a job on the host's thread answers.
struct Reply {
  int status;
  std::string json;
};

// An answer computed on the host's thread; 503 when the host stopped first.
template <class Job>
void answerFromHost(MainThreadQueue& queue, httplib::Response& res, Job job) {
  std::optional<Reply> reply = queue.run(std::move(job));
  if (reply)
    answer(res, reply->status, std::move(reply->json));
  else
    refuse(res, 503, "the settings host is stopping");
}

// Whether a Content-Type names JSON (media types ignore letter case).
bool isJson(std::string type) {
  type = type.substr(0, type.find(';'));
  while (!type.empty() && type.back() == ' ') type.pop_back();
  for (char& c : type) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return type == "application/json";
}

std::string messageFor(int status) {
  switch (status) {
    case 400: return "the request is malformed";
    case 404: return "there is nothing here";
    case 405: return "only GET and POST are taken";
    case 413: return "the request body is over 64 KiB";
    case 414: return "the request address is too long";
    default: return "the request failed (HTTP " + std::to_string(status) + ")";
  }
}

}  // namespace

WebServer::WebServer(MainThreadQueue& queue, HostApi& api, WebFolder page, std::string token)
    : queue_(queue), api_(api), page_(std::move(page)), token_(std::move(token)),
      server_(std::make_unique<httplib::Server>()) {
  route();
}

WebServer::~WebServer() { stop(); }

int WebServer::bind(const ServeAddress& address) {
  int port = address.port;
  bool bound = port == 0 ? (port = server_->bind_to_any_port(address.host)) > 0
                         : server_->bind_to_port(address.host, port);
  if (!bound)
    throw std::runtime_error("cannot listen on " + urlHost(address.host) + ":" + std::to_string(address.port) +
                             " (in use, or not an address of this machine)");
  rules_ = std::make_unique<AccessRules>(token_, address.host, port);
  return port;
}

void WebServer::route() {
  httplib::Server& server = *server_;
  server.set_payload_max_length(kMaxBody);
  // Headers and body go out in separate writes: without this (set before
  // the socket is made, which the connections inherit), delayed
  // acknowledgements hold every answer back by tens of milliseconds.
  server.set_tcp_nodelay(true);
  // Idle connections of a browser left open end soon, so stopping is quick.
  server.set_keep_alive_timeout(2);
  server.set_default_headers({
      {"Content-Security-Policy", "default-src 'self'; img-src 'self' data:"},
      {"X-Content-Type-Options", "nosniff"},
      {"X-Frame-Options", "DENY"},
      {"Referrer-Policy", "no-referrer"},
      {"Cache-Control", "no-store"},
  });

  // The rules, before any body is read.
  server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (!rules_->hostAllowed(req.get_header_value("Host"))) {
      refuse(res, 403, "this server answers only to its own address, localhost or 127.0.0.1, with its port");
    } else if (req.path.rfind("/api/", 0) == 0 && !rules_->authorized(req.get_header_value("Authorization"))) {
      res.set_header("WWW-Authenticate", "Bearer");
      refuse(res, 401, "the API needs \"Authorization: Bearer TOKEN\" with the token the host printed");
    } else if (req.method == "POST" && req.has_header("Origin") &&
               !rules_->originAllowed(req.get_header_value("Origin"))) {
      refuse(res, 403, "commands are taken only from the host's own page");
    } else {
      return httplib::Server::HandlerResponse::Unhandled;
    }
    // What the client sends after a refused request is not read.
    res.set_header("Connection", "close");
    return httplib::Server::HandlerResponse::Handled;
  });

  server.Get("/api/state", [this](const httplib::Request&, httplib::Response& res) {
    answerFromHost(queue_, res, [this] { return Reply{200, api_.state()}; });
  });

  // The body is read here, in pieces, so that no body is held beyond the
  // limit, whether its length is announced or it comes in chunks.
  server.Post("/api/command", [this](const httplib::Request& req, httplib::Response& res,
                                     const httplib::ContentReader& read) {
    if (!isJson(req.get_header_value("Content-Type"))) {
      res.set_header("Connection", "close");
      return refuse(res, 415, "send the command as JSON, with \"Content-Type: application/json\"");
    }
    std::string body;
    bool tooLarge = false;
    bool complete = read([&](const char* data, std::size_t size) {
      tooLarge = body.size() + size > kMaxBody;
      if (!tooLarge) body.append(data, size);
      return !tooLarge;
    });
    if (!complete) {
      res.set_header("Connection", "close");
      return refuse(res, tooLarge || res.status == 413 ? 413 : 400,
                    messageFor(tooLarge || res.status == 413 ? 413 : 400));
    }
    std::string line;
    try {
      line = commandOfBody(body);
    } catch (const BadRequest& e) {
      return refuse(res, 400, e.what());
    }
    answerFromHost(queue_, res, [this, line] { return Reply{200, api_.command(line)}; });
  });

  server.Get("/api/preview", [this](const httplib::Request& req, httplib::Response& res) {
    std::string date = req.get_param_value("date");
    if (req.get_param_value_count("date") > 1 || (req.has_param("date") && date.empty()))
      return refuse(res, 400, "give one date: ?date=YYYY-MM or ?date=YYYY-MM-DD");
    answerFromHost(queue_, res, [this, date] {
      try {
        return Reply{200, api_.preview(date)};
      } catch (const CommandError& e) {
        return Reply{400, errorJSON(e.what())};
      }
    });
  });

  server.Get("/api/.*", [](const httplib::Request&, httplib::Response& res) {
    refuse(res, 404, "no such API: GET /api/state, POST /api/command, GET /api/preview");
  });

  server.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
    const WebFile* file = page_.find(req.path);
    if (!file) return refuse(res, 404, messageFor(404));
    res.set_content(file->body, file->contentType.c_str());
  });

  auto otherMethod = [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Allow", "GET, POST");
    refuse(res, 405, messageFor(405));
  };
  server.Put(".*", otherMethod);
  server.Patch(".*", otherMethod);
  server.Delete(".*", otherMethod);
  server.Options(".*", otherMethod);

  // Errors the library makes itself (404 for other paths and methods, 413,
  // malformed requests) are JSON too.
  server.set_error_handler(httplib::Server::HandlerWithResponse(
      [](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        refuse(res, res.status, messageFor(res.status));
        return httplib::Server::HandlerResponse::Handled;
      }));
}

void WebServer::start() {
  listener_ = std::thread([this] {
    server_->listen_after_bind();
    listenerEnded_ = true;
  });
  // The library's stop() does nothing until the listener runs: wait for it.
  while (!server_->is_running() && !listenerEnded_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void WebServer::stop() {
  if (!listener_.joinable()) return;
  server_->stop();
  listener_.join();
}

}  // namespace settings_host
