// A page the browser has loaded: its document, its scripts and where it came from. What its
// scripts ask of the browser goes to the page's owner while the page is the one shown; a page
// that has been replaced (kept alive by a script still running in it) asks nothing more.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "html/dom/document.h"
#include "html/page/utf8_text.h"
#include "html/script/page_script.h"
#include "internal/html/page.h"
#include "page_charset.h"

namespace kv::html {

class BrowserPage;

class PageOwner {
 public:
  // A navigation a script started (to an absolute URL): to run once the script has returned.
  virtual void QueueNavigation(const std::u16string& url, bool replace) = 0;
  virtual void QueueBack() = 0;
  virtual void QueueSubmit(BrowserPage& page, dom::Node& form) = 0;
  virtual void Alert(const std::u16string& text) = 0;
  virtual unsigned StartTimer(unsigned ms) = 0;
  virtual void StopTimer(unsigned id) = 0;
  // A call from the program into the page's script has returned.
  virtual void ScriptReturned() = 0;

 protected:
  ~PageOwner() = default;
};

class BrowserPage final : public script::ScriptHost {
 public:
  // A page of HTML (or of plain text, shown as it is) read from `url`.
  BrowserPage(PageOwner& owner, std::u16string url, PageText text, bool plain, script::ScriptLimits limits);
  ~BrowserPage();
  BrowserPage(const BrowserPage&) = delete;
  BrowserPage& operator=(const BrowserPage&) = delete;

  const std::u16string& Url() const { return url_; }
  void SetUrl(std::u16string url) { url_ = std::move(url); }
  const std::string& Charset() const { return charset_; }
  std::u16string Title() const;
  // What the page's links are resolved against: its <base href>, else its URL.
  std::u16string BaseUrl() const;
  // A link or form target as the page writes it, resolved; nothing when it cannot be.
  std::optional<std::u16string> Resolve(std::u16string_view reference) const;

  // The images the page shows from the web, by their src as the page writes it and their
  // address: those not fetched yet, at most kMaxImages of them.
  static constexpr size_t kMaxImages = 16;
  std::vector<std::pair<std::string, std::u16string>> ImagesToFetch() const;
  void AddImage(const std::string& src, std::string bytes) { images_[src] = std::move(bytes); }
  // The bytes of an image fetched for the page; nothing for one that was not.
  std::optional<std::string> Image(std::string_view src) const;

  // The style sheets and script files fetched for the page, by their address (decoded to UTF-8).
  void AddSheet(const std::u16string& url, std::string text) { sheets_[Narrow(url)] = std::move(text); }
  void AddScriptFile(const std::u16string& url, std::string text) { scriptFiles_[Narrow(url)] = std::move(text); }
  // The sheet an href names, written in the page (`base` empty) or in the sheet at `base`.
  std::optional<StyleSheet> Sheet(std::string_view href, std::string_view base) const;
  // The text of a script file by its src as the page writes it.
  std::optional<std::string> ScriptFile(std::string_view src) const;

  dom::Document& Document() { return document_; }
  const dom::Document& Document() const { return document_; }
  script::PageScript& Script() { return script_; }
  // A function of the page called by the program; the page is shown as the call left it.
  script::CallResult CallFunction(std::u16string_view name);
  // The page is no longer shown: its scripts' requests go nowhere.
  void Detach() { owner_ = nullptr; }

  // ScriptHost.
  void Navigate(const std::u16string& url, bool replace) override;
  void GoBack() override;
  std::u16string Location() override { return url_; }
  void Alert(const std::u16string& text) override;
  void Submit(dom::Node& form) override;
  unsigned StartTimer(unsigned ms) override;
  void StopTimer(unsigned id) override;

 private:
  PageOwner* owner_;
  std::u16string url_;
  std::string charset_;
  dom::Document document_;
  script::PageScript script_;
  std::map<std::string, std::string, std::less<>> images_;
  std::map<std::string, std::string, std::less<>> sheets_;
  std::map<std::string, std::string, std::less<>> scriptFiles_;
};

}  // namespace kv::html
