#include "sheet_imports.h"

#include <cctype>

#include "html/page/utf8_text.h"

namespace kv::html {
namespace {

bool IsBlank(char c)
{
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

class Scanner {
 public:
  explicit Scanner(std::string_view css) : css_(css) {}

  std::vector<std::string> Imports()
  {
    std::vector<std::string> found;
    int depth = 0;
    while (at_ < css_.size()) {
      const char c = css_[at_];
      if (SkipComment())
        continue;
      if (c == '"' || c == '\'') {
        QuotedText();
        continue;
      }
      ++at_;
      if (c == '{')
        ++depth;
      else if (c == '}' && depth > 0)
        --depth;
      else if (c == '@' && depth == 0 && Keyword("import")) {
        std::string target = Target();
        if (!target.empty())
          found.push_back(std::move(target));
      }
    }
    return found;
  }

 private:
  bool SkipComment()
  {
    if (css_.compare(at_, 2, "/*") != 0)
      return false;
    const size_t end = css_.find("*/", at_ + 2);
    at_ = end == std::string_view::npos ? css_.size() : end + 2;
    return true;
  }

  void SkipBlanks()
  {
    for (;;) {
      if (at_ < css_.size() && IsBlank(css_[at_]))
        ++at_;
      else if (!SkipComment())
        return;
    }
  }

  // The keyword right after the "@", ended by what cannot go on a name.
  bool Keyword(std::string_view word)
  {
    if (LowerAscii(css_.substr(at_, word.size())) != word)
      return false;
    const size_t after = at_ + word.size();
    if (after < css_.size() && (std::isalnum(static_cast<unsigned char>(css_[after])) || css_[after] == '-' || css_[after] == '_'))
      return false;
    at_ = after;
    return true;
  }

  // A string at the quote under the cursor; the cursor goes past its end.
  std::string QuotedText()
  {
    const char quote = css_[at_++];
    std::string text;
    while (at_ < css_.size() && css_[at_] != quote && css_[at_] != '\n') {
      if (css_[at_] == '\\' && at_ + 1 < css_.size())
        ++at_;
      text += css_[at_++];
    }
    if (at_ < css_.size())
      ++at_;
    return text;
  }

  // What an @import names: url(...) with or without quotes, or a string.
  std::string Target()
  {
    SkipBlanks();
    if (at_ < css_.size() && (css_[at_] == '"' || css_[at_] == '\''))
      return QuotedText();
    if (LowerAscii(css_.substr(at_, 4)) != "url(")
      return {};
    at_ += 4;
    SkipBlanks();
    if (at_ < css_.size() && (css_[at_] == '"' || css_[at_] == '\''))
      return QuotedText();
    std::string text;
    while (at_ < css_.size() && css_[at_] != ')' && !IsBlank(css_[at_]))
      text += css_[at_++];
    return text;
  }

  std::string_view css_;
  size_t at_ = 0;
};

}  // namespace

std::vector<std::string> SheetImports(std::string_view css)
{
  return Scanner(css).Imports();
}

}  // namespace kv::html
