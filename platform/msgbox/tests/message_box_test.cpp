// The message box: shown as a dialog and answered by the user, answered by a test's answerer,
// by the device's unattended setting, or logged by a program without a screen.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>

#include "internal/msgbox/message_box_hooks.h"
#include "testing/device_root.h"
#include "testing/message_boxes.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"
#include "windows.h"

using namespace kvtest;

namespace {

class MessageBoxes : public ::testing::Test {
 protected:
  void Settings(const std::string& text) { std::ofstream(root_.path() + "/device.ini") << text; }
  device::testing::ScopedDeviceRoot root_;
};

TEST_F(MessageBoxes, TheAnswererTakesEveryBoxAndItsDefaultIsTheDefaultButton)
{
  MessageBoxAnswerer answerer;
  struct Case {
    UINT type;
    int answer;
  } cases[] = {
      {MB_OK, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_YESNO | MB_ICONQUESTION, IDYES},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_RETRYCANCEL | MB_DEFBUTTON3, IDRETRY},  // no third button: the first
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MessageBoxW(nullptr, u"文本", u"标题", c.type), c.answer) << c.type;
  EXPECT_EQ(answerer.Calls().size(), std::size(cases));
  EXPECT_EQ(answerer.Calls()[0].text, u"文本");
  EXPECT_EQ(answerer.Calls()[0].caption, u"标题");

  MessageBoxAnswerer choosing([](const MessageBoxCall& call) { return call.caption == u"提示" ? IDNO : IDOK; });
  EXPECT_EQ(MessageBoxW(nullptr, nullptr, u"提示", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBoxW(nullptr, u"x", nullptr, MB_OK), IDOK);
  EXPECT_EQ(choosing.Calls()[1].caption, u"错误");  // the caption of a box without one
}

TEST_F(MessageBoxes, BoxesThatDoNotExistAreRefused)
{
  MessageBoxAnswerer answerer;
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", 0x6), 0);  // no seventh set of buttons
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MSGBOX_STYLE));
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", 0x50), 0);
  EXPECT_TRUE(answerer.Calls().empty());
}

TEST_F(MessageBoxes, AnUnattendedDeviceAnswersAtOnceAndLogsTheBox)
{
  Settings("[messagebox]\nanswer = yes\n");
  struct Case {
    UINT type;
    int answer;
  } cases[] = {
      {MB_YESNO | MB_DEFBUTTON2, IDYES},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDOK},
      {MB_RETRYCANCEL, IDRETRY},
      {MB_ABORTRETRYIGNORE, IDRETRY},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxW(nullptr, u"请手动退出正在运行的程序，\r\n然后再尝试安装。", u"提示", c.type), c.answer);
    std::string line = testing::internal::GetCapturedStderr();
    EXPECT_NE(line.find("\"提示\": 请手动退出正在运行的程序，  然后再尝试安装。 -> "), std::string::npos) << line;
    EXPECT_NE(line.find("(unattended)"), std::string::npos) << line;
  }
}

TEST_F(MessageBoxes, UnattendedNoAndDefault)
{
  for (const char* answer : {"no", "default"}) {
    device::testing::ScopedDeviceRoot root;
    std::ofstream(root.path() + "/device.ini") << "[messagebox]\nanswer = " << answer << "\n";
    testing::internal::CaptureStderr();
    bool no = std::string(answer) == "no";
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", MB_YESNOCANCEL), no ? IDNO : IDYES);
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", MB_OKCANCEL), no ? IDCANCEL : IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", MB_OK), IDOK);
    testing::internal::GetCapturedStderr();
  }
}

TEST_F(MessageBoxes, AnUnattendedProgramAnswersItsOwnWayUntilItGivesTheAnswerBack)
{
  Settings("[messagebox]\nanswer = yes\n");
  msgbox::SetUnattended(device::DeviceSettings::BoxAnswer::no);
  testing::internal::CaptureStderr();
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", MB_YESNO), IDNO);
  msgbox::SetUnattended(device::DeviceSettings::BoxAnswer::shown);
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", MB_YESNO), IDYES);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "message box \"y\": x -> IDNO (unattended)\nmessage box \"y\": x -> IDYES (unattended)\n");
}

TEST_F(MessageBoxes, AProgramWithoutAScreenLogsTheBoxAndTakesTheDefault)
{
  msgbox::SetScreenless();
  testing::internal::CaptureStderr();
  EXPECT_EQ(MessageBoxW(nullptr, u"Korvex收银台已经打开,请先完成上次的支付后再进入支付", u"Korvex收银台",
                        MB_OKCANCEL | MB_DEFBUTTON2),
            IDCANCEL);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "message box \"Korvex收银台\": Korvex收银台已经打开,请先完成上次的支付后再进入支付 -> IDCANCEL (no screen)\n");
}

// A box shown on a user-interface thread, answered through the harness as a user would.
class ShownBox : public MessageBoxes {
 protected:
  void Show(HWND owner, const char16_t* text, const char16_t* caption, UINT type)
  {
    done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ui.Post([=, this] {
      answer = MessageBoxW(owner, text, caption, type);
      SetEvent(done);
    });
    box = WaitForTopLevelWindow(WC_DIALOG, caption);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(RunUntilIdle());
  }
  int Answer()
  {
    EXPECT_EQ(WaitForSingleObject(done, 30000), WAIT_OBJECT_0);
    CloseHandle(done);
    return answer;
  }

  UiThread ui;
  HWND box = nullptr;
  HANDLE done = nullptr;
  std::atomic<int> answer{-1};
};

TEST_F(ShownBox, TappingAButtonAnswersIt)
{
  HWND owner = nullptr;
  ui.Invoke([&] {
    owner = CreateWindowExW(0, WC_STATICW, u"owner", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                            nullptr);
  });
  Show(owner, u"是否删除已保存的联系人？删除后无法恢复，请确认。", u"提示", MB_YESNO | MB_ICONQUESTION);
  EXPECT_FALSE(IsWindowEnabled(owner));  // modal to its owner
  std::string tree = DumpWindowTree(box);
  EXPECT_NE(tree.find("是否删除已保存的联系人"), std::string::npos) << tree;
  EXPECT_NE(tree.find("\"是\""), std::string::npos) << tree;
  EXPECT_NE(tree.find("\"否\""), std::string::npos) << tree;
  EXPECT_FALSE(SaveScreenshot("message_box_question_240x320").empty());
  ASSERT_TRUE(TapWindow(GetDlgItem(box, IDNO)));
  EXPECT_EQ(Answer(), IDNO);
  EXPECT_FALSE(IsWindow(box));
  EXPECT_TRUE(IsWindowEnabled(owner));
  ui.Invoke([&] { DestroyWindow(owner); });
}

TEST_F(ShownBox, KeysAnswerWithTheDefaultButtonOrCancel)
{
  struct Case {
    UINT type;
    UINT key;
    int answer;
  } cases[] = {
      {MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2, VK_RETURN, IDCANCEL},
      {MB_OKCANCEL | MB_ICONHAND, VK_ESCAPE, IDCANCEL},
      {MB_OK | MB_ICONASTERISK, VK_ESCAPE, IDOK},  // OK alone: closing answers it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    Show(nullptr, u"网络连接失败", u"错误", c.type);
    ASSERT_TRUE(PressKey(c.key));
    EXPECT_EQ(Answer(), c.answer);
  }
}

TEST_F(ShownBox, ABoxWithoutCancelMustBeAnswered)
{
  Show(nullptr, u"请选择", u"问题", MB_YESNO);
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  ui.Invoke([] {});
  EXPECT_TRUE(IsWindow(box));  // Escape does not close it
  ASSERT_TRUE(TapWindow(GetDlgItem(box, IDYES)));
  EXPECT_EQ(Answer(), IDYES);
}

TEST_F(ShownBox, ALongTextWrapsOnALargeScreen)
{
  SetScreenSize(480, 640);
  Show(nullptr,
       u"请手动退出正在运行的程序，然后再尝试安装。如果程序没有响应，请重新启动手机后再试一次。",
       u"提示", MB_RETRYCANCEL | MB_ICONEXCLAMATION);
  RECT text, window;
  GetWindowRect(GetDlgItem(box, 0xFFFF), &text);
  GetWindowRect(box, &window);
  EXPECT_GT(text.bottom - text.top, 40) << "more than one line";
  EXPECT_LE(window.right, 480);
  EXPECT_FALSE(SaveScreenshot("message_box_warning_480x640").empty());
  ASSERT_TRUE(TapWindow(GetDlgItem(box, IDCANCEL)));
  EXPECT_EQ(Answer(), IDCANCEL);
}

}  // namespace
