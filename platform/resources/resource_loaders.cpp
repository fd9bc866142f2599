// LoadString and LoadMenu.
#include "resources/resource_loaders.h"

#include <algorithm>

#include "base/errors.h"
#include "base/lasterror.h"
#include "internal/user/menu_template.h"
#include "resources/resource.h"
#include "user/menu.h"

namespace {

// The text of string id within its block; false when the string is missing or empty.
bool FindString(HINSTANCE instance, UINT id, const WCHAR*& text, WORD& length)
{
  if (id > 0xFFFF)
    return false;
  HRSRC block = FindResourceW(instance, MAKEINTRESOURCEW(id / 16 + 1), RT_STRING);
  DWORD size = block ? SizeofResource(instance, block) : 0;
  auto* bytes = static_cast<const BYTE*>(block ? LockResource(LoadResource(instance, block)) : nullptr);
  if (!bytes)
    return false;
  DWORD offset = 0;
  for (UINT entry = 0; entry <= id % 16; ++entry) {
    if (size - offset < 2)
      return false;
    WORD count = static_cast<WORD>(bytes[offset] | (bytes[offset + 1] << 8));
    offset += 2;
    if ((size - offset) / 2 < count)
      return false;
    if (entry == id % 16) {
      text = reinterpret_cast<const WCHAR*>(bytes + offset);
      length = count;
      return count > 0;
    }
    offset += 2u * count;
  }
  return false;
}

}  // namespace

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int maxChars)
{
  if (!buffer || maxChars < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const WCHAR* text = nullptr;
  WORD length = 0;
  if (!FindString(instance, id, text, length)) {
    if (maxChars > 0)
      buffer[0] = u'\0';
    else
      *reinterpret_cast<const WCHAR**>(buffer) = nullptr;
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  if (maxChars == 0) {
    *reinterpret_cast<const WCHAR**>(buffer) = text;
    return length;
  }
  int count = std::min<int>(length, maxChars - 1);
  std::copy(text, text + count, buffer);
  buffer[count] = u'\0';
  return count;
}

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name)
{
  HRSRC resource = name ? FindResourceW(instance, name, RT_MENU) : nullptr;
  if (!resource)
    return nullptr;
  return user_menu::LoadMenuTemplate(LockResource(LoadResource(instance, resource)), SizeofResource(instance, resource));
}
