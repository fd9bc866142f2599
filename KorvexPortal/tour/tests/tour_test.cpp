// The headless tour on a fresh device: the client's package installed through the device's
// installer, the demo account's gateway over HTTPS with its own CA, and the tour program run
// from the install folder; every main screen is reached and has its screenshot.
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "windows.h"
#include "testgateway/demo_account.h"
#include "testgateway/test_gateway.h"
#include "testing/device_root.h"

namespace {

namespace fs = std::filesystem;

constexpr DWORD kProgramBound = 180000;

class Tour : public ::testing::Test {
 protected:
  fs::path Host(const std::string& relative) const { return fs::path(root_.path()) / relative; }

  // Runs a program of the device with the parameters; its exit code.
  static DWORD Run(const char16_t* program, const std::u16string& parameters)
  {
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = program;
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOW;
    EXPECT_TRUE(ShellExecuteEx(&info)) << GetLastError();
    EXPECT_EQ(WaitForSingleObject(info.hProcess, kProgramBound), WAIT_OBJECT_0);
    DWORD code = 0xDEAD;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return code;
  }

  device::testing::ScopedDeviceRoot root_;
};

TEST_F(Tour, WalksTheMainScreensOfAFreshDeviceAndSavesAScreenshotOfEach)
{
  testgateway::TestGateway gateway{testgateway::GatewayOptions{.http = false, .tlsDir = Host("certs").string()}};
  testgateway::installDemo(gateway, KV_DEMO_DATA);
  gateway.start();
  std::ofstream(Host("device.ini"), std::ios::binary)
      << "[screen]\nwidth = 240\nheight = 320\n[network]\nca_bundle = " << gateway.tlsFiles().caCertificate.string()
      << "\ngateway = " << gateway.httpsUrl() << "\n[messagebox]\nanswer = yes\n";

  fs::create_directories(Host("Windows"));
  fs::create_directories(Host("Temp"));
  fs::copy_file(KV_WCELOAD, Host("Windows/wceload.exe"));
  fs::copy_file(KV_KORVEX_PACKAGE, Host("Temp/KorvexPortal.CAB"));
  ASSERT_EQ(Run(u"\\Windows\\wceload.exe", u"\"\\Temp\\KorvexPortal.CAB\" /delete 1 /silent"), 0u);
  fs::copy_file(KV_TOUR_PROGRAM, Host("Program Files/KorvexPortal/KorvexTour.exe"));

  fs::path shots = Host("tour");
  std::string folder = shots.string();
  ASSERT_EQ(Run(u"\\Program Files\\KorvexPortal\\KorvexTour.exe", std::u16string(folder.begin(), folder.end())), 0u);

  for (const char* file : {"01-login.png", "02-unpaid-trades.png", "03-desktop.png", "04-account-query.png",
                           "05-trade-query.png", "06-transfer.png", "07-phone-recharge.png", "08-messages.png",
                           "09-web-centre.png"}) {
    fs::path shot = shots / file;
    ASSERT_TRUE(fs::exists(shot)) << shot;
    EXPECT_GT(fs::file_size(shot), 1000u) << shot << " holds no picture";
  }
  EXPECT_TRUE(gateway.waitForRequest("login")) << "the tour logged in at the demo gateway";
}

}  // namespace
