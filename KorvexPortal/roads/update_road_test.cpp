// The update's road, with the installed client program running as the device runs it: its menu's
// update check finds a newer package that must be taken, the client downloads it over HTTPS and
// starts the device's installer, which closes the client and puts the newer package in place.
// (The client runs in a process of its own here, as the installer must see it end.)
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "dialog_ids.h"
#include "road_fixture.h"

using namespace roads;
using testgateway::Reply;

namespace fs = std::filesystem;

TEST_F(RoadTest, UpdateCheckAndInstallOfANewerPackage)
{
  // The installer the client starts runs without a user at the device: its questions and the
  // agreement take their affirmative answers.
  std::ofstream(root.path() + "/device.ini", std::ios::app) << "[messagebox]\nanswer = yes\n";
  gateway.serveFile("/download/KorvexPortal.CAB", KV_UPDATE_PACKAGE, "application/octet-stream");
  gateway.script("update", Reply::json({{"resultStatus", 203},
                                        {"memo", "发现新版本，即将为您更新。"},
                                        {"downloadURL", gateway.httpsUrl() + "/download/KorvexPortal.CAB"}}));
  Install();
  std::string registry = root.path() + "/.kernel/registry/registry.dat";
  ASSERT_EQ(std::string::npos, ReadHostFile(registry).find("PackageBuild"));

  PROCESS_INFORMATION client{};
  ASSERT_TRUE(CreateProcessW(u"\\Program Files\\KorvexPortal\\KorvexPortal.exe", nullptr, nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, nullptr, &client));
  CloseHandle(client.hThread);
  HWND login = kvtest::WaitForTopLevelWindow(nullptr, u"用户登录");
  ASSERT_NE(nullptr, login);
  kvtest::DeviceProgram program;
  ASSERT_TRUE(program.Attach(u"KorvexPortal.exe"));
  ShotOfProgram(program, "login");

  // The login's menu: check for an update.
  ASSERT_TRUE(PostMessageW(login, WM_COMMAND, ID_KV_CHECKUPDATE, 0));
  auto check = gateway.waitForRequest("update");
  ASSERT_TRUE(check);
  EXPECT_FALSE(check->field("productVersion").empty()) << check->body;
  ASSERT_TRUE(gateway.waitForPath("/download/KorvexPortal.CAB"));

  // The installer closes the client before it replaces the files.
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(client.hProcess, 120000)) << "the client was not closed";
  CloseHandle(client.hProcess);
  auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (ReadHostFile(registry).find("\"PackageBuild\"=sz:\"update\"") == std::string::npos &&
         std::chrono::steady_clock::now() < bound)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_NE(std::string::npos, ReadHostFile(registry).find("\"PackageBuild\"=sz:\"update\"")) << "the newer package";
  EXPECT_TRUE(fs::exists(root.path() + "/Program Files/KorvexPortal/KorvexPortal.exe"));
  // The installer deletes the downloaded package once it is installed.
  bound = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (fs::exists(root.path() + "/Program Files/KorvexPortal/KorvexPortal.CAB") &&
         std::chrono::steady_clock::now() < bound)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(fs::exists(root.path() + "/Program Files/KorvexPortal/KorvexPortal.CAB"));

  // The newer client starts at its login.
  PROCESS_INFORMATION updated{};
  ASSERT_TRUE(CreateProcessW(u"\\Program Files\\KorvexPortal\\KorvexPortal.exe", nullptr, nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, nullptr, &updated));
  CloseHandle(updated.hThread);
  CloseHandle(updated.hProcess);
  ASSERT_NE(nullptr, kvtest::WaitForTopLevelWindow(nullptr, u"用户登录"));
  kvtest::DeviceProgram newer;
  ASSERT_TRUE(newer.Attach(u"KorvexPortal.exe"));
  ShotOfProgram(newer, "updated_login");
}
