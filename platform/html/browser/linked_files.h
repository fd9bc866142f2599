// The files a page needs before its scripts run: its style sheets (<link rel="stylesheet">, the
// @imports of its style blocks and of those sheets) and its script files (<script src>). Each
// address is fetched once, and no more than kMaxFiles in all, so a chain of @imports that comes
// back on itself ends.
#pragma once

#include <deque>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace kv::html {

class BrowserPage;

enum class LinkedKind { Sheet, Script };

struct LinkedFile {
  LinkedKind kind;
  std::u16string url;  // absolute http or https
};

class LinkedFiles {
 public:
  static constexpr size_t kMaxFiles = 32;

  // The files the page names, in document order.
  explicit LinkedFiles(const BrowserPage& page);
  // The next file to fetch; nothing once every one has been given.
  std::optional<LinkedFile> Next();
  // A sheet has come: the sheets it imports are fetched after those already known.
  void SheetArrived(const std::u16string& url, std::string_view text);

 private:
  void Add(LinkedKind kind, const std::optional<std::u16string>& url);

  std::deque<LinkedFile> queue_;
  std::set<std::pair<LinkedKind, std::u16string>> known_;
};

}  // namespace kv::html
