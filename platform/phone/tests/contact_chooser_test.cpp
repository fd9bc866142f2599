// The contact chooser over the device's contacts: picked with keys or taps, or cancelled.
#include <gtest/gtest.h>

#include <atomic>

#include "phone/contacts.h"
#include "testing/device_settings.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"
#include "windows.h"

using namespace kvtest;

namespace {

constexpr CEPROPID kRequired[] = {0x1806001F, 0x1801001F};  // as the recharge screen asks

class ContactChooser : public ::testing::Test {
 protected:
  ContactChooser()
      : device_("[contact]\nname = 张三\nmobile = 13800138000\n[contact]\nname = 李四\nmobile = 13912345678\n")
  {
  }
  ~ContactChooser() override
  {
    SysFreeString(request.bstrContactName);
    SysFreeString(request.bstrPropertyValueSelected);
  }

  // Starts the chooser on the user-interface thread and waits for its window.
  HWND Start(const CEPROPID* required = kRequired, UINT count = 2)
  {
    request.cbSize = sizeof request;
    request.dwFlags = 0x1B;
    request.cRequiredProperties = count;
    request.rgpropidRequiredProperties = required;
    ui.Post([this] {
      result = ChooseContact(&request);
      SetEvent(done);
    });
    HWND chooser = WaitForTopLevelWindow(WC_DIALOG, u"选择联系人");
    EXPECT_TRUE(RunUntilIdle());
    return chooser;
  }
  HRESULT Result()
  {
    EXPECT_EQ(WaitForSingleObject(done, 30000), WAIT_OBJECT_0);
    return result;
  }

  device::testing::DeviceWithSettings device_;
  UiThread ui;
  CHOOSECONTACT request{};
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<HRESULT> result{E_UNEXPECTED};
};

TEST_F(ContactChooser, ReturnsTheChosenContactsNameAndMobileNumber)
{
  HWND chooser = Start();
  ASSERT_NE(chooser, nullptr);
  HWND list = GetDlgItem(chooser, 101);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  WCHAR first[64] = {};
  SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(std::u16string(first), u"张三  13800138000");
  ASSERT_TRUE(PressKey(VK_DOWN));
  EXPECT_FALSE(SaveScreenshot("contact_chooser_240x320").empty());
  ASSERT_TRUE(TapWindow(GetDlgItem(chooser, IDOK)));
  ASSERT_EQ(Result(), S_OK);
  EXPECT_EQ(std::u16string(request.bstrContactName, SysStringLen(request.bstrContactName)), u"李四");
  EXPECT_EQ(std::u16string(request.bstrPropertyValueSelected), u"13912345678");
  EXPECT_EQ(request.propidSelected, static_cast<CEPROPID>(PIMPR_MOBILE_TELEPHONE_NUMBER));
  EXPECT_EQ(request.oidContactID, 2u);
}

TEST_F(ContactChooser, EnterChoosesAndAChoiceWithoutTheNumberGivesTheNameOnly)
{
  constexpr CEPROPID email[] = {0x3A56001F};
  ASSERT_NE(Start(email, 1), nullptr);
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_EQ(Result(), S_OK);
  EXPECT_EQ(std::u16string(request.bstrContactName), u"张三");
  EXPECT_EQ(request.bstrPropertyValueSelected, nullptr);
  EXPECT_EQ(request.propidSelected, 0u);
}

TEST_F(ContactChooser, CancellingLeavesTheRequestAsItWas)
{
  HWND chooser = Start();
  ASSERT_NE(chooser, nullptr);
  ASSERT_TRUE(TapWindow(GetDlgItem(chooser, IDCANCEL)));
  EXPECT_EQ(Result(), HRESULT_FROM_WIN32(ERROR_CANCELLED));
  EXPECT_TRUE(FAILED(result.load()));
  EXPECT_EQ(request.bstrContactName, nullptr);
  EXPECT_EQ(request.bstrPropertyValueSelected, nullptr);
}

TEST_F(ContactChooser, TheRequestMustBeTheStructureAsBuiltHere)
{
  CHOOSECONTACT device32{};
  device32.cbSize = 52;  // the device's own 32-bit layout
  EXPECT_EQ(ChooseContact(&device32), E_INVALIDARG);
  EXPECT_EQ(ChooseContact(nullptr), E_POINTER);
}

}  // namespace
