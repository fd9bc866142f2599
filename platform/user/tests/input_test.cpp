// Input: where taps go (topmost first, hidden and disabled windows and plain statics passed
// over), taps in a window's frame, activation by taps, double taps, key messages, typed and
// composed text.
#include "user_test_fixture.h"

using namespace kvtest;

namespace {

using TapInput = UserTest;
using KeyInput = UserTest;

constexpr DWORD kShownPopup = WS_POPUP | WS_VISIBLE;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kStaticNotify = 0x0100;

HWND CreateStatic(HWND parent, RECT rect, DWORD style)
{
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"STATIC";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, u"Static", u"label", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, nullptr, nullptr);
}

std::string ReceiverOfTap(MessageLog& log, POINT point)
{
  log.Clear();
  if (!Tap(point))
    return "(not idle)";
  for (const auto& m : log.Messages())
    if (m.message == WM_LBUTTONDOWN)
      return m.window;
  return "(nobody)";
}

TEST_F(TapInput, GoesToTheTopmostVisibleEnabledWindowUnderIt)
{
  HWND back = CreateRecordingWindow(log, {.name = "back", .style = kShownPopup, .rect = {0, 0, 240, 320}});
  CreateRecordingWindow(log, {.name = "front", .style = kShownPopup, .rect = {0, 0, 100, 100}});
  HWND hidden = CreateRecordingWindow(log, {.name = "hidden", .style = WS_CHILD, .parent = back, .rect = {150, 0, 240, 50}});
  CreateRecordingWindow(log, {.name = "disabled", .style = kChild | WS_DISABLED, .parent = back, .rect = {150, 50, 240, 100}});
  CreateRecordingWindow(log, {.name = "under", .style = kChild, .parent = back, .rect = {150, 100, 240, 200}});
  CreateStatic(back, {150, 100, 240, 150}, 0);
  CreateRecordingWindow(log, {.name = "noted-under", .style = kChild, .parent = back, .rect = {150, 200, 240, 300}});
  HWND notifying = CreateStatic(back, {150, 200, 240, 250}, kStaticNotify);
  log.Watch(notifying, "notifying static");
  // Statics were created after their siblings, so they lie below them; raise them.
  for (HWND s = GetWindow(back, GW_CHILD); s; s = GetWindow(s, GW_HWNDNEXT)) {
    WCHAR cls[16];
    GetClassNameW(s, cls, 16);
    if (std::u16string(cls) == u"STATIC") {
      SetWindowPos(s, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    }
  }
  SetWindowPos(notifying, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  struct Case {
    POINT point;
    const char* receiver;
  };
  const Case cases[] = {
      {{50, 50}, "front"},              // the topmost top-level window
      {{120, 50}, "back"},              // outside the front window
      {{160, 10}, "back"},              // a hidden child is not there
      {{160, 60}, "back"},              // a disabled child leaves the tap to its parent
      {{160, 110}, "under"},            // a static without SS_NOTIFY lets the tap through
      {{160, 210}, "notifying static"}, // one with SS_NOTIFY takes it
      {{300, 10}, "(nobody)"},          // off every window
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.receiver, ReceiverOfTap(log, c.point)) << c.point.x << "," << c.point.y;
  ShowWindow(hidden, SW_SHOW);
  EXPECT_EQ("hidden", ReceiverOfTap(log, {160, 10}));
  EXPECT_EQ(WindowFromPoint({160, 10}), hidden);
}

TEST_F(TapInput, ActivatesTheTappedTopLevelUnlessAWindowOnTheWayDeclines)
{
  HWND a = CreateRecordingWindow(log, {.name = "a", .style = kShownPopup, .rect = {0, 0, 100, 100}});
  HWND b = CreateRecordingWindow(log, {.name = "b", .style = kShownPopup, .rect = {100, 0, 200, 100}});
  HWND softKey = CreateRecordingWindow(
      log, {.name = "softkey", .style = kChild, .exStyle = WS_EX_NOACTIVATE, .parent = a, .rect = {0, 80, 50, 100}});
  ASSERT_EQ(b, GetActiveWindow());
  log.Clear();
  ASSERT_TRUE(TapWindow(softKey));
  EXPECT_EQ(b, GetActiveWindow()) << "a WS_EX_NOACTIVATE tap does not activate";
  log.Clear();
  ASSERT_TRUE(Tap({10, 10}));
  EXPECT_EQ(a, GetActiveWindow());
  EXPECT_EQ("", log.Mismatch({
                               {"b", WM_NCACTIVATE, sent | wparam, FALSE},
                               {"b", WM_ACTIVATE, sent | wparam, WA_INACTIVE},
                               {"a", WM_WINDOWPOSCHANGING, sent | optional},
                               {"a", WM_WINDOWPOSCHANGED, sent | optional},
                               {"a", WM_NCACTIVATE, sent | wparam, TRUE},
                               {"a", WM_ACTIVATE, sent | wparam, WA_CLICKACTIVE},
                               {"b", WM_KILLFOCUS, sent},
                               {"a", WM_SETFOCUS, sent | defwinproc},
                               {"a", WM_LBUTTONDOWN, posted | wparam | lparam, MK_LBUTTON, MAKELPARAM(10, 10)},
                               {"a", WM_LBUTTONUP, posted | lparam, 0, MAKELPARAM(10, 10)},
                           },
                           "a tap on an inactive window"));
}

// A tap in a window's frame is hit-tested on the window's thread: on its own scroll bar it comes
// as the non-client message with the bar's code and the screen point, elsewhere in the frame (or
// where the window calls its bar client area) as the client message. A tap in the client area
// asks nothing.
TEST_F(TapInput, InTheFrameTheWindowSaysWhatLiesThere)
{
  HWND framed = CreateRecordingWindow(
      log, {.name = "framed", .style = kShownPopup | WS_BORDER | WS_VSCROLL, .rect = {0, 0, 100, 100}});
  HWND answering = CreateRecordingWindow(
      log, {.name = "answering", .style = kShownPopup | WS_VSCROLL, .rect = {100, 0, 200, 100},
            .handler = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
              if (message == WM_NCHITTEST)
                return HTCLIENT;
              return std::nullopt;
            }});
  for (UINT ignored : {WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_WINDOWPOSCHANGING,
                       WM_WINDOWPOSCHANGED, WM_PAINT, WM_ERASEBKGND, WM_IME_SETCONTEXT, WM_IME_NOTIFY})
    log.Ignore(ignored);
  RECT client;
  GetClientRect(framed, &client);
  POINT barLeft{client.right, 0};
  ClientToScreen(framed, &barLeft);
  auto screen = [](int x, int y) { return MAKELPARAM(x, y); };
  struct Case {
    const char* what;
    POINT point;
    std::vector<ExpectedMessage> expected;
  };
  const Case cases[] = {
      {"the vertical bar",
       {barLeft.x + 3, 50},
       {{"framed", WM_NCHITTEST, sent | lparam, 0, screen(barLeft.x + 3, 50)},
        {"framed", WM_NCLBUTTONDOWN, posted | wparam | lparam, HTVSCROLL, screen(barLeft.x + 3, 50)},
        {"framed", WM_NCHITTEST, sent},
        {"framed", WM_NCLBUTTONUP, posted | wparam | lparam, HTVSCROLL, screen(barLeft.x + 3, 50)}}},
      {"the border",
       {0, 50},
       {{"framed", WM_NCHITTEST, sent | lparam, 0, screen(0, 50)},
        {"framed", WM_LBUTTONDOWN, posted | wparam | lparam, MK_LBUTTON, screen(-1, 49)},
        {"framed", WM_NCHITTEST, sent},
        {"framed", WM_LBUTTONUP, posted | wparam | lparam, 0, screen(-1, 49)}}},
      {"the client area",
       {20, 50},
       {{"framed", WM_LBUTTONDOWN, posted | wparam | lparam, MK_LBUTTON, screen(19, 49)},
        {"framed", WM_LBUTTONUP, posted | lparam, 0, screen(19, 49)}}},
      {"a bar the window calls client area",
       {195, 50},
       {{"answering", WM_NCHITTEST, sent | lparam, 0, screen(195, 50)},
        {"answering", WM_LBUTTONDOWN, posted | wparam | lparam, MK_LBUTTON, screen(95, 50)},
        {"answering", WM_NCHITTEST, sent},
        {"answering", WM_LBUTTONUP, posted | lparam, 0, screen(95, 50)}}},
  };
  for (const Case& c : cases) {
    log.Clear();
    ASSERT_TRUE(Tap(c.point));
    EXPECT_EQ("", log.Mismatch(c.expected, c.what));
  }
  EXPECT_EQ(HTVSCROLL, DefWindowProcW(answering, WM_NCHITTEST, 0, screen(195, 50))) << "the default answer";
}

TEST_F(TapInput, DoubleTapsOnlyForClassesThatAskForThem)
{
  CreateRecordingWindow(log, {.name = "dbl", .style = kShownPopup, .rect = {0, 0, 100, 100}, .doubleTaps = true});
  CreateRecordingWindow(log, {.name = "plain", .style = kShownPopup, .rect = {100, 0, 200, 100}});
  UseVirtualTime();
  auto downs = [&](POINT first, POINT second, DWORD pause) {
    AdvanceTime(1000);  // no double tap with the case before
    log.Clear();
    Tap(first);
    AdvanceTime(pause);
    Tap(second);
    std::string kinds;
    for (const auto& m : log.Messages())
      kinds += m.message == WM_LBUTTONDOWN ? "D" : m.message == WM_LBUTTONDBLCLK ? "2" : "";
    return kinds;
  };
  EXPECT_EQ("D2", downs({10, 10}, {11, 12}, 100));
  EXPECT_EQ("DD", downs({10, 10}, {10, 10}, GetDoubleClickTime() + 1)) << "too slow";
  EXPECT_EQ("DD", downs({10, 10}, {60, 60}, 100)) << "too far";
  EXPECT_EQ("DD", downs({110, 10}, {110, 10}, 100)) << "a class without CS_DBLCLKS";
}

TEST_F(KeyInput, GoesToTheFocusWithTheKeyBits)
{
  HWND top = CreateRecordingWindow(log, {.name = "top", .style = kShownPopup});
  HWND edit = CreateRecordingWindow(log, {.name = "edit", .style = kChild, .parent = top});
  SetFocus(edit);
  log.Clear();
  ASSERT_TRUE(KeyDown(VK_DOWN));
  ASSERT_TRUE(KeyDown(VK_DOWN));  // held: the repeat has the previous-state bit
  ASSERT_TRUE(KeyUp(VK_DOWN));
  EXPECT_EQ("", log.Mismatch({
                               {"edit", WM_KEYDOWN, posted | wparam | lparam, VK_DOWN, 0x01000001},
                               {"edit", WM_KEYDOWN, posted | wparam | lparam, VK_DOWN, 0x41000001},
                               {"edit", WM_KEYUP, posted | wparam | lparam, VK_DOWN, static_cast<LPARAM>(0xC1000001u)},
                           },
                           "an extended key held and released"));
  SetFocus(nullptr);
  log.Clear();
  ASSERT_TRUE(PressKey(VK_F1));
  EXPECT_EQ("top", log.Messages().at(0).window) << "without a focus, keys go to the active window";
}

TEST_F(KeyInput, TypedTextArrivesAsCharacters)
{
  HWND top = CreateRecordingWindow(log, {.name = "top", .style = kShownPopup});
  log.Clear();
  ASSERT_TRUE(TypeText(u"a中"));
  EXPECT_EQ("", log.Mismatch({
                               {"top", WM_KEYDOWN, posted | wparam, VK_PACKET},
                               {"top", WM_CHAR, posted | wparam, u'a'},
                               {"top", WM_KEYUP, posted | wparam, VK_PACKET},
                               {"top", WM_KEYDOWN, posted | wparam, VK_PACKET},
                               {"top", WM_CHAR, posted | wparam, u'中'},
                               {"top", WM_KEYUP, posted | wparam, VK_PACKET},
                           },
                           "typed text"));
  (void)top;
}

TEST_F(KeyInput, ComposedTextFollowsTheInputContext)
{
  HWND top = CreateRecordingWindow(log, {.name = "top", .style = kShownPopup});
  HWND withContext = CreateRecordingWindow(log, {.name = "ime", .style = kChild, .parent = top});
  HWND without = CreateRecordingWindow(log, {.name = "plain", .style = kChild, .parent = top});
  ImmAssociateContext(without, nullptr);  // what switching the input method off for an edit does
  EXPECT_EQ(nullptr, ImmGetContext(without));

  SetFocus(withContext);
  log.Clear();
  ASSERT_TRUE(TypeImeText(u"b"));
  EXPECT_EQ("", log.Mismatch({
                               {"ime", WM_IME_COMPOSITION, posted | wparam | lparam, u'b', GCS_RESULTSTR},
                               {"ime", WM_IME_CHAR, sent | defwinproc | wparam, u'b'},
                               {"ime", WM_CHAR, sent | defwinproc | wparam, u'b'},
                               {"ime", WM_KEYUP, posted | wparam, 'B'},
                           },
                           "a letter composed for a window with an input context"));
  HIMC context = ImmGetContext(withContext);
  ASSERT_NE(nullptr, context);
  WCHAR result[8] = {};
  EXPECT_EQ(2, ImmGetCompositionStringW(context, GCS_RESULTSTR, result, sizeof result));
  EXPECT_EQ(u'b', result[0]);

  SetFocus(without);
  log.Clear();
  ASSERT_TRUE(TypeImeText(u"你好"));
  EXPECT_EQ("", log.Mismatch({
                               {"plain", WM_CHAR, posted | wparam, u'你'},
                               {"plain", WM_CHAR, posted | wparam, u'好'},
                           },
                           "composed text for a window without an input context"));
}

}  // namespace
