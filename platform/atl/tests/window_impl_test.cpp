// Window and dialog classes: reflection of notifications to the child that sent them,
// superclassing and subclassing, dialogs with message maps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atl/atl.h"
#include "internal/user/dialog_template_writer.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"

namespace {

class AtlTest : public ::testing::Test {
 protected:
  void TearDown() override { kvtest::DestroyThreadWindows(); }
  device::testing::ScopedDeviceRoot root;
};

struct Reflected {
  std::string child;
  UINT message;
  bool operator==(const Reflected&) const = default;
};

class Child : public CWindowImpl<Child> {
 public:
  Child(std::string name, std::vector<Reflected>& log) : name_(std::move(name)), log_(log) {}
  BEGIN_MSG_MAP(Child)
    MESSAGE_RANGE_HANDLER(OCM__BASE, OCM__BASE + WM_USER - 1, OnReflected)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

  LRESULT OnReflected(UINT uMsg, WPARAM, LPARAM, BOOL& bHandled)
  {
    log_.push_back({name_, uMsg});
    bHandled = uMsg == OCM_CTLCOLORSTATIC;  // others get the default reflection handling
    return 0x55;
  }

 private:
  std::string name_;
  std::vector<Reflected>& log_;
};

class Parent : public CWindowImpl<Parent, CWindow, CWinTraits<WS_POPUP>> {
 public:
  BEGIN_MSG_MAP(Parent)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()
};

}  // namespace

TEST_F(AtlTest, NotificationsAreReflectedToTheChildThatSentThem)
{
  std::vector<Reflected> log;
  Parent parent;
  ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 100, 100}));
  Child a("a", log), b("b", log);
  ASSERT_TRUE(a.Create(parent, RECT{0, 0, 10, 10}, nullptr, 0, 0, 1));
  ASSERT_TRUE(b.Create(parent, RECT{0, 10, 10, 20}, nullptr, 0, 0, 2));
  NMHDR fromB{b, 2, 0x10};
  // A control moved into another window keeps its id, but the record names it.
  DRAWITEMSTRUCT drawB{};
  drawB.hwndItem = b;
  auto lp = [](HWND hwnd) { return reinterpret_cast<LPARAM>(hwnd); };
  struct Case {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::vector<Reflected> expected;
  } cases[] = {
      {"command from a control", WM_COMMAND, MAKEWPARAM(1, 0), lp(a), {{"a", OCM_COMMAND}}},
      {"command from a menu", WM_COMMAND, MAKEWPARAM(1, 0), 0, {}},
      {"notify by hwndFrom", WM_NOTIFY, 2, reinterpret_cast<LPARAM>(&fromB), {{"b", OCM_NOTIFY}}},
      {"draw item by id", WM_DRAWITEM, 1, 0, {{"a", OCM_DRAWITEM}}},
      {"draw item by its record", WM_DRAWITEM, 1, reinterpret_cast<LPARAM>(&drawB), {{"b", OCM_DRAWITEM}}},
      {"menu draw item", WM_DRAWITEM, 0, 0, {}},
      {"measure item by id", WM_MEASUREITEM, 2, 0, {{"b", OCM_MEASUREITEM}}},
      {"menu measure item", WM_MEASUREITEM, 0, 0, {}},
      {"compare item by id", WM_COMPAREITEM, 1, 0, {{"a", OCM_COMPAREITEM}}},
      {"delete item by id", WM_DELETEITEM, 2, 0, {{"b", OCM_DELETEITEM}}},
      {"static colour", WM_CTLCOLORSTATIC, 0, lp(b), {{"b", OCM_CTLCOLORSTATIC}}},
      {"edit colour", WM_CTLCOLOREDIT, 0, lp(a), {{"a", OCM_CTLCOLOREDIT}}},
      {"button colour", WM_CTLCOLORBTN, 0, lp(b), {{"b", OCM_CTLCOLORBTN}}},
      {"vertical scroll bar", WM_VSCROLL, 0, lp(a), {{"a", OCM_VSCROLL}}},
      {"window scroll bar", WM_HSCROLL, 0, 0, {}},
      {"unrelated message", WM_USER, 0, lp(a), {}},
  };
  for (const Case& c : cases) {
    log.clear();
    ::SendMessageW(parent, c.message, c.wParam, c.lParam);
    EXPECT_EQ(log, c.expected) << c.name;
  }
  // The child's answer comes back through the parent.
  EXPECT_EQ(::SendMessageW(parent, WM_CTLCOLORSTATIC, 0, lp(b)), 0x55);
  EXPECT_EQ(::SendMessageW(parent, WM_CTLCOLOREDIT, 0, lp(a)), 0);  // default reflection handling
}

namespace {

LRESULT CALLBACK BaseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_USER + 1)
    return 77;
  if (message == WM_USER + 2)
    return 88;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterBase()
{
  WNDCLASSW wc{};
  wc.lpfnWndProc = BaseProc;
  wc.lpszClassName = u"TestBase";
  RegisterClassW(&wc);
}

template <class T>
class Overrider {
 public:
  BEGIN_MSG_MAP(Overrider)
    MESSAGE_HANDLER(WM_USER + 1, OnFirst)
  END_MSG_MAP()
  LRESULT OnFirst(UINT, WPARAM, LPARAM, BOOL&) { return 5; }
};

class Super : public CWindowImpl<Super, CWindow, CWinTraits<WS_POPUP>>, public Overrider<Super> {
 public:
  DECLARE_WND_SUPERCLASS(u"SuperOfTestBase", u"TestBase")
  BEGIN_MSG_MAP(Super)
    CHAIN_MSG_MAP(Overrider<Super>)
  END_MSG_MAP()
};

class Sub : public CWindowImpl<Sub>, public Overrider<Sub> {
 public:
  BEGIN_MSG_MAP(Sub)
    CHAIN_MSG_MAP(Overrider<Sub>)
  END_MSG_MAP()
  void OnFinalMessage(HWND hwnd) override { finalWindow = hwnd; }
  HWND finalWindow = nullptr;
};

}  // namespace

TEST_F(AtlTest, SuperclassKeepsTheBaseClassProcedureAsDefault)
{
  RegisterBase();
  Super window;
  ASSERT_TRUE(window.Create(nullptr, RECT{0, 0, 10, 10}));
  EXPECT_EQ(window.SendMessage(WM_USER + 1), 5);
  EXPECT_EQ(window.SendMessage(WM_USER + 2), 88);
  WCHAR name[32];
  GetClassNameW(window, name, 32);
  EXPECT_EQ(std::u16string(name), u"SuperOfTestBase");
}

TEST_F(AtlTest, SubclassAndUnsubclass)
{
  RegisterBase();
  HWND hwnd = CreateWindowExW(0, u"TestBase", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  Sub sub;
  ASSERT_TRUE(sub.SubclassWindow(hwnd));
  EXPECT_FALSE(sub.SubclassWindow(hwnd));  // one window per object
  EXPECT_EQ(SendMessageW(hwnd, WM_USER + 1, 0, 0), 5);
  EXPECT_EQ(SendMessageW(hwnd, WM_USER + 2, 0, 0), 88);
  EXPECT_EQ(sub.UnsubclassWindow(), hwnd);
  EXPECT_EQ(SendMessageW(hwnd, WM_USER + 1, 0, 0), 77);
  EXPECT_EQ(sub.m_hWnd, nullptr);

  ASSERT_TRUE(sub.SubclassWindow(hwnd));
  DestroyWindow(hwnd);
  EXPECT_EQ(sub.finalWindow, hwnd);
  EXPECT_EQ(sub.m_hWnd, nullptr);
}

TEST_F(AtlTest, UnsubclassRefusesWhenAnotherSubclassCameLater)
{
  RegisterBase();
  HWND hwnd = CreateWindowExW(0, u"TestBase", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  Sub first, second;
  ASSERT_TRUE(first.SubclassWindow(hwnd));
  ASSERT_TRUE(second.SubclassWindow(hwnd));
  EXPECT_EQ(first.UnsubclassWindow(), nullptr);
  EXPECT_EQ(second.UnsubclassWindow(), hwnd);
  EXPECT_EQ(first.UnsubclassWindow(), hwnd);
  EXPECT_EQ(SendMessageW(hwnd, WM_USER + 1, 0, 0), 77);
}

namespace {

std::vector<BYTE> DialogTemplate()
{
  user_dialog::DialogSpec spec;
  spec.style = WS_POPUP | DS_SETFONT;
  spec.cx = 100;
  spec.cy = 100;
  spec.pointSize = 9;
  spec.faceName = u"System";
  return user_dialog::BuildDialogTemplate(spec);
}

class TestDlg : public CDialogImpl<TestDlg> {
 public:
  enum { IDD = 100 };
  BEGIN_MSG_MAP(TestDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    NOTIFY_CODE_HANDLER(0x20u, OnNotify)
  END_MSG_MAP()

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL&)
  {
    initParam = lParam;
    if (endAtOnce)
      PostMessage(WM_COMMAND, IDOK);
    return TRUE;
  }
  LRESULT OnOk(WORD, WORD, HWND, BOOL&)
  {
    EndDialog(42);
    return 0;
  }
  LRESULT OnNotify(int, LPNMHDR, BOOL&) { return 99; }
  void OnFinalMessage(HWND) override { finished = true; }

  bool endAtOnce = true;
  LPARAM initParam = 0;
  bool finished = false;
};

}  // namespace

TEST_F(AtlTest, ModalDialogRunsItsMapAndEnds)
{
  auto bytes = DialogTemplate();
  TestDlg dialog;
  EXPECT_EQ(dialog.DoModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(bytes.data()), nullptr, 1234), 42);
  EXPECT_EQ(dialog.initParam, 1234);
  EXPECT_TRUE(dialog.finished);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  // A template by id needs the resource loader's template; without one the dialog fails.
  EXPECT_EQ(dialog.DoModal(nullptr), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(AtlTest, ModelessDialogAnswersThroughTheMessageResult)
{
  auto bytes = DialogTemplate();
  TestDlg dialog;
  dialog.endAtOnce = false;
  HWND hwnd = dialog.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(bytes.data()), nullptr);
  ASSERT_TRUE(hwnd);
  EXPECT_EQ(dialog.m_hWnd, hwnd);
  NMHDR header{nullptr, 3, 0x20u};
  EXPECT_EQ(SendMessageW(hwnd, WM_NOTIFY, 3, reinterpret_cast<LPARAM>(&header)), 99);
  EXPECT_TRUE(dialog.DestroyWindow());
  EXPECT_TRUE(dialog.finished);
}
