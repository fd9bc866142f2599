#include "testgateway/recorded_request.h"

#include "http_message.h"

namespace testgateway {

std::string RecordedRequest::header(std::string_view name) const {
  const std::string* value = detail::findHeader(headers, name);
  return value != nullptr ? *value : std::string();
}

bool RecordedRequest::hasHeader(std::string_view name) const {
  return detail::findHeader(headers, name) != nullptr;
}

std::string RecordedRequest::field(std::string_view name) const {
  if (!json || !json->is_object()) return {};
  auto found = json->find(name);
  return found != json->end() && found->is_string() ? found->get<std::string>() : std::string();
}

}  // namespace testgateway
