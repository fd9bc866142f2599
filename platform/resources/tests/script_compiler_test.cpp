// The resource-script compiler: the forms it accepts and what they compile to, and bad lines
// reported with their file and line while the rest of the script is kept.
#include <gtest/gtest.h>

#include <map>

#include "internal/user/dialog_template_writer.h"
#include "internal/user/menu_template.h"
#include "resource_set.h"
#include "windows.h"

using namespace resources;

namespace {

struct Files {
  std::map<std::string, std::string> files;
  FileReader Reader() const
  {
    return [this](const std::string& name) -> std::optional<std::string> {
      auto found = files.find(name);
      if (found == files.end())
        return std::nullopt;
      return found->second;
    };
  }
  ResourceSet Compile() const { return CompileResourceScripts({"main.rc"}, Reader()); }
};

std::string Problems(const ResourceSet& set)
{
  std::string text;
  for (const Diagnostic& d : set.diagnostics)
    text += d.file + ":" + std::to_string(d.line) + ": " + d.message + "\n";
  return text;
}

const Resource* Find(const ResourceSet& set, WORD type, WORD name)
{
  return set.Find(ResourceId::Ordinal(type), ResourceId::Ordinal(name));
}

const char kIds[] = R"(#ifndef IDS_H
#define IDS_H
#define IDD_ABOUT        100
#define IDC_NOTE         1045   // the about text
#define IDC_AMOUNT       (IDC_NOTE + 1)
#define IDM_SOFTKEY      204
#define ID_KV_EXIT       0x8007
#define IDS_PRODUCT      136
#endif
)";

const char kGoodScript[] = R"(#include <windows.h>
#include "ids.h"

IDD_ABOUT DIALOG DISCARDABLE 0, 0, 120, 160
STYLE WS_POPUP | WS_VISIBLE | DS_SETFONT
CAPTION "关于"
FONT 9, "宋体"
BEGIN
    CONTROL "Korvex", IDC_NOTE, "Static", SS_LEFT | SS_NOTIFY, 4, 8, 112, 12
    EDITTEXT IDC_AMOUNT, 4, 24, 112, 14, ES_NUMBER | NOT WS_BORDER
    DEFPUSHBUTTON "确定", IDOK_LOCAL, 4, 40, 50, 14
END

/* a menu of the soft key */
IDM_SOFTKEY MENU
BEGIN
    POPUP "菜单"
    BEGIN
        MENUITEM "关于", 4001
        MENUITEM SEPARATOR
        MENUITEM "退出", ID_KV_EXIT, GRAYED CHECKED
    END
END

STRINGTABLE
BEGIN
    IDS_PRODUCT  "Korvex ""Portal"""
    137,         "第二行\n"
    0x10         "sixteen"
END

0x418 BITMAP "skins\\back.png"
274 HTML "help.htm"
)";

Files GoodFiles()
{
  Files f;
  f.files["ids.h"] = kIds;
  f.files["main.rc"] = std::string("#define IDOK_LOCAL 1\n") + kGoodScript;
  f.files["skins/back.png"] = std::string("\x89PNG\r\n\x1a\n", 8);
  f.files["help.htm"] = "<html>帮助</html>";
  return f;
}

TEST(ResourceScript, GoodFormsCompileToThePlatformsLayouts)
{
  ResourceSet set = GoodFiles().Compile();
  EXPECT_EQ("", Problems(set));

  // The dialog is the template the dialog builder makes of the same description.
  user_dialog::DialogSpec spec;
  spec.style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
  spec.cx = 120;
  spec.cy = 160;
  spec.title = u"关于";
  spec.pointSize = 9;
  spec.faceName = u"宋体";
  user_dialog::DialogItemSpec note;
  note.className = user_dialog::TemplateName::Ordinal(DLG_CLASS_STATIC);
  note.title = user_dialog::TemplateName::Text(u"Korvex");
  note.id = 1045;
  note.style = WS_CHILD | WS_VISIBLE | 0x100;
  note.x = 4, note.y = 8, note.cx = 112, note.cy = 12;
  user_dialog::DialogItemSpec amount;
  amount.className = user_dialog::TemplateName::Ordinal(DLG_CLASS_EDIT);
  amount.id = 1046;
  amount.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x2000;  // the border taken away by NOT
  amount.x = 4, amount.y = 24, amount.cx = 112, amount.cy = 14;
  user_dialog::DialogItemSpec ok;
  ok.className = user_dialog::TemplateName::Ordinal(DLG_CLASS_BUTTON);
  ok.title = user_dialog::TemplateName::Text(u"确定");
  ok.id = 1;
  ok.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x1;
  ok.x = 4, ok.y = 40, ok.cx = 50, ok.cy = 14;
  spec.items = {note, amount, ok};
  const Resource* dialog = Find(set, 5, 100);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(user_dialog::BuildDialogTemplate(spec), dialog->data);

  const Resource* menu = Find(set, 4, 204);
  ASSERT_NE(nullptr, menu);
  HMENU loaded = user_menu::LoadMenuTemplate(menu->data.data(), menu->data.size());
  ASSERT_NE(nullptr, loaded);
  HMENU popup = GetSubMenu(loaded, 0);
  ASSERT_EQ(3, GetMenuItemCount(popup));
  EXPECT_EQ(4001u, GetMenuItemID(popup, 0));
  EXPECT_EQ(0x800u, GetMenuItemID(popup, 1)) << "a separator carries the id 0x800";
  EXPECT_EQ(static_cast<UINT>(MF_GRAYED), EnableMenuItem(popup, 0x8007, MF_BYCOMMAND));
  EXPECT_EQ(static_cast<DWORD>(MF_CHECKED), CheckMenuItem(popup, 0x8007, MF_BYCOMMAND));
  DestroyMenu(loaded);

  // Strings 136 and 137 lie in block 9 (entries 8 and 9), string 16 in block 2 (entry 0).
  const Resource* block = Find(set, 6, 9);
  ASSERT_NE(nullptr, block);
  std::u16string blockText(reinterpret_cast<const char16_t*>(block->data.data()), block->data.size() / 2);
  std::u16string expected(8, u'\0');
  expected += char16_t(15) + std::u16string(u"Korvex \"Portal\"") + char16_t(4) + u"第二行\n" + std::u16string(6, u'\0');
  EXPECT_EQ(expected, blockText);
  EXPECT_NE(nullptr, Find(set, 6, 2));

  const Resource* bitmap = Find(set, 2, 0x418);
  ASSERT_NE(nullptr, bitmap);
  EXPECT_EQ(8u, bitmap->data.size());
  const Resource* html = Find(set, 23, 274);
  ASSERT_NE(nullptr, html);
  EXPECT_EQ("<html>帮助</html>", std::string(html->data.begin(), html->data.end()));
}

TEST(ResourceScript, NamesAndShorthandsFollowTheScriptLanguage)
{
  Files f;
  f.files["main.rc"] = R"(
WELCOME MENU { MENUITEM "一", 1 }
about DIALOGEX 0, 0, 10, 10, 0
EXSTYLE WS_EX_TOPMOST
BEGIN
  LTEXT "x", -1, 0, 0, 5, 5
  CONTROL "", 7, "SysListView32", LVS_ICON | WS_TABSTOP, 0, 0, 10, 10, WS_EX_CLIENTEDGE
END
)";
  ResourceSet set = f.Compile();
  EXPECT_EQ("", Problems(set));
  EXPECT_NE(nullptr, set.Find(ResourceId::Ordinal(4), ResourceId::FromArgument(u"welcome")));
  EXPECT_NE(nullptr, set.Find(ResourceId::Ordinal(5), ResourceId::FromArgument(u"ABOUT")));
  const Resource* dialog = set.Find(ResourceId::Ordinal(5), ResourceId::Name(u"about"));
  ASSERT_NE(nullptr, dialog);
  auto* header = reinterpret_cast<const DLGTEMPLATE*>(dialog->data.data());
  EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU), header->style) << "the default dialog style";
  EXPECT_EQ(static_cast<DWORD>(WS_EX_TOPMOST), header->dwExtendedStyle);
  EXPECT_EQ(2, header->cdit);
}

TEST(ResourceScript, BadLinesAreReportedWithTheirLineAndTheRestIsKept)
{
  struct Case {
    const char* script;  // line 1 is a good string table, the bad part follows
    int line;
    const char* message;
  };
  const Case cases[] = {
      {"1 DIALOG 0, 0, 10, 10\nSTYLE WS_POPUP | WS_NOSUCH\nBEGIN\nEND\n", 2, "unknown name WS_NOSUCH"},
      {"1 DIALOG 0, 0 10, 10\nBEGIN\n LTEXT \"a\", 1, 0, 0, 1, 1\nEND\n", 1, "expected ','"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n SLIDER 5, 0, 0, 1, 1\nEND\n", 3, "unknown control line SLIDER"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n LTEXT \"a\", 1, 0, 0, 99999, 1\nEND\n", 3, "coordinate out of range"},
      {"STRINGTABLE\nBEGIN\n 7 \"again\"\nEND\n", 3, "string 7 is already defined"},
      {"STRINGTABLE\nBEGIN\n 70000 \"big\"\nEND\n", 3, "does not fit 16 bits"},
      {"STRINGTABLE\nBEGIN\n 8 \"open\nEND\n", 3, "string not closed"},
      {"9 BITMAP \"missing.png\"\n", 1, "cannot read missing.png"},
      {"9 BITMAP \"..\\\\secret.png\"\n", 1, "inside the library's folder"},
      {"9 ICON \"a.ico\"\n", 1, "unsupported resource type ICON"},
      {"#define LOOP (LOOP + 1)\n5 MENU { MENUITEM \"a\", LOOP }\n", 2, "refers to itself"},
      {"5 MENU\nBEGIN\n MENUITEM \"a\", 1, BLINKING\nEND\n", 3, "unknown menu option BLINKING"},
      {"5 MENU\nBEGIN\n POPUP \"p\"\n BEGIN\n END\nEND\n", 3, "the popup has no items"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n LTEXT \"a\", 1, 0, 0, 1, 1\n", 4, "unknown control line STRINGTABLE"},
      {"#include \"nowhere.h\"\n", 1, "cannot read nowhere.h"},
      {"#frobnicate\n", 1, "unknown directive #frobnicate"},
      {"/* open comment\n", 1, "comment not closed"},
      {"1 DIALOG 0, 0, 10, 10 FONT 9, \"\" BEGIN END\n", 1, "FONT needs a face name"},
      {"3 MENU { MENUITEM \"a\", 0x1G }\n", 1, "bad number 0x1G"},
  };
  for (const Case& c : cases) {
    Files f;
    f.files["main.rc"] = std::string("STRINGTABLE { 7 \"kept\" }\n") + c.script + "STRINGTABLE { 40 \"after\" }\n";
    ResourceSet set = f.Compile();
    ASSERT_FALSE(set.diagnostics.empty()) << c.script;
    EXPECT_EQ("main.rc", set.diagnostics[0].file) << c.script;
    EXPECT_EQ(c.line + 1, set.diagnostics[0].line) << c.script << Problems(set);
    EXPECT_NE(std::string::npos, set.diagnostics[0].message.find(c.message)) << c.script << Problems(set);
    EXPECT_NE(nullptr, Find(set, 6, 1)) << "the string before the bad part is kept: " << c.script;
    // An open dialog takes the lines after it in, an open comment hides them.
    if (std::string(c.message) != "unknown control line STRINGTABLE" && std::string(c.message) != "comment not closed") {
      EXPECT_NE(nullptr, Find(set, 6, 3)) << "the string after the bad part is kept: " << c.script << Problems(set);
    }
  }
}

TEST(ResourceScript, ABadItemLeavesOnlyThatItemOut)
{
  Files f;
  f.files["main.rc"] = R"(1 DIALOG 0, 0, 100, 100
BEGIN
  LTEXT "a", 10, 0, 0, 10, 10
  LTEXT "b", NO_SUCH_ID, 0, 10, 10, 10
  LTEXT "c", 12, 0, 20, 10, 10
END
2 MENU
BEGIN
  MENUITEM "x", 1
  MENUITEM "y" 2
  MENUITEM "z", 3
END
2 MENU { MENUITEM "dup", 1 }
)";
  ResourceSet set = f.Compile();
  ASSERT_EQ(3u, set.diagnostics.size()) << Problems(set);
  EXPECT_EQ(4, set.diagnostics[0].line);
  EXPECT_EQ(10, set.diagnostics[1].line);
  EXPECT_EQ(13, set.diagnostics[2].line) << Problems(set);
  const Resource* dialog = Find(set, 5, 1);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(2, reinterpret_cast<const DLGTEMPLATE*>(dialog->data.data())->cdit);
  const Resource* menu = Find(set, 4, 2);
  ASSERT_NE(nullptr, menu);
  HMENU loaded = user_menu::LoadMenuTemplate(menu->data.data(), menu->data.size());
  EXPECT_EQ(2, GetMenuItemCount(loaded));
  DestroyMenu(loaded);
}

}  // namespace
