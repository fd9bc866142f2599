// The fixture of the dialog base's tests: a user-interface thread, a resource library with the
// test dialogs' templates, a marked skin and the base's strings, an application object that
// records what the base asks of it, and a dialog whose look and bindings each test chooses.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app_services.h"
#include "base_dlg.h"
#include "hint_edit.h"
#include "scroll_skin_fixture.h"
#include "test_resource_library.h"
#include "toolkit_fixture.h"
#include "testing/canvas.h"
#include "testing/device_root.h"
#include "testing/message_log.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"

namespace basedlgtest {

// Templates, controls and resources of the test library.
enum : int {
  kPortrait = 300,
  kLandscape = 301,
  kTall = 302,
  kWithKeys = 303,
  kMissingTemplate = 399,
  kMenu = 400,
  kLayoutString = 132,
  kEditAccount = 1001,
  kEditNote = 1002,
  kAccountLabel = 1003,
  kButton = 1004,
  kSoftKey1 = 133,
  kSoftKey2 = 134,
  kCenterKey = 135,
  kMenuOk = 0x9001,
};

// The marks of the skin: title strip, page and soft-key bar.
constexpr COLORREF kTitleMark = RGB(200, 60, 60);
constexpr COLORREF kPageMark = RGB(230, 230, 200);
constexpr COLORREF kBarMark = RGB(60, 160, 60);
constexpr int kStrip = 26;

inline std::string Background(int width, int height)
{
  return scrolltest::BmpFile(width, height, [=](int, int y) {
    return y < kStrip ? kTitleMark : y >= height - kStrip ? kBarMark : kPageMark;
  });
}

inline const char kScript[] = R"(
300 DIALOG 0, 0, 120, 160
STYLE WS_POPUP | WS_VISIBLE | DS_SETFONT
CAPTION "模板标题"
FONT 9, "宋体"
BEGIN
    LTEXT           "账户名", -1, 8, 24, 40, 10
    EDITTEXT        1001, 8, 36, 104, 14, ES_AUTOHSCROLL
    LTEXT           "账户：", 1003, 8, 56, 104, 10
    PUSHBUTTON      "确定", 1004, 8, 72, 50, 14
    LTEXT           "备注", -1, 8, 116, 40, 10
    EDITTEXT        1002, 8, 128, 104, 14, ES_AUTOHSCROLL
END

301 DIALOG 0, 0, 160, 120
STYLE WS_POPUP | WS_VISIBLE | DS_SETFONT
FONT 9, "宋体"
BEGIN
    LTEXT           "账户名", -1, 8, 22, 40, 10
    EDITTEXT        1001, 52, 20, 100, 14, ES_AUTOHSCROLL
    LTEXT           "账户：", 1003, 8, 40, 144, 10
    PUSHBUTTON      "确定", 1004, 8, 54, 50, 14
    LTEXT           "备注", -1, 8, 76, 40, 10
    EDITTEXT        1002, 52, 74, 100, 14, ES_AUTOHSCROLL
END

302 DIALOG 0, 0, 120, 400
STYLE WS_POPUP | WS_VISIBLE | DS_SETFONT
FONT 9, "宋体"
BEGIN
    LTEXT           "第一项", -1, 8, 20, 104, 10
    EDITTEXT        1001, 8, 32, 104, 14, ES_AUTOHSCROLL
    LTEXT           "第二项", -1, 8, 90, 104, 10
    LTEXT           "第三项", -1, 8, 150, 104, 10
    EDITTEXT        1002, 8, 162, 104, 14, ES_AUTOHSCROLL
    LTEXT           "第四项", -1, 8, 230, 104, 10
    LTEXT           "第五项", -1, 8, 300, 104, 10
    LTEXT           "第六项", -1, 8, 380, 104, 10
END

303 DIALOG 0, 0, 120, 160
STYLE WS_POPUP | WS_VISIBLE | DS_SETFONT
FONT 9, "宋体"
BEGIN
    EDITTEXT        1001, 8, 36, 104, 14, ES_AUTOHSCROLL
    CONTROL         "返回", 133, "Button", BS_OWNERDRAW, 0, 146, 40, 14
    CONTROL         "保存", 134, "Button", BS_OWNERDRAW, 80, 146, 40, 14
END

400 MENU
BEGIN
    MENUITEM "确定",  0x9001
    POPUP "菜单"
    BEGIN
        MENUITEM "帮助",  0x803C
        MENUITEM "退出",  0x8007
    END
END

STRINGTABLE
BEGIN
    131 "签名："
    132 "120,6,160,6,测试标题"
    133 "26"
    134 "26"
    135 "12"
    144 "确定要退出吗？"
END

0x418 BITMAP "background.bmp"
0x419 BITMAP "background_land.bmp"
229 BITMAP "scroll.bmp"
)";

// What the base asked of the application object, one line a call.
class RecordingApp : public CKorvexPortalApp {
 public:
  void PostToActiveDialog(int value) override
  {
    Note("PostToActiveDialog(" + std::to_string(value) + ")");
    CKorvexPortalApp::PostToActiveDialog(value);
  }
  int ShowAboutDlg() override { return Note("ShowAboutDlg"), -1; }
  int ShowHelpDlg() override { return Note("ShowHelpDlg"), -1; }
  void ShowApnSettingsDlg(BOOL show) override { Note("ShowApnSettingsDlg(" + std::to_string(show) + ")"); }
  void ShowPersonalInfoDlg(int page, int second) override
  {
    Note("ShowPersonalInfoDlg(" + std::to_string(page) + "," + std::to_string(second) + ")");
  }
  void CheckUpdate(HWND, UINT reply, const CStringW& url) override
  {
    Note("CheckUpdate(" + std::to_string(reply) + "," + kvtest::Narrow(url.GetString()) + ")");
  }
  void OnUpdateCheckResult(WPARAM status, LPARAM) override
  {
    Note("OnUpdateCheckResult(" + std::to_string(status) + ")");
  }
  void PreRegister(HWND, UINT reply, const CStringW& url) override
  {
    Note("PreRegister(" + std::to_string(reply) + "," + kvtest::Narrow(url.GetString()) + ")");
  }
  void OnPreRegisterResult(WPARAM result, LPARAM) override
  {
    Note("OnPreRegisterResult(" + std::to_string(result) + ")");
  }
  LRESULT OnReply1587(WPARAM wParam, LPARAM) override
  {
    Note("OnReply1587(" + std::to_string(wParam) + ")");
    return 0;
  }
  int ShowMessageBox(HWND, const CStringW& text, const CStringW& caption, UINT type, BOOL progress,
                     int afterShow) override
  {
    Note("ShowMessageBox(" + kvtest::Narrow(text.GetString()) + "," + kvtest::Narrow(caption.GetString()) + "," +
         std::to_string(type) + "," + std::to_string(progress) + "," + std::to_string(afterShow) + ")");
    return boxAnswer;
  }
  HWND GetMessageBoxWindow() const override { return boxWindow; }

  std::vector<std::string> Calls()
  {
    std::lock_guard<std::mutex> guard(lock);
    return calls;
  }
  void ClearCalls()
  {
    std::lock_guard<std::mutex> guard(lock);
    calls.clear();
  }

  int boxAnswer = -1;
  HWND boxWindow = nullptr;

 private:
  void Note(const std::string& call)
  {
    std::lock_guard<std::mutex> guard(lock);
    calls.push_back(call);
  }
  std::mutex lock;
  std::vector<std::string> calls;
};

// Where a test dialog gives up its window while it initialises.
enum class DestroyIn { kNowhere, kInitDialog, kBindControls, kInitFocus };

// The look a test gives its dialog.
struct Look {
  int portrait = kPortrait;
  int landscape = kLandscape;
  int background = 0x418;
  int backgroundLand = 0x419;
  int layout = kLayoutString;
  int softKey1 = kSoftKey1;
  int softKey2 = kSoftKey2;
  int menu = 0;
  int centerKey = kCenterKey;
  BOOL secondLabel = TRUE;
  BOOL skinned = FALSE;
};

// A dialog of the test library whose look each test chooses; it binds the account edit to a
// member and notes the commands and application messages it receives.
class TestDlg : public CBaseDlg {
 public:
  explicit TestDlg(Look look = {}) : look_(look) {}

  int GetTemplateId(int orientation) override { return orientation == 1 ? look_.portrait : look_.landscape; }
  int GetBackgroundBitmapId(int orientation) override
  {
    return orientation == 1 ? look_.background : look_.backgroundLand;
  }
  int GetLayoutStringId() override { return look_.layout; }
  int GetSoftKey1Id() override { return look_.softKey1; }
  int GetSoftKey2Id() override { return look_.softKey2; }
  int GetMenuId() override { return look_.menu; }
  int GetCenterKeyId() override { return look_.centerKey; }
  BOOL HasSecondLabel() override { return look_.secondLabel; }
  BOOL IsSkinned() override { return look_.skinned; }

  BOOL BindControls(BOOL save, int) override
  {
    ++bindCalls;
    if (destroyIn == DestroyIn::kBindControls)
      GiveUpWindow();
    if (!m_hWnd)
      return FALSE;
    if (save)
      GetDlgItemText(kEditAccount, value, 64);
    else
      SetDlgItemText(kEditAccount, value);
    if (attachControls) {
      AttachSkinEdit(kEditNote, noteEdit, kControlSkinEdit, save, 0xFF0000);
      AttachAccountLabel(kAccountLabel, save, -1, -1);
    }
    if (bind)
      bind(*this, save);
    return TRUE;
  }
  void InitFocus() override
  {
    if (destroyIn == DestroyIn::kInitFocus)
      GiveUpWindow();
    else if (focusId && m_hWnd)
      ::SetFocus(GetDlgItem(focusId));
  }

  BEGIN_MSG_MAP(TestDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_RANGE_HANDLER(WM_APP, WM_APP + 0xFF, OnAppMessage)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

  using CBaseDlg::m_layouts;
  using CBaseDlg::m_scrollBar;

  // The commands (of menus and soft keys) and application messages that reached the dialog.
  std::vector<UINT> Seen()
  {
    std::lock_guard<std::mutex> guard(lock_);
    return seen_;
  }

  DestroyIn destroyIn = DestroyIn::kNowhere;
  bool attachControls = false;
  // Further bindings of a test.
  std::function<void(TestDlg&, BOOL save)> bind;
  int focusId = 0;
  int initDialogs = 0;
  int bindCalls = 0;
  WCHAR value[64] = {};
  CHintEdit noteEdit;

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
  {
    ++initDialogs;
    if (destroyIn == DestroyIn::kInitDialog)
      GiveUpWindow();
    bHandled = FALSE;  // on to the base
    return 0;
  }
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
  {
    // Commands of menus and soft keys; controls' notifications are not noted.
    if (!lParam)
      Note(LOWORD(wParam));
    bHandled = FALSE;
    return 0;
  }
  LRESULT OnAppMessage(UINT message, WPARAM, LPARAM, BOOL&)
  {
    Note(message);
    return 0;
  }
  void GiveUpWindow() { ::DestroyWindow(m_hWnd); }
  void Note(UINT what)
  {
    std::lock_guard<std::mutex> guard(lock_);
    seen_.push_back(what);
  }

  Look look_;
  std::mutex lock_;
  std::vector<UINT> seen_;
};

class BaseDlgTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    kvtest::SetScreenSize(240, 320);
    HMODULE library = kvtest::MakeResourceLibrary(root, "BaseDlgRes", kScript,
                                                  {{"background.bmp", Background(240, 320)},
                                                   {"background_land.bmp", Background(320, 240)},
                                                   {"scroll.bmp", scrolltest::SkinBmp(12)}});
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
  }
  void TearDown() override
  {
    // Modal loops still running end once their dialogs are gone; then the objects go.
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); });
    EXPECT_TRUE(kvtest::RunUntilIdle());
    ui.Invoke([&] { dialogs.clear(); });
  }

  // A dialog that lives until the test's windows are gone.
  TestDlg& NewDialog(Look look = {})
  {
    dialogs.push_back(std::make_unique<TestDlg>(look));
    return *dialogs.back();
  }
  // Shows the dialog modelessly and full screen on the user-interface thread.
  HWND Show(TestDlg& dialog, HWND parent = nullptr)
  {
    int result = 0;
    ui.Invoke([&] { result = dialog.ShowDialog(parent, 0, FALSE, TRUE); });
    EXPECT_EQ(-1, result);
    EXPECT_TRUE(kvtest::RunUntilIdle());
    return dialog.m_hWnd;
  }
  // A recording window of the user-interface thread (a window of the test's thread would wait for
  // the test's messages).
  HWND RecordingWindow(const std::string& name, DWORD style = WS_POPUP | WS_VISIBLE)
  {
    HWND hwnd = nullptr;
    ui.Invoke([&] { hwnd = kvtest::CreateRecordingWindow(log, {.name = name, .style = style}); });
    return hwnd;
  }
  // Starts a modal show; the result lands in `result` when the loop ends.
  void ShowModal(TestDlg& dialog, int& result, HWND parent = nullptr)
  {
    result = 0x7777;
    ui.Post([&dialog, &result, parent] { result = dialog.ShowDialog(parent, 0, TRUE, TRUE); });
    EXPECT_TRUE(kvtest::RunUntilIdle());
  }
  static RECT RectIn(HWND window, HWND parent)
  {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  device::testing::ScopedDeviceRoot root;
  RecordingApp app;
  kvtest::MessageLog log;
  kvtest::UiThread ui;
  std::vector<std::unique_ptr<TestDlg>> dialogs;
};

}  // namespace basedlgtest
