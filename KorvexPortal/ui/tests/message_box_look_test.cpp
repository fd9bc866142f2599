// The message box as a phone user sees it: the frame of each kind above the soft-key bar over the
// dimmed screen beneath, its text centred on one line or wrapped beside the icon, the moving
// progress strip of the wait box; screenshots of each at 240x320 and 480x640.
#include "message_box_fixture.h"
#include "testing/screenshot.h"

using namespace boxtest;
using namespace kvtest;

namespace {

COLORREF ScreenPixel(int x, int y)
{
  HDC dc = GetDC(nullptr);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return colour;
}

int Brightness(COLORREF c)
{
  return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
}

// The box around the text's pixels (near black) in the rectangle; empty when there are none.
RECT TextInk(RECT area)
{
  RECT ink{area.right, area.bottom, area.left, area.top};
  HDC dc = GetDC(nullptr);
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (Brightness(GetPixel(dc, x, y)) < 80) {
        ink.left = std::min<LONG>(ink.left, x), ink.top = std::min<LONG>(ink.top, y);
        ink.right = std::max<LONG>(ink.right, x + 1), ink.bottom = std::max<LONG>(ink.bottom, y + 1);
      }
  ReleaseDC(nullptr, dc);
  return ink;
}

// The frame's top on a portrait screen: 90 (scaled) above the soft-key bar.
int FrameTop(int height, int scale)
{
  return height - 26 * scale - 90 * scale;
}

class MessageBoxLook : public MessageBoxTest {
 protected:
  void UseScreen(int width, int height)
  {
    TearDown();
    UseLibrary(width, height);
    ShowScreen();
  }
};

TEST_F(MessageBoxLook, EachFrameKindShowsItsTextOverTheDimmedScreen)
{
  struct Kind {
    const char* name;
    UINT type;
    const char16_t* text;
    bool icon;
    bool oneLine;
  };
  const Kind kinds[] = {
      {"error", KV_BOX_ERROR, u"连接服务器失败，请检查网络设置后再试。如果问题仍然存在，请联系客服。", true, false},
      {"info", KV_BOX_QUESTION, u"确定要退出 Korvex 钱包吗？", true, true},
      {"success", KV_BOX_SUCCESS, u"充值成功", true, true},
      {"plain", KV_BOX_OK, u"已保存", false, true},
  };
  for (int width : {240, 480}) {
    int height = width * 4 / 3;
    int scale = width / 240;
    UseScreen(width, height);
    COLORREF page = ScreenPixel(width - 6, height / 3);
    for (const Kind& kind : kinds) {
      std::string name = std::string("message_box_") + kind.name + "_" + std::to_string(width) + "x" +
                         std::to_string(height);
      SCOPED_TRACE(name);
      Ask(kind.text, kind.type);
      ASSERT_TRUE(Waiting());
      SaveScreenshot(name);

      int dimmed = Brightness(ScreenPixel(width - 6, height / 3));
      EXPECT_NEAR(Brightness(page) * 4 / 5, dimmed, 4) << "the screen beneath dimmed by a fifth";
      int top = FrameTop(height, scale);
      EXPECT_GT(Brightness(ScreenPixel(width - 20, top + 10 * scale)), 230) << "the light frame";
      RECT text{2, top + 15 * scale, width - 12, top + 73 * scale};
      RECT ink = TextInk(text);
      ASSERT_LT(ink.left, ink.right) << "no text";
      if (kind.icon) {
        EXPECT_GE(ink.left, 2 + 56 * scale) << "clear of the icon";
      }
      if (kind.oneLine) {
        int left = kind.icon ? 2 + 56 * scale : 2;
        EXPECT_NEAR((left + text.right) / 2, (ink.left + ink.right) / 2, 2 * scale) << "centred";
      } else {
        EXPECT_LE(ink.left, 2 + 56 * scale + 2 * scale) << "wrapped lines start at the left";
        EXPECT_GT(ink.bottom - ink.top, 20 * scale) << "more than one line";
      }
      HWND key = Key(KV_BOX_ANSWER_OK);
      ASSERT_TRUE(Visible(key));
      ASSERT_TRUE(TapWindow(key));
      ASSERT_EQ(KV_BOX_ANSWER_OK, result);
    }
  }
}

TEST_F(MessageBoxLook, TheWaitBoxShowsItsStripUnderTheTextAndMovesIt)
{
  UseVirtualTime();
  for (int width : {240, 480}) {
    int height = width * 4 / 3;
    int scale = width / 240;
    UseScreen(width, height);
    Ask(u"正在提交数据，请稍候……", KV_BOX_WAIT, TRUE);
    HWND strip = GetDlgItem(Box(), CSkinMessageBox::kProgressId);
    ASSERT_TRUE(Visible(strip));
    RECT rect{};
    GetWindowRect(strip, &rect);
    int top = FrameTop(height, scale);
    EXPECT_EQ(190 * scale, rect.right - rect.left);
    EXPECT_EQ((width - 190 * scale) / 2, rect.left) << "centred";
    EXPECT_EQ(top + 50 * scale, rect.top);
    EXPECT_EQ(top + 70 * scale, rect.bottom);

    auto barPixels = [&] {
      int count = 0;
      for (int x = rect.left; x < rect.right; ++x) {
        COLORREF c = ScreenPixel(x, (rect.top + rect.bottom) / 2);
        count += GetBValue(c) > GetRValue(c) + 60;
      }
      return count;
    };
    int before = barPixels();
    ASSERT_TRUE(AdvanceTime(2000));
    int after = barPixels();
    EXPECT_GT(after, before + 20 * scale) << "the bar moved on every 100 ms";
    SaveScreenshot("message_box_wait_" + std::to_string(width) + "x" + std::to_string(height));
    ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_CANCEL)));
    ASSERT_EQ(KV_BOX_ANSWER_CANCEL, result);
  }
}

// A box without the strip that follows the wait box shows its frame where the strip was.
TEST_F(MessageBoxLook, ABoxAfterTheWaitBoxLeavesNoStripBehind)
{
  UseVirtualTime();
  for (int width : {240, 480}) {
    int height = width * 4 / 3;
    UseScreen(width, height);
    Ask(u"正在提交数据，请稍候……", KV_BOX_WAIT, TRUE);
    HWND strip = GetDlgItem(Box(), CSkinMessageBox::kProgressId);
    ASSERT_TRUE(Visible(strip));
    RECT rect{};
    GetWindowRect(strip, &rect);
    ASSERT_TRUE(AdvanceTime(500));
    ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_CANCEL)));
    ASSERT_EQ(KV_BOX_ANSWER_CANCEL, result);

    Ask(u"支付成功！", KV_BOX_OK);
    ASSERT_TRUE(Waiting());
    EXPECT_FALSE(Visible(strip));
    int dark = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        dark += Brightness(ScreenPixel(x, y)) < 200;
    EXPECT_EQ(0, dark) << "the strip's track or bar still shows";
    SaveScreenshot("message_box_after_wait_" + std::to_string(width) + "x" + std::to_string(height));
    ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_OK)));
  }
}

// The landscape library's screen is less than 320 high: the frame still stands its full height.
TEST_F(MessageBoxLook, ALandscapeScreenShowsTheWholeFrameAboveTheKeys)
{
  UseScreen(320, 240);
  Ask(u"您需要先绑定手机才能使用本服务。", KV_BOX_INFO);
  SaveScreenshot("message_box_info_320x240");
  int top = 240 - 26 - 90;
  EXPECT_GT(Brightness(ScreenPixel(300, top + 10)), 230) << "the frame";
  RECT ink = TextInk(RECT{2, top + 15, 320 - 12, top + 73});
  EXPECT_LT(ink.left, ink.right) << "the text inside the frame";
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_OK)));
  EXPECT_EQ(KV_BOX_ANSWER_OK, result);
}

}  // namespace
