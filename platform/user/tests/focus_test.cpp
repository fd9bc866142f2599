// Focus and activation in the platform's orders, within a thread and across threads; capture.
#include "testing/ui_thread.h"
#include "user_test_fixture.h"

using namespace kvtest;

namespace {

using Focus = UserTest;
using Activation = UserTest;
using Capture = UserTest;

constexpr DWORD kShownPopup = WS_POPUP | WS_VISIBLE;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

TEST_F(Focus, TheOldWindowHearsOfTheChangeAfterTheFocusMoved)
{
  HWND top = CreateRecordingWindow(log, {.name = "top", .style = kShownPopup});
  HWND first = CreateRecordingWindow(log, {.name = "first", .style = kChild, .parent = top});
  HWND focusSeenByOld = nullptr;
  HWND second = CreateRecordingWindow(log, {.name = "second", .style = kChild, .parent = top});
  log.Watch(first, "first-watch");
  SetFocus(first);
  // What an edit's parent does on EN_KILLFOCUS: ask who has the focus now.
  auto probe = MakeWindowProc([&](HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_KILLFOCUS)
      focusSeenByOld = GetFocus();
    return DefWindowProcW(h, m, w, l);
  });
  WNDPROC previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(first, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(probe)));
  log.Clear();
  EXPECT_EQ(first, SetFocus(second));
  EXPECT_EQ(second, focusSeenByOld);
  EXPECT_EQ(second, GetFocus());
  EXPECT_EQ("", log.Mismatch({
                               {"second", WM_SETFOCUS, sent | wparam, reinterpret_cast<WPARAM>(first)},
                           },
                           "focus from first to second (first's messages go to the probe)"));
  SetWindowLongPtrW(first, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  FreeWindowProc(probe);
  log.Clear();
  SetFocus(first);
  EXPECT_EQ("", log.Mismatch({
                               {"second", WM_KILLFOCUS, sent | wparam, reinterpret_cast<WPARAM>(first)},
                               {"first-watch", WM_SETFOCUS, sent | wparam, reinterpret_cast<WPARAM>(second)},
                               {"first", WM_SETFOCUS, sent | wparam, reinterpret_cast<WPARAM>(second)},
                           },
                           "focus back to first"));
  log.Clear();
  EXPECT_EQ(first, SetFocus(first));
  EXPECT_TRUE(log.Messages().empty()) << "focusing the focus window sends nothing";
}

TEST_F(Focus, FocusingAWindowOfAnInactiveTopLevelActivatesItFirst)
{
  HWND a = CreateRecordingWindow(log, {.name = "a", .style = kShownPopup});
  HWND b = CreateRecordingWindow(log, {.name = "b", .style = kShownPopup});
  HWND child = CreateRecordingWindow(log, {.name = "child", .style = kChild, .parent = a});
  ASSERT_EQ(b, GetActiveWindow());
  log.Clear();
  SetFocus(child);
  EXPECT_EQ("", log.Mismatch({
                               {"b", WM_NCACTIVATE, sent | wparam, FALSE},
                               {"b", WM_ACTIVATE, sent | wparam | lparam, WA_INACTIVE, reinterpret_cast<LPARAM>(a)},
                               {"a", WM_WINDOWPOSCHANGING, sent},
                               {"a", WM_WINDOWPOSCHANGED, sent},
                               {"a", WM_NCACTIVATE, sent | wparam, TRUE},
                               {"a", WM_ACTIVATE, sent | wparam | lparam, WA_ACTIVE, reinterpret_cast<LPARAM>(b)},
                               {"b", WM_KILLFOCUS, sent | wparam, reinterpret_cast<WPARAM>(a)},
                               {"a", WM_SETFOCUS, sent | defwinproc | wparam, reinterpret_cast<WPARAM>(b)},
                               {"a", WM_KILLFOCUS, sent | wparam, reinterpret_cast<WPARAM>(child)},
                               {"child", WM_SETFOCUS, sent | wparam, reinterpret_cast<WPARAM>(a)},
                           },
                           "SetFocus on a child of the inactive window"));
  EXPECT_EQ(a, GetActiveWindow());
  EXPECT_EQ(a, GetForegroundWindow());
}

TEST_F(Focus, HidingTheFocusedChildGivesTheFocusToItsParent)
{
  HWND top = CreateRecordingWindow(log, {.name = "top", .style = kShownPopup});
  HWND child = CreateRecordingWindow(log, {.name = "child", .style = kChild, .parent = top});
  SetFocus(child);
  ShowWindow(child, SW_HIDE);
  EXPECT_EQ(top, GetFocus());
  SetFocus(nullptr);
  EXPECT_EQ(nullptr, GetFocus());
}

TEST_F(Activation, HidingTheActiveWindowActivatesTheNextOneInZOrder)
{
  HWND a = CreateRecordingWindow(log, {.name = "a", .style = kShownPopup});
  HWND b = CreateRecordingWindow(log, {.name = "b", .style = kShownPopup});
  CreateRecordingWindow(log, {.name = "inert", .style = kShownPopup, .exStyle = WS_EX_NOACTIVATE});
  SetActiveWindow(b);
  log.Clear();
  ShowWindow(b, SW_HIDE);
  EXPECT_EQ(a, GetActiveWindow()) << "a window that declines activation is passed over";
  EXPECT_EQ("", log.Mismatch({
                               {"b", WM_SHOWWINDOW, sent | wparam, FALSE},
                               {"b", WM_WINDOWPOSCHANGING, sent},
                               {"b", WM_WINDOWPOSCHANGED, sent},
                               {"b", WM_NCACTIVATE, sent | wparam, FALSE},
                               {"b", WM_ACTIVATE, sent | wparam, WA_INACTIVE},
                               {"a", WM_WINDOWPOSCHANGING, sent | optional},
                               {"a", WM_WINDOWPOSCHANGED, sent | optional},
                               {"a", WM_NCACTIVATE, sent | wparam, TRUE},
                               {"a", WM_ACTIVATE, sent | wparam, WA_ACTIVE},
                               {"b", WM_KILLFOCUS, sent},
                               {"a", WM_SETFOCUS, sent | defwinproc},
                           },
                           "hiding the active window"));
}

TEST_F(Activation, TheActiveWindowSeesItselfActiveDuringItsNcActivate)
{
  HWND seenActive = nullptr;
  CreateRecordingWindow(log, {.name = "a", .style = kShownPopup});
  HWND b = CreateRecordingWindow(log, {.name = "b", .style = WS_POPUP, .handler = [&](HWND, UINT m, WPARAM w, LPARAM) {
                                         if (m == WM_NCACTIVATE && w)
                                           seenActive = GetActiveWindow();
                                         return std::optional<LRESULT>();
                                       }});
  ShowWindow(b, SW_SHOW);
  EXPECT_EQ(b, seenActive);
}

// The window losing activation belongs to a thread that is blocked (as the caller of the
// shared message box is, in a kernel wait): it gets its notifications when it next takes
// messages, and the activating thread does not wait for it.
TEST_F(Activation, NotificationsToAnotherThreadsWindowAreQueued)
{
  HWND mine = CreateRecordingWindow(log, {.name = "mine", .style = kShownPopup});
  ASSERT_EQ(mine, GetForegroundWindow());
  UiThread other;
  HWND theirs = nullptr;
  other.Invoke([&] { theirs = CreateRecordingWindow(log, {.name = "theirs", .style = WS_POPUP}); });
  log.Clear();
  // While the other thread activates its window, this thread takes no messages.
  other.Invoke([&] { ShowWindow(theirs, SW_SHOW); });
  EXPECT_EQ(theirs, GetForegroundWindow());
  EXPECT_EQ("", log.Mismatch({
                               {"theirs", WM_SHOWWINDOW, sent},
                               {"theirs", WM_WINDOWPOSCHANGING, sent},
                               {"theirs", WM_WINDOWPOSCHANGED, sent},
                               {"theirs", WM_NCACTIVATE, sent | wparam, TRUE},
                               {"theirs", WM_ACTIVATE, sent | wparam | lparam, WA_ACTIVE, 0},
                               {"theirs", WM_SETFOCUS, sent | defwinproc},
                           },
                           "activation on the other thread while this one is busy"));
  EXPECT_EQ(mine, GetActiveWindow()) << "not yet told";
  log.Clear();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ("", log.Mismatch({
                               {"mine", WM_NCACTIVATE, sent | wparam, FALSE},
                               {"mine", WM_ACTIVATE, sent | wparam | lparam, WA_INACTIVE, 0},
                               {"mine", WM_KILLFOCUS, sent | wparam, 0},
                           },
                           "this thread takes its messages"));
  EXPECT_EQ(nullptr, GetActiveWindow());
  EXPECT_EQ(nullptr, GetFocus());

  // And back: SetForegroundWindow from the other thread on this thread's window.
  log.Clear();
  other.Invoke([&] { SetForegroundWindow(mine); });
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(mine, GetActiveWindow());
  EXPECT_EQ("", log.Mismatch({
                               {"theirs", WM_NCACTIVATE, sent | wparam, FALSE},
                               {"theirs", WM_ACTIVATE, sent | wparam, WA_INACTIVE},
                               {"theirs", WM_KILLFOCUS, sent},
                               {"mine", WM_WINDOWPOSCHANGING, sent | optional},
                               {"mine", WM_WINDOWPOSCHANGED, sent | optional},
                               {"mine", WM_NCACTIVATE, sent | wparam, TRUE},
                               {"mine", WM_ACTIVATE, sent | wparam, WA_ACTIVE},
                               {"mine", WM_SETFOCUS, sent | defwinproc},
                           },
                           "the foreground handed back"));
  other.Invoke([&] { DestroyWindow(theirs); });
}

TEST_F(Capture, PointerInputGoesToTheCaptureWindowWithSignedCoordinates)
{
  HWND top = CreateRecordingWindow(log, {.name = "top", .style = kShownPopup, .rect = {0, 0, 240, 320}});
  HWND button = CreateRecordingWindow(log, {.name = "button",
                                            .style = kChild,
                                            .parent = top,
                                            .rect = {50, 50, 100, 80},
                                            .handler = [](HWND h, UINT m, WPARAM, LPARAM) {
                                              if (m == WM_LBUTTONDOWN)
                                                SetCapture(h);
                                              if (m == WM_LBUTTONUP)
                                                ReleaseCapture();
                                              return std::optional<LRESULT>();
                                            }});
  log.Ignore(WM_CAPTURECHANGED);
  ASSERT_TRUE(PointerDown({60, 60}));
  EXPECT_EQ(button, GetCapture());
  log.Clear();
  ASSERT_TRUE(PointerMove({10, 20}));
  ASSERT_TRUE(PointerUp({10, 20}));
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ("", log.Mismatch({
                               {"button", WM_MOUSEMOVE, posted | wparam | lparam, MK_LBUTTON, MAKELPARAM(-40, -30)},
                               {"button", WM_LBUTTONUP, posted | wparam | lparam, 0, MAKELPARAM(-40, -30)},
                           },
                           "drag out of a captured window"));
  log.Clear();
  ASSERT_TRUE(Tap({10, 20}));
  EXPECT_EQ("", log.Mismatch({
                               {"top", WM_LBUTTONDOWN, posted | lparam, 0, MAKELPARAM(10, 20)},
                               {"top", WM_LBUTTONUP, posted},
                           },
                           "without capture a tap goes to the window under it"));
}

}  // namespace
