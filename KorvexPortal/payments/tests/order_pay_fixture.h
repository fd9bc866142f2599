// The order-pay screen's fixture: a device whose gateway is the test gateway over HTTPS, the
// client's own screen-size library, the payment facade, the secure-input library, the hand-off
// block and event that the gateway service would have made for this process, an application
// object that records the boxes the screen shows, and the screen run modally on a user-interface
// thread as the order-pay mode runs it.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app_services.h"
#include "handoff/order_pay_handoff.h"
#include "message_box_types.h"
#include "order_pay_dlg.h"
#include "payment_service.h"
#include "selvane/selvane.h"
#include "testgateway/test_gateway.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"
#include "thread_message_box.h"

namespace orderpaytest {

constexpr int kPending = 0x7777;
constexpr char16_t kClientId[] = u"460001234567890|356938035643809";
// The password the tests type, and the order the merchant page sent.
constexpr char16_t kPassword[] = u"pay123456";
constexpr char16_t kOrder[] = u"partner=2088&out_trade_no=T100&subject=%E4%B9%A6&total_fee=12.50";

// A box the screen showed: its text and type.
struct Box {
  std::string text;
  UINT type;
  bool operator==(const Box&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Box& box)
{
  return out << "{" << box.text << ", 0x" << std::hex << box.type << std::dec << "}";
}

// Records every box, and whether the outcome had been handed back when it showed. The wait box
// (type 6) is the shared box itself, so the screen really waits; every other box is answered at
// once with `answer` and hides the shared box as a real answer does.
class OrderPayApp : public CKorvexPortalApp {
 public:
  int ShowMessageBox(HWND owner, const CStringW& text, const CStringW& caption, UINT type, BOOL progress,
                     int afterShow) override
  {
    {
      std::lock_guard<std::mutex> guard(lock_);
      boxes_.push_back({kvtest::Narrow(text.GetString()), type});
      handedOffAtBoxes_.push_back(handedOff && handedOff());
    }
    if ((type & 0xF) == KV_BOX_WAIT)
      return CKorvexPortalApp::ShowMessageBox(owner, text, caption, type, progress, afterShow);
    // As the shared box does once answered: it goes, with whatever wait it showed before.
    if (afterShow == SW_HIDE)
      ::ShowWindow(CThreadMessageBox::SharedWindow(), SW_HIDE);
    return answer;
  }
  int ShowAboutDlg() override
  {
    ++aboutShown;
    return -1;
  }
  std::vector<Box> Boxes()
  {
    std::lock_guard<std::mutex> guard(lock_);
    return boxes_;
  }
  // For each box of Boxes(): whether `handedOff` answered true when it showed.
  std::vector<bool> HandedOffAtBoxes()
  {
    std::lock_guard<std::mutex> guard(lock_);
    return handedOffAtBoxes_;
  }

  std::atomic<int> answer{KV_BOX_ANSWER_OK};
  std::atomic<int> aboutShown{0};
  // Whether the outcome has been handed back; set by the fixture before the screen runs.
  std::function<bool()> handedOff;

 private:
  std::mutex lock_;
  std::vector<Box> boxes_;
  std::vector<bool> handedOffAtBoxes_;
};

// The service's side of the hand-off for this process: the block and the event.
class HandoffBlock {
 public:
  HandoffBlock()
  {
    CStringW name = HandoffObjectName(GetCurrentProcessId());
    block_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0, kHandoffBlockSize, name);
    view_ = static_cast<BYTE*>(MapViewOfFile(block_, FILE_MAP_WRITE, 0, 0, 0));
    event_ = CreateEventW(nullptr, TRUE, FALSE, name);
  }
  ~HandoffBlock()
  {
    UnmapViewOfFile(view_);
    CloseHandle(block_);
    CloseHandle(event_);
  }
  HandoffBlock(const HandoffBlock&) = delete;
  HandoffBlock& operator=(const HandoffBlock&) = delete;

  bool Written() const { return WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }
  // The status and payload written; the status is -1 when nothing was written or the block is
  // not what a header describes.
  std::pair<int, std::u16string> Outcome() const
  {
    if (!Written())
      return {-1, u""};
    OrderPayHandoffHeader header{};
    std::u16string text(kHandoffBlockSize, u'\0');
    if (!ReadHandoffBlock(view_, kHandoffBlockSize, &header, text.data(), kHandoffBlockSize - 1))
      return {-1, u""};
    text.resize(std::char_traits<char16_t>::length(text.c_str()));
    return {static_cast<int>(header.status), text};
  }
  // The header's four 32-bit fields as written: reserved, status, header length, payload bytes.
  std::array<DWORD, 4> Header() const
  {
    std::array<DWORD, 4> fields{};
    std::memcpy(fields.data(), view_, sizeof fields);
    return fields;
  }

 private:
  HANDLE block_ = nullptr;
  BYTE* view_ = nullptr;
  HANDLE event_ = nullptr;
};

using kvtest::RunUntil;
using kvtest::PollUntil;

class OrderPayTest : public ::testing::Test {
 protected:
  void SetUp() override { StartDevice(240, 320); }

  void StartDevice(int width, int height)
  {
    gateway_.start();
    std::ofstream(Host("device.ini"), std::ios::binary)
        << "[screen]\nwidth = " << width << "\nheight = " << height
        << "\n[network]\nca_bundle = " << gateway_.tlsFiles().caCertificate.string()
        << "\ngateway = " << gateway_.httpsUrl() << "\n";
    kvtest::SetScreenSize(width, height);
    std::string name = "ModelRes_" + std::to_string(width) + "x" + std::to_string(height);
    std::filesystem::path target = Host("Program Files/Tests/" + name + ".dll");
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy(KV_RESOURCE_OUTPUT "/" + name + ".dll", target, std::filesystem::copy_options::recursive);
    HMODULE library = LoadLibraryW(std::u16string(name.begin(), name.end()).c_str());
    ASSERT_NE(nullptr, library);
    app_.SetResourceLibrary(library);
    service_.reset(RegisterServiceCommands(u"KorvexPortal_WM6", kClientId));
    ASSERT_NE(nullptr, service_);
    app_.SetPaymentService(service_.get());
    ASSERT_TRUE(SelvaneInitialize(0));
    CThreadMessageBox::Instance();
    block_ = std::make_unique<HandoffBlock>();
    app_.handedOff = [this] { return block_ && block_->Written(); };
  }

  void TearDown() override
  {
    // A wait still running ends with the box, before the windows and the screen go.
    CThreadMessageBox::DestroyInstance();
    EXPECT_TRUE(kvtest::RunUntilIdle());
    ui_.Invoke([&] { kvtest::DestroyThreadWindows(); });
    EXPECT_TRUE(kvtest::RunUntilIdle());
    ui_.Invoke([&] { dialog_.reset(); });
    CThreadMessageBox::DestroyInstance();
    app_.SetPaymentService(nullptr);
    service_.reset();
    SelvaneUninitialize();
  }

  std::filesystem::path Host(const std::string& relative) const
  {
    return std::filesystem::path(root_.path()) / relative;
  }

  // A verification reply of a valid order, with the gateway's key.
  nlohmann::ordered_json ValidOrder()
  {
    nlohmann::ordered_json reply = {{"orderValidate", 1},       {"outTradeNo", "T100"},
                                    {"sellerName", "书香书店"},  {"goodTitle", "编程珠玑"},
                                    {"partnerName", "淘书网"},  {"sellerAccount", "shop@books.cn"},
                                    {"totalFee", "12.50"},      {"userName", "张三"},
                                    {"availableBalance", "88.00"}, {"greeting", "你好"}};
    reply.update(gateway_.key().sessionKey());
    return reply;
  }

  // Starts the screen as the order-pay mode does; its result lands in result_ when it ends.
  void Open(const std::u16string& order = kOrder)
  {
    order_ = order;
    result_ = kPending;
    ui_.Post([this] {
      dialog_ = std::make_unique<COrderPayDlg>();
      app_.SetMainDialog(dialog_.get());
      result_ = dialog_->ShowDialog(nullptr, reinterpret_cast<LPARAM>(order_.c_str()), TRUE, TRUE);
    });
  }
  // Opens the screen and waits until its verification is done and it shows.
  void OpenVerified(const std::u16string& order = kOrder)
  {
    Open(order);
    ASSERT_TRUE(RunUntil([this] { return Shown(); })) << kvtest::DumpWindowTree();
  }
  bool Shown() const { return dialog_ && dialog_->m_hWnd && IsWindowVisible(dialog_->m_hWnd); }
  bool Ended() const { return result_ != kPending; }

  std::u16string ItemText(int id) const
  {
    WCHAR text[128] = {};
    GetWindowTextW(GetDlgItem(dialog_->m_hWnd, id), text, 128);
    return text;
  }
  std::vector<std::string> SummaryLines() const
  {
    std::vector<std::string> lines;
    for (int id : kSummaryLabelIds)
      lines.push_back(kvtest::Narrow(ItemText(id)));
    return lines;
  }
  // Types the password into the focused password edit and presses the pay key.
  void Pay(const std::u16string& password = kPassword)
  {
    ASSERT_TRUE(kvtest::TypeText(password));
    ASSERT_TRUE(kvtest::PressKey(VK_F1));
  }

  device::testing::ScopedDeviceRoot root_;
  testgateway::TestGateway gateway_{testgateway::GatewayOptions{.tlsDir = Host("certs")}};
  OrderPayApp app_;
  std::unique_ptr<CPaymentService> service_;
  kvtest::UiThread ui_;
  std::unique_ptr<COrderPayDlg> dialog_;
  std::unique_ptr<HandoffBlock> block_;
  std::u16string order_;
  std::atomic<int> result_{kPending};
};

}  // namespace orderpaytest
