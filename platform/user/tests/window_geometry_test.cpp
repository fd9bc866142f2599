// Geometry: rectangles, insets of the frame, coordinate mapping, placement with the
// platform's notifications, z-order, visibility, enabling, window data and text.
#include "testing/ui_thread.h"
#include "user_test_fixture.h"

using namespace kvtest;

namespace {

using WindowGeometry = UserTest;
using WindowPlacement = UserTest;
using WindowData = UserTest;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

TEST_F(WindowGeometry, ClientAreaIsTheWindowLessTheFrameInsets)
{
  struct Case {
    DWORD style;
    DWORD exStyle;
    RECT client;  // for a 100 x 80 window
  };
  const int border = GetSystemMetrics(SM_CXBORDER);
  const int edge = GetSystemMetrics(SM_CXEDGE);
  const int scroll = GetSystemMetrics(SM_CXVSCROLL);
  const Case cases[] = {
      {0, 0, {0, 0, 100, 80}},
      {WS_BORDER, 0, {0, 0, 100 - 2 * border, 80 - 2 * border}},
      {0, WS_EX_CLIENTEDGE, {0, 0, 100 - 2 * edge, 80 - 2 * edge}},
      {WS_VSCROLL, 0, {0, 0, 100 - scroll, 80}},
      {WS_HSCROLL | WS_VSCROLL, WS_EX_LEFTSCROLLBAR, {0, 0, 100 - scroll, 80 - scroll}},
  };
  HWND parent = CreateRecordingWindow(log, {.name = "parent", .rect = {0, 0, 240, 320}});
  for (const Case& c : cases) {
    HWND hwnd = CreateRecordingWindow(
        log, {.name = "w", .style = WS_CHILD | c.style, .exStyle = c.exStyle, .parent = parent, .rect = {5, 6, 105, 86}});
    RECT client;
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(c.client.right, client.right) << std::hex << c.style << " " << c.exStyle;
    EXPECT_EQ(c.client.bottom, client.bottom) << std::hex << c.style << " " << c.exStyle;
  }
}

TEST_F(WindowGeometry, StyleChangesRecomputeTheClientArea)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w", .rect = {0, 0, 100, 80}});
  SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) | WS_VSCROLL);
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(100 - GetSystemMetrics(SM_CXVSCROLL), client.right);
  SetWindowLongW(hwnd, GWL_EXSTYLE, WS_EX_LEFTSCROLLBAR);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), origin.x) << "a left scroll bar moves the client area";
  SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) & ~WS_VSCROLL);
  GetClientRect(hwnd, &client);
  EXPECT_EQ(100, client.right);
}

TEST_F(WindowGeometry, MappingBetweenWindowsAndTheScreen)
{
  HWND top = CreateRecordingWindow(log, {.name = "top", .rect = {10, 20, 210, 220}});
  HWND child = CreateRecordingWindow(
      log, {.name = "child", .style = WS_CHILD | WS_BORDER, .parent = top, .rect = {5, 7, 55, 57}});
  RECT rect;
  GetWindowRect(child, &rect);
  EXPECT_EQ(15, rect.left);
  EXPECT_EQ(27, rect.top);
  EXPECT_EQ(65, rect.right);
  POINT point{0, 0};
  ClientToScreen(child, &point);
  EXPECT_EQ(16, point.x) << "the client area starts inside the border";
  EXPECT_EQ(28, point.y);
  ScreenToClient(top, &point);
  EXPECT_EQ(6, point.x);
  EXPECT_EQ(8, point.y);
  POINT points[2] = {{0, 0}, {-3, -4}};
  int offset = MapWindowPoints(child, top, points, 2);
  EXPECT_EQ(6, static_cast<SHORT>(LOWORD(offset)));
  EXPECT_EQ(8, static_cast<SHORT>(HIWORD(offset)));
  EXPECT_EQ(3, points[1].x);
  EXPECT_EQ(4, points[1].y);
}

TEST_F(WindowPlacement, SetWindowPosSendsChangingChangedMoveSize)
{
  HWND parent = CreateRecordingWindow(log, {.name = "parent", .rect = {0, 0, 240, 320}});
  HWND hwnd = CreateRecordingWindow(log, {.name = "w", .style = kChild, .parent = parent, .rect = {0, 0, 10, 10}});
  struct Case {
    const char* what;
    int x, y, cx, cy;
    UINT flags;
    std::vector<ExpectedMessage> expected;
  };
  const Case cases[] = {
      {"move and size",
       5,
       6,
       30,
       40,
       SWP_NOZORDER,
       {{"w", WM_WINDOWPOSCHANGING, sent},
        {"w", WM_WINDOWPOSCHANGED, sent},
        {"w", WM_MOVE, sent | defwinproc | lparam, 0, MAKELPARAM(5, 6)},
        {"w", WM_SIZE, sent | defwinproc | wparam | lparam, SIZE_RESTORED, MAKELPARAM(30, 40)}}},
      {"move only",
       8,
       9,
       0,
       0,
       SWP_NOZORDER | SWP_NOSIZE,
       {{"w", WM_WINDOWPOSCHANGING, sent},
        {"w", WM_WINDOWPOSCHANGED, sent},
        {"w", WM_MOVE, sent | defwinproc | lparam, 0, MAKELPARAM(8, 9)}}},
      {"the same place again",
       8,
       9,
       30,
       40,
       SWP_NOZORDER,
       {{"w", WM_WINDOWPOSCHANGING, sent}, {"w", WM_WINDOWPOSCHANGED, sent}}},
      {"size only",
       0,
       0,
       31,
       41,
       SWP_NOZORDER | SWP_NOMOVE,
       {{"w", WM_WINDOWPOSCHANGING, sent},
        {"w", WM_WINDOWPOSCHANGED, sent},
        {"w", WM_SIZE, sent | defwinproc | lparam, 0, MAKELPARAM(31, 41)}}},
      {"hide",
       0,
       0,
       0,
       0,
       SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW,
       {{"w", WM_WINDOWPOSCHANGING, sent}, {"w", WM_WINDOWPOSCHANGED, sent}}},
  };
  for (const Case& c : cases) {
    log.Clear();
    ASSERT_TRUE(SetWindowPos(hwnd, nullptr, c.x, c.y, c.cx, c.cy, c.flags));
    EXPECT_EQ("", log.Mismatch(c.expected, c.what));
  }
  EXPECT_FALSE(IsWindowVisible(hwnd));
  RECT rect;
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ((RECT{8, 9, 39, 50}.right), rect.right);
}

TEST_F(WindowPlacement, ChangingMayAlterTheRequest)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w", .handler = [](HWND, UINT m, WPARAM, LPARAM l) {
                                            if (m == WM_WINDOWPOSCHANGING)
                                              reinterpret_cast<WINDOWPOS*>(l)->cx = 77;
                                            return std::optional<LRESULT>();
                                          }});
  MoveWindow(hwnd, 1, 2, 10, 20, FALSE);
  RECT rect;
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(77, rect.right - rect.left);
  EXPECT_EQ(20, rect.bottom - rect.top);
}

TEST_F(WindowPlacement, InsertAfterOrdersSiblings)
{
  HWND parent = CreateRecordingWindow(log, {.name = "parent"});
  HWND a = CreateRecordingWindow(log, {.name = "a", .style = kChild, .parent = parent});
  HWND b = CreateRecordingWindow(log, {.name = "b", .style = kChild, .parent = parent});
  HWND c = CreateRecordingWindow(log, {.name = "c", .style = kChild, .parent = parent});
  auto order = [&] {
    std::string names;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
      names += h == a ? 'a' : h == b ? 'b' : 'c';
    return names;
  };
  const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  EXPECT_EQ("abc", order());
  SetWindowPos(a, c, 0, 0, 0, 0, keep);
  EXPECT_EQ("bca", order());
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, keep);
  EXPECT_EQ("abc", order());
  SetWindowPos(b, HWND_BOTTOM, 0, 0, 0, 0, keep);
  EXPECT_EQ("acb", order());
  SetWindowPos(b, a, 0, 0, 0, 0, keep | SWP_NOZORDER);
  EXPECT_EQ("acb", order()) << "SWP_NOZORDER keeps the order";
  EXPECT_EQ(c, GetWindow(b, GW_HWNDPREV));
  EXPECT_EQ(a, GetWindow(b, GW_HWNDFIRST));
  EXPECT_EQ(b, GetWindow(a, GW_HWNDLAST));
}

TEST_F(WindowPlacement, TopmostWindowsStayAboveOthers)
{
  HWND normal = CreateRecordingWindow(log, {.name = "normal", .style = WS_POPUP | WS_VISIBLE});
  HWND topmost = CreateRecordingWindow(log, {.name = "topmost", .style = WS_POPUP | WS_VISIBLE, .exStyle = WS_EX_TOPMOST});
  HWND later = CreateRecordingWindow(log, {.name = "later", .style = WS_POPUP | WS_VISIBLE});
  EXPECT_EQ(topmost, GetWindow(GetDesktopWindow(), GW_CHILD));
  EXPECT_EQ(later, GetWindow(topmost, GW_HWNDNEXT));
  SetWindowPos(normal, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(normal, GetWindow(topmost, GW_HWNDNEXT));
}

// A window raised above the windows it owns takes them along: they stay above it, in their
// order (an owner activated when the window it owned last closes must not hide its others).
TEST_F(WindowPlacement, OwnedWindowsStayAboveTheirOwner)
{
  const DWORD popup = WS_POPUP | WS_VISIBLE;
  HWND owner = CreateRecordingWindow(log, {.name = "owner", .style = popup});
  HWND first = CreateRecordingWindow(log, {.name = "first", .style = popup, .parent = owner});
  HWND second = CreateRecordingWindow(log, {.name = "second", .style = popup, .parent = first});
  HWND other = CreateRecordingWindow(log, {.name = "other", .style = popup});
  auto order = [&] {
    std::string names;
    for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
      names += h == owner ? "O" : h == first ? "1" : h == second ? "2" : h == other ? "x" : "";
    return names;
  };
  const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, keep);
  EXPECT_EQ("x21O", order());
  SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, keep);
  EXPECT_EQ("21Ox", order());
  SetWindowPos(owner, HWND_BOTTOM, 0, 0, 0, 0, keep);
  EXPECT_EQ("21xO", order());
  SetWindowPos(other, owner, 0, 0, 0, 0, keep);
  EXPECT_EQ("21Ox", order());
}

TEST_F(WindowPlacement, ShowWindowSendsShowWindowOnlyOnChange)
{
  HWND parent = CreateRecordingWindow(log, {.name = "parent"});
  HWND hwnd = CreateRecordingWindow(log, {.name = "w", .style = WS_CHILD, .parent = parent});
  log.Clear();
  EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW));
  EXPECT_TRUE(ShowWindow(hwnd, SW_SHOW));
  EXPECT_TRUE(ShowWindow(hwnd, SW_HIDE));
  EXPECT_EQ("", log.Mismatch({
                               {"w", WM_SHOWWINDOW, sent | wparam, TRUE},
                               {"w", WM_WINDOWPOSCHANGING, sent},
                               {"w", WM_WINDOWPOSCHANGED, sent},
                               {"w", WM_SHOWWINDOW, sent | wparam, FALSE},
                               {"w", WM_WINDOWPOSCHANGING, sent},
                               {"w", WM_WINDOWPOSCHANGED, sent},
                           },
                           "show, show again, hide"));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  ShowWindow(hwnd, SW_SHOW);
  EXPECT_FALSE(IsWindowVisible(hwnd)) << "a child is visible only with its parent";
  ShowWindow(parent, SW_SHOWNA);
  EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(WindowPlacement, EnableWindowSendsEnableOnChangeAndDropsTheFocus)
{
  HWND top = CreateRecordingWindow(log, {.name = "top", .style = WS_POPUP | WS_VISIBLE});
  HWND edit = CreateRecordingWindow(log, {.name = "edit", .style = kChild, .parent = top});
  SetFocus(edit);
  log.Clear();
  EXPECT_FALSE(EnableWindow(edit, FALSE));
  EXPECT_TRUE(EnableWindow(edit, FALSE));
  EXPECT_FALSE(IsWindowEnabled(edit));
  EXPECT_EQ(nullptr, GetFocus());
  EXPECT_TRUE(EnableWindow(edit, TRUE));
  EXPECT_TRUE(IsWindowEnabled(edit));
  EXPECT_EQ("", log.Mismatch({
                               {"edit", WM_KILLFOCUS, sent},
                               {"edit", WM_ENABLE, sent | wparam, FALSE},
                               {"edit", WM_ENABLE, sent | wparam, TRUE},
                           },
                           "disable, disable again, enable"));
}

TEST_F(WindowPlacement, PlacementFromAnotherThreadRunsOnTheWindowsThread)
{
  UiThread ui;
  HWND hwnd = nullptr;
  std::vector<std::thread::id> handledOn;
  std::thread::id uiThread;
  ui.Invoke([&] {
    uiThread = std::this_thread::get_id();
    hwnd = CreateRecordingWindow(log, {.name = "w", .handler = [&](HWND, UINT m, WPARAM, LPARAM) {
                                         if (m == WM_WINDOWPOSCHANGED || m == WM_SHOWWINDOW)
                                           handledOn.push_back(std::this_thread::get_id());
                                         return std::optional<LRESULT>();
                                       }});
  });
  ASSERT_TRUE(SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_TRUE(ShowWindow(hwnd, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  ASSERT_EQ(3u, handledOn.size());
  for (auto thread : handledOn)
    EXPECT_EQ(uiThread, thread);
  ui.Invoke([&] { DestroyWindow(hwnd); });
}

TEST_F(WindowData, LongsAndExtraBytes)
{
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.lpszClassName = u"WithExtra";
  ASSERT_TRUE(RegisterClassW(&wc));
  HWND parent = CreateRecordingWindow(log, {.name = "parent"});
  HWND hwnd = CreateWindowExW(0, u"WithExtra", u"", WS_CHILD, 0, 0, 1, 1, parent, reinterpret_cast<HMENU>(9),
                              nullptr, nullptr);
  ASSERT_TRUE(hwnd);
  EXPECT_EQ(9, GetWindowLongW(hwnd, GWL_ID));
  EXPECT_EQ(0, SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0x123456789));
  EXPECT_EQ(0x123456789, GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, -5);
  EXPECT_EQ(-5, GetWindowLongPtrW(hwnd, DWLP_MSGRESULT));
  SetWindowLongPtrW(hwnd, DWLP_USER, 42);
  EXPECT_EQ(42, GetWindowLongPtrW(hwnd, DWLP_USER));
  EXPECT_EQ(0, GetWindowLongPtrW(hwnd, DLGWINDOWEXTRA)) << "past the extra bytes";
  EXPECT_EQ(0, SetWindowLongW(hwnd, DLGWINDOWEXTRA - 2, 1)) << "a long that runs past the end";
  EXPECT_EQ(parent, reinterpret_cast<HWND>(GetWindowLongPtrW(hwnd, GWLP_HWNDPARENT)));
  DestroyWindow(hwnd);
  UnregisterClassW(u"WithExtra", nullptr);
}

TEST_F(WindowData, TextGoesThroughTheProcedure)
{
  std::u16string stored;
  HWND hwnd = CreateRecordingWindow(log, {.name = "w", .handler = [&](HWND, UINT m, WPARAM w, LPARAM l) {
                                            if (m == WM_SETTEXT) {
                                              stored = reinterpret_cast<LPCWSTR>(l);
                                              return std::optional<LRESULT>(TRUE);
                                            }
                                            if (m == WM_GETTEXTLENGTH)
                                              return std::optional<LRESULT>(stored.size());
                                            if (m == WM_GETTEXT) {
                                              auto* buffer = reinterpret_cast<LPWSTR>(l);
                                              size_t n = std::min(stored.size(), static_cast<size_t>(w) - 1);
                                              std::copy_n(stored.begin(), n, buffer);
                                              buffer[n] = 0;
                                              return std::optional<LRESULT>(n);
                                            }
                                            return std::optional<LRESULT>();
                                          }});
  log.Clear();
  EXPECT_TRUE(SetWindowTextW(hwnd, u"确定 text"));
  EXPECT_EQ(u"确定 text", stored);
  EXPECT_EQ(7, GetWindowTextLengthW(hwnd));
  WCHAR buffer[5];
  EXPECT_EQ(4, GetWindowTextW(hwnd, buffer, 5));
  EXPECT_EQ(u"确定 t", std::u16string(buffer));
  EXPECT_EQ("", log.Mismatch({{"w", WM_SETTEXT, sent}, {"w", WM_GETTEXTLENGTH, sent}, {"w", WM_GETTEXT, sent | wparam, 5}},
                             "window text"));
}

}  // namespace
