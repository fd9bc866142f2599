// Menus built from menu templates: the header, then each level's items up to the one marked
// MF_END; a popup's items follow it.
#include "internal/user/menu_template.h"

#include <cstdint>
#include <string>

#include "base/errors.h"
#include "base/lasterror.h"
#include "user/menu.h"

namespace {

constexpr int kMaxDepth = 16;

class TemplateReader {
 public:
  TemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}

  bool Word(WORD& value)
  {
    if (size_ - offset_ < 2)
      return false;
    value = static_cast<WORD>(data_[offset_] | (data_[offset_ + 1] << 8));
    offset_ += 2;
    return true;
  }
  bool Text(std::u16string& text)
  {
    text.clear();
    for (WORD c; Word(c);) {
      if (c == 0)
        return true;
      text.push_back(static_cast<char16_t>(c));
    }
    return false;
  }
  bool Skip(size_t bytes)
  {
    if (size_ - offset_ < bytes)
      return false;
    offset_ += bytes;
    return true;
  }

 private:
  const BYTE* data_;
  size_t size_;
  size_t offset_ = 0;
};

bool ReadLevel(TemplateReader& reader, HMENU menu, int depth)
{
  if (depth > kMaxDepth)
    return false;
  for (;;) {
    WORD flags = 0;
    WORD id = 0;
    std::u16string text;
    if (!reader.Word(flags))
      return false;
    if (!(flags & MF_POPUP) && !reader.Word(id))
      return false;
    if (!reader.Text(text))
      return false;
    UINT state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    bool last = flags & MF_END;
    if (flags & MF_POPUP) {
      HMENU submenu = CreatePopupMenu();
      if (!submenu)
        return false;
      if (!AppendMenuW(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(submenu), text.c_str())) {
        DestroyMenu(submenu);
        return false;
      }
      if (!ReadLevel(reader, submenu, depth + 1))
        return false;
    } else if ((flags & MF_SEPARATOR) || ((flags & ~MF_END) == 0 && id == 0 && text.empty())) {
      AppendMenuW(menu, MF_SEPARATOR | state, id, nullptr);
    } else {
      AppendMenuW(menu, MF_STRING | state, id, text.c_str());
    }
    if (last)
      return true;
  }
}

}  // namespace

HMENU user_menu::LoadMenuTemplate(const void* data, size_t size)
{
  if (!data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  TemplateReader reader(static_cast<const BYTE*>(data), size);
  WORD version = 0;
  WORD headerExtra = 0;
  if (!reader.Word(version) || !reader.Word(headerExtra) || version != 0 || !reader.Skip(headerExtra)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HMENU menu = CreateMenu();
  if (menu && !ReadLevel(reader, menu, 0)) {
    DestroyMenu(menu);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return menu;
}

HMENU LoadMenuIndirectW(LPCMENUTEMPLATEW menuTemplate)
{
  // The caller vouches for the template; its end is where its last item ends.
  return user_menu::LoadMenuTemplate(menuTemplate, SIZE_MAX / 2);
}
