// The hint edit: the hint fills an empty unfocused field; the character filter keeps numeric and
// amount fields to digits and one well-placed point within the limit; with an input method a
// numeric field takes the released key.
#include "hint_edit.h"

#include <list>

#include "toolkit_fixture.h"

namespace {

class HintEdit : public kvtest::ToolkitTest {
 protected:
  // An edit that outlives its window (the fixture destroys the windows first).
  // maxDecimals -1: a text or numeric field; otherwise an amount field.
  CHintEdit& NewEdit(bool numeric = false, int maxDecimals = -1)
  {
    return maxDecimals == -1 ? edits.emplace_back(numeric) : edits.emplace_back(true, maxDecimals);
  }
  HWND MakeEdit(CHintEdit& edit, int id = 1001)
  {
    HWND hwnd = CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 50 + (id - 1001) * 40, 150,
                                24, parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    EXPECT_TRUE(edit.SubclassEdit(hwnd, RGB(0, 0, 255)));
    return hwnd;
  }
  static std::string TextOf(HWND hwnd)
  {
    WCHAR buffer[64] = {};
    GetWindowTextW(hwnd, buffer, 64);
    return kvtest::Narrow(buffer);
  }

  std::list<CHintEdit> edits;
};

TEST_F(HintEdit, FiltersCharactersByKindPlaceAndLimit)
{
  struct Case {
    const char* name;
    bool numeric;
    int maxDecimals;
    int limit;  // 0: the edit's own
    const char16_t* text;
    int caret;
    WCHAR ch;
    const char* expected;
  };
  const Case cases[] = {
      {"text field takes letters", false, -1, 0, u"ab", 2, u'c', "abc"},
      {"text field takes a point", false, -1, 0, u"ab", 0, u'.', ".ab"},
      {"numeric takes digits", true, -1, 0, u"12", 2, u'3', "123"},
      {"numeric swallows letters", true, -1, 0, u"12", 2, u'x', "12"},
      {"numeric without decimals swallows a point", true, -1, 0, u"12", 2, u'.', "12"},
      {"amount: digit after two decimals swallowed", true, 2, 0, u"12.34", 5, u'5', "12.34"},
      {"amount: digit before the point passes", true, 2, 0, u"12.34", 1, u'5', "152.34"},
      {"amount: digit as the second decimal passes", true, 2, 0, u"12.3", 4, u'4', "12.34"},
      {"amount: point first swallowed", true, 2, 0, u"12", 0, u'.', "12"},
      {"amount: second point swallowed", true, 2, 0, u"1.2", 3, u'.', "1.2"},
      {"amount: point with three digits behind swallowed", true, 2, 0, u"12345", 2, u'.', "12345"},
      {"amount: point with two digits behind passes", true, 2, 0, u"12345", 3, u'.', "123.45"},
      {"any decimals: point anywhere but first", true, 0, 0, u"12345", 1, u'.', "1.2345"},
      {"at the limit a character is swallowed", false, -1, 3, u"abc", 3, u'd', "abc"},
      {"at the limit backspace passes", false, -1, 3, u"abc", 3, u'\b', "ab"},
      {"backspace passes in a numeric field", true, 2, 0, u"1.2", 3, u'\b', "1."},
  };
  for (const Case& c : cases) {
    CHintEdit& edit = NewEdit(c.numeric, c.maxDecimals);
    HWND hwnd = MakeEdit(edit);
    SetWindowTextW(hwnd, c.text);
    if (c.limit)
      SendMessageW(hwnd, EM_SETLIMITTEXT, c.limit, 0);
    SendMessageW(hwnd, EM_SETSEL, c.caret, c.caret);
    SendMessageW(hwnd, WM_CHAR, c.ch, 1);
    EXPECT_EQ(c.expected, TextOf(hwnd)) << c.name;
    edit.DestroyBorders();
    DestroyWindow(hwnd);
  }
}

TEST_F(HintEdit, TextsLongerThanTheLimitAreCut)
{
  HWND hwnd = MakeEdit(NewEdit());
  SetWindowTextW(hwnd, u"abcdef");
  SendMessageW(hwnd, EM_SETLIMITTEXT, 3, 0);
  EXPECT_EQ("abcdef", TextOf(hwnd)) << "a limit set later leaves the text";
  SendMessageW(hwnd, WM_CHAR, u'x', 1);
  EXPECT_EQ("abc", TextOf(hwnd)) << "the next character cuts it and is swallowed";
  SetWindowTextW(hwnd, u"uvwxyz");
  EXPECT_EQ("uvw", TextOf(hwnd));
}

TEST_F(HintEdit, HintFillsAnEmptyUnfocusedField)
{
  CHintEdit& amount = NewEdit(true, 2);
  amount.m_strHint = u"请输入金额";
  HWND first = MakeEdit(amount, 1001);
  CHintEdit& other = NewEdit();
  HWND second = MakeEdit(other, 1002);
  SetFocus(first);
  SetFocus(second);
  EXPECT_EQ("请输入金额", TextOf(first)) << "shown when the empty field loses the focus";
  SetFocus(first);
  EXPECT_EQ("", TextOf(first)) << "cleared when it gets the focus";
  SetWindowTextW(first, u"8.5");
  SetFocus(second);
  EXPECT_EQ("8.5", TextOf(first));

  other.m_strHint = u"Account";
  SetWindowTextW(second, u"ACCOUNT");
  SetFocus(first);
  SetFocus(second);
  EXPECT_EQ("", TextOf(second)) << "the hint matches without regard to case";
}

TEST_F(HintEdit, NumericFieldTakesTheReleasedKeyUnderAnInputMethod)
{
  HWND hwnd = MakeEdit(NewEdit(true));
  SetFocus(hwnd);
  struct Step {
    UINT key;
    const char* expected;
  };
  const Step steps[] = {{'5', "5"}, {'A', "5"}, {'7', "57"}};
  for (const Step& s : steps) {
    SendMessageW(hwnd, WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    EXPECT_EQ(0, SendMessageW(hwnd, WM_KEYUP, s.key, 0xC0000001));
    EXPECT_EQ(s.expected, TextOf(hwnd)) << static_cast<char>(s.key);
  }
  SendMessageW(hwnd, WM_KEYUP, '9', 0xC0000001);
  EXPECT_EQ("57", TextOf(hwnd)) << "a key release without a composition adds nothing";

  HWND plain = MakeEdit(NewEdit(), 1002);
  SetFocus(plain);
  ASSERT_TRUE(kvtest::TypeImeText(u"中文"));
  EXPECT_EQ("中文", TextOf(plain)) << "a text field takes the composition";
}

}  // namespace
