// The scroll form: the bar's range and page from how far the children reach, scrolling by moving
// the children, the soft input panel's share of the screen, and the walk over the children.
#include "scroll_form.h"

#include <algorithm>
#include <memory>

#include "app_services.h"
#include "scroll_skin_fixture.h"
#include "test_resource_library.h"

namespace {

using namespace kvtest;
using namespace scrolltest;

class ScrollFormTest : public ScrollFixture {
 protected:
  void SetUp() override
  {
    ScrollFixture::SetUp();
    HMODULE library = MakeResourceLibrary(root, "FormRes", "229 BITMAP \"scroll.bmp\"\n", {{"scroll.bmp", SkinBmp(kCell)}});
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
    dialog = parent;
    form = std::make_unique<CScrollForm>(&dialog);
    onScroll = [this](UINT, WPARAM wParam) { form->OnVScroll(wParam); };
  }
  void TearDown() override
  {
    form.reset();
    ScrollFixture::TearDown();
  }
  // The dialog's visible height, and a field that reaches down to `bottom`.
  void SetHeight(int height) { MoveWindow(parent, 0, 0, 240, height, TRUE); }
  HWND Field(int top, int bottom, HWND owner = nullptr)
  {
    return CreateWindowExW(0, WC_STATICW, u"", WS_CHILD | WS_VISIBLE, 10, top, 100, bottom - top,
                           owner ? owner : parent, nullptr, nullptr, nullptr);
  }
  int TopOf(HWND window) const
  {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect.top;
  }

  CKorvexPortalApp app;
  CWindow dialog;
  std::unique_ptr<CScrollForm> form;
};

TEST_F(ScrollFormTest, TheBarAppearsWithARangeForWhatLiesBelow)
{
  struct Case {
    const char* what;
    int height, bottom;
    bool bar;
    int maximum;
    UINT page;
  };
  const Case cases[] = {
      {"700 on 268", 268, 700, true, 440, 268},
      {"a little below: the page is half the range", 268, 300, true, 40, 20},
      {"all fits", 268, 268, false, 0, 0},
  };
  for (const Case& c : cases) {
    SetHeight(c.height);
    HWND field = Field(c.bottom - 30, c.bottom);
    HWND parked = Field(1000, 1040);
    form->Relayout();
    HWND bar = form->GetBar();
    EXPECT_EQ(c.bar, bar && IsWindowVisible(bar)) << c.what;
    if (c.bar) {
      SCROLLINFO info = InfoOf(bar);
      EXPECT_EQ(std::make_tuple(0, c.maximum, c.page), std::make_tuple(info.nMin, info.nMax, info.nPage)) << c.what;
      RECT rect;
      GetWindowRect(bar, &rect);
      EXPECT_EQ(std::make_tuple(240L - 12, 0L, 240L, static_cast<LONG>(c.height)),
                std::make_tuple(rect.left, rect.top, rect.right, rect.bottom))
          << c.what << ": at the right edge";
      EXPECT_EQ(CScrollForm::kBarId, GetDlgCtrlID(bar));
    }
    DestroyWindow(field);
    DestroyWindow(parked);
  }
}

TEST_F(ScrollFormTest, ScrollingMovesTheChildrenByWhatThePositionReallyChanged)
{
  SetHeight(268);
  HWND top = Field(10, 40);
  HWND bottom = Field(670, 700);
  form->Relayout();
  HWND bar = form->GetBar();
  ASSERT_NE(nullptr, bar);

  struct Step {
    WORD code, thumb;
    int position;
  };
  const Step steps[] = {
      {SB_LINEDOWN, 0, 10}, {SB_PAGEDOWN, 0, 30},  {SB_THUMBTRACK, 430, 430}, {SB_PAGEDOWN, 0, 440},
      {SB_LINEDOWN, 0, 440}, {SB_LINEUP, 0, 430},  {SB_THUMBPOSITION, 900, 440}, {SB_PAGEUP, 0, 420},
      {SB_ENDSCROLL, 0, 420},
  };
  for (const Step& s : steps) {
    form->OnVScroll(MAKEWPARAM(s.code, s.thumb));
    EXPECT_EQ(s.position, InfoOf(bar).nPos) << s.code << " " << s.thumb;
    EXPECT_EQ(10 - s.position, TopOf(top)) << s.code << " " << s.thumb;
    EXPECT_EQ(670 - s.position, TopOf(bottom));
  }
  EXPECT_EQ(240 - 12, [&] {
    RECT rect;
    GetWindowRect(bar, &rect);
    return static_cast<int>(rect.left);
  }()) << "the bar itself stays";

  // A tap on the bar's down arrow reaches the form through the dialog.
  RECT rect;
  GetWindowRect(bar, &rect);
  ASSERT_TRUE(Tap(POINT{rect.left + 6, rect.bottom - 6}));
  EXPECT_EQ(430, InfoOf(bar).nPos);
  EXPECT_EQ(10 - 430, TopOf(top));
}

TEST_F(ScrollFormTest, TheInputPanelShortensTheVisibleArea)
{
  SetHeight(320);
  HWND field = Field(200, 240);
  form->Relayout();
  EXPECT_EQ(nullptr, form->GetBar()) << "everything fits without the panel";

  ASSERT_TRUE(SipShowIM(SIPF_ON));
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  ASSERT_TRUE(SipGetInfo(&sip));
  ASSERT_LT(sip.rcSipRect.top, 240) << "the panel covers the field";
  form->Relayout();
  HWND bar = form->GetBar();
  ASSERT_NE(nullptr, bar);
  EXPECT_TRUE(IsWindowVisible(bar));
  RECT rect;
  GetWindowRect(bar, &rect);
  EXPECT_EQ(sip.rcSipRect.top, rect.bottom) << "the bar ends above the panel";
  form->OnVScroll(MAKEWPARAM(SB_LINEDOWN, 0));
  EXPECT_EQ(190, TopOf(field));

  ASSERT_TRUE(SipShowIM(SIPF_OFF));
  form->Relayout();
  EXPECT_FALSE(IsWindowVisible(bar));
  EXPECT_EQ(0, InfoOf(bar).nPos);
  EXPECT_EQ(200, TopOf(field)) << "back at the top";
}

// Where the input panel covers the field being typed in, the form scrolls it above the panel:
// when the panel comes (the field had the focus) and when a field under it takes the focus.
TEST_F(ScrollFormTest, TheFocusedFieldShowsAboveTheInputPanel)
{
  SetHeight(320);
  auto edit = [&](int top) {
    return CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, top, 100, 24, parent, nullptr,
                           nullptr, nullptr);
  };
  HWND first = edit(200);
  HWND second = edit(260);
  form->Relayout();
  SetFocus(first);
  ASSERT_EQ(first, GetFocus());
  ASSERT_TRUE(SipShowIM(SIPF_ON));
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  ASSERT_TRUE(SipGetInfo(&sip));
  POINT panel{0, sip.rcSipRect.top};
  ScreenToClient(parent, &panel);
  ASSERT_LT(panel.y, 224) << "the panel covers the first field";
  auto bottomOf = [&](HWND window) { return TopOf(window) + 24; };

  form->Relayout();
  EXPECT_LE(bottomOf(first), panel.y) << "the field with the focus is scrolled above the panel";
  EXPECT_GE(TopOf(first), 0);

  SetFocus(second);
  form->ScrollIntoView(second);
  EXPECT_LE(bottomOf(second), panel.y) << "a field taking the focus under the panel";
  EXPECT_GE(TopOf(second), 0);

  ASSERT_TRUE(SipShowIM(SIPF_OFF));
  form->Relayout();
  EXPECT_EQ(200, TopOf(first)) << "back at the top";
}

TEST_F(ScrollFormTest, ForEachChildWindowWalksDepthFirst)
{
  HWND a = Field(0, 10);
  HWND a1 = Field(0, 5, a);
  HWND a1x = Field(0, 2, a1);
  HWND b = Field(20, 30);
  std::vector<HWND> seen;
  auto note = [](HWND window, void* context) { static_cast<std::vector<HWND>*>(context)->push_back(window); };
  EXPECT_TRUE(CScrollForm::ForEachChildWindow(parent, note, &seen));
  EXPECT_EQ((std::vector<HWND>{a, a1, a1x, b}), seen);

  EXPECT_FALSE(CScrollForm::ForEachChildWindow(b, note, &seen)) << "no child";
  SetLastError(0);
  EXPECT_FALSE(CScrollForm::ForEachChildWindow(parent, nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

}  // namespace
