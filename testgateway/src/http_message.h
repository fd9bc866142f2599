// Reading HTTP/1.1 requests from a connection and writing replies.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "byte_stream.h"

namespace testgateway::detail {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct RequestHead {
  std::string method;
  std::string target;
  std::string version;
  HeaderList headers;  // in the order sent

  std::string header(std::string_view name) const;  // first value, case-insensitive name
  bool hasHeader(std::string_view name) const;
  // Whether the connection stays open after this request (HTTP/1.1 unless "close").
  bool keepAlive() const;
};

bool equalsIgnoringCase(std::string_view a, std::string_view b);
// The first header of that name (case-insensitive), or null.
const std::string* findHeader(const HeaderList& headers, std::string_view name);
bool containsIgnoringCase(std::string_view text, std::string_view part);

class RequestReader {
 public:
  explicit RequestReader(ByteStream& stream) : stream_(stream) {}

  // The next request line and headers; nullopt at the end of the stream or on a malformed
  // or oversized head.
  std::optional<RequestHead> readHead();
  // The body that the head announces (Content-Length or chunked); nullopt when the stream
  // ends early or the framing is malformed.
  std::optional<std::string> readBody(const RequestHead& head);
  // Whether the last read that gave nothing met malformed or oversized input (else the stream
  // ended or failed).
  bool malformed() const { return malformed_; }
  // Bytes already read past the last request (a tunnel passes them on).
  std::string takeBuffered();

 private:
  bool fill();  // reads more bytes into the buffer; false at the end
  std::optional<std::string> readLine();
  std::optional<std::string> readExactly(std::size_t count);

  template <typename T>
  std::optional<T> refuse();  // notes malformed input

  ByteStream& stream_;
  std::string buffer_;
  bool malformed_ = false;
};

// The status line, the headers, Content-Length and the body.
std::string formatResponse(int status, const HeaderList& headers, std::string_view body);

}  // namespace testgateway::detail
