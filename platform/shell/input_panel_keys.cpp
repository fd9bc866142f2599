#include "input_panel_keys.h"

#include <algorithm>

namespace shell {
namespace {

constexpr int kRows = 5;
constexpr int kColumns = 10;

// One key of a row: its kind, its character and how many key widths it spans.
struct KeySpec {
  PanelKeyKind kind;
  char16_t character;
  int span;
};

KeySpec Char(char16_t c) { return KeySpec{PanelKeyKind::character, c, 1}; }

std::vector<KeySpec> Row(std::u16string_view characters)
{
  std::vector<KeySpec> row;
  for (char16_t c : characters)
    row.push_back(Char(c));
  return row;
}

std::vector<std::vector<KeySpec>> Rows()
{
  std::vector<std::vector<KeySpec>> rows{Row(u"1234567890"), Row(u"qwertyuiop"), Row(u"asdfghjkl"),
                                         {KeySpec{PanelKeyKind::shift, 0, 1}},
                                         Row(u",.")};
  rows[2].push_back(KeySpec{PanelKeyKind::backspace, 0, 1});
  for (KeySpec key : Row(u"zxcvbnm"))
    rows[3].push_back(key);
  rows[3].push_back(KeySpec{PanelKeyKind::enter, 0, 2});
  rows[4].push_back(KeySpec{PanelKeyKind::space, u' ', 6});
  for (KeySpec key : Row(u"-@"))
    rows[4].push_back(key);
  return rows;
}

bool Contains(const RECT& rect, POINT point)
{
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

bool IsLetter(char16_t c)
{
  return c >= u'a' && c <= u'z';
}

}  // namespace

std::vector<PanelKey> LayOutPanelKeys(const RECT& panel)
{
  int width = panel.right - panel.left;
  int height = panel.bottom - panel.top;
  std::vector<PanelKey> keys;
  if (width <= 0 || height <= 0)
    return keys;
  // A gap of one pixel per 240 of width between keys and around the rows.
  int gap = std::max(1, width / 240);
  int keyWidth = (width - gap) / kColumns;
  int rowHeight = (height - gap) / kRows;
  int left = panel.left + (width - keyWidth * kColumns) / 2;
  int row = 0;
  for (const std::vector<KeySpec>& specs : Rows()) {
    int top = panel.top + gap + row * rowHeight;
    int column = 0;
    for (const KeySpec& spec : specs) {
      RECT rect{left + column * keyWidth + gap, top, left + (column + spec.span) * keyWidth, top + rowHeight - gap};
      keys.push_back(PanelKey{rect, spec.kind, spec.character});
      column += spec.span;
    }
    ++row;
  }
  return keys;
}

const PanelKey* PanelKeyAt(const std::vector<PanelKey>& keys, POINT screen)
{
  auto found = std::find_if(keys.begin(), keys.end(), [&](const PanelKey& key) { return Contains(key.rect, screen); });
  return found == keys.end() ? nullptr : &*found;
}

char16_t TypedCharacter(const PanelKey& key, bool shifted)
{
  if (key.kind != PanelKeyKind::character && key.kind != PanelKeyKind::space)
    return 0;
  if (shifted && IsLetter(key.character))
    return static_cast<char16_t>(key.character - u'a' + u'A');
  return key.character;
}

std::u16string PanelKeyCaption(const PanelKey& key, bool shifted)
{
  switch (key.kind) {
  case PanelKeyKind::shift: return u"↑";
  case PanelKeyKind::backspace: return u"←";
  case PanelKeyKind::enter: return u"回车";
  case PanelKeyKind::space: return u"空格";
  case PanelKeyKind::character: break;
  }
  return std::u16string(1, TypedCharacter(key, shifted));
}

}  // namespace shell
