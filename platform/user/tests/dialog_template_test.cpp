// The dialog template's byte layout, as resource libraries and the dialog manager share it.
#include <gtest/gtest.h>

#include <cstring>

#include "internal/user/dialog_template_writer.h"

using namespace user_dialog;

namespace {

std::vector<BYTE> Bytes(std::initializer_list<int> values)
{
  std::vector<BYTE> bytes;
  for (int value : values)
    bytes.push_back(static_cast<BYTE>(value));
  return bytes;
}

// Little-endian WORDs and DWORDs as bytes.
void Append(std::vector<BYTE>& out, std::initializer_list<unsigned> words)
{
  for (unsigned word : words) {
    out.push_back(static_cast<BYTE>(word));
    out.push_back(static_cast<BYTE>(word >> 8));
  }
}

}  // namespace

TEST(DialogTemplateWriter, LaysOutHeaderFontAndAlignedItems)
{
  DialogSpec spec;
  spec.style = 0x80000000u;  // WS_POPUP
  spec.x = 1;
  spec.y = 2;
  spec.cx = 100;
  spec.cy = 50;
  spec.title = u"Hi";
  spec.pointSize = 9;
  spec.faceName = u"A";
  DialogItemSpec ok;
  ok.className = TemplateName::Ordinal(DLG_CLASS_BUTTON);
  ok.title = TemplateName::Text(u"OK");
  ok.id = 1;
  ok.style = 0x50010001u;
  ok.x = 3;
  ok.y = 4;
  ok.cx = 30;
  ok.cy = 12;
  DialogItemSpec custom;
  custom.className = TemplateName::Text(u"Ab");
  custom.title = TemplateName::Ordinal(7);
  custom.id = 0x1234;
  custom.creationData = Bytes({0xAA, 0xBB, 0xCC});
  spec.items = {ok, custom};

  std::vector<BYTE> expected;
  Append(expected, {DS_SETFONT, 0x8000, 0, 0});    // style (WS_POPUP | DS_SETFONT), exstyle
  Append(expected, {2, 1, 2, 100, 50});              // cdit, x, y, cx, cy
  Append(expected, {0, 0});                          // no menu, dialog class
  Append(expected, {'H', 'i', 0});                   // title
  Append(expected, {9, 'A', 0});                     // font
  ASSERT_EQ(expected.size(), 34u);
  Append(expected, {0});                             // pad to a DWORD
  Append(expected, {0x0001, 0x5001, 0, 0, 3, 4, 30, 12, 1});
  Append(expected, {0xFFFF, 0x0080, 'O', 'K', 0, 0});  // class atom, title, no data
  Append(expected, {0});                               // pad to a DWORD
  ASSERT_EQ(expected.size(), 68u);
  Append(expected, {0, 0, 0, 0, 0, 0, 0, 0, 0x1234});
  Append(expected, {'A', 'b', 0, 0xFFFF, 7, 3});
  expected.insert(expected.end(), {0xAA, 0xBB, 0xCC});

  EXPECT_EQ(BuildDialogTemplate(spec), expected);
}

TEST(DialogTemplateWriter, MenuAndClassFieldsTakeOrdinalsOrNames)
{
  DialogSpec spec;
  spec.menu = TemplateName::Ordinal(300);
  spec.className = TemplateName::Text(u"C");
  std::vector<BYTE> bytes = BuildDialogTemplate(spec);
  std::vector<BYTE> expected(sizeof(DLGTEMPLATE), 0);
  Append(expected, {0xFFFF, 300, 'C', 0, 0});
  EXPECT_EQ(bytes, expected);
}

TEST(DialogTemplateWriter, RefusesCreationDataBeyondAWord)
{
  DialogSpec spec;
  DialogItemSpec item;
  item.creationData.assign(0x10000, 0);
  spec.items = {item};
  EXPECT_TRUE(BuildDialogTemplate(spec).empty());
}
