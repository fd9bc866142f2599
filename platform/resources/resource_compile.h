// The binary forms that compiled MENU and STRINGTABLE statements take.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "resource_set.h"

namespace resources {

// A separator of a MENU statement carries this id (MF_SEPARATOR), so a separator stays
// recognisable by its id after its owner has turned the items into owner-drawn ones.
constexpr WORD kSeparatorId = 0x0800;

struct MenuNode {
  WORD flags = 0;  // MF_POPUP, MF_SEPARATOR, MF_GRAYED, MF_DISABLED, MF_CHECKED ...
  WORD id = 0;
  std::u16string text;
  bool popup = false;
  std::vector<MenuNode> children;
};

// A menu template (user/menu.h) of the items.
std::vector<BYTE> MenuTemplateBytes(const std::vector<MenuNode>& items);

// Strings are kept as the platform keeps them: string id n lies in block n / 16 + 1 (a STRING
// resource named by that ordinal) as entry n % 16 of sixteen counted UTF-16 strings.
void AddStringBlocks(const std::map<WORD, std::u16string>& strings, ResourceSet& out);

}  // namespace resources
