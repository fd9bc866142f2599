// Menu templates and string blocks.
#include "resource_compile.h"

#include "user/menu.h"

namespace resources {
namespace {

void PutWord(std::vector<BYTE>& bytes, WORD value)
{
  bytes.push_back(static_cast<BYTE>(value & 0xFF));
  bytes.push_back(static_cast<BYTE>(value >> 8));
}

void PutItems(std::vector<BYTE>& bytes, const std::vector<MenuNode>& items)
{
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuNode& item = items[i];
    WORD flags = item.flags;
    if (i + 1 == items.size())
      flags |= MF_END;
    PutWord(bytes, flags);
    if (!item.popup)
      PutWord(bytes, item.id);
    for (char16_t c : item.text)
      PutWord(bytes, c);
    PutWord(bytes, 0);
    if (item.popup)
      PutItems(bytes, item.children);
  }
}

}  // namespace

std::vector<BYTE> MenuTemplateBytes(const std::vector<MenuNode>& items)
{
  std::vector<BYTE> bytes;
  PutWord(bytes, 0);  // version
  PutWord(bytes, 0);  // header size
  PutItems(bytes, items);
  return bytes;
}

void AddStringBlocks(const std::map<WORD, std::u16string>& strings, ResourceSet& out)
{
  std::map<WORD, std::vector<const std::u16string*>> blocks;
  for (const auto& [id, text] : strings) {
    auto& block = blocks[static_cast<WORD>(id / 16 + 1)];
    block.resize(16, nullptr);
    block[id % 16] = &text;
  }
  for (const auto& [blockId, entries] : blocks) {
    Resource resource{ResourceId::Ordinal(6), ResourceId::Ordinal(blockId), {}};
    for (const std::u16string* text : entries) {
      size_t length = text ? std::min<size_t>(text->size(), 0xFFFF) : 0;
      PutWord(resource.data, static_cast<WORD>(length));
      for (size_t i = 0; i < length; ++i)
        PutWord(resource.data, (*text)[i]);
    }
    out.resources.push_back(std::move(resource));
  }
}

}  // namespace resources
