// One request to the local gateway, as the browser sent it: its bytes parsed into the request
// line, the headers the gateway reads and the parameters of the query string and the form body.
// Text stays bytes, taken as it arrived (no percent-decoding).
#pragma once

#include <map>
#include <string>
#include <string_view>

enum HttpMethod { kHttpGet = 0, kHttpPost = 1, kHttpOtherMethod = -1 };

struct CHttpRequest {
  std::string methodText;
  std::string path;
  std::string version;
  std::string host;
  std::string queryString;
  std::string body;
  std::string referer;
  int method = kHttpOtherMethod;
  int contentLength = 0;
  std::map<std::string, std::string> queryParams;
  std::map<std::string, std::string> formParams;
  bool valid = false;
};

// Where the head of a request ends: the offset just after its first empty line (CR LF or LF
// alone), or npos while the head is incomplete.
size_t FindHeadEnd(std::string_view text);

// The value of a header of the head (name matched in any case, at the start of a line), from
// after the colon and its blanks to the end of the line; empty when there is none.
std::string_view HeaderValue(std::string_view head, std::string_view name);

// The Content-Length of a head: its leading digits, at most 9 of them; 0 without one.
int ContentLength(std::string_view head);

// Parses the request text into request. true when the method is GET or POST. For POST the body
// is what follows the head, at most Content-Length bytes and no more than arrived.
bool ParseHttpRequest(CHttpRequest& request, std::string_view text);

// Splits text at "&" into name=value pairs (at the first "="); pieces without "=" are skipped
// and a repeated name keeps its last value.
void ParseQueryString(std::string_view text, std::map<std::string, std::string>& target);
