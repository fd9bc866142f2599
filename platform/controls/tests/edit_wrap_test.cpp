// Multi-line edits wrap their lines at their width: the lines they keep, the line messages, the
// scroll bar, the caret's keys and taps, and painting all follow the wrapped lines.
#include <algorithm>

#include "../edit_lines.h"
#include "controls_fixture.h"

namespace {

using namespace kvtest;
using controls_detail::EditLines;

struct LineCase {
  size_t start;
  size_t length;
  bool wrapped;
  bool operator==(const LineCase&) const = default;
};

std::ostream& operator<<(std::ostream& out, const LineCase& l)
{
  return out << "{" << l.start << ", " << l.length << (l.wrapped ? ", wrapped}" : "}");
}

// Every unit 10 pixels wide.
void Tens(std::u16string_view, std::span<int> advances)
{
  std::fill(advances.begin(), advances.end(), 10);
}

TEST(EditLinesOfAText, EndAtLineBreaksAndWrapsWithTheSpacesKeptOnTheLine)
{
  struct Case {
    const char* what;
    std::u16string text;
    int width;  // 0: no wrapping
    std::vector<LineCase> lines;
  };
  const Case cases[] = {
      {"spaces stay at the end of the wrapped line", u"ab cd ef", 50, {{0, 6, true}, {6, 2, false}}},
      {"line breaks are no part of a line", u"ab\r\n\r\ncd\n", 0, {{0, 2, false}, {4, 0, false}, {6, 2, false}, {9, 0, false}}},
      {"a word too long keeps its line", u"abcdefgh ij", 30, {{0, 9, true}, {9, 2, false}}},
      {"no line starts with closing punctuation", u"一二三，四", 30, {{0, 2, true}, {2, 3, false}}},
      {"the empty text", u"", 30, {{0, 0, false}}},
  };
  for (const Case& c : cases) {
    EditLines lines;
    lines.Break(c.text, c.width ? EditLines::Measure(Tens) : EditLines::Measure(), c.width);
    std::vector<LineCase> got;
    for (size_t i = 0; i < lines.Count(); ++i)
      got.push_back({lines[i].start, lines[i].length, lines[i].wrapped});
    EXPECT_EQ(c.lines, got) << c.what;
    // Each line's positions are its own; where the text wrapped, the position starts the next line.
    for (size_t i = 0; i < lines.Count(); ++i) {
      EXPECT_EQ(i, lines.LineOf(lines[i].start)) << c.what;
      EXPECT_EQ(lines[i].wrapped ? i + 1 : i, lines.LineOf(lines[i].End())) << c.what;
    }
  }
}

// Where the caret stands: its position and its line (EM_LINEFROMCHAR of -1).
struct Caret {
  DWORD position;
  LRESULT line;
  bool operator==(const Caret&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Caret& c)
{
  return out << "position " << c.position << " on line " << c.line;
}

class EditWrap : public ControlsTest {
 protected:
  // The width of an ideograph in the edit's font.
  static int Ideograph(HWND edit)
  {
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, u"一", 1, &size);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    return size.cx;
  }
  // Gives the edit a client area with room for `count` ideographs a line, but not one more.
  static void RoomFor(HWND edit, int count)
  {
    RECT window, client;
    GetWindowRect(edit, &window);
    GetClientRect(edit, &client);
    int frame = (window.right - window.left) - client.right;
    int width = count * Ideograph(edit) + Ideograph(edit) / 2 + 4;  // 4: the margins
    SetWindowPos(edit, nullptr, 0, 0, width + frame, window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER);
  }
  // The lines as the line messages tell them.
  static std::vector<std::u16string> LinesOf(HWND edit)
  {
    std::u16string text = TextOf(edit);
    std::vector<std::u16string> lines;
    LRESULT count = SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      auto start = static_cast<size_t>(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(i), 0));
      auto length = static_cast<size_t>(SendMessageW(edit, EM_LINELENGTH, start, 0));
      lines.push_back(text.substr(start, length));
    }
    return lines;
  }
  static int LineHeight(HWND edit)
  {
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    return metrics.tmHeight;
  }
  // Pixels other than the parent's background on a line of the client area.
  int InkOnLine(HWND edit, int line)
  {
    EXPECT_TRUE(RunUntilIdle());
    RECT client;
    GetClientRect(edit, &client);
    int height = LineHeight(edit);
    HDC dc = GetDC(edit);
    int ink = 0;
    for (int y = line * height; y < (line + 1) * height && y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x)
        ink += GetPixel(dc, x, y) != kParentColour;
    ReleaseDC(edit, dc);
    return ink;
  }
  static Caret CaretOf(HWND edit)
  {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return Caret{end, SendMessageW(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0)};
  }
};

TEST_F(EditWrap, WrapsAtItsWidthUnlessItScrollsSideways)
{
  const std::u16string text = u"一二三，四五六\r\n\r\n七";
  struct Case {
    const char* what;
    DWORD style;
    std::vector<std::u16string> lines;
  };
  const Case cases[] = {
      {"multi-line", ES_MULTILINE, {u"一二", u"三，四", u"五六", u"", u"七"}},
      {"scrolling sideways", ES_MULTILINE | ES_AUTOHSCROLL, {u"一二三，四五六", u"", u"七"}},
      {"with a horizontal bar", ES_MULTILINE | WS_HSCROLL, {u"一二三，四五六", u"", u"七"}},
      {"single-line", 0, {text}},
  };
  for (const Case& c : cases) {
    HWND edit = Make(WC_EDITW, text.c_str(), c.style, {10, 10, 200, 100});
    RoomFor(edit, 3);
    EXPECT_EQ(c.lines, LinesOf(edit)) << c.what;
    if (c.style & ES_MULTILINE) {
      EXPECT_EQ(c.lines[1].empty(), InkOnLine(edit, 1) == 0) << c.what << ": the second line as painted";
    }
    DestroyWindow(edit);
  }
}

TEST_F(EditWrap, WrapsAgainWhenResizedAndItsScrollBarCountsTheWrappedLines)
{
  HWND edit = Make(WC_EDITW, u"一二三四五六七八九十百千", ES_MULTILINE | WS_VSCROLL, {10, 10, 200, 200});
  struct Case {
    int room;
    std::vector<std::u16string> lines;
  };
  const Case cases[] = {
      {3, {u"一二三", u"四五六", u"七八九", u"十百千"}},
      {6, {u"一二三四五六", u"七八九十百千"}},
      {12, {u"一二三四五六七八九十百千"}},
  };
  for (const Case& c : cases) {
    RoomFor(edit, c.room);
    EXPECT_EQ(c.lines, LinesOf(edit)) << c.room;
    SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(edit, SB_VERT, &info));
    EXPECT_EQ(static_cast<int>(c.lines.size()) - 1, info.nMax) << c.room;
  }
}

TEST_F(EditWrap, TheCaretKeysAndTapsFollowTheWrappedLines)
{
  HWND edit = Make(WC_EDITW, u"一二三四五六七八九", ES_MULTILINE, {10, 10, 200, 100});
  RoomFor(edit, 3);  // 一二三 | 四五六 | 七八九
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 1, 1);
  const int ideograph = Ideograph(edit);
  const int height = LineHeight(edit);
  RECT client;
  GetClientRect(edit, &client);
  struct Step {
    const char* what;
    std::function<bool()> act;
    Caret caret;
  };
  const Step steps[] = {
      {"End", [] { return PressKey(VK_END); }, {3, 0}},  // at the end of its line, not the next one's start
      {"Down", [] { return PressKey(VK_DOWN); }, {6, 1}},
      {"Home", [] { return PressKey(VK_HOME); }, {3, 1}},
      {"Up", [] { return PressKey(VK_UP); }, {0, 0}},
      {"a tap after the first ideograph of the third line",
       [&] { return TapWindow(edit, POINT{2 + ideograph + ideograph / 4, 2 * height + height / 2}); }, {7, 2}},
      {"a tap past the end of the first line",
       [&] { return TapWindow(edit, POINT{client.right - 1, height / 2}); }, {3, 0}},
  };
  for (const Step& step : steps) {
    ASSERT_TRUE(step.act()) << step.what;
    EXPECT_EQ(step.caret, CaretOf(edit)) << step.what;
  }
}

}  // namespace
