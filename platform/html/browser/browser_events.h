// The browser's events as its sinks receive them (the shapes are in html/web_browser.h): each
// call fires one event on the connection point, synchronously, and tells what the sinks set.
#pragma once

#include <string>

#include "com/connection_point.h"

namespace kv::html {

class BrowserEvents {
 public:
  BrowserEvents(CConnectionPoint& point, IDispatch& browser) : point_(point), browser_(browser) {}

  // True when a sink cancelled the navigation.
  bool BeforeNavigate2(const std::u16string& url, const std::string& postData, const std::string& headers);
  void NavigateComplete2(const std::u16string& url);
  void DocumentComplete(const std::u16string& url);
  // True when a sink cancelled the error page.
  bool NavigateError(const std::u16string& url, LONG status);

 private:
  CConnectionPoint& point_;
  IDispatch& browser_;
};

}  // namespace kv::html
