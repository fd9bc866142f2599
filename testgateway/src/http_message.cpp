#include "http_message.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace testgateway::detail {
namespace {

constexpr std::size_t kMaxHeadBytes = 64 * 1024;
constexpr std::size_t kMaxBodyBytes = 64 * 1024 * 1024;

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::optional<std::size_t> parseSize(std::string_view text, int base) {
  std::size_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

const char* reasonPhrase(int status) {
  switch (status) {
    case 100: return "Continue";
    case 200: return "OK";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 307: return "Temporary Redirect";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    default: return "Status";
  }
}

}  // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool containsIgnoringCase(std::string_view text, std::string_view part) {
  auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                           [](char x, char y) { return lower(x) == lower(y); });
  return found != text.end() || part.empty();
}

const std::string* findHeader(const HeaderList& headers, std::string_view name) {
  for (const auto& [key, value] : headers) {
    if (equalsIgnoringCase(key, name)) return &value;
  }
  return nullptr;
}

std::string RequestHead::header(std::string_view name) const {
  const std::string* value = findHeader(headers, name);
  return value != nullptr ? *value : std::string();
}

bool RequestHead::hasHeader(std::string_view name) const { return findHeader(headers, name) != nullptr; }

bool RequestHead::keepAlive() const {
  std::string connection = header("Connection");
  if (version == "HTTP/1.0") return containsIgnoringCase(connection, "keep-alive");
  return !containsIgnoringCase(connection, "close");
}

bool RequestReader::fill() {
  char chunk[16384];
  ssize_t n = stream_.read(chunk, sizeof chunk);
  if (n <= 0) return false;
  buffer_.append(chunk, static_cast<std::size_t>(n));
  return true;
}

template <typename T>
std::optional<T> RequestReader::refuse() {
  malformed_ = true;
  return std::nullopt;
}

std::optional<std::string> RequestReader::readLine() {
  for (;;) {
    auto end = buffer_.find("\r\n");
    if (end != std::string::npos) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 2);
      return line;
    }
    if (buffer_.size() > kMaxHeadBytes) return refuse<std::string>();
    if (!fill()) return std::nullopt;
  }
}

std::optional<std::string> RequestReader::readExactly(std::size_t count) {
  while (buffer_.size() < count) {
    if (!fill()) return std::nullopt;
  }
  std::string bytes = buffer_.substr(0, count);
  buffer_.erase(0, count);
  return bytes;
}

std::string RequestReader::takeBuffered() { return std::exchange(buffer_, {}); }

std::optional<RequestHead> RequestReader::readHead() {
  malformed_ = false;
  auto requestLine = readLine();
  while (requestLine && requestLine->empty()) requestLine = readLine();  // stray line ends
  if (!requestLine) return std::nullopt;

  RequestHead head;
  auto firstSpace = requestLine->find(' ');
  auto lastSpace = requestLine->rfind(' ');
  if (firstSpace == std::string::npos || lastSpace == firstSpace) return refuse<RequestHead>();
  head.method = requestLine->substr(0, firstSpace);
  head.target = requestLine->substr(firstSpace + 1, lastSpace - firstSpace - 1);
  head.version = requestLine->substr(lastSpace + 1);
  if (head.version.rfind("HTTP/1.", 0) != 0) return refuse<RequestHead>();

  std::size_t headBytes = requestLine->size();
  for (;;) {
    auto line = readLine();
    if (!line) return std::nullopt;
    if (line->empty()) return head;
    headBytes += line->size();
    auto colon = line->find(':');
    if (colon == std::string::npos || headBytes > kMaxHeadBytes) return refuse<RequestHead>();
    head.headers.emplace_back(std::string(trim(std::string_view(*line).substr(0, colon))),
                              std::string(trim(std::string_view(*line).substr(colon + 1))));
  }
}

std::optional<std::string> RequestReader::readBody(const RequestHead& head) {
  malformed_ = false;
  if (containsIgnoringCase(head.header("Transfer-Encoding"), "chunked")) {
    std::string body;
    for (;;) {
      auto sizeLine = readLine();
      if (!sizeLine) return std::nullopt;
      std::string_view sizeText = trim(std::string_view(*sizeLine).substr(0, sizeLine->find(';')));
      auto size = parseSize(sizeText, 16);
      if (!size || body.size() + *size > kMaxBodyBytes) return refuse<std::string>();
      if (*size == 0) break;
      auto chunk = readExactly(*size);
      if (!chunk) return std::nullopt;
      auto lineEnd = readLine();
      if (!lineEnd) return std::nullopt;
      if (!lineEnd->empty()) return refuse<std::string>();
      body += *chunk;
    }
    for (;;) {  // trailer fields up to the empty line
      auto trailer = readLine();
      if (!trailer) return std::nullopt;
      if (trailer->empty()) return body;
    }
  }
  if (!head.hasHeader("Content-Length")) return std::string();
  auto length = parseSize(trim(head.header("Content-Length")), 10);
  if (!length || *length > kMaxBodyBytes) return refuse<std::string>();
  return readExactly(*length);
}

std::string formatResponse(int status, const HeaderList& headers, std::string_view body) {
  std::string text = "HTTP/1.1 " + std::to_string(status) + " " + reasonPhrase(status) + "\r\n";
  for (const auto& [name, value] : headers) text += name + ": " + value + "\r\n";
  text += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  text += body;
  return text;
}

}  // namespace testgateway::detail
