// URLs as the HTTP layer hands them to libcurl: UTF-8 with the bytes a URL cannot carry
// escaped, and split into the parts that cookies and connections look at; and the small text
// helpers of headers and cookies.
#pragma once

#include "base/types.h"

#include <optional>
#include <string>
#include <string_view>

namespace inet {

// Escapes controls, the space, DEL and every byte above 0x7F as "%XX"; other bytes stay.
std::string EscapeUrlBytes(std::string_view utf8);

// Device text (UTF-16) as UTF-8 with EscapeUrlBytes applied; nullopt for a null pointer or an
// unpaired surrogate.
std::optional<std::string> UrlFromDeviceText(LPCWSTR text);

struct UrlParts {
  std::string scheme;  // "http" or "https"
  std::string host;    // lower case
  long port = 0;       // the scheme's default when the URL names none
  std::string path;    // from "/", without query and fragment
};

// An absolute http or https URL split into its parts; nullopt for anything else.
std::optional<UrlParts> ParseHttpUrl(const std::string& url);

// ASCII lower case.
std::string LowerAscii(std::string_view text);
// The text without the blanks (spaces and tabs) at its ends.
std::string_view TrimBlanks(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace inet
