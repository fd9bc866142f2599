// Creation and destruction: the platform's message orders, handles that go stale exactly,
// classes and superclassing, procedures as closures with subclass chains.
#include "user_test_fixture.h"

using namespace kvtest;

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

using WindowCreation = UserTest;
using WindowDestruction = UserTest;
using WindowClasses = UserTest;
using WindowProcedures = UserTest;

TEST_F(WindowCreation, SendsCreateSizeMoveThenShowsAndActivatesTopLevel)
{
  HWND top = CreateRecordingWindow(log, {.name = "top", .style = WS_POPUP | WS_VISIBLE, .rect = {10, 20, 110, 220}});
  ASSERT_TRUE(top);
  EXPECT_EQ("", log.Mismatch({
                               {"top", WM_NCCREATE, sent},
                               {"top", WM_CREATE, sent},
                               {"top", WM_SIZE, sent | wparam | lparam, SIZE_RESTORED, MAKELPARAM(100, 200)},
                               {"top", WM_MOVE, sent | lparam, 0, MAKELPARAM(10, 20)},
                               {"top", WM_SHOWWINDOW, sent | wparam, TRUE},
                               {"top", WM_WINDOWPOSCHANGING, sent},
                               {"top", WM_WINDOWPOSCHANGED, sent},
                               {"top", WM_NCACTIVATE, sent | wparam, TRUE},
                               {"top", WM_ACTIVATE, sent | wparam, WA_ACTIVE},
                               {"top", WM_SETFOCUS, sent | defwinproc},
                           },
                           "visible top-level window"));
  EXPECT_EQ(top, GetActiveWindow());
  EXPECT_EQ(top, GetFocus());
  EXPECT_EQ(top, GetForegroundWindow());
}

TEST_F(WindowCreation, ChildIsShownWithoutActivationAndJoinsBelowItsSiblings)
{
  HWND parent = CreateRecordingWindow(log, {.name = "parent", .style = WS_POPUP});
  HWND first = CreateRecordingWindow(log, {.name = "first", .style = kChild, .parent = parent, .id = 1});
  log.Clear();
  HWND second = CreateRecordingWindow(log, {.name = "second", .style = kChild, .parent = parent, .id = 2});
  EXPECT_EQ("", log.Mismatch({
                               {"second", WM_NCCREATE, sent},
                               {"second", WM_CREATE, sent},
                               {"second", WM_SIZE, sent},
                               {"second", WM_MOVE, sent},
                               {"second", WM_SHOWWINDOW, sent | wparam, TRUE},
                               {"second", WM_WINDOWPOSCHANGING, sent},
                               {"second", WM_WINDOWPOSCHANGED, sent},
                           },
                           "visible child"));
  EXPECT_EQ(first, GetWindow(parent, GW_CHILD));  // creation order is z-order (tab order)
  EXPECT_EQ(second, GetWindow(first, GW_HWNDNEXT));
  EXPECT_EQ(second, GetDlgItem(parent, 2));
  EXPECT_EQ(2, GetDlgCtrlID(second));
  EXPECT_EQ(parent, GetParent(second));
  EXPECT_TRUE(IsChild(parent, second));
  EXPECT_EQ(nullptr, GetActiveWindow());
}

TEST_F(WindowCreation, CreateStructCarriesTheArguments)
{
  CREATESTRUCTW seen{};
  int param = 7;
  HWND parent = CreateRecordingWindow(log, {.name = "parent"});
  WNDCLASSW wc{};
  wc.lpfnWndProc = MakeWindowProc([&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_CREATE)
      seen = *reinterpret_cast<CREATESTRUCTW*>(l);
    return DefWindowProcW(h, m, w, l);
  });
  wc.lpszClassName = u"CsProbe";
  ASSERT_TRUE(RegisterClassW(&wc));
  HWND child = CreateWindowExW(WS_EX_CLIENTEDGE, u"CsProbe", u"hello", WS_CHILD, 1, 2, 30, 40, parent,
                               reinterpret_cast<HMENU>(55), nullptr, &param);
  ASSERT_TRUE(child);
  EXPECT_EQ(&param, seen.lpCreateParams);
  EXPECT_EQ(parent, seen.hwndParent);
  EXPECT_EQ(reinterpret_cast<HMENU>(55), seen.hMenu);
  EXPECT_EQ(1, seen.x);
  EXPECT_EQ(2, seen.y);
  EXPECT_EQ(30, seen.cx);
  EXPECT_EQ(40, seen.cy);
  EXPECT_EQ(static_cast<DWORD>(WS_EX_CLIENTEDGE), seen.dwExStyle);
  EXPECT_EQ(std::u16string(u"hello"), std::u16string(seen.lpszName));
  WCHAR text[16];
  EXPECT_EQ(5, GetWindowTextW(child, text, 16));
  EXPECT_EQ(std::u16string(u"hello"), std::u16string(text));
  DestroyWindow(parent);
  FreeWindowProc(wc.lpfnWndProc);
}

TEST_F(WindowCreation, FailsCleanlyWhenTheProcedureRefuses)
{
  struct Case {
    UINT refuse;
    LRESULT answer;
    std::vector<ExpectedMessage> expected;
  };
  const Case cases[] = {
      {WM_NCCREATE, FALSE, {{"w", WM_NCCREATE, sent}, {"w", WM_NCDESTROY, sent}}},
      {WM_CREATE,
       -1,
       {{"w", WM_NCCREATE, sent}, {"w", WM_CREATE, sent}, {"w", WM_DESTROY, sent}, {"w", WM_NCDESTROY, sent}}},
  };
  for (const Case& c : cases) {
    MessageLog log;
    HWND seen = nullptr;
    HWND hwnd = CreateRecordingWindow(log, {.name = "w", .handler = [&](HWND h, UINT m, WPARAM, LPARAM) {
                                              seen = h;
                                              return m == c.refuse ? std::optional<LRESULT>(c.answer) : std::nullopt;
                                            }});
    EXPECT_EQ(nullptr, hwnd);
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_EQ("", log.Mismatch(c.expected, "refusing " + MessageName(c.refuse)));
  }
}

TEST_F(WindowCreation, ChildWithoutParentAndUnknownClassFail)
{
  EXPECT_EQ(nullptr, CreateWindowExW(0, u"NoSuchClass", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(nullptr, CreateRecordingWindow(log, {.name = "orphan", .style = WS_CHILD}));
}

TEST_F(WindowDestruction, HidesThenDestroysParentFirstAndFreesChildrenFirst)
{
  HWND parent = CreateRecordingWindow(log, {.name = "parent", .style = WS_POPUP | WS_VISIBLE});
  HWND child = CreateRecordingWindow(log, {.name = "child", .style = kChild, .parent = parent});
  CreateRecordingWindow(log, {.name = "grandchild", .style = kChild, .parent = child});
  HWND owned = CreateRecordingWindow(log, {.name = "owned", .style = WS_POPUP, .parent = parent});
  EXPECT_EQ(parent, GetWindow(owned, GW_OWNER));
  EXPECT_EQ(parent, GetParent(owned));  // a popup's parent is its owner
  log.Clear();
  ASSERT_TRUE(DestroyWindow(parent));
  EXPECT_EQ("", log.Mismatch({
                               {"parent", WM_WINDOWPOSCHANGING, sent},
                               {"parent", WM_WINDOWPOSCHANGED, sent},
                               {"parent", WM_NCACTIVATE, sent | wparam, FALSE},
                               {"parent", WM_ACTIVATE, sent | wparam, WA_INACTIVE},
                               {"parent", WM_KILLFOCUS, sent},
                               {"owned", WM_DESTROY, sent},
                               {"owned", WM_NCDESTROY, sent},
                               {"parent", WM_DESTROY, sent},
                               {"child", WM_DESTROY, sent},
                               {"grandchild", WM_DESTROY, sent},
                               {"grandchild", WM_NCDESTROY, sent},
                               {"child", WM_NCDESTROY, sent},
                               {"parent", WM_NCDESTROY, sent},
                           },
                           "destroying a parent with a child, a grandchild and an owned window"));
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(owned));
  EXPECT_EQ(nullptr, GetActiveWindow());
  EXPECT_EQ(nullptr, GetFocus());
}

TEST_F(WindowDestruction, ChildMovedAwayDuringDestructionSurvives)
{
  HWND keeper = CreateRecordingWindow(log, {.name = "keeper"});
  HWND parent = CreateRecordingWindow(log, {.name = "parent"});
  HWND leaving = nullptr;
  HWND first = CreateRecordingWindow(log, {.name = "first",
                                           .style = kChild,
                                           .parent = parent,
                                           .handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                                             if (m == WM_DESTROY)
                                               SetParent(leaving, keeper);
                                             return std::nullopt;
                                           }});
  leaving = CreateRecordingWindow(log, {.name = "leaving", .style = kChild, .parent = parent});
  ASSERT_TRUE(first && leaving);
  log.Clear();
  DestroyWindow(parent);
  EXPECT_TRUE(IsWindow(leaving));
  EXPECT_EQ(keeper, GetParent(leaving));
  EXPECT_EQ("", log.Mismatch({
                               {"parent", WM_DESTROY, sent},
                               {"first", WM_DESTROY, sent},
                               {"first", WM_NCDESTROY, sent},
                               {"parent", WM_NCDESTROY, sent},
                           },
                           "a child moved to another parent by its sibling's WM_DESTROY"));
  DestroyWindow(keeper);
  EXPECT_FALSE(IsWindow(leaving));
}

TEST_F(WindowDestruction, StaleHandlesStayInvalidWhenTheSlotIsReused)
{
  HWND old = CreateRecordingWindow(log, {.name = "old"});
  DestroyWindow(old);
  std::vector<HWND> fresh;
  for (int i = 0; i < 64; ++i)
    fresh.push_back(CreateRecordingWindow(log, {.name = "fresh"}));
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(0, SendMessageW(old, WM_USER, 0, 0));
  EXPECT_FALSE(PostMessageW(old, WM_USER, 0, 0));
  EXPECT_FALSE(SetWindowTextW(old, u"x"));
  for (HWND hwnd : fresh) {
    EXPECT_NE(old, hwnd);
    EXPECT_TRUE(IsWindow(hwnd));
  }
}

TEST_F(WindowDestruction, OnlyTheOwnerThreadMayDestroy)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w"});
  BOOL destroyed = TRUE;
  std::thread([&] { destroyed = DestroyWindow(hwnd); }).join();
  EXPECT_FALSE(destroyed);
  EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(WindowClasses, RegisterLookUpSuperclassAndUnregister)
{
  WNDCLASSW base{};
  base.style = CS_DBLCLKS;
  base.cbWndExtra = 16;
  base.lpfnWndProc = MakeWindowProc([](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_USER)
      return 1;
    return DefWindowProcW(h, m, w, l);
  });
  base.lpszClassName = u"BaseClass";
  ATOM atom = RegisterClassW(&base);
  ASSERT_NE(0, atom);
  EXPECT_EQ(0, RegisterClassW(&base)) << "a name is registered once";

  // A superclass: the base's record under a new name with a procedure that chains to it.
  WNDCLASSW super{};
  ASSERT_TRUE(GetClassInfoW(nullptr, u"baseclass", &super)) << "class names ignore case";
  EXPECT_EQ(static_cast<UINT>(CS_DBLCLKS), super.style);
  WNDPROC baseProc = super.lpfnWndProc;
  std::vector<UINT> seenBySuper;
  super.lpfnWndProc = MakeWindowProc([&](HWND h, UINT m, WPARAM w, LPARAM l) {
    seenBySuper.push_back(m);
    return m == WM_USER + 1 ? 2 : CallWindowProcW(baseProc, h, m, w, l);
  });
  super.lpszClassName = u"SuperClass";
  ASSERT_NE(0, RegisterClassW(&super));
  HWND hwnd = CreateWindowExW(0, u"SuperClass", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(hwnd);
  ASSERT_FALSE(seenBySuper.empty());
  EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), seenBySuper.front()) << "the superclass procedure gets the first message";
  EXPECT_EQ(1, SendMessageW(hwnd, WM_USER, 0, 0));
  EXPECT_EQ(2, SendMessageW(hwnd, WM_USER + 1, 0, 0));
  WCHAR name[32];
  EXPECT_EQ(10, GetClassNameW(hwnd, name, 32));
  EXPECT_EQ(std::u16string(u"SuperClass"), std::u16string(name));
  EXPECT_EQ(static_cast<ULONG_PTR>(16), GetClassLongPtrW(hwnd, GCL_CBWNDEXTRA));
  EXPECT_EQ(hwnd, FindWindowW(MAKEINTATOM(GetClassLongW(hwnd, GCW_ATOM)), nullptr));

  EXPECT_FALSE(UnregisterClassW(u"SuperClass", nullptr)) << "a class with windows stays";
  DestroyWindow(hwnd);
  EXPECT_TRUE(UnregisterClassW(u"SuperClass", nullptr));
  EXPECT_FALSE(GetClassInfoW(nullptr, u"SuperClass", &super));
  FreeWindowProc(super.lpfnWndProc);
  FreeWindowProc(base.lpfnWndProc);
}

TEST_F(WindowProcedures, ClosureSubclassChainRunsNewestFirstAndUnwinds)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w"});
  std::string order;
  auto subclass = [&](char tag) {
    auto previous = std::make_shared<WNDPROC>();
    WNDPROC proc = MakeWindowProc([&order, tag, previous](HWND h, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_USER)
        order += tag;
      return CallWindowProcW(*previous, h, m, w, l);
    });
    *previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    return std::make_pair(proc, *previous);
  };
  auto [a, beforeA] = subclass('a');
  auto [b, beforeB] = subclass('b');
  EXPECT_EQ(a, beforeB);
  SendMessageW(hwnd, WM_USER, 0, 0);
  EXPECT_EQ("ba", order);
  // Unsubclass the outer one: its procedure goes back, and freeing its closure is safe.
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(beforeB));
  FreeWindowProc(b);
  order.clear();
  SendMessageW(hwnd, WM_USER, 0, 0);
  EXPECT_EQ("a", order);
  auto recorded = log.Messages();
  EXPECT_EQ(2, std::count_if(recorded.begin(), recorded.end(), [](auto& m) { return m.message == WM_USER; }))
      << "the window's own procedure still gets every message";
  DestroyWindow(hwnd);
  FreeWindowProc(a);
}

TEST_F(WindowProcedures, ClosureFreedDuringItsOwnCallFinishesTheCall)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w"});
  auto self = std::make_shared<WNDPROC>();
  WNDPROC previous = nullptr;
  int calls = 0;
  *self = MakeWindowProc([&, self](HWND h, UINT m, WPARAM w, LPARAM l) {
    ++calls;
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    FreeWindowProc(*self);
    return CallWindowProcW(previous, h, m, w, l);
  });
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*self)));
  SendMessageW(hwnd, WM_USER, 0, 0);
  SendMessageW(hwnd, WM_USER, 0, 0);
  EXPECT_EQ(1, calls);
  EXPECT_EQ(0, CallWindowProcW(*self, hwnd, WM_USER, 0, 0)) << "a freed closure is no longer called";
}

}  // namespace
