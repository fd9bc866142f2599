#include "browser_page.h"

#include "html/page/plain_text.h"
#include "html/page/utf8_text.h"
#include "url_text.h"

namespace kv::html {
namespace {

std::string MarkupOf(PageText& text, bool plain)
{
  if (!plain)
    return std::move(text.utf8);
  return "<html><body><pre>" + Narrow(HtmlOfPlainText(Wide(text.utf8))) + "</pre></body></html>";
}

}  // namespace

BrowserPage::BrowserPage(PageOwner& owner, std::u16string url, PageText text, bool plain, script::ScriptLimits limits)
    : owner_(&owner),
      url_(std::move(url)),
      charset_(text.charset),
      document_(MarkupOf(text, plain)),
      script_(document_, *this, limits)
{
}

BrowserPage::~BrowserPage() = default;

std::u16string BrowserPage::Title() const
{
  return Wide(document_.Title());
}

std::u16string BrowserPage::BaseUrl() const
{
  const dom::Node* base = document_.FindElement([](const dom::Node& n) { return n.name == "base" && n.HasAttribute("href"); });
  if (base)
    if (std::optional<std::u16string> resolved = ResolveUrl(url_, Wide(*base->Attribute("href"))))
      return *resolved;
  return url_;
}

std::optional<std::u16string> BrowserPage::Resolve(std::u16string_view reference) const
{
  return ResolveUrl(BaseUrl(), reference);
}

std::vector<std::pair<std::string, std::u16string>> BrowserPage::ImagesToFetch() const
{
  std::vector<std::pair<std::string, std::u16string>> wanted;
  for (const dom::Node* image : document_.Elements(document_.Root(), [](const dom::Node& n) { return n.name == "img"; })) {
    if (wanted.size() >= kMaxImages)
      break;
    const std::string src = image->AttributeOr("src");
    const std::optional<std::u16string> url = Resolve(Wide(src));
    if (src.empty() || images_.count(src) || !url || !IsWebUrl(*url))
      continue;
    bool known = false;
    for (const auto& [seen, address] : wanted)
      known = known || seen == src;
    if (!known)
      wanted.emplace_back(src, *url);
  }
  return wanted;
}

std::optional<std::string> BrowserPage::Image(std::string_view src) const
{
  auto found = images_.find(src);
  return found == images_.end() ? std::nullopt : std::optional<std::string>(found->second);
}

std::optional<StyleSheet> BrowserPage::Sheet(std::string_view href, std::string_view base) const
{
  const std::optional<std::u16string> url = base.empty() ? Resolve(Wide(href)) : ResolveUrl(Wide(base), Wide(href));
  if (!url)
    return std::nullopt;
  const std::string address = Narrow(WithoutFragment(*url));
  auto found = sheets_.find(address);
  if (found == sheets_.end())
    return std::nullopt;
  return StyleSheet{found->second, address};
}

std::optional<std::string> BrowserPage::ScriptFile(std::string_view src) const
{
  const std::optional<std::u16string> url = Resolve(Wide(src));
  auto found = url ? scriptFiles_.find(Narrow(WithoutFragment(*url))) : scriptFiles_.end();
  return found == scriptFiles_.end() ? std::nullopt : std::optional<std::string>(found->second);
}

script::CallResult BrowserPage::CallFunction(std::u16string_view name)
{
  script::CallResult result = script_.Call(name);
  if (owner_)
    owner_->ScriptReturned();
  return result;
}

void BrowserPage::Navigate(const std::u16string& url, bool replace)
{
  if (!owner_)
    return;
  if (std::optional<std::u16string> resolved = Resolve(url))
    owner_->QueueNavigation(*resolved, replace);
}

void BrowserPage::GoBack()
{
  if (owner_)
    owner_->QueueBack();
}

void BrowserPage::Alert(const std::u16string& text)
{
  if (owner_)
    owner_->Alert(text);
}

void BrowserPage::Submit(dom::Node& form)
{
  if (owner_)
    owner_->QueueSubmit(*this, form);
}

unsigned BrowserPage::StartTimer(unsigned ms)
{
  return owner_ ? owner_->StartTimer(ms) : 0;
}

void BrowserPage::StopTimer(unsigned id)
{
  if (owner_)
    owner_->StopTimer(id);
}

}  // namespace kv::html
