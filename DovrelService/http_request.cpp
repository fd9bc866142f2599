#include "http_request.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameLetters(std::string_view a, std::string_view b)
{
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) {
      return false;
    }
  }
  return true;
}

void SkipBlanks(std::string_view text, size_t& at)
{
  while (at < text.size() && IsBlank(text[at])) {
    ++at;
  }
}

// The text from at up to a blank or the line's end; at moves past it.
std::string_view Word(std::string_view text, size_t& at)
{
  size_t start = at;
  while (at < text.size() && !IsBlank(text[at]) && !IsLineEnd(text[at])) {
    ++at;
  }
  return text.substr(start, at - start);
}

// The rest of the line from at, without its CR LF.
std::string_view RestOfLine(std::string_view text, size_t at)
{
  size_t end = at;
  while (end < text.size() && !IsLineEnd(text[end])) {
    ++end;
  }
  return text.substr(at, end - at);
}

}  // namespace

size_t FindHeadEnd(std::string_view text)
{
  for (size_t lineFeed = text.find('\n'); lineFeed != std::string_view::npos; lineFeed = text.find('\n', lineFeed + 1)) {
    size_t next = lineFeed + 1;
    if (next < text.size() && text[next] == '\n') {
      return next + 1;
    }
    if (next + 1 < text.size() && text[next] == '\r' && text[next + 1] == '\n') {
      return next + 2;
    }
  }
  return std::string_view::npos;
}

std::string_view HeaderValue(std::string_view head, std::string_view name)
{
  // Header lines follow the request line.
  for (size_t line = head.find('\n'); line != std::string_view::npos; line = head.find('\n', line)) {
    ++line;
    std::string_view text = RestOfLine(head, line);
    if (text.size() > name.size() && text[name.size()] == ':' && SameLetters(text.substr(0, name.size()), name)) {
      size_t value = name.size() + 1;
      SkipBlanks(text, value);
      return text.substr(value);
    }
  }
  return {};
}

int ContentLength(std::string_view head)
{
  std::string_view value = HeaderValue(head, "Content-Length");
  int length = 0;
  for (size_t i = 0; i < value.size() && i < 9 && value[i] >= '0' && value[i] <= '9'; ++i) {
    length = length * 10 + (value[i] - '0');
  }
  return length;
}

bool ParseHttpRequest(CHttpRequest& request, std::string_view text)
{
  size_t headEnd = FindHeadEnd(text);
  std::string_view head = text.substr(0, headEnd);

  size_t at = 0;
  SkipBlanks(head, at);
  request.methodText = Word(head, at);
  request.method = request.methodText == "GET" ? kHttpGet : request.methodText == "POST" ? kHttpPost : kHttpOtherMethod;
  request.valid = request.method != kHttpOtherMethod;
  if (!request.valid) {
    return false;
  }
  SkipBlanks(head, at);
  std::string_view url = Word(head, at);
  SkipBlanks(head, at);
  request.version = RestOfLine(head, at);
  request.referer = HeaderValue(head, "Referer");
  request.host = HeaderValue(head, "Host");

  size_t question = url.find('?');
  if (question != std::string_view::npos && question > 0) {
    request.path = url.substr(0, question);
    request.queryString = url.substr(question + 1);
    ParseQueryString(request.queryString, request.queryParams);
  } else {
    request.path = url;
  }

  if (request.method == kHttpPost) {
    request.contentLength = ContentLength(head);
    std::string_view rest = headEnd == std::string_view::npos ? std::string_view() : text.substr(headEnd);
    request.body = rest.substr(0, static_cast<size_t>(request.contentLength));
    ParseQueryString(request.body, request.formParams);
  }
  return true;
}

void ParseQueryString(std::string_view text, std::map<std::string, std::string>& target)
{
  size_t start = 0;
  for (;;) {
    size_t end = text.find('&', start);
    std::string_view piece = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    size_t equals = piece.find('=');
    if (equals != std::string_view::npos) {
      target[std::string(piece.substr(0, equals))] = std::string(piece.substr(equals + 1));
    }
    if (end == std::string_view::npos) {
      return;
    }
    start = end + 1;
  }
}
