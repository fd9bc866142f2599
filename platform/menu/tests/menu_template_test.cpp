// Menus from menu templates: popups become submenus, item states carry over, and a template
// that runs out before its last item gives no menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "internal/user/menu_template.h"
#include "windows.h"

namespace {

// Template bytes from words and texts.
struct TemplateBytes {
  std::vector<BYTE> bytes;
  TemplateBytes& Word(WORD w)
  {
    bytes.push_back(static_cast<BYTE>(w & 0xFF));
    bytes.push_back(static_cast<BYTE>(w >> 8));
    return *this;
  }
  TemplateBytes& Text(const std::u16string& text)
  {
    for (char16_t c : text)
      Word(c);
    return Word(0);
  }
};

// POPUP "菜单" { MENUITEM "付款" 101 CHECKED; SEPARATOR; MENUITEM "退出" 102 GRAYED (last) }, then
// MENUITEM "帮助" 103 (last of the bar).
TemplateBytes Sample()
{
  TemplateBytes t;
  t.Word(0).Word(0);
  t.Word(MF_POPUP).Text(u"菜单");
  t.Word(MF_CHECKED).Word(101).Text(u"付款");
  t.Word(MF_SEPARATOR).Word(0x800).Text(u"");
  t.Word(MF_GRAYED | MF_END).Word(102).Text(u"退出");
  t.Word(MF_END).Word(103).Text(u"帮助");
  return t;
}

TEST(MenuTemplate, PopupsBecomeSubmenusWithTheirStates)
{
  TemplateBytes t = Sample();
  HMENU menu = LoadMenuIndirectW(t.bytes.data());
  ASSERT_NE(nullptr, menu);
  ASSERT_EQ(2, GetMenuItemCount(menu));
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(nullptr, popup);
  ASSERT_EQ(3, GetMenuItemCount(popup));
  EXPECT_EQ(103u, GetMenuItemID(menu, 1));
  struct Case {
    int position;
    UINT type;
    UINT state;
    UINT id;
  };
  const Case cases[] = {
      {0, MFT_STRING, MF_CHECKED, 101},
      {1, MFT_SEPARATOR, 0, 0x800},
      {2, MFT_STRING, MF_GRAYED, 102},
  };
  for (const Case& c : cases) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoW(popup, static_cast<UINT>(c.position), TRUE, &info));
    EXPECT_EQ(c.type, info.fType) << c.position;
    EXPECT_EQ(c.state, info.fState) << c.position;
    EXPECT_EQ(c.id, info.wID) << c.position;
  }
  WCHAR text[16];
  GetMenuStringW(menu, 102, text, 16, MF_BYCOMMAND);
  EXPECT_EQ(std::u16string(u"退出"), text);
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(IsMenu(popup));
}

TEST(MenuTemplate, AnEmptyItemWithoutFlagsIsASeparator)
{
  TemplateBytes t;
  t.Word(0).Word(0).Word(0).Word(1).Text(u"一").Word(0).Word(0).Text(u"").Word(MF_END).Word(2).Text(u"二");
  HMENU menu = LoadMenuIndirectW(t.bytes.data());
  ASSERT_NE(nullptr, menu);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_TYPE;
  ASSERT_TRUE(GetMenuItemInfoW(menu, 1, TRUE, &info));
  EXPECT_EQ(static_cast<UINT>(MFT_SEPARATOR), info.fType);
  DestroyMenu(menu);
}

TEST(MenuTemplate, ATemplateCutShortGivesNoMenu)
{
  TemplateBytes whole = Sample();
  for (size_t size : {size_t{0}, size_t{3}, size_t{4}, whole.bytes.size() / 2, whole.bytes.size() - 1}) {
    EXPECT_EQ(nullptr, user_menu::LoadMenuTemplate(whole.bytes.data(), size)) << size;
  }
  TemplateBytes badVersion;
  badVersion.Word(1).Word(0).Word(MF_END).Word(1).Text(u"x");
  EXPECT_EQ(nullptr, user_menu::LoadMenuTemplate(badVersion.bytes.data(), badVersion.bytes.size()));
  HMENU menu = user_menu::LoadMenuTemplate(whole.bytes.data(), whole.bytes.size());
  EXPECT_NE(nullptr, menu);
  DestroyMenu(menu);
}

}  // namespace
