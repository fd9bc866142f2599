#include "resource_pages.h"

#include <algorithm>

#include "html/page/utf8_text.h"
#include "kernel/module.h"
#include "resources/resource.h"

namespace kv::html {
namespace {

constexpr std::u16string_view kScheme = u"res://";

bool IsResUrl(std::u16string_view url)
{
  return url.size() >= kScheme.size() &&
         std::equal(kScheme.begin(), kScheme.end(), url.begin(),
                    [](char16_t a, char16_t b) { return a == (b >= u'A' && b <= u'Z' ? b - u'A' + u'a' : b); });
}

// A resource name as the finder takes it: decimal digits are an ordinal ("#274").
std::u16string ResourceName(std::u16string_view name)
{
  const bool ordinal = !name.empty() && std::all_of(name.begin(), name.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
  return ordinal ? u"#" + std::u16string(name) : std::u16string(name);
}

std::optional<std::string> ResourceBytes(HMODULE library, std::u16string_view name, LPCWSTR type)
{
  if (name.empty())
    return std::nullopt;
  const std::u16string resourceName = ResourceName(name);
  HRSRC found = FindResourceW(library, resourceName.c_str(), type);
  const auto* bytes = found ? static_cast<const char*>(LockResource(LoadResource(library, found))) : nullptr;
  if (!bytes)
    return std::nullopt;
  return std::string(bytes, SizeofResource(library, found));
}

struct Split {
  std::u16string library;
  std::u16string name;
};

// "res://<library>/<name>", split at the last "/".
std::optional<Split> SplitResUrl(std::u16string_view url)
{
  if (!IsResUrl(url))
    return std::nullopt;
  url.remove_prefix(kScheme.size());
  const size_t slash = url.rfind(u'/');
  if (slash == std::u16string_view::npos || slash == 0)
    return std::nullopt;
  return Split{std::u16string(url.substr(0, slash)), std::u16string(url.substr(slash + 1))};
}

// Pages are UTF-8, with or without a byte-order mark.
std::u16string PageText(std::string_view bytes)
{
  if (bytes.starts_with("\xEF\xBB\xBF"))
    bytes.remove_prefix(3);
  return Wide(bytes);
}

}  // namespace

std::optional<ResourcePage> LoadResourcePage(std::u16string_view url)
{
  std::optional<Split> split = SplitResUrl(url);
  if (!split)
    return std::nullopt;
  HMODULE library = LoadLibraryW(split->library.c_str());
  if (!library)
    return std::nullopt;
  std::optional<std::string> bytes = ResourceBytes(library, split->name, RT_HTML);
  if (!bytes) {
    FreeLibrary(library);
    return std::nullopt;
  }
  return ResourcePage{library, PageText(*bytes)};
}

ImageSource ResourceImages(HMODULE library)
{
  return [library](std::string_view src) -> std::optional<std::string> {
    const std::u16string url = Wide(src);
    if (std::optional<Split> split = SplitResUrl(url)) {
      HMODULE other = LoadLibraryW(split->library.c_str());
      if (!other)
        return std::nullopt;
      std::optional<std::string> bytes = ResourceBytes(other, split->name, RT_BITMAP);
      FreeLibrary(other);
      return bytes;
    }
    // A relative name: no scheme and no path.
    if (!library || url.find_first_of(u":/\\") != std::u16string::npos)
      return std::nullopt;
    return ResourceBytes(library, url, RT_BITMAP);
  };
}

}  // namespace kv::html
