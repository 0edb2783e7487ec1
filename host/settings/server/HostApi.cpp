#include "HostApi.h"

#include <nlohmann/json.hpp>

#include <optional>

#include "Json.h"
#include "SettingsHost.h"

namespace settings_host {

HostApi::HostApi(SettingsHost& host, std::string language) : host_(host), language_(std::move(language)) {}

// Built by appending to one string: a state of ten thousand rows is a
// megabyte, and every copy of it costs.
std::string HostApi::state() {
  std::string json = host_.dump();
  json.pop_back();  // the dump's closing brace
  json += ", \"stack\": [";
  std::vector<std::string> titles = host_.stackTitles();
  for (std::size_t i = 0; i < titles.size(); ++i) {
    if (i) json += ", ";
    json += jsonString(titles[i]);
  }
  json += "], \"lang\": ";
  json += jsonString(language_);
  json += '}';
  return json;
}

std::string HostApi::command(const std::string& line) {
  std::optional<std::string> error;
  try {
    host_.execute(line);
  } catch (const std::exception& e) {
    error = e.what();
  }
  std::string answer = std::string("{\"ok\": ") + (error ? "false" : "true") +
                       ", \"error\": " + (error ? jsonString(*error) : "null") + ", \"state\": ";
  answer += state();
  answer += '}';
  return answer;
}

std::string HostApi::preview(const std::string& date) { return host_.previewJSON(date); }

std::string commandOfBody(std::string_view body) {
  nlohmann::json request;
  try {
    request = nlohmann::json::parse(body);
  } catch (const nlohmann::json::exception& e) {
    throw BadRequest(std::string("the body is not JSON: ") + e.what());
  }
  if (!request.is_object()) throw BadRequest("the body must be a JSON object: {\"command\": \"...\"}");
  auto command = request.find("command");
  if (command == request.end()) throw BadRequest("the body has no \"command\": send {\"command\": \"...\"}");
  if (!command->is_string()) throw BadRequest("\"command\" must be a string, not " + std::string(command->type_name()));
  const std::string& line = command->get_ref<const std::string&>();
  if (line.find_first_of("\r\n") != std::string::npos)
    throw BadRequest("\"command\" must be one line: it holds a line break");
  return line;
}

std::string errorJSON(std::string_view message) { return "{\"error\": " + jsonString(message) + "}"; }

}  // namespace settings_host
