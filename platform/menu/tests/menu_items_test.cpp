// Menu objects: items by position and by command, texts, states, item information, and
// destruction with submenus.
#include <gtest/gtest.h>

#include <string>

#include "base/errors.h"
#include "base/lasterror.h"
#include "windows.h"

namespace {

std::u16string Text(HMENU menu, UINT item, UINT flags)
{
  WCHAR buffer[64];
  GetMenuStringW(menu, item, buffer, 64, flags);
  return buffer;
}

// A menu bar with one popup: 付款 (101), a separator, 退出 (102, grey); and a second-level popup
// with 关于 (201).
struct SampleMenu {
  SampleMenu()
  {
    bar = CreateMenu();
    popup = CreatePopupMenu();
    inner = CreatePopupMenu();
    AppendMenuW(inner, MF_STRING, 201, u"关于");
    AppendMenuW(popup, MF_STRING, 101, u"付款");
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_STRING | MF_GRAYED, 102, u"退出");
    AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), u"更多");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), u"菜单");
  }
  HMENU bar, popup, inner;
};

TEST(MenuItems, ByPositionAndByCommandThroughSubmenus)
{
  SampleMenu m;
  EXPECT_EQ(1, GetMenuItemCount(m.bar));
  EXPECT_EQ(4, GetMenuItemCount(m.popup));
  EXPECT_EQ(m.popup, GetSubMenu(m.bar, 0));
  EXPECT_EQ(nullptr, GetSubMenu(m.popup, 0));
  struct Case {
    HMENU menu;
    UINT item;
    UINT flags;
    const char16_t* text;
  };
  const Case cases[] = {
      {m.bar, 101, MF_BYCOMMAND, u"付款"},   // found in a submenu
      {m.bar, 201, MF_BYCOMMAND, u"关于"},   // two levels down
      {m.popup, 2, MF_BYPOSITION, u"退出"},
      {m.bar, 0, MF_BYPOSITION, u"菜单"},     // a popup item's text
      {m.popup, 1, MF_BYPOSITION, u""},       // a separator has none
      {m.popup, 9, MF_BYPOSITION, u""},       // no such item
      {m.popup, 999, MF_BYCOMMAND, u""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::u16string(c.text), Text(c.menu, c.item, c.flags)) << c.item;
  EXPECT_EQ(101u, GetMenuItemID(m.popup, 0));
  EXPECT_EQ(0xFFFFFFFFu, GetMenuItemID(m.popup, 3)) << "a popup item has no command";
  EXPECT_EQ(0xFFFFFFFFu, GetMenuItemID(m.popup, 4));
  DestroyMenu(m.bar);
}

TEST(MenuItems, TextIsCutToTheBufferAndTerminated)
{
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, u"确认付款");
  WCHAR buffer[3] = {u'x', u'x', u'x'};
  EXPECT_EQ(2, GetMenuStringW(menu, 1, buffer, 3, MF_BYCOMMAND));
  EXPECT_EQ(std::u16string(u"确认"), std::u16string(buffer));
  EXPECT_EQ(4, GetMenuStringW(menu, 1, nullptr, 0, MF_BYCOMMAND)) << "no buffer: the whole length";

  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_TYPE | MIIM_ID | MIIM_STATE;
  info.dwTypeData = buffer;
  info.cch = 3;
  ASSERT_TRUE(GetMenuItemInfoW(menu, 0, TRUE, &info));
  EXPECT_EQ(static_cast<UINT>(MFT_STRING), info.fType);
  EXPECT_EQ(1u, info.wID);
  EXPECT_EQ(2u, info.cch);
  EXPECT_EQ(std::u16string(u"确认"), std::u16string(buffer));
  info.dwTypeData = nullptr;
  ASSERT_TRUE(GetMenuItemInfoW(menu, 1, FALSE, &info));
  EXPECT_EQ(4u, info.cch) << "without a buffer cch gets the length";
  EXPECT_FALSE(GetMenuItemInfoW(menu, 5, TRUE, &info));
  DestroyMenu(menu);
}

TEST(MenuItems, CheckAndEnableReturnThePreviousState)
{
  SampleMenu m;
  EXPECT_EQ(static_cast<DWORD>(MF_UNCHECKED), CheckMenuItem(m.bar, 101, MF_BYCOMMAND | MF_CHECKED));
  EXPECT_EQ(static_cast<DWORD>(MF_CHECKED), CheckMenuItem(m.bar, 101, MF_BYCOMMAND | MF_UNCHECKED));
  EXPECT_EQ(static_cast<UINT>(MF_GRAYED), EnableMenuItem(m.popup, 2, MF_BYPOSITION | MF_ENABLED));
  EXPECT_EQ(static_cast<UINT>(MF_ENABLED), EnableMenuItem(m.popup, 102, MF_BYCOMMAND | MF_DISABLED));
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  ASSERT_TRUE(GetMenuItemInfoW(m.popup, 102, FALSE, &info));
  EXPECT_EQ(static_cast<UINT>(MF_DISABLED), info.fState);
  EXPECT_EQ(0xFFFFFFFFu, CheckMenuItem(m.popup, 777, MF_BYCOMMAND | MF_CHECKED));
  EXPECT_EQ(0xFFFFFFFFu, EnableMenuItem(m.popup, 9, MF_BYPOSITION | MF_GRAYED));
  DestroyMenu(m.bar);
}

TEST(MenuItems, InsertModifyDeleteAndRemove)
{
  SampleMenu m;
  ASSERT_TRUE(InsertMenuW(m.popup, 102, MF_BYCOMMAND | MF_STRING, 103, u"转账"));
  ASSERT_TRUE(InsertMenuW(m.popup, 0, MF_BYPOSITION | MF_STRING, 100, u"首页"));
  ASSERT_TRUE(InsertMenuW(m.popup, 0xFFFFFFFF, MF_BYPOSITION | MF_STRING, 104, u"末项"));
  const UINT ids[] = {100, 101, 0, 103, 102, 0xFFFFFFFF, 104};
  ASSERT_EQ(7, GetMenuItemCount(m.popup));
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(ids[i], GetMenuItemID(m.popup, i)) << i;

  // The owner-drawn form the soft-key popup makes of its items: same id, the text as item data.
  ASSERT_TRUE(ModifyMenuW(m.popup, 101, MF_BYCOMMAND | MF_OWNERDRAW, 101, u"付款"));
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_TYPE | MIIM_ID;
  ASSERT_TRUE(GetMenuItemInfoW(m.popup, 1, TRUE, &info));
  EXPECT_EQ(static_cast<UINT>(MFT_OWNERDRAW), info.fType);
  EXPECT_EQ(101u, info.wID);

  ASSERT_TRUE(RemoveMenu(m.popup, 5, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(m.inner)) << "RemoveMenu keeps the submenu";
  ASSERT_TRUE(AppendMenuW(m.popup, MF_POPUP, reinterpret_cast<UINT_PTR>(m.inner), u"更多"));
  ASSERT_TRUE(DeleteMenu(m.bar, 201, MF_BYCOMMAND)) << "by command in a submenu";
  EXPECT_EQ(0, GetMenuItemCount(m.inner));
  ASSERT_TRUE(DeleteMenu(m.popup, 6, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(m.inner)) << "DeleteMenu destroys the submenu";
  EXPECT_FALSE(DeleteMenu(m.popup, 999, MF_BYCOMMAND));
  EXPECT_FALSE(AppendMenuW(m.popup, MF_POPUP, reinterpret_cast<UINT_PTR>(m.inner), u"dead")) << "a dead submenu";
  DestroyMenu(m.bar);
}

TEST(MenuItems, DestroyMenuTakesSubmenusAndStaleHandlesFail)
{
  SampleMenu m;
  ASSERT_TRUE(DestroyMenu(m.bar));
  for (HMENU gone : {m.bar, m.popup, m.inner}) {
    EXPECT_FALSE(IsMenu(gone));
    SetLastError(0);
    EXPECT_FALSE(DestroyMenu(gone));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE), GetLastError());
    EXPECT_EQ(-1, GetMenuItemCount(gone));
    EXPECT_FALSE(AppendMenuW(gone, MF_STRING, 1, u"x"));
  }
  // A new menu may take the freed slot; the old handle still names nothing.
  HMENU fresh = CreatePopupMenu();
  EXPECT_NE(fresh, m.bar);
  EXPECT_FALSE(DestroyMenu(m.bar));
  EXPECT_TRUE(IsMenu(fresh));
  // A handle of another kind is no menu.
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(event)));
  EXPECT_FALSE(DestroyMenu(reinterpret_cast<HMENU>(event)));
  EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(fresh))) << "a menu is not closed by CloseHandle";
  CloseHandle(event);
  DestroyMenu(fresh);
}

TEST(MenuItems, AMenuThatContainsItselfIsDestroyedOnce)
{
  HMENU menu = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), u"loop"));
  EXPECT_EQ(0, GetMenuStringW(menu, 999, nullptr, 0, MF_BYCOMMAND));
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(IsMenu(menu));
}

}  // namespace
