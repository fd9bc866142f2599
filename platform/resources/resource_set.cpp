// Resource types and names, and look-up in a library's resources.
#include "resource_set.h"

#include "user/window_class.h"

namespace resources {

ResourceId ResourceId::Name(std::u16string_view text)
{
  std::u16string upper(text);
  for (char16_t& c : upper)
    if (c >= u'a' && c <= u'z')
      c = static_cast<char16_t>(c - u'a' + u'A');
  return {0, upper};
}

ResourceId ResourceId::FromArgument(LPCWSTR value)
{
  if (IS_INTRESOURCE(value))
    return Ordinal(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(value)));
  std::u16string_view text(value);
  if (text.size() > 1 && text[0] == u'#') {
    DWORD number = 0;
    for (char16_t c : text.substr(1)) {
      if (c < u'0' || c > u'9' || number > 0xFFFF)
        return Name(text);
      number = number * 10 + static_cast<DWORD>(c - u'0');
    }
    if (number <= 0xFFFF)
      return Ordinal(static_cast<WORD>(number));
  }
  return Name(text);
}

const Resource* ResourceSet::Find(const ResourceId& type, const ResourceId& name) const
{
  for (const Resource& resource : resources)
    if (resource.type == type && resource.name == name)
      return &resource;
  return nullptr;
}

}  // namespace resources
