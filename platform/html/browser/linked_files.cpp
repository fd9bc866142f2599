#include "linked_files.h"

#include "browser_page.h"
#include "html/page/utf8_text.h"
#include "sheet_imports.h"
#include "url_text.h"

namespace kv::html {
namespace {

bool IsSheetLink(const dom::Node& node)
{
  return node.name == "link" && node.HasAttribute("href") && LowerAscii(CollapseBlanks(node.AttributeOr("rel"))) == "stylesheet";
}

}  // namespace

LinkedFiles::LinkedFiles(const BrowserPage& page)
{
  const dom::Document& document = page.Document();
  const auto linked = [](const dom::Node& n) { return IsSheetLink(n) || n.name == "style" || script::IsPageScript(n); };
  for (const dom::Node* node : document.Elements(document.Root(), linked)) {
    if (node->name == "style") {
      for (const std::string& target : SheetImports(dom::TextOf(*node)))
        Add(LinkedKind::Sheet, page.Resolve(Wide(target)));
    } else if (node->name == "link") {
      if (!node->AttributeOr("href").empty())  // the layout takes no sheet from an empty href
        Add(LinkedKind::Sheet, page.Resolve(Wide(node->AttributeOr("href"))));
    } else if (const std::string* src = node->Attribute("src"); src && !src->empty()) {
      Add(LinkedKind::Script, page.Resolve(Wide(*src)));
    }
  }
}

std::optional<LinkedFile> LinkedFiles::Next()
{
  if (queue_.empty())
    return std::nullopt;
  LinkedFile next = std::move(queue_.front());
  queue_.pop_front();
  return next;
}

void LinkedFiles::SheetArrived(const std::u16string& url, std::string_view text)
{
  for (const std::string& target : SheetImports(text))
    Add(LinkedKind::Sheet, ResolveUrl(url, Wide(target)));
}

void LinkedFiles::Add(LinkedKind kind, const std::optional<std::u16string>& url)
{
  if (!url || !IsWebUrl(*url) || known_.size() >= kMaxFiles)
    return;
  const std::u16string address(WithoutFragment(*url));
  if (known_.emplace(kind, address).second)
    queue_.push_back({kind, address});
}

}  // namespace kv::html
